#pragma once

#include <QList>
#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QPushButton;
class QScrollArea;

namespace oryx::shell {

class AppSettings;
class TOptionsForm;

// The bar of window buttons below the document windows: one checkable button
// per document window, the active window's pressed. A button and its window
// know nothing of each other: the n-th window opened is "MDIChild" + n and its
// button "MyButton" + n, and the names are the only link.
//
// The i-th button stands at i x (width + 1) + 1. When the buttons do not fit
// the bar they are narrowed equally, down to 40 pixels, and past that the
// bar scrolls, so every button stays reachable. A caption too long for its
// button shows its start and its end; the tooltip holds the whole name.
class Taskbar final : public QWidget {
    Q_OBJECT

public:
    explicit Taskbar(QWidget* parent);

    // "MDIChild" + number: the name of the number-th document window opened.
    static QString WindowName(int number);

    // Adds the pressed button of the number-th window, which is about to
    // open, and draws it at once. `wholeName` is its tooltip (the file's path).
    QPushButton* AddButton(const QString& caption, const QString& wholeName, int number);
    // Removes the button of a closing window and lines the others up; false
    // when the window has no button.
    bool RemoveButton(const QString& windowName);
    // Takes back the button of a window that never came into being, and
    // `previouslyPressed` is pressed again.
    void DiscardButton(QPushButton* button, QAbstractButton* previouslyPressed);
    QAbstractButton* PressedButton() const;
    // The window's button's tooltip: its first line, then `second` when given.
    void SetSecondTipLine(const QString& windowName, const QString& second);
    QPushButton* Button(const QString& windowName) const;
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    // Stores the options dialog's choices, then shows or hides the bar and
    // lays the buttons out again at the new width. A width that is no number
    // throws before it is stored.
    void ApplyOptions(const TOptionsForm& options, AppSettings& settings);

signals:
    // A button was clicked: its window is to come to the front.
    void windowRequested(const QString& windowName);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Places and sizes every button, and shows the scroll bar when needed.
    void LayOut();

    QScrollArea* scroller_;
    QWidget* strip_;  // holds the buttons
    QButtonGroup* group_;
    QList<QPushButton*> buttons_;  // in the order of their creation
    int buttonWidth_ = 0;
};

}  // namespace oryx::shell
