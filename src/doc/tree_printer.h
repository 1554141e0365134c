#pragma once

#include <QString>

class QPrinter;

namespace oryx::prov {
class ComponentStore;
}

namespace oryx::doc {

// Prints the tree text as one job in the printer's default font: one line
// under the other from the left edge of the printable area, a line wider than
// the page continued on the next printed line, a new page when the next line
// no longer fits. Returns an empty text on success, else the error to show.
QString PrintTreeText(QPrinter& printer, const prov::ComponentStore& store);

}  // namespace oryx::doc
