#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

namespace oryx::prov {

// Raw memory for the store's pools. Large chunks are mapped on 2 MiB
// boundaries and offered to the kernel for huge pages: building a large model
// then costs a few hundred page faults instead of tens of thousands, and each
// huge page is cleared right before it is filled, while it is in the cache.
// Ordinary pages were measured against this: they win only where the huge
// pages must come fresh from a virtual machine's host (right after another
// program freed small pages), and lose by about a fifth where freed huge
// pages are at hand, on one processor or two.
void* AllocateChunk(std::size_t bytes);
void FreeChunk(void* chunk, std::size_t bytes) noexcept;

struct ChunkDeleter {
    std::size_t bytes = 0;
    void operator()(void* chunk) const noexcept { FreeChunk(chunk, bytes); }
};
template <typename T>
using ChunkPtr = std::unique_ptr<T, ChunkDeleter>;

template <typename T>
ChunkPtr<T> MakeChunk(std::size_t count) {
    const std::size_t bytes = count * sizeof(T);
    return ChunkPtr<T>(static_cast<T*>(AllocateChunk(bytes)), ChunkDeleter{bytes});
}

// Pool chunks start small, so a small file stays small, and double up to
// the largest size.
constexpr std::size_t kFirstChunkBytes = 16 * 1024;
constexpr std::size_t kLargestChunkBytes = 2 * 1024 * 1024;

// While one lives, a helper thread keeps the next chunk of the largest size
// mapped and its pages touched for the thread that made it, so that thread's
// pools do not wait for the kernel to clear fresh pages. A chunk left over at
// the end is freed. Nothing is made before the first such chunk is taken.
class ChunkPrefetch final {
public:
    ChunkPrefetch();
    ~ChunkPrefetch();
    ChunkPrefetch(const ChunkPrefetch&) = delete;
    ChunkPrefetch& operator=(const ChunkPrefetch&) = delete;

    // The prefetch of the calling thread, or null.
    static ChunkPrefetch* Current();
    // A chunk of kLargestChunkBytes: the one made ready, else one mapped now.
    void* Take();

private:
    void Run(const std::stop_token& stop);

    ChunkPrefetch* previous_;
    std::mutex mutex_;
    std::condition_variable_any changed_;
    void* ready_ = nullptr;
    bool wanted_ = false;  // a first chunk was taken: the pools grow by this size
    std::jthread thread_;  // last: it starts once everything above exists
};

}  // namespace oryx::prov
