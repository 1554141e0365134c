#pragma once

#include <QString>

class QAbstractItemView;

namespace oryx::doc {

// The header row and the selected rows of a report list as text for a
// spreadsheet: cells separated by TAB, every line ending in CR LF, rows in
// list order. A cell holding a TAB, CR, LF or leading double quote is put in
// double quotes, its own quotes doubled, so it stays one cell when pasted.
// Empty when no row is selected.
QString SelectedRowsText(const QAbstractItemView& list);

// Ctrl+A in the list selects every row, also in a list where a click
// selects one row only.
void AddSelectAllRows(QAbstractItemView& list);

}  // namespace oryx::doc
