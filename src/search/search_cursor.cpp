#include "search/search_cursor.h"

#include "search/component_path.h"
#include "search/display_text.h"
#include "search/text_matcher.h"
#include "text/hidden_name.h"
#include "text/message_value.h"

namespace oryx::search {
namespace {

bool Cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(std::memory_order_relaxed); }

// Lines between two looks at the cancel flag, one by one.
constexpr std::size_t kLinesPerCancelCheck = 1024;

// A batch ends after this many components and lines, or this many bytes of
// text: small enough for the first hits to come at once and for a cancel to
// take effect at once, large enough that matching a batch costs few searches.
constexpr std::size_t kBatchItems = 4096;
constexpr std::size_t kBatchBytes = 64 * 1024;

bool SameView(std::string_view a, std::string_view b) { return a.data() == b.data() && a.size() == b.size(); }

// A component whose path a regular expression could not look back over.
[[noreturn]] void ThrowPathTooLong(const prov::ComponentNode& node) {
    throw SearchLimitError("cannot search the path of '" + text::MessageValue(ComponentPath(node)) +
                           "' with this regular expression: more than 256 bytes stand before its name");
}

}  // namespace

SearchCursor::SearchCursor(const prov::ComponentStore& store, SearchQuery query)
    : query_(std::move(query)),
      matcher_(query_.Matcher()),
      display_(query_.Options().text == QueryText::Display),
      batched_(matcher_.PrefersBatches()) {
    const SearchScope scope = query_.Options().scope;
    const bool all = scope == SearchScope::All;
    nameScope_ = all || scope == SearchScope::Names;
    pathScope_ = all || scope == SearchScope::Paths;
    attributeNameScope_ = all || scope == SearchScope::AttributeNames;
    valueScope_ = all || scope == SearchScope::Values;
    // Plain text found in a name is found in its path as well (the space
    // before a name is no word byte), so the path alone decides; not for the
    // empty query, which occurs in an empty name but ends inside no name.
    if (pathScope_ && !query_.Options().regex && !query_.Text().empty()) nameScope_ = false;
    // A pattern whose path matches all lie in the last name, the other way
    // round: the name alone decides.
    if (nameScope_ && pathScope_ && matcher_.NameHoldsPathMatches()) pathScope_ = false;
    // ASCII plain text finds the same in a string's bytes as in its display
    // text: decoding leaves ASCII bytes alone and turns the others into bytes
    // above 127 again, none of them a letter, digit or "_". (The empty query
    // is left out: it tells an empty display text from a byte-order mark.)
    if (display_ && !query_.Options().regex && !query_.Text().empty() && IsAscii(query_.Text())) display_ = false;
    carriesPathState_ = pathScope_ && matcher_.CarriesPathState();
    if (const prov::ComponentNode* add = store.AddNode())
        stack_.push_back({add, 0, 0, 0});
    else
        walked_ = true;
}

const prov::ComponentNode* SearchCursor::Advance() {
    while (!stack_.empty()) {
        Frame& top = stack_.back();
        const auto children = top.node->Children();
        if (top.nextChild == children.size()) {
            stack_.pop_back();
            continue;
        }
        const prov::ComponentNode* child = children[top.nextChild++];
        // A bookkeeping name hides the component and everything below it.
        if (text::IsHiddenName(child->Name())) continue;
        std::size_t state = 0;
        if (pathScope_) {
            path_.resize(top.pathEnd);
            if (stack_.size() > 1) path_ += ' ';  // below a top-level component
            nameStart_ = path_.size();
            const std::string_view name = Shown(child->Name());
            path_ += name;
            if (carriesPathState_) {
                nameState_ = stack_.size() > 1 ? matcher_.PathStateAfter(top.pathState, " ") : 0;
                state = matcher_.PathStateAfter(nameState_, name);
            }
        }
        stack_.push_back({child, 0, path_.size(), state});
        return child;
    }
    return nullptr;
}

bool SearchCursor::EnterNextComponent() {
    current_ = Advance();
    if (!current_) {
        walked_ = true;
        return false;
    }
    lines_.emplace(current_->Attributes().FileLines());
    line_ = lines_->begin();
    lineIndex_ = rowIndex_ = 0;
    return true;
}

std::string_view SearchCursor::Shown(std::string_view bytes) {
    if (!display_) return bytes;
    std::string scratch;
    const std::string_view shown = DisplayUtf8(bytes, scratch);
    if (shown.data() != scratch.data()) return shown;
    return displayTexts_.emplace_back(std::move(scratch));
}

BatchText SearchCursor::LineText(std::string_view line) {
    if (!attributeNameScope_) return {Shown(prov::LineValue(line)), false};
    if (!valueScope_) return {Shown(prov::LineName(line)), false};
    if (!display_ || IsAscii(line)) return {line, true};
    // The window shows a line's name and value each decoded alone.
    const std::string_view name = prov::LineName(line), value = prov::LineValue(line);
    const std::string_view shownName = Shown(name), shownValue = Shown(value);
    if (SameView(shownName, name) && SameView(shownValue, value)) return {line, true};
    return {displayTexts_.emplace_back(std::string(shownName) + "=" + std::string(shownValue)), true};
}

bool SearchCursor::Matches(const BatchText& text) const {
    return text.isLine ? matcher_.ContainsInLine(text.text) : matcher_.Contains(text.text);
}

bool SearchCursor::PathMatches() const {
    // A carried state costs the component its own name; a path looked at
    // anew costs as much of it as the matcher looks back over.
    if (carriesPathState_) return matcher_.EndsInLastNameFrom(path_, nameStart_, nameState_);
    return query_.MatchesEndIn(path_, nameStart_);
}

SearchHit SearchCursor::ComponentHit() const { return {current_, SearchHit::Kind::Component, 0, 0, {}}; }

SearchHit SearchCursor::LineHit(std::string_view line, std::size_t row) const {
    return {current_, SearchHit::Kind::Attribute, lineIndex_, row, line};
}

std::optional<SearchHit> SearchCursor::NextOneByOne(const std::atomic<bool>* cancel) {
    std::size_t work = 0;
    while (true) {
        if (!current_) {
            if (Cancelled(cancel)) return std::nullopt;
            if (!displayTexts_.empty()) displayTexts_.clear();
            if (!EnterNextComponent()) return std::nullopt;
            if ((nameScope_ && matcher_.Contains(Shown(current_->Name()))) || (pathScope_ && PathMatches()))
                return ComponentHit();
            if (pathScope_ && query_.PathMayHideMatch(nameStart_)) ThrowPathTooLong(*current_);
        }
        if (LineScope()) {
            // Locals, as the matcher's calls would make members be read anew
            // for every line.
            auto line = line_;
            const auto end = lines_->end();
            std::size_t index = lineIndex_, row = rowIndex_;
            const bool wholeLines = attributeNameScope_ && valueScope_ && !display_;
            for (; line != end; ++line, ++index) {
                if (++work % kLinesPerCancelCheck == 0 && Cancelled(cancel)) {
                    line_ = line;
                    lineIndex_ = index;
                    rowIndex_ = row;
                    return std::nullopt;
                }
                if (text::IsHiddenName(*line)) continue;
                ++row;
                const bool matched = wholeLines ? matcher_.ContainsInLine(*line) : Matches(LineText(*line));
                if (!matched) continue;
                const SearchHit hit{current_, SearchHit::Kind::Attribute, index, row - 1, *line};
                line_ = ++line;
                lineIndex_ = index + 1;
                rowIndex_ = row;
                return hit;
            }
        }
        current_ = nullptr;
    }
}

void SearchCursor::FillBatch() {
    std::size_t bytes = 0;
    while (items_.size() < kBatchItems && bytes < kBatchBytes) {
        if (!current_) {
            if (!EnterNextComponent()) return;
            if (OwnScope()) {
                Item item{ComponentHit(), kNone, kNone};
                if (nameScope_) {
                    item.text = texts_.size();
                    texts_.push_back({Shown(current_->Name()), false});
                }
                if (pathScope_) {
                    item.path = paths_.Add(path_, nameStart_, matcher_.PathLookBehind());
                    bytes += path_.size() - nameStart_;
                }
                items_.push_back(item);
            }
        }
        // A component's lines may go on in the next batch.
        for (; LineScope() && line_ != lines_->end() && items_.size() < kBatchItems && bytes < kBatchBytes;
             ++line_, ++lineIndex_) {
            const std::string_view line = *line_;
            if (text::IsHiddenName(line)) continue;
            items_.push_back({LineHit(line, rowIndex_++), texts_.size(), kNone});
            texts_.push_back(LineText(line));
            bytes += line.size();
        }
        if (!LineScope() || line_ == lines_->end()) current_ = nullptr;
    }
}

std::optional<SearchHit> SearchCursor::NextInBatches(const std::atomic<bool>* cancel) {
    while (true) {
        if (Cancelled(cancel)) return std::nullopt;
        while (next_ < items_.size()) {
            const Item& item = items_[next_++];
            if ((item.text != kNone && textMatched_[item.text]) || (item.path != kNone && pathMatched_[item.path]))
                return item.hit;
            if (item.path != kNone && paths_.cut[item.path] && matcher_.MatchesMayOutreachLookBehind())
                ThrowPathTooLong(*item.hit.node);
        }
        if (walked_) return std::nullopt;
        items_.clear();
        texts_.clear();
        paths_.Clear();
        displayTexts_.clear();
        next_ = 0;
        FillBatch();
        textMatched_.assign(texts_.size(), 0);
        pathMatched_.assign(paths_.Size(), 0);
        if (!texts_.empty()) matcher_.MarkContaining(texts_, textMatched_);
        if (paths_.Size() > 0) matcher_.MarkPathEnds(paths_, pathMatched_);
    }
}

std::optional<SearchHit> SearchCursor::Next(const std::atomic<bool>* cancel) {
    return batched_ ? NextInBatches(cancel) : NextOneByOne(cancel);
}

bool ForEachHit(const prov::ComponentStore& store, const SearchQuery& query,
                const std::function<bool(const SearchHit&)>& onHit, const std::atomic<bool>* cancel) {
    SearchCursor cursor(store, query);
    while (const std::optional<SearchHit> hit = cursor.Next(cancel))
        if (!onHit(*hit)) return false;
    return cursor.AtEnd();
}

}  // namespace oryx::search
