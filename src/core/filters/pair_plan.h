#pragma once

#include "core/text/code_pages.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace varnot {

// How to find a list of keywords by looking only at even positions. Every
// keyword of at least five bytes has an anchor: two neighbouring offsets o and
// o + 1 in it. Wherever the keyword starts, one of them falls on an even
// position q, and the four keyword bytes from that offset (its "print") lie
// at q .. q + 3.
//
// Four checks, each cheaper and rarer than the one before, find it there:
// the tables give, by the low seven bits of the byte at q + j, the buckets
// whose print byte j it may be, and a position some bucket takes in all four
// is a candidate; a bit set of hashed prints, letter case folded, drops most
// candidates; a second one, of the prints with the keyword byte on either
// side, drops those where the print stands inside another word; the rest
// are compared with the prints themselves and then with the whole keyword.
struct PairPlan {
    static constexpr int kBuckets = 8;
    static constexpr std::size_t kPrint = 4;
    static constexpr std::size_t kShortest = kPrint + 1;
    static constexpr std::size_t kMostKeywords = 64;

    struct Anchor {
        std::uint32_t keyword = 0;
        std::uint32_t offset = 0; // of the print in the keyword
        std::uint32_t bucket = 0;
    };

    // By the low seven bits of a byte: the buckets whose print byte j it may be.
    std::array<std::array<std::uint8_t, 128>, kPrint> classes{};
    // The same buckets for lookups of 16 entries, by the low four bits of
    // the byte and, for print bytes 0 and 1, by the high four bits as well.
    // Print bytes 2 and 3 are told apart by their low bits only: half the
    // lookups for a few more candidates.
    static constexpr std::size_t kHighNibbled = 2;
    std::array<std::array<std::uint8_t, 16>, kPrint> lowNibbles{};
    std::array<std::array<std::uint8_t, 16>, kHighNibbled> highNibbles{};
    std::vector<Anchor> anchors;       // two per keyword, neighbours
    std::vector<std::uint32_t> prints; // the keyword's bytes from each offset, first lowest
    std::size_t reach = 0;             // the largest offset of any anchor
    std::array<std::uint64_t, 64> hashedPrints{};
    // The hashed "frames": the six bytes from the keyword byte before a print
    // to the one after it. A print at an end of its keyword has no frame and
    // is hashed among the unframed prints instead.
    std::array<std::uint64_t, 64> hashedFrames{};
    std::array<std::uint64_t, 64> hashedUnframed{};

    // Four bytes, first lowest, without their case bit (0x20): both cases of
    // a letter agree, and Latin letters stay apart from Cyrillic ones.
    static std::uint32_t Folded(std::uint32_t bytes) {
        return (bytes & 0x1F1F1F1Fu) | ((bytes >> 1) & 0x60606060u);
    }
    static std::uint32_t Hash(std::uint32_t folded) { return (folded * 0x9E3779B1u) >> 20; }
    // The same for the six bytes of a frame, first lowest.
    static std::uint64_t FoldedFrame(std::uint64_t bytes) {
        return (bytes & 0x1F1F1F1F1F1Full) | ((bytes >> 1) & 0x606060606060ull);
    }
    static std::uint32_t HashFrame(std::uint64_t folded) {
        return static_cast<std::uint32_t>((folded * 0x9E3779B97F4A7C15ull) >> 52);
    }

    // False when no keyword's print can be the four bytes (first lowest) at a position.
    bool MayHold(std::uint32_t bytes) const {
        const std::uint32_t h = Hash(Folded(bytes));
        return (hashedPrints[h >> 6] >> (h & 63) & 1) != 0;
    }

    // False when no keyword whose print lies at `q` (with four bytes from it
    // inside the buffer) can match there: neither an unframed print nor a
    // frame is there. True as well when the frame runs past the buffer.
    bool MayHoldFramed(const unsigned char* buffer, std::size_t length, std::size_t q) const {
        std::uint32_t print;
        std::memcpy(&print, buffer + q, sizeof print);
        const std::uint32_t h = Hash(Folded(print));
        if (hashedUnframed[h >> 6] >> (h & 63) & 1) return true;
        if (q == 0 || q + 5 > length) return true;
        std::uint64_t frame = 0;
        std::memcpy(&frame, buffer + q - 1, 6);
        const std::uint32_t f = HashFrame(FoldedFrame(frame));
        return (hashedFrames[f >> 6] >> (f & 63) & 1) != 0;
    }
};

// The plan for upper-cased keywords; none when a keyword is shorter than
// five bytes or there are more than 64.
std::optional<PairPlan> MakePairPlan(const std::vector<std::string>& upperKeywords);

// The four bytes from `at`, upper-cased, first lowest: what a print is compared with.
inline std::uint32_t UpperPrintAt(const unsigned char* at) {
    return static_cast<std::uint32_t>(UpcaseTable[at[0]]) |
           static_cast<std::uint32_t>(UpcaseTable[at[1]]) << 8 |
           static_cast<std::uint32_t>(UpcaseTable[at[2]]) << 16 |
           static_cast<std::uint32_t>(UpcaseTable[at[3]]) << 24;
}

} // namespace varnot
