#pragma once

#include "core/filters/pair_plan.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace varnot {

// The windows a pair filter (see PairPlan) runs over, shared by its vector
// forms. A filter reads kWindow bytes from an even position, looks at the
// even positions of its first kStep bytes, and lists each window with
// candidates as a PairHit.
struct PairHit {
    std::uint32_t window; // from the first window of the stretch
    std::uint64_t pairs;  // a bit per candidate; the filter says which position it stands for
};

// Windows filtered before their candidates are confirmed.
constexpr int kWindowsPerStretch = 64;

// Runs `Filter` over every even position q with q + 4 <= length, and hands
// the candidates that pass the hashed prints and frames of `plan` to
// `confirm`, true as soon as it takes one. Filter has kWindow and kStep;
// Offset(bit), the position of a candidate bit in its window; and
// Stretch(buffer, length, at, hits), which filters up to kWindowsPerStretch
// whole windows from `at`, moves `at` past them and returns how many hits it
// listed. The last positions come from a copy padded with zero bytes, so that
// no read passes the end; a keyword whose anchor lies beyond the last
// position is left to the caller.
template <class Filter, class Confirm>
bool ScanPairWindows(const unsigned char* buffer, std::size_t length, const PairPlan& plan,
                     const Filter& filter, Confirm& confirm) {
    PairHit hits[kWindowsPerStretch];
    // Every even position below this one has its print inside the buffer.
    const std::size_t positions = length > 3 ? length - 3 : 0;
    std::uint16_t kept[kWindowsPerStretch * 64]; // from the stretch's first window
    // The candidates of a stretch are checked against the hashed prints
    // first, all of them and without a branch: most fail, at random. A window
    // rarely has more than one.
    auto confirmHits = [&](int count, std::size_t from) {
        int survivors = 0;
        for (int h = 0; h < count; ++h) {
            std::uint64_t pairs = hits[h].pairs;
            do {
                const std::size_t offset = hits[h].window + Filter::Offset(__builtin_ctzll(pairs));
                const std::size_t q = from + offset;
                std::uint32_t bytes = 0;
                if (q < positions) std::memcpy(&bytes, buffer + q, sizeof bytes);
                kept[survivors] = static_cast<std::uint16_t>(offset);
                survivors += q < positions && plan.MayHold(bytes);
                pairs &= pairs - 1;
            } while (pairs != 0);
        }
        for (int i = 0; i < survivors; ++i) {
            const std::size_t q = from + kept[i];
            if (plan.MayHoldFramed(buffer, length, q) && confirm(q)) return true;
        }
        return false;
    };
    if (positions == 0) return false;
    std::size_t at = 0;
    while (at + Filter::kWindow <= length) {
        const std::size_t from = at;
        const int count = filter.Stretch(buffer, length, at, hits);
        if (confirmHits(count, from)) return true;
    }
    if (at >= positions) return false;
    // Two windows of a copy cover what is left, which is shorter than one.
    alignas(64) unsigned char last[Filter::kWindow + Filter::kStep] = {};
    std::memcpy(last, buffer + at, length - at);
    std::size_t start = 0;
    const int count = filter.Stretch(last, sizeof last, start, hits);
    return confirmHits(count, at);
}

} // namespace varnot
