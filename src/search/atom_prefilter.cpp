#include "search/atom_prefilter.h"

#include <array>
#include <bit>

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

}  // namespace

// Whether the lower-case atom ends `text` (or begins it), ASCII case folded.
bool AtomPrefilter::EndsWith(std::string_view text, const EndAtom& atom) {
    const std::size_t m = atom.text.size();
    if (m > text.size() || (atom.atStart && atom.atEnd && m != text.size())) return false;
    const char* at = text.data() + (atom.atEnd ? text.size() - m : 0);
    // From the end: the byte before the last tells most strings apart.
    for (std::size_t i = m; i-- > 0;)
        if (Lower(at[i]) != static_cast<unsigned char>(atom.text[i])) return false;
    return true;
}

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
        const std::uint16_t mask = static_cast<std::uint16_t>(1u << prefilter->atEnds_.size());
        if (atEnd)
            prefilter->byLastByte_[Lower(text.back())] |= mask;
        else
            prefilter->byFirstByte_[Lower(text.front())] |= mask;
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
    if (text.empty()) return 0;
    unsigned candidates = byLastByte_[Lower(text.back())] | byFirstByte_[Lower(text.front())];
    std::size_t found = 0;
    for (; candidates != 0; candidates &= candidates - 1) {
        const EndAtom& atom = atEnds_[static_cast<std::size_t>(std::countr_zero(candidates))];
        if (EndsWith(text, atom)) found |= std::size_t{1} << atom.bit;
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
