#include "core/filters/keyword_scanner.h"

#include "core/archive/code_pages.h"
#include "core/archive/message_text.h"

#include <algorithm>
#include <numeric>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VARNOT_X86_VECTORS 1
#endif

namespace varnot {

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
#else
    case Path::Avx2:
    case Path::Avx512:
        return false;
#endif
    }
    return false;
}

bool KeywordScanner::ScanWith(Path path, const unsigned char* buffer, std::size_t length) const {
    if (keywords_.empty() || length == 0) return false;
    if (wide_) return ScanKeywordsPlain(buffer, length, keywords_);
    if (path == Path::Best) {
        static const Path best = Supported(Path::Avx512) ? Path::Avx512
                                 : Supported(Path::Avx2) ? Path::Avx2
                                                         : Path::Scalar;
        path = best;
    }
    if (path != Path::Scalar && !Supported(path)) path = Path::Scalar;
    if (path == Path::Avx512) return ScanAvx512(buffer, length);
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

using ClassTables = std::array<std::array<std::uint8_t, 128>, KeywordScanner::kMaxFingerprint>;

#define VARNOT_AVX512 __attribute__((target("avx512f,avx512bw,avx512vbmi")))

// The buckets that may match at each of the 64 positions of the block `now`
// (followed by `next`), looked up by the low seven bits of each fingerprint
// byte: both cases of a letter differ in bit 5 only, and Latin and Cyrillic
// letters, which differ in bit 7, rarely meet in one text.
template <int Fingerprint>
VARNOT_AVX512 inline __m512i Candidates512(__m512i now, __m512i next, const __m512i* tables) {
    // Each 16-byte lane of `now` followed by the next lane, so that a
    // lane-wise byte shift brings in the bytes beyond its lane.
    const __m512i following = _mm512_maskz_alignr_epi32(0xFFFF, next, now, 4);
    __m512i result[Fingerprint];
    result[0] = _mm512_permutex2var_epi8(tables[0], now, tables[1]);
    if constexpr (Fingerprint > 1)
        result[1] =
            _mm512_permutex2var_epi8(tables[2], _mm512_alignr_epi8(following, now, 1), tables[3]);
    if constexpr (Fingerprint > 2)
        result[2] =
            _mm512_permutex2var_epi8(tables[4], _mm512_alignr_epi8(following, now, 2), tables[5]);
    if constexpr (Fingerprint > 3)
        result[3] =
            _mm512_permutex2var_epi8(tables[6], _mm512_alignr_epi8(following, now, 3), tables[7]);
    if constexpr (Fingerprint == 1) return result[0];
    if constexpr (Fingerprint == 2) return _mm512_and_si512(result[0], result[1]);
    if constexpr (Fingerprint == 3)
        return _mm512_ternarylogic_epi32(result[0], result[1], result[2], 0x80);
    if constexpr (Fingerprint == 4)
        return _mm512_and_si512(_mm512_ternarylogic_epi32(result[0], result[1], result[2], 0x80),
                                result[3]);
}

// The 64 bytes from `at`; those at or past the end read as 0 and are never
// touched (a masked load does not fault).
VARNOT_AVX512 inline __m512i Block512(const unsigned char* buffer, std::size_t length,
                                      std::size_t at) {
    if (at >= length) return _mm512_setzero_si512();
    const std::size_t count = length - at;
    if (count >= 64) return _mm512_loadu_si512(buffer + at);
    return _mm512_maskz_loadu_epi8(~std::uint64_t{0} >> (64 - count), buffer + at);
}

// Hands every candidate position to `verify`; true when it confirmed one.
template <class Verify>
VARNOT_AVX512 inline bool Confirm512(__m512i candidates, std::uint64_t positions, std::size_t at,
                                     Verify& verify) {
    alignas(64) std::uint8_t bits[64];
    _mm512_store_si512(bits, candidates);
    while (positions != 0) {
        const int i = __builtin_ctzll(positions);
        positions &= positions - 1;
        if (verify(bits[i], at + static_cast<std::size_t>(i))) return true;
    }
    return false;
}

// One block of 64 positions from `at`, only those before the end counting.
template <int Fingerprint, class Verify>
VARNOT_AVX512 inline bool Step512(__m512i now, __m512i next, std::size_t at, std::size_t length,
                                  const __m512i* tables, Verify& verify) {
    const __m512i candidates = Candidates512<Fingerprint>(now, next, tables);
    std::uint64_t positions = _mm512_test_epi8_mask(candidates, candidates);
    if (length - at < 64) positions &= ~std::uint64_t{0} >> (64 - (length - at));
    return positions != 0 && Confirm512(candidates, positions, at, verify);
}

// Runs the filter over the whole buffer: aligned blocks in the middle, and
// masked reads at both ends, where bytes past the end read as 0 just as the
// exact comparison counts them.
template <int Fingerprint, class Verify>
VARNOT_AVX512 bool Filter512(const unsigned char* buffer, std::size_t length,
                             const ClassTables& classTables, Verify& verify) {
    __m512i tables[2 * Fingerprint];
    for (int j = 0; j < Fingerprint; ++j) {
        tables[2 * j] = _mm512_loadu_si512(classTables[static_cast<std::size_t>(j)].data());
        tables[2 * j + 1] =
            _mm512_loadu_si512(classTables[static_cast<std::size_t>(j)].data() + 64);
    }
    std::size_t p = 0;
    const auto misalignment =
        static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(buffer) % 64);
    if (misalignment != 0) {
        // The positions before the first boundary (and a few after it, seen twice).
        if (Step512<Fingerprint>(Block512(buffer, length, 0), Block512(buffer, length, 64), 0,
                                 length, tables, verify))
            return true;
        p = std::min(length, 64 - misalignment);
    }
    for (; p + 192 <= length; p += 128) {
        const __m512i a = _mm512_load_si512(buffer + p);
        const __m512i b = _mm512_load_si512(buffer + p + 64);
        const __m512i c = _mm512_load_si512(buffer + p + 128);
        const __m512i first = Candidates512<Fingerprint>(a, b, tables);
        const __m512i second = Candidates512<Fingerprint>(b, c, tables);
        const __m512i any = _mm512_or_si512(first, second);
        if (_mm512_test_epi8_mask(any, any) == 0) continue;
        if (Confirm512(first, _mm512_test_epi8_mask(first, first), p, verify) ||
            Confirm512(second, _mm512_test_epi8_mask(second, second), p + 64, verify))
            return true;
    }
    for (; p < length; p += 64) {
        if (Step512<Fingerprint>(Block512(buffer, length, p), Block512(buffer, length, p + 64), p,
                                 length, tables, verify))
            return true;
    }
    return false;
}

#undef VARNOT_AVX512

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

bool KeywordScanner::ScanAvx512(const unsigned char* buffer, std::size_t length) const {
    auto verify = [&](unsigned bits, std::size_t position) {
        return MatchesBucket(bits, buffer, length, position);
    };
    // Every position, up to the last, goes through the vector filter.
    if (fingerprint_ == 1) return Filter512<1>(buffer, length, classes_, verify);
    if (fingerprint_ == 2) return Filter512<2>(buffer, length, classes_, verify);
    if (fingerprint_ == 3) return Filter512<3>(buffer, length, classes_, verify);
    return Filter512<4>(buffer, length, classes_, verify);
}

#else

bool KeywordScanner::ScanAvx2(const unsigned char* buffer, std::size_t length) const {
    return ScanScalarFrom(buffer, length, 0);
}

bool KeywordScanner::ScanAvx512(const unsigned char* buffer, std::size_t length) const {
    return ScanScalarFrom(buffer, length, 0);
}

#endif

} // namespace varnot
