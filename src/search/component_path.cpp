#include "search/component_path.h"

#include <optional>
#include <utility>
#include <vector>

#include "prov/collation.h"
#include "prov/component_store.h"
#include "search/display_text.h"
#include "text/hidden_name.h"

namespace oryx::search {
namespace {

bool Shown(const prov::ComponentNode* node) { return node && !text::IsHiddenName(node->Name()); }

// Adds the children of `parent` that `piece` names, in the store's order.
// Display text may name two: one spelt in UTF-8, one in Latin-1 ("Café").
void AddChildrenNamed(const prov::ComponentNode* parent, std::string_view piece, QueryText text,
                      std::vector<const prov::ComponentNode*>& out) {
    const prov::ComponentNode* child = prov::GetChild(parent, piece);
    if (text == QueryText::Bytes) {
        if (Shown(child)) out.push_back(child);
        return;
    }
    if (!Shown(child) || !IsUtf8(child->Name())) child = nullptr;
    const std::optional<std::string> latin1 = Latin1FromUtf8(piece);
    const prov::ComponentNode* other = latin1 && *latin1 != piece ? prov::GetChild(parent, *latin1) : nullptr;
    if (!Shown(other) || IsUtf8(other->Name())) other = nullptr;
    if (child && other && prov::CompareNames(other->Name(), child->Name()) < 0) std::swap(child, other);
    for (const prov::ComponentNode* c : {child, other})
        if (c) out.push_back(c);
}

}  // namespace

const prov::ComponentNode* FindComponentAtPath(const prov::ComponentStore& store, std::string_view path,
                                               QueryText text) {
    if (text == QueryText::Display && !IsUtf8(path)) return nullptr;
    if (!store.AddNode()) return nullptr;
    // Every component the path so far may name, in tree order; the first to
    // reach the end wins.
    std::vector<const prov::ComponentNode*> at{store.AddNode()}, next;
    std::size_t start = 0;
    while (!at.empty()) {
        const std::size_t space = path.find(' ', start);
        const std::string_view piece =
            path.substr(start, space == std::string_view::npos ? std::string_view::npos : space - start);
        next.clear();
        for (const prov::ComponentNode* node : at) AddChildrenNamed(node, piece, text, next);
        at.swap(next);
        if (space == std::string_view::npos) break;
        start = space + 1;
    }
    return at.empty() ? nullptr : at.front();
}

}  // namespace oryx::search
