#pragma once

#include <cstddef>
#include <ctime>
#include <string>

#include "prov/file_error.h"

namespace oryx::prov {

// A regular file open for reading. A directory, FIFO or device raises
// FileError at once ("is a directory", "not a regular file"): none is waited
// on or read. The file's size and modification time when it was opened tell
// whether it changed while it was read.
class RegularFile final {
public:
    explicit RegularFile(const std::string& fileName);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    // Up to `size` bytes; 0 at the end of the file, whatever its size said.
    std::size_t Read(char* buffer, std::size_t size);
    void Rewind();
    // Raises FileError ("changed while it was read") when the size or the
    // modification time now differ from those at opening.
    void CheckUnchanged() const;
    std::size_t SizeAtOpen() const { return static_cast<std::size_t>(size_); }

private:
    std::string fileName_;
    int fd_ = -1;
    long long size_ = 0;
    std::timespec modified_{};
};

// The whole file, read to its end. Raises FileError as RegularFile does,
// and "not enough memory to read 'FILE'" when it does not fit in memory.
std::string ReadRegularFile(const std::string& fileName);

}  // namespace oryx::prov
