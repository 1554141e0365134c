#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace oryx::prov {

class ComponentNode;

// The paths of pieces that configure contexts have held, letter case
// ignored, as a trie, and for each place in it the components that walks
// from top-level components created there. A walk from a top-level
// component beside the add node follows the context, so whether the
// context's first k pieces exist below that component is one question to
// this trie, however deep the context is.
//
// Most places have one child and one component: those are held in the place
// itself, so walks along a chain of pieces touch no hash table and stay in
// memory written one after the other.
class PathTrie final {
public:
    static constexpr std::uint32_t kRoot = 0;

    PathTrie();

    // The place of `piece` below `parent`, made if new.
    std::uint32_t Child(std::uint32_t parent, std::string_view piece);
    // The component created below `top` at `place`, or null.
    ComponentNode* Below(const ComponentNode* top, std::uint32_t place) const;
    void Remember(const ComponentNode* top, std::uint32_t place, ComponentNode* created);

private:
    static constexpr std::uint32_t kNone = static_cast<std::uint32_t>(-1);

    struct Place {
        std::string name;  // lower case
        std::uint32_t firstChild = kNone;
        bool moreChildren = false;  // further children are in moreChildren_
        bool moreTops = false;      // further components are in moreBelow_
        const ComponentNode* top = nullptr;
        ComponentNode* below = nullptr;
    };
    struct TopPlace {
        const ComponentNode* top;
        std::uint32_t place;
        bool operator==(const TopPlace&) const = default;
    };
    struct TopPlaceHash {
        std::size_t operator()(const TopPlace& key) const;
    };

    static std::string ChildKey(std::uint32_t parent, std::string_view lowerName);

    std::vector<Place> places_;
    struct KeyHash {
        std::size_t operator()(const std::string& key) const;
    };

    std::unordered_map<std::string, std::uint32_t, KeyHash> moreChildren_;
    std::unordered_map<TopPlace, ComponentNode*, TopPlaceHash> moreBelow_;
};

}  // namespace oryx::prov
