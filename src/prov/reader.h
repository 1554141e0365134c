#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "prov/file_error.h"
#include "prov/regular_file.h"
#include "text/control_bytes.h"

namespace oryx::prov {

class ComponentStore;

// Reads a text file one line at a time. A line ends at LF, CR or CR LF; the
// file ends at its last byte or at the first Ctrl-Z (26). Only regular files
// can be opened: a directory, FIFO or device raises FileError at once. A file
// that changed by the time its end is reached raises FileError then.
class LineFile final {
public:
    explicit LineFile(const std::string& fileName);
    ~LineFile();
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;

    // The next line without its line end; false at the end of the file. The
    // view stays valid until the next call.
    bool ReadLine(std::string_view& line) {
        // Inline for the common case: a line that ends within the buffer.
        if (!pendingCr_ && begin_ < end_) {
            const std::size_t end = NextLineEnd();
            if (end != kNone) {
                line = {buffer_.get() + begin_, end - begin_};
                begin_ = end + 1;
                if (buffer_[end] == '\r') SkipLfOfCrLf();
                return true;
            }
        }
        return ReadLineAcrossBuffers(line);
    }
    void Rewind();
    // The size the file had when it was opened (0 for files of /proc).
    std::size_t SizeAtOpen() const { return file_.SizeAtOpen(); }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    static constexpr std::size_t kUnknown = kNone - 1;

    bool Fill();
    bool ReadLineAcrossBuffers(std::string_view& line);
    // After a line that ended with CR: an LF right after it is part of its
    // line end.
    void SkipLfOfCrLf() {
        if (begin_ == end_)
            pendingCr_ = true;  // the LF may start the next buffer
        else if (buffer_[begin_] == '\n')
            ++begin_;
    }
    // The position of the first CR or LF at or after begin_ in the buffer,
    // or kNone.
    std::size_t NextLineEnd() {
        const std::size_t base = begin_ & ~std::size_t{63};
        if (base != blockBase_) {
            blockBase_ = base;
            blockEnds_ = LineEndsInBlock(base);
        }
        const std::uint64_t ends = blockEnds_ & (~std::uint64_t{0} << (begin_ - base));
        return ends != 0 ? base + static_cast<std::size_t>(std::countr_zero(ends)) : NextLineEndAfter(base);
    }
    // The same from the block after the one at `base`.
    std::size_t NextLineEndAfter(std::size_t base);
    std::uint64_t LineEndsInBlock(std::size_t base) const;

    RegularFile file_;
    std::unique_ptr<char[]> buffer_;
    std::size_t begin_ = 0, end_ = 0;
    bool eof_ = false;        // no more bytes from the file (or Ctrl-Z met)
    bool pendingCr_ = false;  // last line ended with CR at the end of a buffer
    // The CRs and LFs of the buffer's 64-byte block from blockBase_, a bit
    // for each byte: each block is searched once, however short its lines.
    std::size_t blockBase_ = kUnknown;
    std::uint64_t blockEnds_ = 0;
    std::string longLine_;
};

// What reading a file found besides the model.
struct FileShape {
    bool startProv = false;  // read as start-prov: its first line is "start prov"; else configure
    std::size_t lines = 0;
};

class ReadDiagnostics;

// Where a read cuts the file into batches of lines: after `batchBytes` of
// text (or a few thousand lines or pairs), and after each line listed in
// `cutAfterLines`; and what the reading thread does with the set pairs of a
// batch besides: cut them and join their attribute lines when the batch is
// begun while the walk keeps up with it (Automatic), else neither, the walk
// doing that; or always both, or only cut them, or neither.
struct BatchCuts {
    enum class PairWork { Automatic, CutAndJoin, CutOnly, None };
    std::size_t batchBytes = 64 * 1024;
    std::vector<std::size_t> cutAfterLines;  // ascending line numbers, from 1
    PairWork pairWork = PairWork::Automatic;
};

// How a read divides its work. Automatic reads a large file's lines ahead on
// a thread of their own when the process may run on more than one processor;
// the component walk stays on the calling thread, in file order. The model
// is the same whatever the mode and wherever the batches are cut.
struct ReadSplit {
    enum class Mode { Automatic, Serial, Parallel };
    Mode mode = Mode::Automatic;
    BatchCuts cuts;
};

// Replaces the store's contents with the model of the file. With
// `diagnostics`, also records there what the reader passed over and the line
// of every component and attribute line; the store is the same either way.
FileShape ReadProvisioningFile(const std::string& fileName, ComponentStore& store,
                               ReadDiagnostics* diagnostics = nullptr);
FileShape ReadProvisioningFile(const std::string& fileName, ComponentStore& store, ReadDiagnostics* diagnostics,
                               const ReadSplit& split);
// True when the file's first line (untrimmed) contains "configure".
bool IsConfigureFile(const std::string& fileName);

// Bytes 0-32 removed at both ends. Inline: the reader trims every line and
// every piece of a set line.
inline std::string_view TrimControl(std::string_view text) {
    while (!text.empty() && text::IsControlByte(text.front())) text.remove_prefix(1);
    return text::TrimControlRight(text);
}

}  // namespace oryx::prov
