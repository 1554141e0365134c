#include "shell/options_form.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>

#include <optional>

#include "settings/registry_enhanced.h"

namespace oryx::shell {

namespace {

constexpr int kDefaultButtonWidth = 75;

// A stored value as a number: integers as they are, text when it holds one.
std::optional<qint32> StoredNumber(const settings::SettingValue& value) {
    if (value.IsInteger())
        return value.AsInteger();
    if (value.IsString()) {
        bool ok = false;
        const qint32 number = QString::fromStdString(value.AsString()).toInt(&ok, 10);
        if (ok)
            return number;
    }
    return std::nullopt;
}

}  // namespace

TOptionsForm::TOptionsForm(settings::TRegistryEnhanced& reg, QWidget* parent) : QDialog(parent) {
    setObjectName("OptionsForm");
    setWindowTitle("Options...");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(212, 122);

    chkViewTaskbar = new QCheckBox("View Taskbar", this);
    chkViewTaskbar->setObjectName("chkViewTaskbar");
    // The text stands to the left of the box.
    chkViewTaskbar->setLayoutDirection(Qt::RightToLeft);
    chkViewTaskbar->setGeometry(16, 16, 97, 17);
    connect(chkViewTaskbar, &QCheckBox::toggled, this, &TOptionsForm::chkViewTaskbarClick);

    lblButtonWidth = new QLabel("Taskbar Button Width:", this);
    lblButtonWidth->setObjectName("lblButtonWidth");
    lblButtonWidth->setGeometry(16, 44, 107, 13);

    edButtonWidth = new QLineEdit(this);
    edButtonWidth->setObjectName("edButtonWidth");
    edButtonWidth->setGeometry(128, 40, 40, 21);
    edButtonWidth->installEventFilter(this);
    // Keys are filtered below; this also keeps pasted or dropped text to digits.
    edButtonWidth->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edButtonWidth));

    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(21, 80, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    Button2 = new QPushButton("Cancel", this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(117, 80, 75, 25);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(edButtonWidth, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, chkViewTaskbar);
    // The width has the focus when the dialog first shows, so OK is the button Return presses.
    edButtonWidth->setFocus();

    FormCreate(reg);
}

void TOptionsForm::FormCreate(settings::TRegistryEnhanced& reg) {
    // Unreadable values fall back to their defaults rather than stopping the
    // start: a taskbar that shows, buttons 75 pixels wide.
    const std::optional<qint32> view = StoredNumber(reg.ReadValue("View Taskbar", 1));
    chkViewTaskbar->setChecked(view.value_or(1) != 0);
    chkViewTaskbarClick();
    const std::optional<qint32> width = StoredNumber(reg.ReadValue("Button Width", kDefaultButtonWidth));
    edButtonWidth->setText(QString::number(width && *width >= 0 ? *width : kDefaultButtonWidth));
}

void TOptionsForm::chkViewTaskbarClick() {
    lblButtonWidth->setEnabled(chkViewTaskbar->isChecked());
    edButtonWidth->setEnabled(chkViewTaskbar->isChecked());
}

bool TOptionsForm::edButtonWidthKeyPress(const QKeyEvent& key) {
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
    if (watched == edButtonWidth && event->type() == QEvent::KeyPress)
        return edButtonWidthKeyPress(*static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

void TOptionsForm::showEvent(QShowEvent* event) {
    // Centred on the screen, not on the main window.
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

}  // namespace oryx::shell
