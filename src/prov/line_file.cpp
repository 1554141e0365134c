#include <cerrno>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "prov/reader.h"
#include "text/message_value.h"

namespace oryx::prov {
namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr char kCtrlZ = 26;

[[noreturn]] void Fail(const std::string& fileName, const std::string& reason) {
    throw FileError("cannot read '" + text::MessageValue(fileName) + "': " + reason);
}

}  // namespace

LineFile::LineFile(const std::string& fileName) : fileName_(fileName) {
    // O_NONBLOCK keeps open() of a FIFO from waiting for a writer; only
    // regular files are read.
    fd_ = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) Fail(fileName, std::strerror(errno));
    struct stat st{};
    if (::fstat(fd_, &st) != 0) {
        const int err = errno;
        ::close(fd_);
        Fail(fileName, std::strerror(err));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd_);
        Fail(fileName, S_ISDIR(st.st_mode) ? "is a directory" : "not a regular file");
    }
    size_ = st.st_size;
    buffer_ = std::make_unique<char[]>(kBufferSize);
}

LineFile::~LineFile() {
    if (fd_ >= 0) ::close(fd_);
}

void LineFile::Rewind() {
    if (::lseek(fd_, 0, SEEK_SET) < 0) Fail(fileName_, std::strerror(errno));
    begin_ = end_ = 0;
    eof_ = false;
    pendingCr_ = false;
}

bool LineFile::Fill() {
    if (eof_) return false;
    ssize_t n;
    do {
        n = ::read(fd_, buffer_.get(), kBufferSize);
    } while (n < 0 && errno == EINTR);
    if (n < 0) Fail(fileName_, std::strerror(errno));
    if (n == 0) {
        eof_ = true;
        return false;
    }
    begin_ = 0;
    end_ = static_cast<std::size_t>(n);
    nextLf_ = nextCr_ = kUnknown;
    // The file ends at its first Ctrl-Z: cut the buffer there, so lines are
    // looked for only at CR and LF.
    if (const void* ctrlZ = std::memchr(buffer_.get(), kCtrlZ, end_)) {
        end_ = static_cast<std::size_t>(static_cast<const char*>(ctrlZ) - buffer_.get());
        eof_ = true;
        if (end_ == 0) return false;
    }
    return true;
}

// The position of the next `c` at or after begin_ in the buffer, or kNone.
// Each search result is kept until a line is read past it, so every byte of
// the buffer is searched at most once for each of CR and LF.
std::size_t LineFile::Next(char c, std::size_t& known) {
    if (known == kUnknown || (known != kNone && known < begin_)) {
        const void* found = std::memchr(buffer_.get() + begin_, c, end_ - begin_);
        known = found ? static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.get()) : kNone;
    }
    return known;
}

bool LineFile::ReadLine(std::string_view& line) {
    if (pendingCr_) {
        // A CR ended the previous line at the end of a buffer: an LF right
        // after it belongs to the same line end.
        pendingCr_ = false;
        if ((begin_ < end_ || Fill()) && buffer_[begin_] == '\n') ++begin_;
    }
    bool spans = false;
    longLine_.clear();
    while (true) {
        if (begin_ == end_ && !Fill()) {
            if (!spans) return false;
            line = longLine_;
            return true;
        }
        const char* const start = buffer_.get() + begin_;
        const std::size_t available = end_ - begin_;
        const std::size_t end = std::min(Next('\n', nextLf_), Next('\r', nextCr_));
        if (end == kNone) {
            longLine_.append(start, available);
            spans = true;
            begin_ = end_;
            continue;
        }
        const char* const p = buffer_.get() + end;
        const std::string_view piece(start, static_cast<std::size_t>(p - start));
        begin_ = end + 1;
        if (*p == '\r') {
            if (begin_ < end_) {
                if (buffer_[begin_] == '\n') ++begin_;
            } else {
                pendingCr_ = true;
            }
        }
        if (spans) {
            longLine_.append(piece);
            line = longLine_;
        } else {
            line = piece;
        }
        return true;
    }
}

}  // namespace oryx::prov
