#pragma once

#include <QString>
#include <QStringView>

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

// How many characters from the start of `text` fit `width` as `widthOf`
// measures them: the longest start that fits, but at least one character
// (none for an empty text). Widths are taken to grow with the length; the
// starts measured are at most about twice as long as the answer, so a line
// cut into pieces costs about its own length.
qsizetype FittingLength(QStringView text, int width, const std::function<int(QStringView)>& widthOf);

}  // namespace oryx::doc
