#include "core/filters/keyword_scanner.h"

#include "core/text/code_pages.h"

#include <algorithm>
#include <numeric>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VARNOT_X86_VECTORS 1
#endif

namespace varnot {

bool ScanKeywords(const unsigned char* buffer, std::size_t length,
                  const std::vector<std::string>& upperKeywords) {
    return KeywordScanner(upperKeywords).Scan(buffer, length);
}

bool ScanKeywordsPlain(const unsigned char* buffer, std::size_t length,
                       const std::vector<std::string>& upperKeywords) {
    for (std::size_t p = 0; p < length; ++p) {
        for (const std::string& keyword : upperKeywords) {
            if (keyword.empty()) continue;
            std::size_t i = 0;
            for (; i < keyword.size(); ++i) {
                std::size_t at = p + i;
                unsigned char byte = at < length ? UpcaseTable[buffer[at]] : 0;
                if (byte != static_cast<unsigned char>(keyword[i])) break;
            }
            if (i == keyword.size()) return true;
        }
    }
    return false;
}

KeywordScanner::KeywordScanner(const std::vector<std::string>& upperKeywords) {
    for (const std::string& k : upperKeywords)
        if (!k.empty()) keywords_.push_back(k);
    if (keywords_.size() > 64) {
        wide_ = true;
        return;
    }
    for (std::size_t i = 0; i < keywords_.size(); ++i) {
        const std::uint64_t bit = std::uint64_t{1} << i;
        const std::string& k = keywords_[i];
        const auto k0 = static_cast<unsigned char>(k[0]);
        for (std::size_t b = 0; b < 256; ++b) {
            if (UpcaseTable[b] == k0) first_[b] |= bit;
            // A one-byte keyword has no second byte to check.
            if (k.size() == 1 || UpcaseTable[b] == static_cast<unsigned char>(k[1]))
                second_[b] |= bit;
        }
    }
    if (keywords_.empty()) return;

    std::size_t shortest = keywords_[0].size();
    for (const std::string& k : keywords_) shortest = std::min(shortest, k.size());
    fingerprint_ = static_cast<int>(std::min(shortest, kMaxFingerprint));
    // Planned only where it can run: the plan costs tens of microseconds.
    if (Supported(Path::Avx512Pairs)) pairs_ = MakePairPlan(keywords_);
    // Neighbours in byte order share their first bytes, and so share buckets
    // at little cost in false candidates.
    std::vector<std::size_t> order(keywords_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return keywords_[a] < keywords_[b]; });
    for (std::size_t n = 0; n < order.size(); ++n) {
        const std::size_t bucket = n * kBuckets / order.size();
        const std::size_t index = order[n];
        buckets_[bucket].push_back(static_cast<std::uint8_t>(index));
        const auto bit = static_cast<std::uint8_t>(1u << bucket);
        const std::string& k = keywords_[index];
        for (std::size_t j = 0; j < static_cast<std::size_t>(fingerprint_); ++j) {
            // Every raw byte that upper-cases to the keyword's byte; a byte
            // nothing upper-cases to leaves the keyword without candidates.
            for (std::size_t b = 0; b < 256; ++b) {
                if (UpcaseTable[b] != static_cast<unsigned char>(k[j])) continue;
                low_[j][b & 0x0F] |= bit;
                high_[j][b >> 4] |= bit;
                classes_[j][b & 0x7F] |= bit;
            }
        }
    }
}

bool KeywordScanner::Supported(Path path) {
    switch (path) {
    case Path::Best:
    case Path::Scalar:
        return true;
#ifdef VARNOT_X86_VECTORS
    case Path::Avx2:
        return __builtin_cpu_supports("avx2");
    case Path::Avx512:
        return __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi");
    case Path::Avx512Pairs:
        return Supported(Path::Avx512) && __builtin_cpu_supports("avx512vbmi2");
#else
    case Path::Avx2:
    case Path::Avx512:
    case Path::Avx512Pairs:
        return false;
#endif
    }
    return false;
}

bool KeywordScanner::ScanWith(Path path, const unsigned char* buffer, std::size_t length) const {
    if (keywords_.empty() || length == 0) return false;
    if (wide_) return ScanKeywordsPlain(buffer, length, keywords_);
    if (path == Path::Best) {
        static const Path best = Supported(Path::Avx512Pairs) ? Path::Avx512Pairs
                                 : Supported(Path::Avx512)    ? Path::Avx512
                                 : Supported(Path::Avx2)      ? Path::Avx2
                                                              : Path::Scalar;
        path = best;
    }
    if (path != Path::Scalar && !Supported(path)) path = Path::Scalar;
    if (path == Path::Avx512Pairs && pairs_) return ScanPairs(buffer, length);
    if (path == Path::Avx512 || path == Path::Avx512Pairs) return ScanAvx512(buffer, length, 0);
    if (path == Path::Avx2) return ScanAvx2(buffer, length);
    return ScanScalarFrom(buffer, length, 0);
}

bool KeywordScanner::MatchesAt(const std::string& keyword, const unsigned char* buffer,
                               std::size_t length, std::size_t position, std::size_t from) const {
    // Bytes at or past the end count as 0, so no match runs past the end.
    for (std::size_t i = from; i < keyword.size(); ++i) {
        const unsigned char b = position + i < length ? UpcaseTable[buffer[position + i]] : 0;
        if (b != static_cast<unsigned char>(keyword[i])) return false;
    }
    return true;
}

bool KeywordScanner::MatchesBucket(unsigned bucketBits, const unsigned char* buffer,
                                   std::size_t length, std::size_t position) const {
    while (bucketBits != 0) {
        const int bucket = __builtin_ctz(bucketBits);
        bucketBits &= bucketBits - 1;
        for (std::uint8_t index : buckets_[static_cast<std::size_t>(bucket)])
            if (MatchesAt(keywords_[index], buffer, length, position, 0)) return true;
    }
    return false;
}

bool KeywordScanner::ScanScalarFrom(const unsigned char* buffer, std::size_t length,
                                    std::size_t start) const {
    for (std::size_t p = start; p < length; ++p) {
        std::uint64_t candidates = first_[buffer[p]];
        if (candidates == 0) continue;
        candidates &= second_[p + 1 < length ? buffer[p + 1] : 0];
        while (candidates != 0) {
            const int i = __builtin_ctzll(candidates);
            candidates &= candidates - 1;
            if (MatchesAt(keywords_[static_cast<std::size_t>(i)], buffer, length, p, 2))
                return true;
        }
    }
    return false;
}

#ifdef VARNOT_X86_VECTORS

namespace {

using NibbleTables = std::array<std::array<std::uint8_t, 16>, KeywordScanner::kMaxFingerprint>;

// The buckets that may match at each of the 32 positions from `at`: for each
// fingerprint byte j, the buckets taking the byte at position + j.
template <int Fingerprint>
__attribute__((target("avx2"))) inline __m256i
Candidates256(const unsigned char* at, const __m256i* low, const __m256i* high) {
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    __m256i result = _mm256_set1_epi8(-1);
    for (int j = 0; j < Fingerprint; ++j) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + j));
        const __m256i lo = _mm256_and_si256(bytes, nibble);
        const __m256i hi = _mm256_and_si256(_mm256_srli_epi16(bytes, 4), nibble);
        result = _mm256_and_si256(result, _mm256_and_si256(_mm256_shuffle_epi8(low[j], lo),
                                                           _mm256_shuffle_epi8(high[j], hi)));
    }
    return result;
}

// Hands every candidate position of a vector to `verify`; true when it
// confirmed one.
template <class Verify>
__attribute__((target("avx2"))) inline bool Confirm256(__m256i candidates, std::size_t at,
                                                       Verify& verify) {
    alignas(32) std::uint8_t bits[32];
    _mm256_store_si256(reinterpret_cast<__m256i*>(bits), candidates);
    auto positions = static_cast<std::uint32_t>(
        ~_mm256_movemask_epi8(_mm256_cmpeq_epi8(candidates, _mm256_setzero_si256())));
    while (positions != 0) {
        const int i = __builtin_ctz(positions);
        positions &= positions - 1;
        if (verify(bits[i], at + static_cast<std::size_t>(i))) return true;
    }
    return false;
}

// Runs the filter over every position whose fingerprint lies inside the
// buffer; `p` ends at the first position left to the scalar loop.
template <int Fingerprint, class Verify>
__attribute__((target("avx2"))) bool
Filter256(const unsigned char* buffer, std::size_t length, const NibbleTables& lowTables,
          const NibbleTables& highTables, std::size_t& p, Verify& verify) {
    __m256i low[Fingerprint], high[Fingerprint];
    for (int j = 0; j < Fingerprint; ++j) {
        low[j] = _mm256_broadcastsi128_si256(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(lowTables[j].data())));
        high[j] = _mm256_broadcastsi128_si256(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(highTables[j].data())));
    }
    // Each step reads Fingerprint - 1 bytes beyond its positions.
    constexpr std::size_t reach = Fingerprint - 1;
    for (; p + 64 + reach <= length; p += 64) {
        const __m256i a = Candidates256<Fingerprint>(buffer + p, low, high);
        const __m256i b = Candidates256<Fingerprint>(buffer + p + 32, low, high);
        const __m256i any = _mm256_or_si256(a, b);
        if (_mm256_testz_si256(any, any)) continue;
        if (Confirm256(a, p, verify) || Confirm256(b, p + 32, verify)) return true;
    }
    for (; p + 32 + reach <= length; p += 32) {
        const __m256i a = Candidates256<Fingerprint>(buffer + p, low, high);
        if (!_mm256_testz_si256(a, a) && Confirm256(a, p, verify)) return true;
    }
    return false;
}

} // namespace

bool KeywordScanner::ScanAvx2(const unsigned char* buffer, std::size_t length) const {
    auto verify = [&](unsigned bits, std::size_t position) {
        return MatchesBucket(bits, buffer, length, position);
    };
    std::size_t p = 0;
    bool found = false;
    if (fingerprint_ == 1)
        found = Filter256<1>(buffer, length, low_, high_, p, verify);
    else if (fingerprint_ == 2)
        found = Filter256<2>(buffer, length, low_, high_, p, verify);
    else if (fingerprint_ == 3)
        found = Filter256<3>(buffer, length, low_, high_, p, verify);
    else
        found = Filter256<4>(buffer, length, low_, high_, p, verify);
    // The last positions, fewer than one vector, go the scalar way.
    return found || ScanScalarFrom(buffer, length, p);
}

#else

bool KeywordScanner::ScanAvx2(const unsigned char* buffer, std::size_t length) const {
    return ScanScalarFrom(buffer, length, 0);
}

#endif

} // namespace varnot
