#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace oryx::compare {

// Collects small pieces of text and hands them to a sink in large ones.
class ChunkedOutput final {
public:
    explicit ChunkedOutput(const std::function<void(std::string_view)>& sink) : sink_(sink) {
        text_.reserve(kChunk + 4096);
    }
    ChunkedOutput(const ChunkedOutput&) = delete;
    ChunkedOutput& operator=(const ChunkedOutput&) = delete;

    ChunkedOutput& operator<<(std::string_view piece) {
        text_ += piece;
        if (text_.size() >= kChunk) Flush();
        return *this;
    }
    void Flush() {
        if (!text_.empty()) sink_(text_);
        text_.clear();
    }

private:
    static constexpr std::size_t kChunk = 1 << 20;
    const std::function<void(std::string_view)>& sink_;
    std::string text_;
};

}  // namespace oryx::compare
