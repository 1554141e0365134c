#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "prov/chunk_memory.h"

namespace oryx::prov {

// Bytes kept one after the other in blocks that never move. Blocks start
// small and double up to the largest chunk size; a text larger than a
// quarter of the next block gets a block of its own.
class TextPool final {
public:
    char* Allocate(std::size_t size) {
        if (size > left_) return AllocateInNewBlock(size);
        char* dest = cursor_;
        cursor_ += size;
        left_ -= size;
        return dest;
    }
    // Copies `text` into the pool.
    std::string_view Keep(std::string_view text);
    // Keeps the attribute line "name=value".
    std::string_view KeepJoined(std::string_view name, std::string_view value);
    void Clear() { *this = TextPool(); }

private:
    char* AllocateInNewBlock(std::size_t size);

    std::vector<ChunkPtr<char>> blocks_;
    std::size_t blockSize_ = 0;
    char* cursor_ = nullptr;
    std::size_t left_ = 0;
};

}  // namespace oryx::prov
