#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace oryx::settings {

// Positions in some list, found by a 64-bit hash of what they hold. Slots
// live in one array (open addressing), so a large settings file costs no
// allocation per key or value. Different things may share a hash: a lookup
// asks the caller which candidate is the one.
class HashIndex final {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    void Reserve(std::size_t count) {
        if (count * 2 > slots_.size()) Rebuild(count * 2);
    }

    // The position whose thing `matches`, or kNone.
    template <typename Matches>
    std::size_t Find(std::uint64_t hash, Matches matches) const {
        if (slots_.empty()) return kNone;
        const std::uint64_t mixed = Mix(hash);
        for (std::size_t i = mixed & Mask();; i = (i + 1) & Mask()) {
            const Slot& slot = slots_[i];
            if (slot.position == kNone) return kNone;
            if (slot.hash == mixed && matches(slot.position)) return slot.position;
        }
    }

    // Points the entry whose thing `matches` at `position`, adding one if
    // there is none.
    template <typename Matches>
    void Set(std::uint64_t hash, Matches matches, std::size_t position) {
        if ((count_ + 1) * 2 > slots_.size()) Rebuild(slots_.empty() ? 16 : slots_.size() * 2);
        const std::uint64_t mixed = Mix(hash);
        for (std::size_t i = mixed & Mask();; i = (i + 1) & Mask()) {
            Slot& slot = slots_[i];
            if (slot.position == kNone) {
                slot = {mixed, position};
                ++count_;
                return;
            }
            if (slot.hash == mixed && matches(slot.position)) {
                slot.position = position;
                return;
            }
        }
    }

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::size_t position = kNone;
    };

    static std::uint64_t Mix(std::uint64_t h) {
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDULL;
        h ^= h >> 33;
        return h;
    }
    std::size_t Mask() const { return slots_.size() - 1; }

    void Rebuild(std::size_t atLeast) {
        std::size_t size = 16;
        while (size < atLeast) size *= 2;
        std::vector<Slot> old(size);
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (slot.position == kNone) continue;
            std::size_t i = slot.hash & Mask();
            while (slots_[i].position != kNone) i = (i + 1) & Mask();
            slots_[i] = slot;
        }
    }

    std::vector<Slot> slots_;  // a power of two in size, at most half full
    std::size_t count_ = 0;
};

}  // namespace oryx::settings
