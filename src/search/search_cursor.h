#pragma once

#include <atomic>
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "prov/component_store.h"
#include "search/search_query.h"
#include "search/text_batch.h"

namespace oryx::search {

// One match: a component's own name or path, or one of its attribute lines.
struct SearchHit {
    enum class Kind { Component, Attribute };
    const prov::ComponentNode* node = nullptr;
    Kind kind = Kind::Component;
    // Attribute: the line's index among the node's file lines (FileLines()).
    std::size_t line = 0;
    // Attribute: its row in the attribute list (VisibleAttributeRows), where
    // lines beginning with "&" have no row.
    std::size_t row = 0;
    // Attribute: the line as stored ("name=value"), a view into the store.
    std::string_view text;

    bool operator==(const SearchHit&) const = default;
};

class TextMatcher;

// Walks the components below the add node in tree order (the store's sorted
// order, parents before children) and gives the hits one at a time: within a
// component its own match first, then its matching attribute lines in order,
// each line once. The walk keeps its own stack, so depth costs no recursion.
// Strings are matched one at a time, or, for a pattern that searches many
// strings faster in one pass, a few thousand at once; either way the first
// hits come long before the whole store is searched.
//
// The store must stay alive and unchanged while the cursor is used. The
// cursor belongs to one thread; another thread may stop it through `cancel`.
class SearchCursor final {
public:
    SearchCursor(const prov::ComponentStore& store, SearchQuery query);
    SearchCursor(const SearchCursor&) = delete;
    SearchCursor& operator=(const SearchCursor&) = delete;

    // The next hit; nothing when the whole store has been searched or when
    // `cancel` is set (then AtEnd() is false and a later call goes on).
    std::optional<SearchHit> Next(const std::atomic<bool>* cancel = nullptr);
    // True once every component has been searched and every hit given.
    bool AtEnd() const { return walked_ && next_ == items_.size(); }
    const SearchQuery& Query() const { return query_; }

private:
    struct Frame {
        const prov::ComponentNode* node;
        std::size_t nextChild;
        std::size_t pathEnd;    // where the node's path ends in path_
        std::size_t pathState;  // the matcher's state after the node's path
    };
    // A possible hit of a batch, with what decides it: a component's name
    // (in texts_) and path (in paths_), or a line or the part of it searched.
    struct Item {
        SearchHit hit;
        std::size_t text;
        std::size_t path;
    };
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    const prov::ComponentNode* Advance();
    bool EnterNextComponent();
    bool OwnScope() const { return nameScope_ || pathScope_; }
    bool LineScope() const { return attributeNameScope_ || valueScope_; }
    std::string_view Shown(std::string_view bytes);
    // What of a line the scope searches, in the query's text form.
    BatchText LineText(std::string_view line);
    bool Matches(const BatchText& text) const;
    bool PathMatches() const;
    SearchHit ComponentHit() const;
    SearchHit LineHit(std::string_view line, std::size_t row) const;
    std::optional<SearchHit> NextOneByOne(const std::atomic<bool>* cancel);
    std::optional<SearchHit> NextInBatches(const std::atomic<bool>* cancel);
    void FillBatch();

    SearchQuery query_;
    const TextMatcher& matcher_;
    bool display_;
    bool nameScope_, pathScope_, attributeNameScope_, valueScope_;
    bool batched_;

    // The walk.
    std::vector<Frame> stack_;
    // The current component's path (in the query's text form) and where its
    // own name begins; kept only when paths are searched.
    std::string path_;
    std::size_t nameStart_ = 0;
    std::size_t nameState_ = 0;  // the matcher's state at nameStart_, when it carries one
    bool carriesPathState_ = false;
    const prov::ComponentNode* current_ = nullptr;  // whose lines come next
    std::optional<prov::FileLineRange> lines_;
    prov::FileLineRange::Iterator line_;
    std::size_t lineIndex_ = 0, rowIndex_ = 0;
    bool walked_ = false;
    std::deque<std::string> displayTexts_;  // display text that is not the file's bytes

    // The batch, for a matcher that searches many strings at once.
    std::vector<BatchText> texts_;
    PathBatch paths_;
    std::vector<Item> items_;
    std::vector<char> textMatched_, pathMatched_;
    std::size_t next_ = 0;  // the next item to give
};

// Calls `onHit` with every hit in tree order until it returns false or
// `cancel` is set. True when the whole store was searched.
bool ForEachHit(const prov::ComponentStore& store, const SearchQuery& query,
                const std::function<bool(const SearchHit&)>& onHit, const std::atomic<bool>* cancel = nullptr);

}  // namespace oryx::search
