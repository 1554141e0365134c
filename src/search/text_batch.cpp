#include "search/text_batch.h"

#include <algorithm>

namespace oryx::search {

void TextBatch::Clear() {
    text_.clear();
    ends_.clear();
}

std::size_t TextBatch::StringAt(std::size_t at, std::size_t from) const {
    const auto first = ends_.begin() + static_cast<std::ptrdiff_t>(from);
    return static_cast<std::size_t>(std::lower_bound(first, ends_.end(), at) - ends_.begin());
}

std::size_t TextBatch::Add(std::string_view text) {
    text_ += text;
    ends_.push_back(text_.size());
    text_ += '\n';
    return ends_.size() - 1;
}

std::size_t TextBatch::AddNameAndValue(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        const std::size_t first = Add(line);
        Add({});
        return first;
    }
    // One copy of the line, its first "=" turned into the separator.
    const std::size_t begin = text_.size();
    text_ += line;
    text_ += '\n';
    text_[begin + eq] = '\n';
    ends_.push_back(begin + eq);
    ends_.push_back(text_.size() - 1);
    return ends_.size() - 2;
}

void PathBatch::Clear() {
    paths.Clear();
    nameStarts.clear();
    cut.clear();
}

PathTail CutPath(std::string_view path, std::size_t nameStart, std::size_t lookBehind) {
    if (nameStart <= lookBehind + 1) return {path, nameStart, false};
    const std::size_t begin = nameStart - lookBehind - 1;
    return {path.substr(begin), nameStart - begin, true};
}

std::size_t PathBatch::Add(std::string_view path, std::size_t nameStart, std::size_t lookBehind) {
    const PathTail tail = CutPath(path, nameStart, lookBehind);
    nameStarts.push_back(tail.nameStart);
    cut.push_back(tail.cut);
    return paths.Add(tail.text);
}

}  // namespace oryx::search
