#include "prov/path_trie.h"

#include "text/ascii_case.h"
#include "text/keyed_hash.h"

namespace oryx::prov {

PathTrie::PathTrie() { places_.emplace_back(); }

std::string PathTrie::ChildKey(std::uint32_t parent, std::string_view lowerName) {
    std::string key(reinterpret_cast<const char*>(&parent), sizeof parent);
    key += lowerName;
    return key;
}

std::size_t PathTrie::KeyHash::operator()(const std::string& key) const {
    return static_cast<std::size_t>(text::KeyedHashOfBytes(key));
}

std::size_t PathTrie::TopPlaceHash::operator()(const TopPlace& key) const {
    std::uint64_t h = reinterpret_cast<std::uintptr_t>(key.top) * 0x9E3779B97F4A7C15ULL;
    h ^= (key.place + 1ULL) * 0xC2B2AE3D27D4EB4FULL;
    return static_cast<std::size_t>(h ^ (h >> 29));
}

std::uint32_t PathTrie::Child(std::uint32_t parent, std::string_view piece) {
    std::string name = text::AsciiLowered(piece);
    const std::uint32_t first = places_[parent].firstChild;
    if (first != kNone && places_[first].name == name) return first;
    if (places_[parent].moreChildren) {
        const auto found = moreChildren_.find(ChildKey(parent, name));
        if (found != moreChildren_.end()) return found->second;
    }
    const auto id = static_cast<std::uint32_t>(places_.size());
    if (first == kNone) {
        places_[parent].firstChild = id;
    } else {
        places_[parent].moreChildren = true;
        moreChildren_.emplace(ChildKey(parent, name), id);
    }
    places_.push_back(Place{std::move(name)});
    return id;
}

ComponentNode* PathTrie::Below(const ComponentNode* top, std::uint32_t place) const {
    const Place& at = places_[place];
    if (at.top == top) return at.below;
    if (!at.moreTops) return nullptr;
    const auto found = moreBelow_.find(TopPlace{top, place});
    return found == moreBelow_.end() ? nullptr : found->second;
}

void PathTrie::Remember(const ComponentNode* top, std::uint32_t place, ComponentNode* created) {
    Place& at = places_[place];
    if (at.top == nullptr) {
        at.top = top;
        at.below = created;
        return;
    }
    at.moreTops = true;
    moreBelow_.emplace(TopPlace{top, place}, created);
}

}  // namespace oryx::prov
