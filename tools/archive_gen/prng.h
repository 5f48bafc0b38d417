#pragma once

#include <cstdint>

namespace varnot::gen {

// SplitMix64: tiny, fast and the same on every compiler and library, so a seed
// names one archive for good (the standard distributions may differ between
// library versions).
class Prng {
  public:
    explicit Prng(uint64_t seed) : state_(seed) {}

    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // 0..bound-1; bound 0 gives 0. The modulo bias is far below anything a
    // generated archive could show.
    uint32_t Below(uint32_t bound) {
        return bound == 0 ? 0 : static_cast<uint32_t>((Next() >> 16) % bound);
    }

    // low..high inclusive.
    int Between(int low, int high) {
        return high <= low ? low
                           : low + static_cast<int>(Below(static_cast<uint32_t>(high - low) + 1));
    }

    // True in `perMille` cases out of 1000.
    bool Chance(uint32_t perMille) { return Below(1000) < perMille; }

  private:
    uint64_t state_;
};

// Mixes several values into one seed, so that a day or a file gets its own
// stream that does not depend on how many other days or files were made.
inline uint64_t MixSeed(uint64_t a, uint64_t b) {
    Prng p(a ^ (b * 0xD6E8FEB86659FD93ull));
    p.Next();
    return p.Next();
}

} // namespace varnot::gen
