#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <span>
#include <stop_token>
#include <string_view>
#include <thread>
#include <vector>

#include "prov/reader.h"

namespace oryx::prov {

class LineFile;
class TextPool;

// One name/value pair of a set line: offsets and sizes within the line, and
// the attribute line "name=value" it makes when that was joined ahead too.
struct CutPair {
    const char* joined;  // null when not joined
    std::uint32_t name, nameSize, value, valueSize;

    // The attribute line, when joined.
    std::string_view JoinedLine() const { return {joined, nameSize + std::size_t{1} + valueSize}; }
};

// Lines of a file as the reader walks them: each trimmed of control bytes
// and followed by one space, and the name/value pairs of its set line cut
// ahead of time from where the line's pairs are expected to start, and
// maybe joined into attribute lines in a pool of the store being built.
class LineBatch final {
    struct Entry;

public:
    static constexpr std::uint32_t kNotCut = UINT32_MAX;

    // The pairs of one line of a batch, as cut ahead.
    class Pairs final {
    public:
        Pairs() = default;
        // True when the pairs were cut from offset `from` of the line.
        bool CutFrom(std::size_t from) const {
            return batch_ && LineEntry().from != kNotCut && from == LineEntry().from;
        }
        bool Joined() const { return batch_ && LineEntry().pieceCount > 0 && First()->joined; }
        // The pairs as cut, when CutFrom some offset.
        std::span<const CutPair> Cut() const { return {First(), LineEntry().pieceCount}; }
        // Calls pair(name, value, joined) for each pair; `joined` is the
        // attribute line, or empty when it was not joined ahead.
        template <typename Pair>
        void ForEach(Pair&& pair) const {
            const char* const line = batch_->text_.get() + LineEntry().begin;
            for (const CutPair *p = First(), *end = p + LineEntry().pieceCount; p != end; ++p)
                pair(std::string_view(line + p->name, p->nameSize), std::string_view(line + p->value, p->valueSize),
                     p->joined ? p->JoinedLine() : std::string_view());
        }

    private:
        friend class LineBatch;
        Pairs(const LineBatch& batch, std::size_t line) : batch_(&batch), line_(line) {}
        const Entry& LineEntry() const { return batch_->lines_[line_]; }
        const CutPair* First() const { return batch_->pieces_.data() + LineEntry().firstPiece; }
        const LineBatch* batch_ = nullptr;
        std::size_t line_ = 0;
    };

    std::size_t LineCount() const { return lines_.size(); }
    std::string_view Line(std::size_t i) const { return {text_.get() + lines_[i].begin, lines_[i].size}; }
    Pairs LinePairs(std::size_t i) const { return {*this, i}; }

    void Clear();
    // Adds a line; its pairs are cut from `from` (kNotCut: not at all) and,
    // given `joined`, their attribute lines kept there.
    void Add(std::string_view trimmed, std::size_t from, TextPool* joined);
    std::size_t TextBytes() const { return textSize_; }
    std::size_t PairCount() const { return pieces_.size(); }

private:
    struct Entry {
        std::size_t begin;
        std::size_t size;
        std::uint32_t from;
        std::uint32_t firstPiece;
        std::uint32_t pieceCount;
    };

    // Makes room for `size` bytes of text in all.
    void GrowText(std::size_t size);

    // The lines' bytes, copied with nothing but a memcpy a line.
    std::unique_ptr<char[]> text_;
    std::size_t textSize_ = 0, textCapacity_ = 0;
    std::vector<Entry> lines_;
    std::vector<CutPair> pieces_;
};

// Reads a file's lines into batches on a thread of its own, a few batches
// ahead of the caller. While the caller does not wait for batches, the thread
// also cuts the set pairs and joins their attribute lines, in `joined`, which
// it alone touches. Where set pairs start is the reader's business: for
// start-prov the batches assume they start after the last add line's path,
// for configure after the keyword, and the reader checks that with CutFrom.
// Whatever the file raises comes out of Next after the lines read before it.
// Destroying the reader stops and joins its thread.
class LineBatchReader final {
public:
    LineBatchReader(LineFile& file, bool startProv, BatchCuts cuts, TextPool& joined);
    ~LineBatchReader();
    LineBatchReader(const LineBatchReader&) = delete;
    LineBatchReader& operator=(const LineBatchReader&) = delete;

    // The next batch, or null at the end of the file. The batch stays valid
    // until the next call.
    const LineBatch* Next();
    // The caller found joined pairs it could not use: the file's set lines
    // do not start their pairs where assumed, so joining them is given up.
    void StopJoining();

private:
    // Enough that stretches of costly lines for one thread (a run of add
    // lines for the walk, of long set lines for this one) do not stall the
    // other.
    static constexpr std::size_t kBatches = 6;

    void Produce(std::stop_token stop);
    // An empty batch; also whether the caller waited for a batch since the
    // last call, and whether it stopped the joining.
    LineBatch* TakeEmpty(const std::stop_token& stop, bool& callerWaited, bool& joinStopped);
    void Deliver(LineBatch* batch);
    // Tells the other thread that the batches or the end changed; with the
    // lock held.
    void Changed();
    // Releases the lock until the other thread changes something, `stopped`
    // says to stop, or the polling time runs out.
    template <typename Stopped>
    void PollForChange(std::unique_lock<std::mutex>& lock, Stopped stopped);

    LineFile& file_;
    const bool startProv_;
    const BatchCuts cuts_;
    TextPool& joined_;
    LineBatch batches_[kBatches];
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::atomic<std::uint64_t> changes_{0};  // counts Changed, for polling without the lock
    const std::chrono::microseconds polling_;
    std::vector<LineBatch*> empty_;  // batches the producer may fill
    std::vector<LineBatch*> full_;   // filled batches, oldest first
    LineBatch* held_ = nullptr;      // the batch the caller holds
    bool done_ = false;
    bool callerWaited_ = false;
    bool joinStopped_ = false;
    std::exception_ptr error_;
    std::jthread thread_;  // last: it starts once everything above exists
};

}  // namespace oryx::prov
