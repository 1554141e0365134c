#include "prov/chunk_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>
#include <system_error>

namespace oryx::prov {
namespace {

// Chunks from here up are mapped; smaller ones come from malloc.
constexpr std::size_t kMappedBytes = kLargestChunkBytes / 2;

constexpr std::size_t kPageBytes = 4096;

thread_local ChunkPrefetch* currentPrefetch = nullptr;

void* MapChunk(std::size_t bytes) {
    // Map one huge page more than needed and cut the mapping to a 2 MiB
    // boundary, so the kernel can back it with huge pages.
    const std::size_t mapped = bytes + kLargestChunkBytes;
    void* p = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t aligned = (start + kLargestChunkBytes - 1) & ~(std::uintptr_t{kLargestChunkBytes} - 1);
    if (aligned > start) ::munmap(p, aligned - start);
    // The tail is cut from the page after the chunk: unmapping takes whole pages.
    const auto pageUp = [](std::uintptr_t a) { return (a + kPageBytes - 1) & ~(std::uintptr_t{kPageBytes} - 1); };
    const std::uintptr_t used = pageUp(aligned + bytes), end = pageUp(start + mapped);
    if (end > used) ::munmap(reinterpret_cast<void*>(used), end - used);
    ::madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

}  // namespace

void* AllocateChunk(std::size_t bytes) {
    if (bytes < kMappedBytes) {
        if (void* p = std::malloc(bytes == 0 ? 1 : bytes)) return p;
        throw std::bad_alloc();
    }
    // Pools of items that do not divide the largest size ask for a little less.
    if (bytes > kLargestChunkBytes - kPageBytes && bytes <= kLargestChunkBytes)
        if (ChunkPrefetch* prefetch = ChunkPrefetch::Current()) return prefetch->Take();
    return MapChunk(bytes);
}

void FreeChunk(void* chunk, std::size_t bytes) noexcept {
    if (!chunk) return;
    if (bytes < kMappedBytes)
        std::free(chunk);
    else
        ::munmap(chunk, bytes);
}

// ---- ChunkPrefetch ----

ChunkPrefetch::ChunkPrefetch() : previous_(currentPrefetch) {
    try {
        thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
    } catch (const std::system_error&) {
        // No thread to be had: every chunk is mapped when taken.
    }
    currentPrefetch = this;
}

ChunkPrefetch::~ChunkPrefetch() {
    currentPrefetch = previous_;
    thread_.request_stop();
    if (thread_.joinable()) thread_.join();
    FreeChunk(ready_, kLargestChunkBytes);
}

ChunkPrefetch* ChunkPrefetch::Current() { return currentPrefetch; }

void* ChunkPrefetch::Take() {
    void* chunk = nullptr;
    {
        const std::lock_guard lock(mutex_);
        std::swap(chunk, ready_);
        wanted_ = true;
    }
    changed_.notify_one();
    // Not waited for: the helper may have no core to itself.
    return chunk ? chunk : MapChunk(kLargestChunkBytes);
}

void ChunkPrefetch::Run(const std::stop_token& stop) {
    while (true) {
        {
            std::unique_lock lock(mutex_);
            if (!changed_.wait(lock, stop, [this] { return wanted_ && ready_ == nullptr; }) || stop.stop_requested())
                return;
        }
        void* chunk = nullptr;
        try {
            chunk = MapChunk(kLargestChunkBytes);
        } catch (const std::bad_alloc&) {
            return;  // the pools map their own
        }
        auto* bytes = static_cast<volatile char*>(chunk);
        for (std::size_t i = 0; i < kLargestChunkBytes; i += kPageBytes) bytes[i] = 0;
        const std::lock_guard lock(mutex_);
        ready_ = chunk;
    }
}

}  // namespace oryx::prov
