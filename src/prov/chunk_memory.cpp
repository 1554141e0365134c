#include "prov/chunk_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace oryx::prov {
namespace {

// Chunks from here up are mapped; smaller ones come from malloc.
constexpr std::size_t kMappedBytes = kLargestChunkBytes / 2;

}  // namespace

void* AllocateChunk(std::size_t bytes) {
    if (bytes < kMappedBytes) {
        if (void* p = std::malloc(bytes == 0 ? 1 : bytes)) return p;
        throw std::bad_alloc();
    }
    // Map one huge page more than needed and cut the mapping to a 2 MiB
    // boundary, so the kernel can back it with huge pages.
    const std::size_t mapped = bytes + kLargestChunkBytes;
    void* p = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t aligned = (start + kLargestChunkBytes - 1) & ~(std::uintptr_t{kLargestChunkBytes} - 1);
    if (aligned > start) ::munmap(p, aligned - start);
    const std::size_t tail = start + mapped - (aligned + bytes);
    if (tail > 0) ::munmap(reinterpret_cast<void*>(aligned + bytes), tail);
    ::madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

void FreeChunk(void* chunk, std::size_t bytes) noexcept {
    if (!chunk) return;
    if (bytes < kMappedBytes)
        std::free(chunk);
    else
        ::munmap(chunk, bytes);
}

}  // namespace oryx::prov
