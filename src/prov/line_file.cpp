#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    blockBase_ = kUnknown;
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

// Bit i is set when byte base + i of the buffer is a CR or an LF.
std::uint64_t LineFile::LineEndsInBlock(std::size_t base) const {
    const char* const p = buffer_.get() + base;
    const std::size_t size = std::min<std::size_t>(64, end_ - base);
#if defined(__SSE2__)
    if (size == 64) {
        const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
        const auto ends = [p, lf, cr](int i) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
            const auto found = static_cast<std::uint32_t>(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr))));
            return std::uint64_t{found} << (16 * i);
        };
        return ends(0) | ends(1) | ends(2) | ends(3);
    }
#endif
    std::uint64_t ends = 0;
    for (std::size_t i = 0; i < size; ++i)
        if (p[i] == '\n' || p[i] == '\r') ends |= std::uint64_t{1} << i;
    return ends;
}

std::size_t LineFile::NextLineEndAfter(std::size_t base) {
    while (true) {
        base += 64;
        if (base >= end_) return kNone;
        blockBase_ = base;
        if ((blockEnds_ = LineEndsInBlock(base)) != 0)
            return base + static_cast<std::size_t>(std::countr_zero(blockEnds_));
    }
}

bool LineFile::ReadLineAcrossBuffers(std::string_view& line) {
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
        const std::size_t end = NextLineEnd();
        if (end == kNone) {
            longLine_.append(start, available);
            spans = true;
            begin_ = end_;
            continue;
        }
        const std::string_view piece(start, end - begin_);
        begin_ = end + 1;
        if (buffer_[end] == '\r') SkipLfOfCrLf();
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
