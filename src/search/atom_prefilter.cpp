#include "search/atom_prefilter.h"

#include <array>

#include <re2/filtered_re2.h>
#include <re2/re2.h>

#include "search/regex_syntax.h"
#include "search/text_matcher.h"

namespace oryx::search {
namespace {

// Shorter literals would pass too many strings to be worth looking for. A
// line feed counts: "tm\n" (a string ending in "tm") is cheap to check.
constexpr int kShortestAtom = 3;
// The combinations of this many atoms are worked out in advance; each atom
// looked for inside a string costs a pass over it.
constexpr std::size_t kMostAtoms = 12;
constexpr std::size_t kMostInside = 6;
// A pair with this first byte stands for any pair ending in its second.
constexpr unsigned kAnyByte = 256;

// Whether looking for the lower-case atom with ASCII case folding finds every
// string the pattern may match. RE2 folds case beyond ASCII: in UTF-8 the
// Kelvin sign folds to "k" and the long s to "s", in Latin-1 the accented
// letters fold among themselves.
bool AsciiFoldFinds(const std::string& atom, bool utf8, bool caseless) {
    for (char c : atom) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
        if (utf8 && caseless && (c == 'k' || c == 's')) return false;
    }
    return true;
}

constexpr std::array<unsigned char, 256> kLower = [] {
    std::array<unsigned char, 256> lower{};
    for (unsigned c = 0; c < 256; ++c) lower[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return lower;
}();

unsigned Lower(char c) { return kLower[static_cast<unsigned char>(c)]; }

bool Has(const auto& pairs, unsigned first, unsigned second) {
    const unsigned pair = first << 8 | second;
    return (pairs[pair / 64] >> (pair % 64) & 1) != 0;
}

bool EqualsLowered(std::string_view text, std::string_view lower) {
    for (std::size_t i = 0; i < lower.size(); ++i)
        if (Lower(text[i]) != static_cast<unsigned char>(lower[i])) return false;
    return true;
}

}  // namespace

AtomPrefilter::~AtomPrefilter() = default;

std::unique_ptr<AtomPrefilter> AtomPrefilter::For(std::string_view pattern, const re2::RE2& compiled) {
    const RE2::Options& options = compiled.options();
    re2::FilteredRE2 filter(kShortestAtom);
    int id = 0;
    if (filter.Add(AnchorsAsLineFeeds(pattern), options, &id) != RE2::NoError) return nullptr;
    std::vector<std::string> atoms;
    filter.Compile(&atoms);
    if (atoms.empty() || atoms.size() > kMostAtoms) return nullptr;
    const bool utf8 = options.encoding() == RE2::Options::EncodingUTF8;

    std::unique_ptr<AtomPrefilter> prefilter(new AtomPrefilter);
    const auto addPair = [](PairSet& set, unsigned first, unsigned second) {
        for (unsigned a = 0; a < 256; ++a)
            for (unsigned b = 0; b < 256; ++b)
                if ((first == kAnyByte || a == first) && (second == kAnyByte || b == second))
                    set[(a << 8 | b) / 64] |= std::uint64_t{1} << ((a << 8 | b) % 64);
    };
    for (std::size_t bit = 0; bit < atoms.size(); ++bit) {
        std::string text = atoms[bit];
        const bool atStart = text.front() == '\n';
        if (atStart) text.erase(0, 1);
        const bool atEnd = !text.empty() && text.back() == '\n';
        if (atEnd) text.pop_back();
        // No string holds a line feed: an atom with one inside is never found.
        if (text.empty() || text.find('\n') != std::string::npos) continue;
        if (!AsciiFoldFinds(text, utf8, !options.case_sensitive())) return nullptr;
        if (!atStart && !atEnd) {
            if (prefilter->inside_.size() == kMostInside) return nullptr;
            prefilter->inside_.push_back(MakeSubstringMatcher(text, false, false));
            prefilter->insideBits_.push_back(bit);
            continue;
        }
        const std::size_t n = text.size();
        prefilter->anyAtEnd_ |= atEnd;
        prefilter->anyAtStart_ |= !atEnd;
        if (atEnd)
            addPair(prefilter->endPairs_, n >= 2 ? Lower(text[n - 2]) : atStart ? '\n' : kAnyByte, Lower(text[n - 1]));
        else
            addPair(prefilter->startPairs_, Lower(text[0]), n >= 2 ? Lower(text[1]) : kAnyByte);
        prefilter->atEnds_.push_back({std::move(text), atStart, atEnd, bit});
    }

    prefilter->mayMatch_.resize(std::size_t{1} << atoms.size());
    std::vector<int> found, potential;
    for (std::size_t set = 0; set < prefilter->mayMatch_.size(); ++set) {
        found.clear();
        for (std::size_t i = 0; i < atoms.size(); ++i)
            if (set & (std::size_t{1} << i)) found.push_back(static_cast<int>(i));
        potential.clear();
        filter.AllPotentials(found, &potential);
        prefilter->mayMatch_[set] = !potential.empty();
    }
    // A pattern that may match with no atom at all gains nothing.
    if (prefilter->mayMatch_[0]) return nullptr;
    return prefilter;
}

std::size_t AtomPrefilter::FoundInside(std::string_view text) const {
    std::size_t found = 0;
    for (std::size_t i = 0; i < inside_.size(); ++i)
        if (inside_[i]->Contains(text)) found |= std::size_t{1} << insideBits_[i];
    return found;
}

std::size_t AtomPrefilter::FoundAtEnds(std::string_view text) const {
    // A string is read with a line feed before and after it.
    const std::size_t n = text.size();
    const bool end =
        anyAtEnd_ && Has(endPairs_, n >= 2 ? Lower(text[n - 2]) : '\n', n >= 1 ? Lower(text[n - 1]) : '\n');
    const bool start = anyAtStart_ && Has(startPairs_, n >= 1 ? Lower(text[0]) : '\n', n >= 2 ? Lower(text[1]) : '\n');
    if (!end && !start) return 0;
    std::size_t found = 0;
    for (const EndAtom& atom : atEnds_) {
        const std::size_t m = atom.text.size();
        if (!(atom.atEnd ? end : start) || m > n || (atom.atStart && atom.atEnd && m != n)) continue;
        if (EqualsLowered(text.substr(atom.atEnd ? n - m : 0, m), atom.text)) found |= std::size_t{1} << atom.bit;
    }
    return found;
}

bool AtomPrefilter::MayMatch(std::string_view text) const {
    return mayMatch_[FoundInside(text) | FoundAtEnds(text)] != 0;
}

bool AtomPrefilter::MayMatchLine(std::string_view line) const {
    // The literals inside are looked for in the whole line at once; one
    // across the "=" only lets a line through that the pattern then rejects.
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return MayMatch(line);
    const std::size_t found = FoundInside(line) | FoundAtEnds(line.substr(0, eq)) | FoundAtEnds(line.substr(eq + 1));
    return mayMatch_[found] != 0;
}

}  // namespace oryx::search
