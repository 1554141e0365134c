#include "doc/find/find_bar.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

#include "doc/common/command.h"
#include "doc/common/elided_label.h"
#include "doc/common/flow_layout.h"
#include "doc/common/text_codec.h"
#include "doc/find/find_session.h"
#include "doc/tree/tz_tree_view.h"
#include "search/search_options.h"
#include "search/search_query.h"

namespace oryx::doc {
namespace {

// The text field's colours while it holds no match or no valid query.
const QColor kMarkedBase(255, 205, 205);
const QColor kMarkedText(0, 0, 0);

QString Sentence(QString text) {
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    return text;
}

}  // namespace

FindBar::FindBar(TZTreeView& tree, QAbstractItemView& attributes, const prov::ComponentStore& store, QWidget* window)
    : QFrame(window),
      tree_(tree),
      session_(new FindSession(tree, attributes, store, this)),
      pause_(new QTimer(this)),
      refresh_(new QTimer(this)) {
    setObjectName(QStringLiteral("FindBar"));
    setFrameShape(QFrame::StyledPanel);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    pause_->setSingleShot(true);
    pause_->setInterval(kPause);
    connect(pause_, &QTimer::timeout, this, &FindBar::SearchNow);
    // While matches pour in, the count is shown anew a few times a second,
    // not once per batch.
    refresh_->setSingleShot(true);
    refresh_->setInterval(100);
    connect(refresh_, &QTimer::timeout, this, &FindBar::ShowState);
    BuildControls();
    connect(session_, &FindSession::Changed, this, [this] {
        if (!session_->Searching())
            ShowState();
        else if (!refresh_->isActive())
            refresh_->start();
    });
    connect(session_, &FindSession::Wrapped, this, [this](bool forward) {
        wrapNote_ = forward ? QStringLiteral("Wrapped around to the first match")
                            : QStringLiteral("Wrapped around to the last match");
    });
    for (const bool forward : {true, false}) {
        auto* step = new QAction(this);
        step->setShortcut(forward ? QKeySequence(Qt::Key_F3) : QKeySequence(Qt::SHIFT | Qt::Key_F3));
        step->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(step, &QAction::triggered, this, Command([this, forward] {
                    if (isVisible()) Step(forward);
                }));
        window->addAction(step);
    }
    hide();
}

void FindBar::BuildControls() {
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(4, 3, 4, 3);
    rows->setSpacing(3);
    auto* queryRow = new QHBoxLayout;
    // The options and the notes go on to another line where the bar is too
    // narrow for them, and a note longer than the whole bar is elided.
    auto* optionRow = new FlowLayout;
    optionRow->setSpacing(6);
    rows->addLayout(queryRow);
    rows->addLayout(optionRow);

    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("FindText"));
    // Files dropped here open as anywhere else on the main window, rather
    // than their names becoming the query.
    text_->setAcceptDrops(false);
    text_->setPlaceholderText(QStringLiteral("Find in the component tree"));
    text_->setClearButtonEnabled(true);
    text_->installEventFilter(this);
    textColours_ = text_->palette();
    connect(text_, &QLineEdit::textEdited, this, &FindBar::QueryEdited);
    auto* findLabel = new QLabel(QStringLiteral("Find:"), this);
    findLabel->setBuddy(text_);
    queryRow->addWidget(findLabel);
    queryRow->addWidget(text_, 1);

    // The buttons show only an arrow or an icon: their names are said aloud.
    const auto button = [this, queryRow](const char* name, const QString& spoken, const QString& tip, auto&& clicked) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setAccessibleName(spoken);
        b->setToolTip(tip);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, Command(clicked));
        queryRow->addWidget(b);
        return b;
    };
    button("FindPrevious", QStringLiteral("Previous match"), QStringLiteral("Previous match (Shift+F3)"), [this] {
        Step(false);
    })->setArrowType(Qt::UpArrow);
    button("FindNext", QStringLiteral("Next match"), QStringLiteral("Next match (F3)"), [this] {
        Step(true);
    })->setArrowType(Qt::DownArrow);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("FindCount"));
    count_->setMinimumWidth(count_->fontMetrics().horizontalAdvance(QStringLiteral("0000000 of 0000000")));
    queryRow->addWidget(count_);
    button("FindClose", QStringLiteral("Close the find bar"), QStringLiteral("Close the find bar (Esc)"), [this] {
        Close();
    })->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));

    scope_ = new QComboBox(this);
    scope_->setObjectName(QStringLiteral("FindScope"));
    for (const search::ScopeInfo& choice : search::kSearchScopes)
        scope_->addItem(QString::fromLatin1(choice.caption.data(), static_cast<qsizetype>(choice.caption.size())));
    scope_->setCurrentIndex(static_cast<int>(std::size(search::kSearchScopes)) - 1);
    connect(scope_, &QComboBox::currentIndexChanged, this, &FindBar::OptionsChanged);
    // "In:" stays beside its list.
    auto* scopeGroup = new QWidget(this);
    auto* scopeRow = new QHBoxLayout(scopeGroup);
    scopeRow->setContentsMargins(0, 0, 0, 0);
    scope_->setParent(scopeGroup);
    auto* scopeLabel = new QLabel(QStringLiteral("In:"), scopeGroup);
    scopeLabel->setBuddy(scope_);
    scopeRow->addWidget(scopeLabel);
    scopeRow->addWidget(scope_);
    optionRow->addWidget(scopeGroup);
    const auto option = [this, optionRow](const char* name, const QString& caption) {
        auto* box = new QCheckBox(caption, this);
        box->setObjectName(QLatin1String(name));
        optionRow->addWidget(box);
        return box;
    };
    matchCase_ = option("FindMatchCase", QStringLiteral("Match case"));
    wholeWord_ = option("FindWholeWord", QStringLiteral("Whole word"));
    regex_ = option("FindRegex", QStringLiteral("Regular expression"));
    for (QCheckBox* box : {matchCase_, wholeWord_, regex_})
        connect(box, &QCheckBox::toggled, this, &FindBar::OptionsChanged);
    onlyMatches_ = option("FindShowOnlyMatches", QStringLiteral("Show only matches"));
    connect(onlyMatches_, &QCheckBox::toggled, session_, &FindSession::SetFilter);
    note_ = new ElidedLabel(this);
    note_->setObjectName(QStringLiteral("FindNote"));
    note_->hide();
    optionRow->addWidget(note_);
    filterNote_ = new ElidedLabel(this);
    filterNote_->setObjectName(QStringLiteral("FindFilterNote"));
    filterNote_->hide();
    optionRow->addWidget(filterNote_);
}

QSize FindBar::sizeHint() const {
    // As tall as its lines need at its width: they wrap where it is narrow.
    QSize size = QFrame::sizeHint();
    if (width() > 0) size.setHeight(heightForWidth(width()));
    return size;
}

void FindBar::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    if (heightForWidth(width()) != height()) updateGeometry();
}

void FindBar::Open() {
    show();
    text_->setFocus(Qt::ShortcutFocusReason);
    text_->selectAll();
}

void FindBar::Close() {
    pause_->stop();
    onlyMatches_->setChecked(false);
    session_->Clear();
    queryError_.clear();
    wrapNote_.clear();
    hide();
    tree_.setFocus(Qt::OtherFocusReason);
    ShowState();
}

search::SearchOptions FindBar::Options() const {
    search::SearchOptions options;
    const int last = static_cast<int>(std::size(search::kSearchScopes)) - 1;
    options.scope = search::kSearchScopes[std::clamp(scope_->currentIndex(), 0, last)].scope;
    options.text = search::QueryText::Display;
    options.regex = regex_->isChecked();
    options.wholeWord = wholeWord_->isChecked();
    options.matchCase = matchCase_->isChecked();
    return options;
}

void FindBar::QueryEdited() {
    // The search running is for text no longer there; the matches and a
    // filter stay until the next search has its own.
    session_->Cancel();
    pathJumpDue_ = true;
    wrapNote_.clear();
    pause_->start();
    ShowState();
}

void FindBar::OptionsChanged() {
    if (!text_->text().isEmpty()) SearchNow();
}

void FindBar::SearchAgain() {
    if (isVisible() && !text_->text().isEmpty()) Search(false);
}

void FindBar::Search(bool goToFirst) {
    pause_->stop();
    queryError_.clear();
    wrapNote_.clear();
    const QString text = text_->text();
    if (text.isEmpty()) {
        session_->Clear();
    } else {
        try {
            session_->Search(search::SearchQuery(TextBytes(text), Options()), goToFirst);
        } catch (const search::QueryError& error) {
            // No query: the tree is shown whole and nothing is counted until
            // the text is one again.
            queryError_ = Sentence(QString::fromUtf8(error.what()));
            session_->Clear();
        }
    }
    ShowState();
}

void FindBar::Step(bool forward, bool byEnter) {
    wrapNote_.clear();
    if (pause_->isActive() || !session_->HasQuery()) SearchNow();
    // A query that is also a component's path goes to that component once,
    // on the first Enter; from there on every step is to the next match.
    const bool jump = forward && byEnter && pathJumpDue_;
    if (byEnter) pathJumpDue_ = false;
    if (!jump || !session_->GoToPath(TextBytes(text_->text()))) {
        if (forward)
            session_->Next();
        else
            session_->Previous();
    }
    ShowState();
}

void FindBar::ShowState() {
    refresh_->stop();
    const FindSession& session = *session_;
    QString count, note = wrapNote_, filterNote;
    bool marked = false;
    if (!queryError_.isEmpty()) {
        note = queryError_;
        marked = true;
    } else if (session.HasQuery() && !pause_->isActive()) {
        if (session.Count() > 0 && session.Current() != MatchList::kNone)
            count = QStringLiteral("%1 of %2").arg(session.Current() + 1).arg(session.Count());
        else if (session.Count() > 0)
            count =
                session.Count() == 1 ? QStringLiteral("1 match") : QStringLiteral("%1 matches").arg(session.Count());
        else if (!session.Searching())
            count = QStringLiteral("No match");
        marked = session.Count() == 0 && !session.Searching();
        if (session.Searching())
            note = QStringLiteral("Searching...");
        else if (!session.Error().isEmpty())
            note = session.Error();
    }
    if (session.Filtered()) {
        const std::size_t shown = session.FilteredComponents();
        filterNote = shown == 1 ? QStringLiteral("Tree filtered: 1 matching component shown")
                                : QStringLiteral("Tree filtered: %1 matching components shown").arg(shown);
    }
    count_->setText(count);
    for (auto [label, text] : {std::pair{note_, note}, std::pair{filterNote_, filterNote}}) {
        label->setText(text);
        label->setVisible(!text.isEmpty());
    }
    if (marked != marked_) {
        marked_ = marked;
        QPalette colours = textColours_;
        if (marked) {
            colours.setColor(QPalette::Base, kMarkedBase);
            colours.setColor(QPalette::Text, kMarkedText);
        }
        text_->setPalette(colours);
    }
    const QSignalBlocker quiet(onlyMatches_);
    onlyMatches_->setChecked(session.FilterWanted());
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            const bool forward = !(key->modifiers() & Qt::ShiftModifier);
            RunCommand([&] { Step(forward, true); });
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            Close();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void FindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Close();
        return;
    }
    QFrame::keyPressEvent(event);
}

}  // namespace oryx::doc
