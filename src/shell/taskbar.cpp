#include "shell/taskbar.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>
#include <limits>

#include "shell/app_settings.h"
#include "shell/options_form.h"

namespace oryx::shell {

namespace {
const QString kWindowPrefix = QStringLiteral("MDIChild");
const QString kButtonPrefix = QStringLiteral("MyButton");
const char* const kCaption = "wholeCaption";
constexpr int kBarHeight = 27;
constexpr int kButtonHeight = 25;
constexpr int kNarrowestFit = 40;  // narrower buttons would show no caption worth reading

// The caption as it fits the button: the middle left out, so that both
// the node at its start and the date at its end show.
QString FittedCaption(const QPushButton& button, int width) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.rect = QRect(0, 0, width, kButtonHeight);
    const QRect contents = button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    // A few pixels kept clear of the frame on either side.
    const int room = contents.width() - 4;
    return button.fontMetrics().elidedText(button.property(kCaption).toString(), Qt::ElideMiddle, std::max(room, 0));
}
}  // namespace

Taskbar::Taskbar(QWidget* parent)
    : QWidget(parent), scroller_(new QScrollArea(this)), strip_(new QWidget), group_(new QButtonGroup(this)) {
    setObjectName("Taskbar");
    setFixedHeight(kBarHeight);
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller_->setFocusPolicy(Qt::NoFocus);
    scroller_->setWidget(strip_);
    scroller_->setWidgetResizable(false);
    group_->setExclusive(true);
    // The pressed button is scrolled into view.
    connect(group_, &QButtonGroup::buttonToggled, this, [this](QAbstractButton* button, bool checked) {
        if (checked) scroller_->ensureWidgetVisible(button, 0, 0);
    });
}

QString Taskbar::WindowName(int number) { return kWindowPrefix + QString::number(number); }

QPushButton* Taskbar::AddButton(const QString& caption, const QString& wholeName, int number) {
    auto* button = new QPushButton(strip_);
    button->setProperty(kCaption, caption);
    button->setCheckable(true);
    button->setStatusTip(caption);
    button->setToolTip(wholeName);
    button->setFocusPolicy(Qt::NoFocus);
    group_->addButton(button);
    connect(button, &QPushButton::clicked, this,
            [this, button] { emit windowRequested(kWindowPrefix + button->objectName().mid(kButtonPrefix.size())); });
    button->setObjectName(kButtonPrefix + QString::number(number));
    buttons_.append(button);
    LayOut();
    button->show();
    button->setChecked(true);
    // Drawn before the file is loaded, which may take a while; the user's
    // own input waits until the window is there.
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
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
    LayOut();
    return true;
}

void Taskbar::DiscardButton(QPushButton* button, QAbstractButton* previouslyPressed) {
    buttons_.removeOne(button);
    delete button;
    LayOut();
    if (previouslyPressed) previouslyPressed->setChecked(true);
}

QAbstractButton* Taskbar::PressedButton() const { return group_->checkedButton(); }

void Taskbar::ApplyOptions(const TOptionsForm& options, AppSettings& settings) {
    settings.StoreViewTaskbar(options.ViewTaskbar());
    buttonWidth_ = options.ButtonWidth();
    settings.StoreButtonWidth(buttonWidth_);
    LayOut();
    setVisible(options.ViewTaskbar());
}

void Taskbar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

void Taskbar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    LayOut();
}

void Taskbar::LayOut() {
    const int count = static_cast<int>(buttons_.size());
    // Hidden, the bar has no width of its own yet: it is laid out again when shown.
    const int room = isVisible() ? width() : std::numeric_limits<int>::max();
    int buttonWidth = buttonWidth_;
    if (count > 0 && count * (buttonWidth + 1) + 1 > room)
        buttonWidth = std::min(buttonWidth, std::max(kNarrowestFit, (room - 1) / count - 1));
    for (int i = 0; i < count; ++i) {
        QPushButton* button = buttons_[i];
        button->setGeometry(i * (buttonWidth + 1) + 1, 1, buttonWidth, kButtonHeight);
        button->setText(FittedCaption(*button, buttonWidth));
    }
    const int stripWidth = count * (buttonWidth + 1) + 1;
    const bool scrolls = stripWidth > room;
    scroller_->setHorizontalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int barHeight = kBarHeight + (scrolls ? scroller_->horizontalScrollBar()->sizeHint().height() : 0);
    if (height() != barHeight) setFixedHeight(barHeight);
    strip_->resize(stripWidth, kBarHeight);
    scroller_->setGeometry(0, 0, width(), barHeight);
    if (QAbstractButton* pressed = PressedButton()) scroller_->ensureWidgetVisible(pressed, 0, 0);
}

}  // namespace oryx::shell
