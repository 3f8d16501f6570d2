#pragma once

#include <cstdint>
#include <random>

namespace lq::sim {

// A seeded generator: the same seed gives the same sequence on every run and platform, because the
// draws below are made from the raw engine output rather than from library distributions, whose
// results the standard leaves to the implementation.
class RandomSource {
  public:
    explicit RandomSource(std::uint64_t seed) : engine_(seed) {}

    // The index-th of many independent sources under one seed: what it draws does not depend on how much
    // was drawn from the others.
    static RandomSource Substream(std::uint64_t seed, std::uint64_t index) {
        return RandomSource(Mix(seed ^ Mix(index)));
    }

    // A real in [0, 1).
    double Unit() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

    // True with probability p; p <= 0 never, p >= 1 always.
    bool Chance(double p) { return p > 0.0 && (p >= 1.0 || Unit() < p); }

    // An integer in [lo, hi]; lo <= hi.
    int Between(int lo, int hi) {
        const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo + 1);
        return lo + static_cast<int>(engine_() % span);
    }

  private:
    // The SplitMix64 finaliser: neighbouring inputs give unrelated outputs.
    static std::uint64_t Mix(std::uint64_t x) {
        x += 0x9E3779B97F4A7C15ull;
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
        return x ^ (x >> 31);
    }

    std::mt19937_64 engine_;
};

} // namespace lq::sim
