#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace oryx::prov {

// A file that cannot be opened or read. what() is one line naming the file
// and the reason.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "cannot read 'FILE': REASON"
FileError ReadError(const std::string& fileName, std::string_view reason);
// "not enough memory to read 'FILE'"
FileError NotEnoughMemoryToRead(const std::string& fileName);

}  // namespace oryx::prov
