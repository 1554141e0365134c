#pragma once

#include <cstddef>
#include <memory>

namespace oryx::prov {

// Raw memory for the store's pools. Large chunks are mapped on 2 MiB
// boundaries and offered to the kernel for huge pages: building a large model
// then costs a few hundred page faults instead of tens of thousands, and each
// huge page is cleared right before it is filled, while it is in the cache.
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

}  // namespace oryx::prov
