#include "search/text_matcher.h"

#include "search/text_batch.h"

namespace oryx::search {

void TextMatcher::MarkContaining(std::span<const BatchText> texts, std::vector<char>& matched) const {
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (texts[i].isLine ? ContainsInLine(texts[i].text) : Contains(texts[i].text)) matched[i] = 1;
}

std::size_t TextMatcher::PathStateAfter(std::size_t, std::string_view) const { return 0; }

bool TextMatcher::EndsInLastNameFrom(std::string_view path, std::size_t nameStart, std::size_t) const {
    return EndsInLastName(path, nameStart, false);
}

void TextMatcher::MarkPathEnds(const PathBatch& batch, std::vector<char>& matched) const {
    for (std::size_t i = 0; i < batch.Size(); ++i)
        if (EndsInLastName(batch.paths.String(i), batch.nameStarts[i], batch.cut[i])) matched[i] = 1;
}

}  // namespace oryx::search
