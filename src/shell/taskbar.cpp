#include "shell/taskbar.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QPushButton>

#include "shell/app_settings.h"
#include "shell/options_form.h"

namespace oryx::shell {

namespace {
const QString kWindowPrefix = QStringLiteral("MDIChild");
const QString kButtonPrefix = QStringLiteral("MyButton");
}  // namespace

Taskbar::Taskbar(QWidget* parent) : QWidget(parent), group_(new QButtonGroup(this)) {
    setObjectName("Taskbar");
    setFixedHeight(27);
    group_->setExclusive(true);
}

QString Taskbar::WindowName(int number) { return kWindowPrefix + QString::number(number); }

QPushButton* Taskbar::AddButton(const QString& caption, int number, int openWindows) {
    auto* button = new QPushButton(caption, this);
    button->setCheckable(true);
    button->setStatusTip(caption);
    button->setToolTip(caption);
    button->setFocusPolicy(Qt::NoFocus);
    group_->addButton(button);
    connect(button, &QPushButton::clicked, this,
            [this, button] { emit windowRequested(kWindowPrefix + button->objectName().mid(kButtonPrefix.size())); });
    button->setGeometry(openWindows * (buttonWidth_ + 1) + 1, 1, buttonWidth_, 25);
    button->setObjectName(kButtonPrefix + QString::number(number));
    button->show();
    button->setChecked(true);
    // Drawn before the file is loaded, which may take a while; the user's
    // own input waits until the window is there.
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    buttons_.append(button);
    return button;
}

QPushButton* Taskbar::Button(const QString& windowName) const {
    const QString name = kButtonPrefix + windowName.mid(kWindowPrefix.size());
    for (QPushButton* button : buttons_)
        if (button->objectName() == name) return button;
    return nullptr;
}

void Taskbar::SetSecondTipLine(const QString& windowName, const QString& second) {
    QPushButton* button = Button(windowName);
    if (!button) return;
    const QString first = button->toolTip().section(QLatin1Char('\n'), 0, 0);
    button->setToolTip(second.isEmpty() ? first : first + QLatin1Char('\n') + second);
}

bool Taskbar::RemoveButton(const QString& windowName) {
    const QString name = kButtonPrefix + windowName.mid(kWindowPrefix.size());
    qsizetype found = -1;
    for (qsizetype i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->objectName() == name) found = i;
    if (found < 0) return false;
    delete buttons_.takeAt(found);
    for (qsizetype i = 0; i < buttons_.size(); ++i) buttons_[i]->move(static_cast<int>(i) * (buttonWidth_ + 1) + 8, 1);
    return true;
}

void Taskbar::DiscardButton(QPushButton* button, QAbstractButton* previouslyPressed) {
    buttons_.removeOne(button);
    delete button;
    if (previouslyPressed) previouslyPressed->setChecked(true);
}

QAbstractButton* Taskbar::PressedButton() const { return group_->checkedButton(); }

void Taskbar::ApplyOptions(const TOptionsForm& options, AppSettings& settings) {
    settings.StoreViewTaskbar(options.ViewTaskbar());
    buttonWidth_ = options.ButtonWidth();
    settings.StoreButtonWidth(buttonWidth_);
    for (QPushButton* button : buttons_) button->resize(buttonWidth_, button->height());
    setVisible(options.ViewTaskbar());
}

}  // namespace oryx::shell
