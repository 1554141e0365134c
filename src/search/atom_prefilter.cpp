#include "search/atom_prefilter.h"

#include <re2/filtered_re2.h>
#include <re2/re2.h>

#include "search/text_matcher.h"

namespace oryx::search {
namespace {

// Shorter literals would pass too many strings to be worth looking for.
constexpr int kShortestAtom = 3;
// The combinations of this many atoms are worked out in advance.
constexpr std::size_t kMostAtoms = 6;

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

}  // namespace

AtomPrefilter::~AtomPrefilter() = default;

std::unique_ptr<AtomPrefilter> AtomPrefilter::For(std::string_view pattern, const re2::RE2& compiled) {
    const RE2::Options& options = compiled.options();
    re2::FilteredRE2 filter(kShortestAtom);
    int id = 0;
    if (filter.Add(re2::StringPiece(pattern.data(), pattern.size()), options, &id) != RE2::NoError) return nullptr;
    std::vector<std::string> atoms;
    filter.Compile(&atoms);
    if (atoms.empty() || atoms.size() > kMostAtoms) return nullptr;
    const bool utf8 = options.encoding() == RE2::Options::EncodingUTF8;
    for (const std::string& atom : atoms)
        if (!AsciiFoldFinds(atom, utf8, !options.case_sensitive())) return nullptr;

    std::unique_ptr<AtomPrefilter> prefilter(new AtomPrefilter);
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
    for (const std::string& atom : atoms) prefilter->atoms_.push_back(MakeSubstringMatcher(atom, false, false));
    return prefilter;
}

bool AtomPrefilter::MayMatch(std::string_view text) const {
    std::size_t set = 0;
    for (std::size_t i = 0; i < atoms_.size(); ++i)
        if (atoms_[i]->Contains(text)) set |= std::size_t{1} << i;
    return mayMatch_[set] != 0;
}

}  // namespace oryx::search
