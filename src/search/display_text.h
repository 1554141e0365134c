#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace oryx::search {

// The window shows each of the file's strings as UTF-8 when it is well-formed
// UTF-8 and as Latin-1 otherwise, so no byte is ever lost. These helpers give
// that display text as UTF-8 bytes, to match text the user typed against.

// No byte above 127: the same text in every reading.
bool IsAscii(std::string_view bytes);

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsUtf8(std::string_view bytes);

// The display text of `bytes` as UTF-8. Valid UTF-8 comes back as a view into
// `bytes` (without a leading byte-order mark, which the window drops too);
// anything else is decoded as Latin-1 into `scratch`.
std::string_view DisplayUtf8(std::string_view bytes, std::string& scratch);

// The Latin-1 bytes of UTF-8 text, or nothing when a character lies above
// U+00FF (or the text is not UTF-8).
std::optional<std::string> Latin1FromUtf8(std::string_view utf8);

}  // namespace oryx::search
