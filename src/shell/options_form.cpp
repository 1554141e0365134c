#include "shell/options_form.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QVBoxLayout>

#include <stdexcept>

#include "doc/common/dialogs.h"
#include "shell/app_settings.h"

namespace oryx::shell {

TOptionsForm::TOptionsForm(bool viewTaskbar, int buttonWidth, QWidget* parent) : QDialog(parent) {
    setObjectName("OptionsForm");
    setWindowTitle("Options...");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    viewTaskbar_ = new QCheckBox("View Taskbar", this);
    viewTaskbar_->setObjectName("chkViewTaskbar");
    // The text stands to the left of the box.
    viewTaskbar_->setLayoutDirection(Qt::RightToLeft);
    connect(viewTaskbar_, &QCheckBox::toggled, this, &TOptionsForm::EnableWidthWithTaskbar);

    widthLabel_ = new QLabel("Taskbar Button Width:", this);
    widthLabel_->setObjectName("lblButtonWidth");
    rangeLabel_ = new QLabel(
        QStringLiteral("(%1 to %2 pixels)").arg(AppSettings::kMinButtonWidth).arg(AppSettings::kMaxButtonWidth), this);
    rangeLabel_->setObjectName("lblButtonWidthRange");

    widthEdit_ = new QLineEdit(this);
    widthEdit_->setObjectName("edButtonWidth");
    widthLabel_->setBuddy(widthEdit_);  // which also names the field for a screen reader
    // Room for five digits in the dialog's font.
    widthEdit_->setFixedWidth(widthEdit_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    widthEdit_->installEventFilter(this);
    // Keys are filtered below; this also keeps pasted or dropped text to digits.
    widthEdit_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), widthEdit_));

    auto* rulesLabel = new QLabel("Rules file:", this);
    rulesLabel->setObjectName("lblRulesFile");
    rulesEdit_ = new QLineEdit(this);
    rulesEdit_->setObjectName("edRulesFile");
    rulesEdit_->setMinimumWidth(rulesEdit_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
    rulesLabel->setBuddy(rulesEdit_);
    auto* browse = new QPushButton("Browse...", this);
    browse->setObjectName("btnBrowseRules");
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = doc::CurrentDialogs().OpenFile(
            this, QStringLiteral("Rules file"), QStringLiteral("Rules Files (*.yaml *.yml);;All Files (*)"),
            rulesEdit_->text());
        if (!chosen.isEmpty()) rulesEdit_->setText(chosen);
    });

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("Button1");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("Button2");
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // Laid out rather than placed, so that every text shows whole in any
    // font; the dialog takes the size its contents need and keeps it.
    auto* widthRow = new QHBoxLayout;
    widthRow->addWidget(widthLabel_);
    widthRow->addWidget(widthEdit_);
    widthRow->addWidget(rangeLabel_);
    widthRow->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(viewTaskbar_, 0, Qt::AlignLeft);
    layout->addLayout(widthRow);
    auto* rulesRow = new QHBoxLayout;
    rulesRow->addWidget(rulesLabel);
    rulesRow->addWidget(rulesEdit_, 1);
    rulesRow->addWidget(browse);
    layout->addLayout(rulesRow);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(widthEdit_, ok);
    setTabOrder(ok, cancel);
    setTabOrder(cancel, viewTaskbar_);
    // The width has the focus when the dialog first shows, so OK is the button Return presses.
    widthEdit_->setFocus();

    viewTaskbar_->setChecked(viewTaskbar);
    EnableWidthWithTaskbar();
    widthEdit_->setText(QString::number(buttonWidth));
}

bool TOptionsForm::ViewTaskbar() const { return viewTaskbar_->isChecked(); }

QString TOptionsForm::RulesFile() const { return rulesEdit_->text().trimmed(); }

void TOptionsForm::SetRulesFile(const QString& path) { rulesEdit_->setText(path); }

void TOptionsForm::accept() {
    // A width the taskbar cannot use keeps the dialog open, and nothing is stored.
    QString refusal;
    try {
        if (!AppSettings::IsButtonWidth(ButtonWidth()))
            refusal = QStringLiteral("Taskbar Button Width must be from %1 to %2.")
                          .arg(AppSettings::kMinButtonWidth)
                          .arg(AppSettings::kMaxButtonWidth);
    } catch (const std::invalid_argument& error) {
        refusal = QString::fromStdString(error.what());
    }
    if (!refusal.isEmpty()) {
        doc::CurrentDialogs().Message(this, doc::MessageKind::Error, QStringLiteral("Error"), refusal);
        widthEdit_->setFocus();
        widthEdit_->selectAll();
        return;
    }
    QDialog::accept();
}

int TOptionsForm::ButtonWidth() const {
    const QString text = widthEdit_->text();
    bool ok = false;
    const int width = text.toInt(&ok, 10);
    if (!ok) throw std::invalid_argument(("'" + text + "' is not a valid integer value").toStdString());
    return width;
}

void TOptionsForm::EnableWidthWithTaskbar() {
    widthLabel_->setEnabled(viewTaskbar_->isChecked());
    rangeLabel_->setEnabled(viewTaskbar_->isChecked());
    widthEdit_->setEnabled(viewTaskbar_->isChecked());
}

bool TOptionsForm::IsDiscardedWidthKey(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Backspace) return true;
    // Ctrl with a letter types a control character (Ctrl+V, Ctrl+X, ...);
    // Ctrl+A alone is let through, to select the width for typing over.
    if ((key.modifiers() & Qt::ControlModifier) && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
        return key.key() != Qt::Key_A;
    // Return, Escape and Tab belong to the dialog; Delete and the arrows type nothing.
    const QString text = key.text();
    if (text.size() != 1 || text[0].category() == QChar::Other_Control) return false;
    return text[0] < '0' || text[0] > '9';
}

bool TOptionsForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widthEdit_ && event->type() == QEvent::KeyPress)
        return IsDiscardedWidthKey(*static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

void TOptionsForm::showEvent(QShowEvent* event) {
    // Centred on the screen, not on the main window.
    if (QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

}  // namespace oryx::shell
