#include "search/literal_set.h"

#include <bit>
#include <cstring>

#include "search/regex_syntax.h"

namespace oryx::search {
namespace {

// How seldom a byte turns up in provisioning text, roughly: letters by their
// frequency in English, "=" and spaces in every line, other punctuation
// seldom. Looking for a literal's rarest byte stops at few false candidates.
int Rarity(unsigned char c, bool matchCase) {
    constexpr std::string_view kLetters = "etaoinsrhldcumfpgwybvkxjqz";
    if (c >= 'A' && c <= 'Z') return static_cast<int>(kLetters.find(static_cast<char>(c + 32))) + (matchCase ? 6 : 0);
    if (c >= 'a' && c <= 'z') return static_cast<int>(kLetters.find(static_cast<char>(c)));
    if (c >= '0' && c <= '9') return 8;
    if (c == '=' || c == ' ') return -1;
    return 16;
}

// The high bit of each byte of the eight at `at` that equals `wanted` once
// `caseBit` is set in it (a letter's two cases differ in 0x20 alone).
std::uint64_t EqualBytes(const char* at, unsigned char wanted, unsigned char caseBit) {
    constexpr std::uint64_t kOnes = 0x0101010101010101, kLow7 = 0x7F7F7F7F7F7F7F7F;
    std::uint64_t word;
    std::memcpy(&word, at, 8);
    const std::uint64_t differs = (word | kOnes * caseBit) ^ (kOnes * wanted);
    return ~(((differs & kLow7) + kLow7) | differs | kLow7);
}

// Where in [at, at + size) the byte first is, or size.
std::size_t FindByte(const char* at, std::size_t size, unsigned char wanted, unsigned char caseBit) {
    if (caseBit == 0) {
        const void* found = std::memchr(at, wanted, size);
        return found ? static_cast<std::size_t>(static_cast<const char*>(found) - at) : size;
    }
    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= size; i += 8)
            if (const std::uint64_t found = EqualBytes(at + i, wanted, caseBit))
                return i + static_cast<std::size_t>(std::countr_zero(found)) / 8;
    }
    for (; i < size; ++i)
        if ((static_cast<unsigned char>(at[i]) | caseBit) == wanted) return i;
    return size;
}

}  // namespace

std::unique_ptr<LiteralSet> LiteralSet::For(std::string_view pattern, bool utf8, bool matchCase) {
    std::optional<std::vector<AnchoredLiteral>> literals = LiteralAlternatives(pattern);
    if (!literals) return nullptr;
    std::unique_ptr<LiteralSet> set(new LiteralSet);
    for (std::size_t c = 0; c < set->fold_.size(); ++c)
        set->fold_[c] = static_cast<unsigned char>(!matchCase && c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (AnchoredLiteral& anchored : *literals) {
        Literal literal{{}, anchored.atStart, anchored.atEnd, false, 0, 0};
        for (char c : anchored.text) {
            if (utf8 && !matchCase && (c == 'k' || c == 'K' || c == 's' || c == 'S')) return nullptr;
            literal.text += static_cast<char>(set->Fold(c));
        }
        literal.hasEquals = literal.text.find('=') != std::string::npos;
        for (std::size_t i = 1; i < literal.text.size(); ++i)
            if (Rarity(static_cast<unsigned char>(literal.text[i]), matchCase) >
                Rarity(static_cast<unsigned char>(literal.text[literal.rare]), matchCase))
                literal.rare = i;
        const auto rareByte = static_cast<unsigned char>(literal.text[literal.rare]);
        literal.caseBit = !matchCase && rareByte >= 'a' && rareByte <= 'z' ? 0x20 : 0;
        if (!literal.atStart && !literal.atEnd) {
            set->inside_.push_back(std::move(literal));
            continue;
        }
        const std::uint32_t bit = std::uint32_t{1} << set->atEnds_.size();
        if (literal.atEnd)
            set->byLast_[static_cast<unsigned char>(literal.text.back())] |= bit;
        else
            set->byFirst_[static_cast<unsigned char>(literal.text.front())] |= bit;
        if (!literal.hasEquals) set->withoutEquals_ |= bit;
        set->atEnds_.push_back(std::move(literal));
    }
    // A folded table entry serves both cases of a letter.
    for (std::size_t c = 'A'; c <= 'Z' && !matchCase; ++c) {
        set->byLast_[c] = set->byLast_[c + 32];
        set->byFirst_[c] = set->byFirst_[c + 32];
    }
    return set;
}

bool LiteralSet::SameAt(const char* at, const std::string& folded) const {
    for (std::size_t i = 0; i < folded.size(); ++i)
        if (Fold(at[i]) != static_cast<unsigned char>(folded[i])) return false;
    return true;
}

bool LiteralSet::Occurs(std::string_view text, const Literal& literal) const {
    const std::size_t m = literal.text.size();
    if (m > text.size()) return false;
    // Candidate beginnings: where the rare byte lies `rare` bytes on.
    const std::size_t starts = text.size() - m + 1;
    const char* rare = text.data() + literal.rare;
    const auto wanted = static_cast<unsigned char>(literal.text[literal.rare]);
    for (std::size_t i = 0;; ++i) {
        i += FindByte(rare + i, starts - i, wanted, literal.caseBit);
        if (i >= starts) return false;
        if (SameAt(text.data() + i, literal.text)) return true;
    }
}

bool LiteralSet::AtEnds(std::string_view text, std::uint32_t allowed) const {
    if (text.empty()) return false;
    std::uint32_t candidates =
        (byLast_[static_cast<unsigned char>(text.back())] | byFirst_[static_cast<unsigned char>(text.front())]) &
        allowed;
    for (; candidates != 0; candidates &= candidates - 1) {
        const Literal& literal = atEnds_[static_cast<std::size_t>(std::countr_zero(candidates))];
        const std::size_t m = literal.text.size();
        if (m > text.size() || (literal.atStart && literal.atEnd && m != text.size())) continue;
        if (SameAt(text.data() + (literal.atEnd ? text.size() - m : 0), literal.text)) return true;
    }
    return false;
}

bool LiteralSet::Contains(std::string_view text) const {
    for (const Literal& literal : inside_)
        if (Occurs(text, literal)) return true;
    return AtEnds(text, ~std::uint32_t{0});
}

bool LiteralSet::ContainsInLine(std::string_view line) const {
    const void* equals = std::memchr(line.data(), '=', line.size());
    if (!equals) return Contains(line);  // all name
    const auto eq = static_cast<std::size_t>(static_cast<const char*>(equals) - line.data());
    const std::string_view value = line.substr(eq + 1);
    // A literal without "=" cannot take the line's first one: looked for in
    // the whole line, it lies in the name or the value.
    for (const Literal& literal : inside_)
        if (Occurs(literal.hasEquals ? value : line, literal)) return true;
    return AtEnds(line.substr(0, eq), withoutEquals_) || AtEnds(value, ~std::uint32_t{0});
}

}  // namespace oryx::search
