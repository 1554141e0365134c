#include "doc/document/copy_command.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>

#include "doc/common/command.h"
#include "doc/document/attribute_list.h"
#include "doc/report/report_panel.h"
#include "doc/report/report_rows_text.h"
#include "doc/tree/tz_tree_view.h"

namespace oryx::doc {

CopyCommand::CopyCommand(QWidget& window, TZTreeView& tree, AttributeList& attributes, const ReportPanel& reports,
                         std::function<QString()> componentPath)
    : QObject(&window),
      tree_(tree),
      attributes_(attributes),
      reports_(reports),
      componentPath_(std::move(componentPath)),
      menu_(new QMenu(&window)) {
    menu_->setObjectName(QStringLiteral("menuPropertyPopup"));
    QAction* copy = menu_->addAction(QStringLiteral("&Copy"));
    copy->setObjectName(QStringLiteral("MenuItem1"));
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(copy, &QAction::triggered, this, Command([this] { CopySelection(); }));
    window.addAction(copy);
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(&tree_), static_cast<QAbstractItemView*>(&attributes_)}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](const QPoint& pos) { menu_->popup(view->viewport()->mapToGlobal(pos)); });
    }
}

void CopyCommand::CopySelection() const {
    const QWidget* focus = QApplication::focusWidget();
    const auto within = [focus](const QWidget* view) { return focus && (focus == view || view->isAncestorOf(focus)); };
    if (within(&attributes_)) {
        const QString row = attributes_.SelectedRowText();
        if (!row.isEmpty()) QApplication::clipboard()->setText(componentPath_() + QLatin1Char(' ') + row);
    } else if (within(&tree_) && tree_.Selected()) {
        QApplication::clipboard()->setText(componentPath_());
    } else if (const QAbstractItemView* list = reports_.ListHolding(focus)) {
        const QString rows = SelectedRowsText(*list);
        if (!rows.isEmpty()) QApplication::clipboard()->setText(rows);
    }
}

}  // namespace oryx::doc
