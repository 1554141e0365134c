#include "prov/text_pool.h"

#include <algorithm>
#include <cstring>

namespace oryx::prov {

char* TextPool::AllocateInNewBlock(std::size_t size) {
    blockSize_ = blockSize_ == 0 ? kFirstChunkBytes : std::min(2 * blockSize_, kLargestChunkBytes);
    if (size > blockSize_ / 4) {
        // Big texts get a block of their own; the open block stays open.
        blocks_.push_back(MakeChunk<char>(size));
        return blocks_.back().get();
    }
    blocks_.push_back(MakeChunk<char>(blockSize_));
    cursor_ = blocks_.back().get();
    left_ = blockSize_;
    return Allocate(size);
}

std::string_view TextPool::Keep(std::string_view text) {
    if (text.empty()) return {};
    char* dest = Allocate(text.size());
    std::memcpy(dest, text.data(), text.size());
    return {dest, text.size()};
}

std::string_view TextPool::KeepJoined(std::string_view name, std::string_view value) {
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

}  // namespace oryx::prov
