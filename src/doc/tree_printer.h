#pragma once

#include <QString>

#include <cstddef>
#include <functional>

class QPrinter;

namespace oryx::prov {
class ComponentStore;
}

namespace oryx::doc {

// Prints the tree text as one job in the printer's default font: one line
// under the other from the left edge of the printable area, a line wider than
// the page continued on the next printed line, a new page when the next line
// no longer fits. Returns an empty text on success, else the error to show.
//
// `progress`, when given, hears after each line how many of the tree text's
// lines are printed, and stops the job by answering false: the pages made so
// far are ended as a job (Qt cannot withdraw one from the print system),
// a file printed into is removed, and the result is an empty text.
using PrintProgress = std::function<bool(std::size_t printedLines, std::size_t lineCount)>;
QString PrintTreeText(QPrinter& printer, const prov::ComponentStore& store, const PrintProgress& progress = {});

}  // namespace oryx::doc
