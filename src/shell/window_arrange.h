#pragma once

class QMdiArea;
class QMdiSubWindow;

namespace oryx::shell {

// Lines the minimised document windows up along the bottom of the area, left
// to right, starting a new row above when one is full.
void ArrangeIcons(QMdiArea& area);
// Tiles the document windows that are not minimised horizontally: each takes
// the full width of its column, one above the other; more than three windows
// are spread over about the square root of their number of columns, the later
// columns taking the extra windows.
void TileHorizontally(QMdiArea& area);
// Places a window just added to the area at the next cascade position: one
// title bar's height right of and below the one before, back at the top left
// when the next step would leave the area; a window larger than the area is
// made to fit. No part of it is ever outside the area.
void PlaceNewWindow(QMdiArea& area, QMdiSubWindow& window);
// Minimises every document window, from the last in the area's order to the first.
void MinimizeAll(QMdiArea& area);

}  // namespace oryx::shell
