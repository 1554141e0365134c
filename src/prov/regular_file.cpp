#include "prov/regular_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "text/message_value.h"

namespace oryx::prov {

FileError ReadError(const std::string& fileName, std::string_view reason) {
    std::string message = "cannot read '" + text::MessageValue(fileName) + "': ";
    message += reason;
    return FileError(message);
}

FileError NotEnoughMemoryToRead(const std::string& fileName) {
    return FileError("not enough memory to read '" + text::MessageValue(fileName) + "'");
}

RegularFile::RegularFile(const std::string& fileName) : fileName_(fileName) {
    // O_NONBLOCK keeps open() of a FIFO from waiting for a writer.
    fd_ = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) throw ReadError(fileName, std::strerror(errno));
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        const int err = errno;
        ::close(fd_);
        throw ReadError(fileName, std::strerror(err));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd_);
        throw ReadError(fileName, S_ISDIR(st.st_mode) ? "is a directory" : "not a regular file");
    }
    size_ = st.st_size;
    modified_ = st.st_mtim;
}

RegularFile::~RegularFile() { ::close(fd_); }

std::size_t RegularFile::Read(char* buffer, std::size_t size) {
    ssize_t n;
    do {
        n = ::read(fd_, buffer, size);
    } while (n < 0 && errno == EINTR);
    if (n < 0) throw ReadError(fileName_, std::strerror(errno));
    return static_cast<std::size_t>(n);
}

void RegularFile::Rewind() {
    if (::lseek(fd_, 0, SEEK_SET) < 0) throw ReadError(fileName_, std::strerror(errno));
}

void RegularFile::CheckUnchanged() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) throw ReadError(fileName_, std::strerror(errno));
    if (st.st_size != size_ || st.st_mtim.tv_sec != modified_.tv_sec || st.st_mtim.tv_nsec != modified_.tv_nsec)
        throw ReadError(fileName_, "changed while it was read");
}

std::string ReadRegularFile(const std::string& fileName) {
    RegularFile file(fileName);
    std::string text;
    try {
        constexpr std::size_t kPiece = 64 * 1024;
        while (true) {
            const std::size_t used = text.size();
            text.resize(used + kPiece);
            const std::size_t n = file.Read(text.data() + used, kPiece);
            text.resize(used + n);
            if (n == 0) break;
        }
    } catch (const std::bad_alloc&) {
        throw NotEnoughMemoryToRead(fileName);
    }
    file.CheckUnchanged();
    return text;
}

}  // namespace oryx::prov
