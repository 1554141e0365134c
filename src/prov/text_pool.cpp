#include "prov/text_pool.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace oryx::prov {

char* TextPool::Allocate(std::size_t size) {
    if (size > left_) {
        blockSize_ = blockSize_ == 0 ? kFirstChunkBytes : std::min(2 * blockSize_, kLargestChunkBytes);
        if (size > blockSize_ / 4) {
            // Big texts get a block of their own; the open block stays open.
            blocks_.push_back(MakeChunk<char>(size));
            return blocks_.back().get();
        }
        blocks_.push_back(MakeChunk<char>(blockSize_));
        cursor_ = blocks_.back().get();
        left_ = blockSize_;
    }
    char* dest = cursor_;
    cursor_ += size;
    left_ -= size;
    return dest;
}

std::string_view TextPool::Keep(std::string_view text) {
    if (text.empty()) return {};
    char* dest = Allocate(text.size());
    std::memcpy(dest, text.data(), text.size());
    return {dest, text.size()};
}

void TextPool::Clear() {
    blocks_.clear();
    blockSize_ = 0;
    cursor_ = nullptr;
    left_ = 0;
}

void TextPool::Swap(TextPool& other) noexcept {
    using std::swap;
    swap(blocks_, other.blocks_);
    swap(blockSize_, other.blockSize_);
    swap(cursor_, other.cursor_);
    swap(left_, other.left_);
}

}  // namespace oryx::prov
