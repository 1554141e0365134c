#pragma once

#include <QIcon>

namespace oryx::doc {

// The icon of a document window whose file is in the configure format.
QIcon ConfigureFileIcon();

}  // namespace oryx::doc
