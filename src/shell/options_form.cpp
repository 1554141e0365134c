#include "shell/options_form.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>

#include <stdexcept>

namespace oryx::shell {

TOptionsForm::TOptionsForm(bool viewTaskbar, int buttonWidth, QWidget* parent) : QDialog(parent) {
    setObjectName("OptionsForm");
    setWindowTitle("Options...");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(212, 122);

    viewTaskbar_ = new QCheckBox("View Taskbar", this);
    viewTaskbar_->setObjectName("chkViewTaskbar");
    // The text stands to the left of the box.
    viewTaskbar_->setLayoutDirection(Qt::RightToLeft);
    viewTaskbar_->setGeometry(16, 16, 97, 17);
    connect(viewTaskbar_, &QCheckBox::toggled, this, &TOptionsForm::EnableWidthWithTaskbar);

    widthLabel_ = new QLabel("Taskbar Button Width:", this);
    widthLabel_->setObjectName("lblButtonWidth");
    widthLabel_->setGeometry(16, 44, 107, 13);

    widthEdit_ = new QLineEdit(this);
    widthEdit_->setObjectName("edButtonWidth");
    widthEdit_->setGeometry(128, 40, 40, 21);
    widthEdit_->installEventFilter(this);
    // Keys are filtered below; this also keeps pasted or dropped text to digits.
    widthEdit_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), widthEdit_));

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("Button1");
    ok->setGeometry(21, 80, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("Button2");
    cancel->setGeometry(117, 80, 75, 25);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(widthEdit_, ok);
    setTabOrder(ok, cancel);
    setTabOrder(cancel, viewTaskbar_);
    // The width has the focus when the dialog first shows, so OK is the button Return presses.
    widthEdit_->setFocus();

    viewTaskbar_->setChecked(viewTaskbar);
    EnableWidthWithTaskbar();
    widthEdit_->setText(QString::number(buttonWidth));
}

bool TOptionsForm::ViewTaskbar() const {
    return viewTaskbar_->isChecked();
}

int TOptionsForm::ButtonWidth() const {
    const QString text = widthEdit_->text();
    bool ok = false;
    const int width = text.toInt(&ok, 10);
    if (!ok)
        throw std::invalid_argument(("'" + text + "' is not a valid integer value").toStdString());
    return width;
}

void TOptionsForm::EnableWidthWithTaskbar() {
    widthLabel_->setEnabled(viewTaskbar_->isChecked());
    widthEdit_->setEnabled(viewTaskbar_->isChecked());
}

bool TOptionsForm::IsDiscardedWidthKey(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Backspace)
        return true;
    // Ctrl with a letter types a control character (Ctrl+V, Ctrl+X, ...).
    if ((key.modifiers() & Qt::ControlModifier) && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
        return true;
    // Return, Escape and Tab belong to the dialog; Delete and the arrows type nothing.
    const QString text = key.text();
    if (text.size() != 1 || text[0].category() == QChar::Other_Control)
        return false;
    return text[0] < '0' || text[0] > '9';
}

bool TOptionsForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widthEdit_ && event->type() == QEvent::KeyPress)
        return IsDiscardedWidthKey(*static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

void TOptionsForm::showEvent(QShowEvent* event) {
    // Centred on the screen, not on the main window.
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

}  // namespace oryx::shell
