#pragma once

#include "core/filters/pair_plan.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace varnot {

// True when any keyword occurs in the buffer, letter case ignored. Keywords
// are in upper case already (Upcase1251); empty ones match nothing.
bool ScanKeywords(const unsigned char* buffer, std::size_t length,
                  const std::vector<std::string>& upperKeywords);
// The reference form of the same search, position by position.
bool ScanKeywordsPlain(const unsigned char* buffer, std::size_t length,
                       const std::vector<std::string>& upperKeywords);

// Finds whether any of a list of upper-cased keywords occurs in a buffer,
// letter case ignored through the 1251 case table: exactly the answer of
// ScanKeywordsPlain, but built once per keyword list. On processors with
// AVX2 or AVX-512 (VBMI) a vector filter looks at 32 or 64 positions at a
// time and only its candidates are compared byte by byte; elsewhere, and near
// the end of the buffer, two tables per byte pick the candidates. When every
// keyword has at least five bytes, the pair paths (AVX2, AVX-512) look at
// every second position only (see PairPlan), which halves the work per byte.
class KeywordScanner {
  public:
    // The ways to scan; Best is the fastest this processor runs. A pair path
    // scans like the one without pairs when some keyword is too short.
    enum class Path { Best, Scalar, Avx2, Avx2Pairs, Avx512, Avx512Pairs };
    // Leading keyword bytes that the vector filter compares.
    static constexpr std::size_t kMaxFingerprint = 4;

    explicit KeywordScanner(const std::vector<std::string>& upperKeywords);

    bool Empty() const { return keywords_.empty(); }
    bool Scan(const unsigned char* buffer, std::size_t length) const {
        return ScanWith(Path::Best, buffer, length);
    }
    // The same answer along a chosen path (one the processor lacks falls back
    // to the scalar one), so that every path can be checked against the others.
    bool ScanWith(Path path, const unsigned char* buffer, std::size_t length) const;
    static bool Supported(Path path);

  private:
    static constexpr int kBuckets = 8;

    bool ScanScalarFrom(const unsigned char* buffer, std::size_t length, std::size_t start) const;
    bool ScanAvx2(const unsigned char* buffer, std::size_t length) const;
    bool ScanAvx2Pairs(const unsigned char* buffer, std::size_t length) const;
    bool ScanAvx512(const unsigned char* buffer, std::size_t length, std::size_t start) const;
    bool ScanAvx512Pairs(const unsigned char* buffer, std::size_t length) const;
    // Where the scalar search takes over from a pair filter, which found no
    // keyword whose anchor lies at an even position with its print inside.
    std::size_t PairTailStart(std::size_t length) const {
        return length > 4 + pairs_->reach ? length - 4 - pairs_->reach : 0;
    }
    // True when the keyword of PairPlan anchor `anchor`, whose print lies at
    // `q`, matches there.
    bool MatchesAnchorAt(std::size_t anchor, const unsigned char* buffer, std::size_t length,
                         std::size_t q) const {
        const PairPlan::Anchor& a = pairs_->anchors[anchor];
        return q >= a.offset && MatchesAt(keywords_[a.keyword], buffer, length, q - a.offset, 0);
    }
    // True when a keyword of the buckets whose bits are set matches at `position`.
    bool MatchesBucket(unsigned bucketBits, const unsigned char* buffer, std::size_t length,
                       std::size_t position) const;
    bool MatchesAt(const std::string& keyword, const unsigned char* buffer, std::size_t length,
                   std::size_t position, std::size_t from) const;

    std::vector<std::string> keywords_;
    // For a raw byte: the keywords (one bit each) whose first, and second,
    // byte the byte upper-cases to.
    std::array<std::uint64_t, 256> first_{};
    std::array<std::uint64_t, 256> second_{};
    bool wide_ = false; // more keywords than bits: the plain search is used

    // The vector filter: keywords are spread over eight buckets; for each of
    // the first `fingerprint_` bytes of a keyword, a low- and a high-nibble
    // table give the buckets a raw byte may belong to. A position is a
    // candidate when one bucket takes all its fingerprint bytes.
    int fingerprint_ = 0; // 0: no vector filter
    std::array<std::array<std::uint8_t, 16>, kMaxFingerprint> low_{};
    std::array<std::array<std::uint8_t, 16>, kMaxFingerprint> high_{};
    // The same for AVX-512, one table by the low seven bits of a byte.
    std::array<std::array<std::uint8_t, 128>, kMaxFingerprint> classes_{};
    std::array<std::vector<std::uint8_t>, kBuckets> buckets_; // keyword indexes
    std::optional<PairPlan> pairs_;                           // none: some keyword is too short
};

} // namespace varnot
