#include "text/keyed_hash.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <exception>
#include <random>

#include "text/ascii_case.h"

namespace oryx::text {
namespace {

// A bijection of 64-bit words that spreads every input bit over the output.
std::uint64_t Mix(std::uint64_t h) {
    h ^= h >> 30;
    h *= 0xBF58476D1CE4E5B9ULL;
    h ^= h >> 27;
    h *= 0x94D049BB133111EBULL;
    return h ^ (h >> 31);
}

std::uint64_t DrawSeed() {
    const auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint64_t drawn = reinterpret_cast<std::uintptr_t>(&now);  // where the stack lies differs per run
    try {
        std::random_device device;
        drawn ^= (std::uint64_t{device()} << 32) ^ device();
    } catch (const std::exception&) {
        // No random device: the clock and the stack address still differ per run.
    }
    return Mix(drawn ^ now);
}

std::atomic<std::uint64_t>& Seed() {
    static std::atomic<std::uint64_t> seed{DrawSeed()};
    return seed;
}

}  // namespace

std::uint64_t HashSeed() { return Seed().load(std::memory_order_relaxed); }

void SetHashSeedForTesting(std::uint64_t seed) { Seed().store(seed, std::memory_order_relaxed); }

std::uint64_t KeyedHash(std::string_view bytes, bool foldCase, std::uint64_t seed) {
    std::uint64_t h = Mix(seed ^ (bytes.size() * 0x9E3779B97F4A7C15ULL));
    while (!bytes.empty()) {
        std::uint64_t word = 0;
        const std::size_t n = bytes.size() < 8 ? bytes.size() : 8;
        std::memcpy(&word, bytes.data(), n);
        if (foldCase) word = AsciiLowerWord(word);
        h = Mix(h ^ word) + seed;
        bytes.remove_prefix(n);
    }
    return Mix(h);
}

}  // namespace oryx::text
