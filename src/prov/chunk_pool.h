#pragma once

#include <algorithm>
#include <cstddef>
#include <new>
#include <type_traits>
#include <vector>

#include "prov/chunk_memory.h"

namespace oryx::prov {

// Items that never move once added, in chunks that grow with the pool. The
// items are trivially destructible, so clearing frees the chunks alone.
template <typename T>
class ChunkPool final {
    static_assert(std::is_trivially_destructible_v<T>);

public:
    // Constructs an item in the next slot.
    template <typename... Args>
    T* Emplace(Args&&... args) {
        if (chunks_.empty() || chunks_.back().used == chunks_.back().capacity) AddChunk();
        Chunk& chunk = chunks_.back();
        T* item = new (chunk.items.get() + chunk.used++) T(std::forward<Args>(args)...);
        ++size_;
        return item;
    }

    // The item made last; the pool is not empty.
    T& Back() { return chunks_.back().items.get()[chunks_.back().used - 1]; }
    // How many items the last chunk has room for.
    std::size_t Room() const { return chunks_.empty() ? 0 : chunks_.back().capacity - chunks_.back().used; }
    template <typename F>
    void ForEach(F&& visit) {
        for (Chunk& chunk : chunks_)
            for (std::size_t i = 0; i < chunk.used; ++i) visit(chunk.items.get()[i]);
    }

    std::size_t Size() const { return size_; }

    // Calls visit(first, count) for each chunk, in the order of Emplace calls.
    template <typename F>
    void ForEachChunk(F&& visit) const {
        for (const Chunk& chunk : chunks_) visit(static_cast<const T*>(chunk.items.get()), chunk.used);
    }
    template <typename F>
    void ForEachChunk(F&& visit) {
        for (Chunk& chunk : chunks_) visit(chunk.items.get(), chunk.used);
    }

    void Clear() {
        chunks_.clear();
        size_ = 0;
    }

private:
    struct Chunk {
        ChunkPtr<T> items;
        std::size_t capacity;
        std::size_t used;
    };

    void AddChunk() {
        const std::size_t bytes =
            chunks_.empty() ? kFirstChunkBytes : std::min(kLargestChunkBytes, 2 * chunks_.back().capacity * sizeof(T));
        const std::size_t capacity = std::max<std::size_t>(1, bytes / sizeof(T));
        chunks_.push_back({MakeChunk<T>(capacity), capacity, 0});
    }

    std::vector<Chunk> chunks_;
    std::size_t size_ = 0;
};

}  // namespace oryx::prov
