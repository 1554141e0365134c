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

}  // namespace oryx::prov
