#pragma once

#include <QString>

class QTreeView;

namespace oryx::doc {

// Lets a list show, in a tooltip, the whole text of a cell or a column header
// its column is too narrow for. Cells and headers that show their whole text
// keep whatever tooltip the model gives them (none in our lists).
void ShowWholeTextTips(QTreeView& view);

// A text of many thousand characters as its two ends with an ellipsis
// between, so that laying it out never stalls the window; a shorter one whole.
QString TwoEnds(const QString& text);

// The tooltip for a text shown in part: the text itself, taken as plain text
// even where it looks like markup; a text of many thousand characters shows
// its two ends.
QString WholeTextTip(const QString& text);

}  // namespace oryx::doc
