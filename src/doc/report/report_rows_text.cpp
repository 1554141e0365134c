#include "doc/report/report_rows_text.h"

#include <QAbstractItemView>
#include <QAction>
#include <QItemSelectionModel>

#include <algorithm>

namespace oryx::doc {
namespace {

QString Cell(const QString& text) {
    if (!text.contains(QLatin1Char('\t')) && !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')) &&
        !text.startsWith(QLatin1Char('"')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

void AppendLine(QString& out, const QStringList& cells) {
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0) out += QLatin1Char('\t');
        out += Cell(cells[i]);
    }
    out += QStringLiteral("\r\n");
}

}  // namespace

QString SelectedRowsText(const QAbstractItemView& list) {
    const QAbstractItemModel* model = list.model();
    if (!model || !list.selectionModel()) return {};
    QList<int> rows;
    for (const QModelIndex& index : list.selectionModel()->selectedRows()) rows << index.row();
    if (rows.isEmpty()) return {};
    std::sort(rows.begin(), rows.end());

    const int columns = model->columnCount();
    QString out;
    QStringList cells;
    for (int column = 0; column < columns; ++column) cells << model->headerData(column, Qt::Horizontal).toString();
    AppendLine(out, cells);
    for (const int row : rows) {
        cells.clear();
        for (int column = 0; column < columns; ++column) cells << model->index(row, column).data().toString();
        AppendLine(out, cells);
    }
    return out;
}

void AddSelectAllRows(QAbstractItemView& list) {
    auto* selectAll = new QAction(&list);
    selectAll->setObjectName(QStringLiteral("SelectAllRows"));
    selectAll->setShortcut(QKeySequence::SelectAll);
    selectAll->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(selectAll, &QAction::triggered, &list, [&list] {
        const QAbstractItemModel* model = list.model();
        if (!model || model->rowCount() == 0) return;
        const QItemSelection all(model->index(0, 0), model->index(model->rowCount() - 1, model->columnCount() - 1));
        list.selectionModel()->select(all, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    });
    list.addAction(selectAll);
}

}  // namespace oryx::doc
