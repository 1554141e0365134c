#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace oryx::doc {

// The file's bytes for display: UTF-8 when they are valid UTF-8, else Latin-1
// (every byte one character), so no byte is ever lost or replaced.
QString DisplayText(std::string_view bytes);
// Text typed by the user as bytes for the model's side (UTF-8).
std::string TextBytes(const QString& text);
// A path as the file system's bytes.
std::string FileNameBytes(const QString& fileName);

}  // namespace oryx::doc
