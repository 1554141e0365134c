#pragma once

#include <QFrame>
#include <QPalette>
#include <QString>

#include "search/search_options.h"

class QAbstractItemView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;

namespace oryx::prov {
class ComponentStore;
}

namespace oryx::doc {

class ElidedLabel;
class FindSession;
class TZTreeView;

// The find bar of a document window: the query, where to look (names, paths,
// attribute names, values or all), match case, whole word, regular
// expression, the count "n of N", and "Show only matches". The search starts
// after a pause in typing and runs in the background; each keystroke cancels
// the one running. Enter and F3 go to the next match, Shift+Enter and
// Shift+F3 to the previous; the first Enter after the query changed goes to
// the component whose exact path it is, if any, and steps on from there. Esc
// closes the bar and gives the tree the focus back. A name or value matches
// when the text the window shows for it contains the query.
class FindBar final : public QFrame {
    Q_OBJECT

public:
    // The pause in typing before the search starts, in milliseconds.
    static constexpr int kPause = 300;

    // `window` is the document window the bar sits in: F3 and Shift+F3 work
    // anywhere in it while the bar is open.
    FindBar(TZTreeView& tree, QAbstractItemView& attributes, const prov::ComponentStore& store, QWidget* window);

    // Shows the bar with its text selected and the focus in it.
    void Open();
    // Hides the bar: the search stops, a filtered tree is whole again and the
    // tree has the focus.
    void Close();
    // Searches for the text at once, as the end of the pause does.
    void SearchNow() { Search(true); }
    // Searches for the text again in a store read anew, while the bar is
    // open; the tree's selection stays.
    void SearchAgain();
    FindSession& Session() const { return *session_; }

    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void Search(bool goToFirst);
    void QueryEdited();
    void OptionsChanged();
    // `byEnter`: the step of the Enter key, which may go to the query's path.
    void Step(bool forward, bool byEnter = false);
    void ShowState();
    search::SearchOptions Options() const;

    TZTreeView& tree_;
    FindSession* session_;
    QTimer* pause_;
    QTimer* refresh_;
    QLineEdit* text_ = nullptr;
    QPalette textColours_;
    bool marked_ = false;  // the text is shown as no match or no query
    QComboBox* scope_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QCheckBox* regex_ = nullptr;
    QCheckBox* onlyMatches_ = nullptr;
    QLabel* count_ = nullptr;
    ElidedLabel* note_ = nullptr;
    ElidedLabel* filterNote_ = nullptr;
    QString queryError_;  // why the text is no query
    QString wrapNote_;
    bool pathJumpDue_ = true;  // the query changed since the last Enter
};

}  // namespace oryx::doc
