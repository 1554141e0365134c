#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "prov/reader.h"

namespace oryx::prov {

class LineFile;

// One name/value pair of a set line: offsets and sizes within the line.
struct CutPair {
    std::uint32_t name, nameSize, value, valueSize;
};

// Lines of a file as the reader walks them: each trimmed of control bytes
// and followed by one space, and the name/value pairs of its set line cut
// ahead of time from where the line's pairs are expected to start.
class LineBatch final {
public:
    static constexpr std::uint32_t kNotCut = UINT32_MAX;

    // The pairs of one line, cut from offset `from` of the line.
    class Pairs final {
    public:
        Pairs() = default;
        // True when the pairs were cut from `from`.
        bool CutFrom(std::size_t from) const { return from_ != kNotCut && from == from_; }
        template <typename Pair>
        void ForEach(Pair&& pair) const {
            for (const Piece* p = begin_; p != end_; ++p)
                pair(std::string_view(line_ + p->name, p->nameSize), std::string_view(line_ + p->value, p->valueSize));
        }

    private:
        friend class LineBatch;
        using Piece = CutPair;
        Pairs(const char* line, std::uint32_t from, const Piece* begin, const Piece* end)
            : line_(line), from_(from), begin_(begin), end_(end) {}
        const char* line_ = nullptr;
        std::uint32_t from_ = kNotCut;
        const Piece* begin_ = nullptr;
        const Piece* end_ = nullptr;
    };

    std::size_t LineCount() const { return lines_.size(); }
    std::string_view Line(std::size_t i) const { return {text_.data() + lines_[i].begin, lines_[i].size}; }
    Pairs LinePairs(std::size_t i) const;

    void Clear();
    // Adds a line; its pairs are cut from `from` (kNotCut: not at all).
    void Add(std::string_view trimmed, std::size_t from);
    std::size_t TextBytes() const { return text_.size(); }
    std::size_t PairCount() const { return pieces_.size(); }

private:
    struct Entry {
        std::size_t begin;
        std::size_t size;
        std::uint32_t from;
        std::uint32_t firstPiece;
        std::uint32_t pieceCount;
    };

    std::string text_;
    std::vector<Entry> lines_;
    std::vector<CutPair> pieces_;
};

// Reads a file's lines into batches on a thread of its own, a few batches
// ahead of the caller. Where set pairs start is the reader's business: for
// start-prov the batches assume they start after the last add line's path,
// for configure after the keyword, and the reader checks that with CutFrom.
// Whatever the file raises comes out of Next after the lines read before it.
// Destroying the reader stops and joins its thread.
class LineBatchReader final {
public:
    LineBatchReader(LineFile& file, bool startProv, BatchCuts cuts);
    ~LineBatchReader();
    LineBatchReader(const LineBatchReader&) = delete;
    LineBatchReader& operator=(const LineBatchReader&) = delete;

    // The next batch, or null at the end of the file. The batch stays valid
    // until the next call.
    const LineBatch* Next();

private:
    static constexpr std::size_t kBatches = 3;

    void Produce(std::stop_token stop);
    void CutPairs(std::string_view working, std::size_t& addPathSize, LineBatch& batch) const;
    LineBatch* TakeEmpty(const std::stop_token& stop);
    void Deliver(LineBatch* batch);

    LineFile& file_;
    const bool startProv_;
    const BatchCuts cuts_;
    LineBatch batches_[kBatches];
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::vector<LineBatch*> empty_;  // batches the producer may fill
    std::vector<LineBatch*> full_;   // filled batches, oldest first
    LineBatch* held_ = nullptr;      // the batch the caller holds
    bool done_ = false;
    std::exception_ptr error_;
    std::jthread thread_;  // last: it starts once everything above exists
};

}  // namespace oryx::prov
