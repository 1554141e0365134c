#include "prov/collation.h"
#include "text/ascii_case.h"
#include "text/keyed_hash.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace oryx::prov {
namespace {

// Rank of a byte: class in the high byte, key in the low byte.
constexpr std::array<std::uint16_t, 256> MakeRanks() {
    std::array<std::uint16_t, 256> ranks{};
    for (int b = 0; b < 256; ++b) {
        int cls = 0, key = b;
        if (b >= '0' && b <= '9') {
            cls = 1;
        } else if (b >= 'a' && b <= 'z') {
            cls = 2;
        } else if (b >= 'A' && b <= 'Z') {
            cls = 2;
            key = b - 'A' + 'a';
        } else if (b >= 0x80) {
            cls = 3;
        }
        ranks[static_cast<std::size_t>(b)] = static_cast<std::uint16_t>(cls << 8 | key);
    }
    return ranks;
}

constexpr auto kRanks = MakeRanks();

// Each byte's place among the distinct ranks, from 1 up; 0 stands for "no
// more bytes", which sorts a proper prefix first. Ranks go: other ASCII bytes
// by value, digits, letters ignoring case, bytes 0x80-0xFF by value.
constexpr std::array<std::uint8_t, 256> MakeOrderCodes() {
    std::array<std::uint8_t, 256> codes{};
    int next = 1;
    for (std::size_t b = 0; b < 128; ++b)
        if (kRanks[b] >> 8 == 0) codes[b] = static_cast<std::uint8_t>(next++);
    for (std::size_t b = '0'; b <= '9'; ++b) codes[b] = static_cast<std::uint8_t>(next++);
    for (std::size_t b = 'a'; b <= 'z'; ++b) codes[b] = codes[b - 'a' + 'A'] = static_cast<std::uint8_t>(next++);
    for (std::size_t b = 128; b < 256; ++b) codes[b] = static_cast<std::uint8_t>(next++);
    return codes;
}

constexpr auto kOrderCodes = MakeOrderCodes();

}  // namespace

int CompareNames(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    std::size_t i = 0;
    // Equal bytes have equal ranks: skip a common prefix a word at a time.
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a.data() + i, 8);
        std::memcpy(&y, b.data() + i, 8);
        if (x != y) break;
    }
    for (; i < n; ++i) {
        if (a[i] == b[i]) continue;
        const auto ra = kRanks[static_cast<unsigned char>(a[i])];
        const auto rb = kRanks[static_cast<unsigned char>(b[i])];
        if (ra != rb) return ra < rb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::uint64_t NameSortKey(std::string_view name) {
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < 8; ++i)
        key = key << 8 | (i < name.size() ? kOrderCodes[static_cast<unsigned char>(name[i])] : 0);
    return key;
}

bool SameName(std::string_view a, std::string_view b) { return text::EqualIgnoringAsciiCase(a, b); }

std::size_t HashName(std::string_view name) { return static_cast<std::size_t>(text::KeyedHashIgnoringAsciiCase(name)); }

}  // namespace oryx::prov
