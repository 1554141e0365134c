#pragma once

#include <QDialog>

namespace oryx::shell {

// "About...": the program's icon, name and version above one OK button.
class TAboutBox final : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace oryx::shell
