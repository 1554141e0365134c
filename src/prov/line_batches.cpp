#include "prov/line_batches.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "prov/processors.h"
#include "prov/reader.h"
#include "prov/set_pairs.h"
#include "prov/spin_wait.h"
#include "prov/text_pool.h"

namespace oryx::prov {
namespace {

// Batches hold at most this many lines and pairs, so a file of short lines
// keeps as little in flight as one of long lines.
constexpr std::size_t kBatchItems = 4096;
// A batch that held one huge line gives its memory back.
constexpr std::size_t kKeptCapacity = 4 * 1024 * 1024;
// A batch's text starts with room for a batch of the usual size and a line.
constexpr std::size_t kFirstTextCapacity = 128 * 1024;
// How long a thread that finds nothing to do polls before it sleeps: a few
// batches' worth of work.
constexpr std::chrono::microseconds kPolling{1000};
// The pairs of longer lines are cut by the reader itself: cut ahead, a line
// of short pairs would take several times its size.
constexpr std::size_t kLongestCutLine = 64 * 1024;

}  // namespace

// ---- LineBatch ----

void LineBatch::Clear() {
    if (textCapacity_ > kKeptCapacity) {
        text_.reset();
        textCapacity_ = 0;
    }
    textSize_ = 0;
    lines_.clear();
    pieces_.clear();
}

void LineBatch::GrowText(std::size_t size) {
    const std::size_t capacity = std::max({size, 2 * textCapacity_, kFirstTextCapacity});
    auto text = std::make_unique_for_overwrite<char[]>(capacity);
    if (textSize_ > 0) std::memcpy(text.get(), text_.get(), textSize_);
    text_ = std::move(text);
    textCapacity_ = capacity;
}

void LineBatch::Add(std::string_view trimmed, std::size_t from, TextPool* joined) {
    const std::size_t begin = textSize_;
    const std::size_t size = trimmed.size() + 1;
    if (size > textCapacity_ - begin) GrowText(begin + size);
    if (!trimmed.empty()) std::memcpy(text_.get() + begin, trimmed.data(), trimmed.size());
    text_[begin + trimmed.size()] = ' ';
    textSize_ += size;
    const auto firstPiece = static_cast<std::uint32_t>(pieces_.size());
    std::uint32_t cutFrom = kNotCut;
    if (from != kNotCut && size <= kLongestCutLine) {
        cutFrom = static_cast<std::uint32_t>(from);
        const char* const line = text_.get() + begin;
        const auto offset = [line](std::string_view part) {
            return static_cast<std::uint32_t>(part.data() == nullptr ? 0 : part.data() - line);
        };
        CutSetPairs(std::string_view(line, size).substr(from), [&](std::string_view name, std::string_view value) {
            const char* attribute = joined ? joined->KeepJoined(name, value).data() : nullptr;
            pieces_.push_back({attribute, offset(name), static_cast<std::uint32_t>(name.size()), offset(value),
                               static_cast<std::uint32_t>(value.size())});
        });
    }
    lines_.push_back({begin, size, cutFrom, firstPiece, static_cast<std::uint32_t>(pieces_.size()) - firstPiece});
}

// ---- LineBatchReader ----

LineBatchReader::LineBatchReader(LineFile& file, bool startProv, BatchCuts cuts, TextPool& joined)
    : file_(file),
      startProv_(startProv),
      cuts_(std::move(cuts)),
      joined_(joined),
      // With one processor, polling would only keep the other thread off it.
      polling_(UsableProcessors() > 1 ? kPolling : std::chrono::microseconds{0}) {
    empty_.reserve(kBatches);
    full_.reserve(kBatches);
    for (LineBatch& batch : batches_) empty_.push_back(&batch);
    thread_ = std::jthread([this](std::stop_token stop) { Produce(stop); });
}

LineBatchReader::~LineBatchReader() {
    thread_.request_stop();
    if (thread_.joinable()) thread_.join();
}

const LineBatch* LineBatchReader::Next() {
    std::unique_lock lock(mutex_);
    if (held_) {
        empty_.push_back(held_);
        held_ = nullptr;
        Changed();
    }
    const auto ready = [this] { return !full_.empty() || done_; };
    if (!ready()) {
        callerWaited_ = true;
        PollForChange(lock, [] { return false; });
        changed_.wait(lock, ready);
    }
    if (full_.empty()) {
        if (error_) std::rethrow_exception(error_);
        return nullptr;
    }
    held_ = full_.front();
    full_.erase(full_.begin());
    return held_;
}

void LineBatchReader::StopJoining() {
    const std::lock_guard lock(mutex_);
    joinStopped_ = true;
}

LineBatch* LineBatchReader::TakeEmpty(const std::stop_token& stop, bool& callerWaited, bool& joinStopped) {
    std::unique_lock lock(mutex_);
    const auto ready = [this] { return !empty_.empty(); };
    if (!ready()) PollForChange(lock, [&stop] { return stop.stop_requested(); });
    if (!changed_.wait(lock, stop, ready)) return nullptr;
    LineBatch* batch = empty_.back();
    empty_.pop_back();
    callerWaited = std::exchange(callerWaited_, false);
    joinStopped = joinStopped_;
    return batch;
}

void LineBatchReader::Deliver(LineBatch* batch) {
    const std::lock_guard lock(mutex_);
    full_.push_back(batch);
    Changed();
}

void LineBatchReader::Changed() {
    changes_.fetch_add(1, std::memory_order_release);
    changed_.notify_all();
}

template <typename Stopped>
void LineBatchReader::PollForChange(std::unique_lock<std::mutex>& lock, Stopped stopped) {
    if (polling_.count() == 0) return;
    const std::uint64_t seen = changes_.load(std::memory_order_relaxed);
    lock.unlock();
    SpinUntil([&] { return changes_.load(std::memory_order_acquire) != seen || stopped(); }, polling_);
    lock.lock();
}

void LineBatchReader::Produce(std::stop_token stop) {
    LineBatch* batch = nullptr;
    std::exception_ptr error;
    try {
        std::size_t line = 0;
        auto cut = cuts_.cutAfterLines.begin();
        // start-prov: the size of the last add line's path, where its set
        // lines' pairs mostly start.
        std::size_t addPathSize = 0;
        // The batch's set pairs are cut and joined here too unless the caller
        // waited for a batch since the last one began: this thread has time
        // to spare then, and the caller does what it leaves.
        bool cutting = false, joining = false;
        std::string_view text;
        while (file_.ReadLine(text)) {
            if (!batch) {
                bool callerWaited = false, joinStopped = false;
                batch = TakeEmpty(stop, callerWaited, joinStopped);
                if (!batch) return;
                using Work = BatchCuts::PairWork;
                cutting = cuts_.pairWork == Work::Automatic ? !callerWaited : cuts_.pairWork != Work::None;
                joining =
                    cuts_.pairWork == Work::Automatic ? cutting && !joinStopped : cuts_.pairWork == Work::CutAndJoin;
                batch->Clear();
            }
            ++line;
            const std::string_view trimmed = TrimControl(text);
            // Where the reader will cut the pairs: the working line is the
            // trimmed line and a space.
            std::size_t from = LineBatch::kNotCut;
            if (trimmed.starts_with("set") && cutting) {
                const std::size_t size = trimmed.size() + 1;
                from = startProv_ ? std::min(addPathSize, size) : std::min(trimmed.find(' '), size - 1) + 1;
            } else if (startProv_ && trimmed.starts_with("add")) {
                addPathSize = trimmed.size();
            }
            batch->Add(trimmed, from, joining ? &joined_ : nullptr);
            while (cut != cuts_.cutAfterLines.end() && *cut < line) ++cut;
            const bool cutHere = cut != cuts_.cutAfterLines.end() && *cut == line;
            if (cutHere || batch->TextBytes() >= cuts_.batchBytes || batch->LineCount() >= kBatchItems ||
                batch->PairCount() >= kBatchItems) {
                Deliver(batch);
                batch = nullptr;
            }
        }
    } catch (...) {
        error = std::current_exception();
    }
    // The lines read before an error come first.
    const std::lock_guard lock(mutex_);
    if (batch && batch->LineCount() > 0) full_.push_back(batch);
    error_ = error;
    done_ = true;
    Changed();
}

}  // namespace oryx::prov
