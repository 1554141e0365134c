#include <algorithm>
#include <cstring>

#include "prov/reader.h"

namespace oryx::prov {
namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr char kCtrlZ = 26;

}  // namespace

LineFile::LineFile(const std::string& fileName)
    : file_(fileName), buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

LineFile::~LineFile() = default;

void LineFile::Rewind() {
    file_.Rewind();
    begin_ = end_ = 0;
    eof_ = false;
    pendingCr_ = false;
}

bool LineFile::Fill() {
    if (eof_) return false;
    const std::size_t n = file_.Read(buffer_.get(), kBufferSize);
    if (n == 0) {
        eof_ = true;
        file_.CheckUnchanged();
        return false;
    }
    begin_ = 0;
    end_ = n;
    nextLf_ = nextCr_ = kUnknown;
    // The file ends at its first Ctrl-Z: cut the buffer there, so lines are
    // looked for only at CR and LF.
    if (const void* ctrlZ = std::memchr(buffer_.get(), kCtrlZ, end_)) {
        end_ = static_cast<std::size_t>(static_cast<const char*>(ctrlZ) - buffer_.get());
        eof_ = true;
        file_.CheckUnchanged();
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
