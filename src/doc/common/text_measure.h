#pragma once

#include <QFont>
#include <QFontMetrics>

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "text/keyed_hash.h"

namespace oryx::doc {

// Widths of texts in pixels as QFontMetrics::horizontalAdvance gives them;
// each distinct text is laid out once.
class TextMeasure final {
public:
    explicit TextMeasure(const QFont& font) : metrics_(font) {}

    // 0 for an empty text.
    int Width(std::string_view bytes);

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return static_cast<std::size_t>(text::KeyedHashOfBytes(text));
        }
    };

    QFontMetrics metrics_;
    std::unordered_map<std::string, int, Hash, std::equal_to<>> measured_;
};

}  // namespace oryx::doc
