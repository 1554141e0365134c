#pragma once

#include <QDialog>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace oryx::settings {
class TRegistryEnhanced;
}

namespace oryx::shell {

// "Options...": whether the taskbar of window buttons shows and how wide its
// buttons are. Made once at start and kept hidden between uses, so after
// Cancel it still holds what the user typed; the main window's ApplyOptions
// reads the controls, stores them and applies them.
class TOptionsForm final : public QDialog {
    Q_OBJECT

public:
    // Fills the controls from the stored "View Taskbar" and "Button Width".
    TOptionsForm(settings::TRegistryEnhanced& reg, QWidget* parent = nullptr);

    QCheckBox* chkViewTaskbar = nullptr;
    QLabel* lblButtonWidth = nullptr;
    QLineEdit* edButtonWidth = nullptr;
    QPushButton* Button1 = nullptr;  // OK
    QPushButton* Button2 = nullptr;  // Cancel

    void chkViewTaskbarClick();
    // True when the key's character is to be discarded: the edit takes
    // digits only, backspace and editing shortcuts included in what it drops.
    static bool edButtonWidthKeyPress(const QKeyEvent& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate(settings::TRegistryEnhanced& reg);
};

}  // namespace oryx::shell
