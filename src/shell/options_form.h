#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;

namespace oryx::shell {

// "Options...": whether the taskbar of window buttons shows and how wide its
// buttons are. Made once at start and kept hidden between uses, so after
// Cancel it still holds what the user typed; the main window reads the
// choices after OK, stores them and applies them.
class TOptionsForm final : public QDialog {
    Q_OBJECT

public:
    // Fills the controls from the stored settings.
    TOptionsForm(bool viewTaskbar, int buttonWidth, QWidget* parent = nullptr);

    bool ViewTaskbar() const;
    // "Rules file": the rules the Problems list checks with; empty for the default.
    QString RulesFile() const;
    void SetRulesFile(const QString& path);
    QLineEdit* RulesFileEdit() const { return rulesEdit_; }
    // The typed width; throws std::invalid_argument ("'' is not a valid
    // integer value") when the field holds no number.
    int ButtonWidth() const;

    void EnableWidthWithTaskbar();
    // True when the key's character is to be discarded: the edit takes
    // digits only, backspace and editing shortcuts but Ctrl+A included in
    // what it drops.
    static bool IsDiscardedWidthKey(const QKeyEvent& key);

    // OK: refused with a message, the dialog staying open, when the width
    // is no number or outside the widths AppSettings allows.
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QCheckBox* viewTaskbar_ = nullptr;
    QLabel* widthLabel_ = nullptr;
    QLineEdit* widthEdit_ = nullptr;
    QLineEdit* rulesEdit_ = nullptr;
    QLabel* rangeLabel_ = nullptr;
};

}  // namespace oryx::shell
