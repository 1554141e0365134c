#pragma once

class QMdiArea;

namespace oryx::shell {

// Lines the minimised document windows up along the bottom of the area, left
// to right, starting a new row above when one is full.
void ArrangeIcons(QMdiArea& area);
// Minimises every document window, from the last in the area's order to the first.
void MinimizeAll(QMdiArea& area);

}  // namespace oryx::shell
