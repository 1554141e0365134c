#include "reports/many_keys_search.h"

#include <algorithm>
#include <cstdint>
#include <deque>

#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "text/ascii_case.h"

namespace oryx::reports {
namespace {

constexpr std::uint32_t kNone = UINT32_MAX;

// The automaton of the keys: a trie whose states also know the longest
// proper suffix that is a state (fail) and the nearest such suffix that ends
// a key (output).
class KeyAutomaton final {
public:
    explicit KeyAutomaton(const std::vector<std::string_view>& keys) : states_(1), keyState_(keys.size()) {
        for (std::size_t k = 0; k < keys.size(); ++k) {
            std::uint32_t s = 0;
            for (const char c : keys[k]) s = AddChild(s, static_cast<unsigned char>(c));
            states_[s].ends = true;
            keyState_[k] = s;
        }
        Link();
    }

    std::uint32_t KeyState(std::size_t key) const { return keyState_[key]; }
    std::size_t Size() const { return states_.size(); }

    std::uint32_t Next(std::uint32_t s, unsigned char c) const {
        for (;;) {
            const std::uint32_t child = Child(s, c);
            if (child != kNone) return child;
            if (s == 0) return 0;
            s = states_[s].fail;
        }
    }
    bool Ends(std::uint32_t s) const { return states_[s].ends; }
    // The nearest proper suffix state that ends a key, or kNone.
    std::uint32_t Output(std::uint32_t s) const { return states_[s].output; }

private:
    struct State {
        std::vector<std::pair<unsigned char, std::uint32_t>> children;  // sorted by byte
        std::uint32_t fail = 0;
        std::uint32_t output = kNone;
        bool ends = false;
    };

    std::uint32_t Child(std::uint32_t s, unsigned char c) const {
        const auto& children = states_[s].children;
        const auto it = std::lower_bound(children.begin(), children.end(), c,
                                         [](const auto& child, unsigned char b) { return child.first < b; });
        return it != children.end() && it->first == c ? it->second : kNone;
    }

    std::uint32_t AddChild(std::uint32_t s, unsigned char c) {
        const std::uint32_t found = Child(s, c);
        if (found != kNone) return found;
        const auto added = static_cast<std::uint32_t>(states_.size());
        states_.emplace_back();
        auto& children = states_[s].children;
        const auto it = std::lower_bound(children.begin(), children.end(), c,
                                         [](const auto& child, unsigned char b) { return child.first < b; });
        children.insert(it, {c, added});
        return added;
    }

    // Breadth first, so that every shorter state is linked before a longer one.
    void Link() {
        std::deque<std::uint32_t> pending;
        for (const auto& [c, child] : states_[0].children) pending.push_back(child);
        while (!pending.empty()) {
            const std::uint32_t s = pending.front();
            pending.pop_front();
            for (const auto& [c, child] : states_[s].children) {
                const std::uint32_t fail = s == 0 ? 0 : Next(states_[s].fail, c);
                states_[child].fail = fail == child ? 0 : fail;
                const std::uint32_t f = states_[child].fail;
                states_[child].output = states_[f].ends ? f : states_[f].output;
                pending.push_back(child);
            }
        }
    }

    std::vector<State> states_;
    std::vector<std::uint32_t> keyState_;
};

}  // namespace

std::vector<std::optional<std::string>> FindMatchingAttributeValues(const prov::AttributeList* list,
                                                                    const std::vector<std::string_view>& keys) {
    std::vector<std::optional<std::string>> values(keys.size());
    if (list == nullptr || keys.empty()) return values;
    const KeyAutomaton automaton(keys);
    // found[s]: the last line holding the key of state s. Once a state has
    // its line, walks of the output chain skip it (the chain is shortened as
    // it is walked, as in union-find), so each key is settled once.
    std::vector<std::optional<std::string_view>> found(automaton.Size());
    std::vector<std::uint32_t> skipTo(automaton.Size(), kNone);
    std::size_t open = 0;
    std::vector<char> counted(automaton.Size(), 0);
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const std::uint32_t s = automaton.KeyState(k);
        if (!counted[s]) ++open;
        counted[s] = 1;
    }
    // The first state of the chain from s (s itself included) still open.
    const auto firstOpen = [&](std::uint32_t s) {
        std::uint32_t at = s;
        while (at != kNone && found[at]) at = skipTo[at] != kNone ? skipTo[at] : automaton.Output(at);
        // Shorten the chain just walked.
        for (std::uint32_t x = s; x != at && x != kNone && found[x];) {
            const std::uint32_t next = skipTo[x] != kNone ? skipTo[x] : automaton.Output(x);
            skipTo[x] = at;
            x = next;
        }
        return at;
    };

    std::vector<std::string_view> lines;
    for (std::string_view line : list->FileLines()) lines.push_back(line);
    for (auto line = lines.rbegin(); line != lines.rend() && open > 0; ++line) {
        std::uint32_t s = 0;
        const auto settle = [&](std::uint32_t at) {
            for (std::uint32_t x = firstOpen(at); x != kNone; x = firstOpen(automaton.Output(x))) {
                found[x] = *line;
                --open;
            }
        };
        if (automaton.Ends(0) || automaton.Output(0) != kNone) settle(0);  // the empty key
        for (const char c : *line) {
            s = automaton.Next(s, static_cast<unsigned char>(text::AsciiLower(c)));
            if (automaton.Ends(s))
                settle(s);
            else if (automaton.Output(s) != kNone)
                settle(automaton.Output(s));
        }
    }
    for (std::size_t k = 0; k < keys.size(); ++k) {
        if (const auto& line = found[automaton.KeyState(k)]) {
            const std::size_t eq = line->find('=');
            values[k] = eq == std::string_view::npos ? std::string() : std::string(line->substr(eq + 1));
        } else if (list->HasBookkeeping()) {
            // No file line holds the key: only the bookkeeping lines can.
            values[k] = FindMatchingBookkeepingValue(list, keys[k]);
        }
    }
    return values;
}

}  // namespace oryx::reports
