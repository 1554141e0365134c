#pragma once

#include <cstddef>
#include <cstring>
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
    // Keeps the attribute line "name=value". Inline: the reader joins
    // every pair of a set line.
    std::string_view KeepJoined(std::string_view name, std::string_view value) {
        const std::size_t size = name.size() + 1 + value.size();
        char* dest = Allocate(size);
        if (!name.empty() && value.data() == name.data() + name.size() + 1) {
            // Mostly the two are one byte apart in a line: one copy does.
            std::memcpy(dest, name.data(), size);
        } else {
            if (!name.empty()) std::memcpy(dest, name.data(), name.size());
            if (!value.empty()) std::memcpy(dest + name.size() + 1, value.data(), value.size());
        }
        dest[name.size()] = '=';
        return {dest, size};
    }
    void Clear() { *this = TextPool(); }

private:
    char* AllocateInNewBlock(std::size_t size);

    std::vector<ChunkPtr<char>> blocks_;
    std::size_t blockSize_ = 0;
    char* cursor_ = nullptr;
    std::size_t left_ = 0;
};

}  // namespace oryx::prov
