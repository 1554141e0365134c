// The taskbar of window buttons and the options that size and show it. A
// button and its document window know nothing of each other: the n-th window
// opened is "MDIChild" + n and its button "MyButton" + n, and the names are
// the only link.
#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <stdexcept>

#include "doc/dialogs.h"
#include "doc/mdi_child.h"
#include "settings/registry_enhanced.h"
#include "shell/main_form.h"
#include "shell/options_form.h"

namespace oryx::shell {

namespace {
const QString kWindowPrefix = QStringLiteral("MDIChild");
const QString kButtonPrefix = QStringLiteral("MyButton");
}  // namespace

void TMainForm::createTaskbar(QWidget* parent) {
    Taskbar = new QWidget(parent);
    Taskbar->setObjectName("Taskbar");
    Taskbar->setFixedHeight(27);
    taskbarGroup_ = new QButtonGroup(this);
    taskbarGroup_->setExclusive(true);
}

QPushButton* TMainForm::AddTaskbarButton(const QString& caption) {
    auto* button = new QPushButton(caption, Taskbar);
    button->setCheckable(true);
    button->setStatusTip(caption);
    button->setToolTip(caption);
    button->setFocusPolicy(Qt::NoFocus);
    taskbarGroup_->addButton(button);
    connect(button, &QPushButton::clicked, this, [this, button] { TaskbarButtonClick(button); });
    // The new window does not exist yet: it takes the place after the open ones.
    button->setGeometry(DocumentCount() * (ButtonWidth + 1) + 1, 1, ButtonWidth, 25);
    button->setObjectName(kButtonPrefix + QString::number(DocumentCounter + 1));
    button->show();
    button->setChecked(true);
    // Drawn before the file is loaded, which may take a while; the user's
    // own input waits until the window is there.
    Taskbar->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    TaskbarButtons.append(button);
    return button;
}

void TMainForm::RemoveTaskbarButton(const QString& windowName) {
    const QString name = kButtonPrefix + windowName.mid(kWindowPrefix.size());
    qsizetype found = -1;
    for (qsizetype i = 0; i < TaskbarButtons.size(); ++i)
        if (TaskbarButtons[i]->objectName() == name)
            found = i;
    if (found < 0) {
        doc::CurrentDialogs().Message(this, doc::MessageKind::Error, "Error", "An internal error has occured.");
        return;
    }
    delete TaskbarButtons.takeAt(found);
    for (qsizetype i = 0; i < TaskbarButtons.size(); ++i)
        TaskbarButtons[i]->move(static_cast<int>(i) * (ButtonWidth + 1) + 8, 1);
}

void TMainForm::DiscardTaskbarButton(QPushButton* button, QAbstractButton* previouslyPressed) {
    // Its window never came into being; nothing else moves, and the button of
    // the window still in front is pressed again.
    TaskbarButtons.removeOne(button);
    delete button;
    if (previouslyPressed)
        previouslyPressed->setChecked(true);
}

void TMainForm::OpenWithTaskbarButton(const QString& path) {
    QPointer<QAbstractButton> previouslyPressed = taskbarGroup_->checkedButton();
    QPushButton* button = AddTaskbarButton(QFileInfo(path).fileName());
    try {
        OpenDocument(path);
    } catch (...) {
        DiscardTaskbarButton(button, previouslyPressed);
        throw;
    }
}

void TMainForm::TaskbarButtonClick(QAbstractButton* button) {
    const QString windowName = kWindowPrefix + button->objectName().mid(kButtonPrefix.size());
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        auto* child = qobject_cast<doc::TMDIChild*>((*it)->widget());
        if (!child || (*it)->objectName() != windowName)
            continue;
        mdiArea_->setActiveSubWindow(*it);
        for (int code = 1; code <= 8; ++code)
            SetReportChecked(code, child->IsReportListVisible(code));
    }
}

void TMainForm::ApplyOptions() {
    Reg->WriteValue("View Taskbar", OptionsForm->chkViewTaskbar->isChecked());
    const QString text = OptionsForm->edButtonWidth->text();
    bool ok = false;
    const int width = text.toInt(&ok, 10);
    if (!ok)
        throw std::invalid_argument(("'" + text + "' is not a valid integer value").toStdString());
    Reg->WriteValue("Button Width", width);
    ButtonWidth = width;
    // Left positions stay: wider buttons overlap until a window closes.
    for (QPushButton* button : TaskbarButtons)
        button->resize(ButtonWidth, button->height());
    Taskbar->setVisible(OptionsForm->chkViewTaskbar->isChecked());
}

void TMainForm::miOptionsClick() {
    if (OptionsForm->exec() == QDialog::Accepted)
        ApplyOptions();
}

}  // namespace oryx::shell
