#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace oryx::prov {

// The order of component names: punctuation and other ASCII symbols first (by
// byte value), then digits, then letters ignoring case, then bytes 0x80-0xFF;
// a proper prefix sorts first. Digits compare as characters, so Card/10 sorts
// before Card/2.
int CompareNames(std::string_view a, std::string_view b);

// The first eight bytes of a name as a number that orders names as
// CompareNames does, as far as those bytes go. Names whose keys differ
// compare as their keys; names with equal keys need CompareNames.
std::uint64_t NameSortKey(std::string_view name);

// Two names are one name when they are equal ignoring ASCII letter case.
bool SameName(std::string_view a, std::string_view b);

// Hash consistent with SameName, keyed per process (see text/keyed_hash.h).
std::size_t HashName(std::string_view name);

}  // namespace oryx::prov
