#pragma once

#include <QString>

#include <string_view>

namespace oryx::doc {

// A dialog filter in the "Text Files (*.txt)|*.txt|All Files (*.*)|*.*" form
// as Qt's "Text Files (*.txt);;All Files (*)". "*.*" means every file, also
// one whose name has no dot.
QString QtFileFilter(std::string_view pipeFilter);

}  // namespace oryx::doc
