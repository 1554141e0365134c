#pragma once

#include <string>
#include <string_view>

namespace oryx::text {

// A value from a file, or a file name, as an error message quotes it, so that
// a huge value cannot flood the message and no byte of it can steer the
// terminal or break the message's line: a value of more than 200 bytes keeps
// its first and its last 96 bytes with "..." between them, never cutting a
// UTF-8 sequence in two, and bytes below 0x20 and the byte 0x7F are written
// as \xHH. Other bytes pass unchanged.
std::string MessageValue(std::string_view value);

}  // namespace oryx::text
