#include "doc/refs/reference_navigator.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QStatusTipEvent>
#include <QWidget>

#include "doc/common/text_codec.h"
#include "doc/document/attribute_list.h"
#include "doc/document/attribute_list_model.h"
#include "doc/refs/referenced_by_model.h"
#include "doc/refs/referenced_by_panel.h"
#include "doc/tree/component_tree_model.h"
#include "doc/tree/tz_tree_view.h"
#include "prov/component_store.h"
#include "refs/reference_index.h"
#include "refs/reference_rule.h"
#include "search/component_path.h"

namespace oryx::doc {

ReferenceNavigator::ReferenceNavigator(const prov::ComponentStore& store, TZTreeView& tree, AttributeList& attributes,
                                       ReferencedByPanel& referencedBy, QWidget& window)
    : QObject(&window),
      store_(store),
      tree_(tree),
      attributes_(attributes),
      referencedBy_(referencedBy),
      window_(window),
      back_(new QAction(QStringLiteral("&Back"), &window)),
      forward_(new QAction(QStringLiteral("&Forward"), &window)) {
    back_->setObjectName(QStringLiteral("BackAction"));
    forward_->setObjectName(QStringLiteral("ForwardAction"));
    back_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    forward_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    for (QAction* a : {back_, forward_}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        window.addAction(a);
    }
    connect(back_, &QAction::triggered, this, &ReferenceNavigator::Back);
    connect(forward_, &QAction::triggered, this, &ReferenceNavigator::Forward);
    connect(&attributes_, &AttributeList::FollowRequested, this, &ReferenceNavigator::FollowRow);
    connect(&tree_, &TZTreeView::Change, this, &ReferenceNavigator::ShowReferencedBy);
    connect(&referencedBy_, &ReferencedByPanel::OpenRequested, this, &ReferenceNavigator::Open);
    connect(&referencedBy_, &ReferencedByPanel::IncludeBelowChanged, this, [this] {
        const prov::ComponentNode* node = shownReferencedBy_;
        shownReferencedBy_ = nullptr;
        ShowReferencedBy(node);
    });
    // The mouse's back and forward buttons, anywhere in the window.
    qApp->installEventFilter(this);
    UpdateActions();
}

ReferenceNavigator::~ReferenceNavigator() { StopBuilding(); }

void ReferenceNavigator::StoreChanged() {
    StopBuilding();
    resolver_ = std::make_unique<refs::ReferenceResolver>(store_);
    index_.reset();
    attributes_.Model()->SetResolver(resolver_.get());
}

void ReferenceNavigator::ReleaseStore() {
    StopBuilding();
    referencedBy_.Model()->Show(nullptr, {});
    referencedBy_.Refresh();
    shownReferencedBy_ = nullptr;
    attributes_.Model()->SetResolver(nullptr);
    index_.reset();
    resolver_.reset();
}

void ReferenceNavigator::StopBuilding() {
    // The build only reads the store, which must not change or go under it.
    if (builder_.joinable()) builder_.join();
    built_.reset();
}

void ReferenceNavigator::StartIndex() {
    if (index_ || builder_.joinable()) return;
    builder_ = std::thread([this] {
        try {
            built_ = std::make_unique<refs::ReferenceIndex>(store_);
        } catch (...) {
            built_.reset();  // not enough memory: the list stays empty
        }
        QMetaObject::invokeMethod(this, &ReferenceNavigator::AdoptIndex, Qt::QueuedConnection);
    });
}

void ReferenceNavigator::AdoptIndex() {
    if (!builder_.joinable()) return;  // adopted already, or the store changed
    builder_.join();
    index_ = std::move(built_);
    const prov::ComponentNode* node = shownReferencedBy_;
    shownReferencedBy_ = nullptr;
    if (index_) ShowReferencedBy(node);
}

const refs::ReferenceIndex& ReferenceNavigator::Index() {
    StartIndex();
    AdoptIndex();
    if (!index_) index_ = std::make_unique<refs::ReferenceIndex>(store_);
    return *index_;
}

bool ReferenceNavigator::Shows(const prov::ComponentNode* node) const {
    return node && !tree_.TreeModel()->IsRemoved(node);
}

std::string ReferenceNavigator::CurrentPath() const {
    const prov::ComponentNode* selected = tree_.Selected();
    return selected ? prov::ComponentPath(*selected) : std::string();
}

void ReferenceNavigator::Say(const QString& message) {
    QStatusTipEvent tip(message);
    QApplication::sendEvent(&window_, &tip);
}

void ReferenceNavigator::FollowRow(int row) {
    const refs::Resolution r = attributes_.Model()->RowReference(row);
    if (r.kind == refs::ReferenceKind::None) return;
    if (r.kind == refs::ReferenceKind::Dangling) {
        Say(QStringLiteral("No component %1 in this file").arg(DisplayText(r.missing)));
        return;
    }
    JumpTo(r.target);
}

bool ReferenceNavigator::JumpTo(const prov::ComponentNode* node, long lineIndex) {
    const QString path = node ? DisplayText(prov::ComponentPath(*node)) : QString();
    if (!Shows(node)) {
        Say(QStringLiteral("%1 was removed from the tree").arg(path));
        return false;
    }
    const std::string from = CurrentPath();
    if (tree_.Selected() != node) {
        tree_.Select(node);
        if (tree_.Selected() != node) {
            Say(QStringLiteral("%1 is hidden by the find filter").arg(path));
            return false;
        }
        history_.Jumped(from);
    }
    if (lineIndex >= 0) {
        const int row = attributes_.Model()->RowOfLine(static_cast<std::size_t>(lineIndex));
        if (row >= 0) {
            const QModelIndex index = attributes_.model()->index(row, 0);
            attributes_.setCurrentIndex(index);
            attributes_.scrollTo(index);
        }
    }
    UpdateActions();
    return true;
}

void ReferenceNavigator::RecordJump() {
    history_.Jumped(CurrentPath());
    UpdateActions();
}

void ReferenceNavigator::Back() { MoveThroughHistory(true); }

void ReferenceNavigator::Forward() { MoveThroughHistory(false); }

void ReferenceNavigator::MoveThroughHistory(bool back) {
    const auto exists = [this](const std::string& path) {
        return Shows(search::FindComponentAtPath(store_, path, search::QueryText::Bytes));
    };
    const std::string current = CurrentPath();
    const std::optional<std::string> place = back ? history_.Back(current, exists) : history_.Forward(current, exists);
    if (place) tree_.Select(search::FindComponentAtPath(store_, *place, search::QueryText::Bytes));
    UpdateActions();
}

void ReferenceNavigator::UpdateActions() {
    back_->setEnabled(history_.CanGoBack());
    forward_->setEnabled(history_.CanGoForward());
    emit HistoryChanged();
}

void ReferenceNavigator::ShowReferencedBy(const prov::ComponentNode* node) {
    if (node == shownReferencedBy_ && node) return;
    shownReferencedBy_ = node;
    std::vector<std::uint32_t> positions;
    const refs::ReferenceIndex* index = nullptr;
    if (node && resolver_ && !index_) {
        // The list fills when the background build is done.
        StartIndex();
        referencedBy_.Model()->Show(nullptr, {});
        referencedBy_.Refresh();
        return;
    }
    if (node && resolver_) {
        index = index_.get();
        const refs::ComponentNumber n = index->Number(node);
        if (n != refs::kNoComponent) {
            if (referencedBy_.IncludeBelow()->isChecked()) {
                positions = index->ToSubtree(n);
            } else {
                const auto exact = index->ExactTo(n);
                positions.assign(exact.begin(), exact.end());
            }
        }
    }
    referencedBy_.Model()->Show(index, std::move(positions));
    referencedBy_.Refresh();
}

void ReferenceNavigator::Open(const refs::Reference& reference) {
    // Copies: the jump shows another component, which refills the list.
    const refs::Reference r = reference;
    JumpTo(&Index().Component(r.source), static_cast<long>(r.lineIndex));
}

bool ReferenceNavigator::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        const auto button = static_cast<QMouseEvent*>(event)->button();
        if (widget && (button == Qt::BackButton || button == Qt::ForwardButton) &&
            (widget == &window_ || window_.isAncestorOf(widget))) {
            MoveThroughHistory(button == Qt::BackButton);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace oryx::doc
