#pragma once

#include <cstdint>
#include <string_view>

namespace oryx::text {

// The hash of every table that holds names from a file. It is keyed by a seed
// drawn once per process, so that names made to collide (to share the low
// bits a table looks at) in one run do not collide in another: a fixed hash,
// mixed or not, lets a file of such names make every lookup walk all of them.
// No output may depend on the order of a table hashed this way.

// The seed of this process.
std::uint64_t HashSeed();
// Fixes the seed, for tests that make names collide on purpose.
void SetHashSeedForTesting(std::uint64_t seed);

// The keyed hash of the bytes, with ASCII letter case folded when `foldCase`.
std::uint64_t KeyedHash(std::string_view bytes, bool foldCase, std::uint64_t seed);

// Names that compare equal ignoring ASCII case hash alike.
inline std::uint64_t KeyedHashIgnoringAsciiCase(std::string_view name) { return KeyedHash(name, true, HashSeed()); }
inline std::uint64_t KeyedHashOfBytes(std::string_view bytes) { return KeyedHash(bytes, false, HashSeed()); }

}  // namespace oryx::text
