#include "core/filters/keyword_scanner.h"

#include "core/filters/pair_windows.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VARNOT_X86_VECTORS 1
#endif

namespace varnot {

#ifdef VARNOT_X86_VECTORS

namespace {

#define VARNOT_AVX2 __attribute__((target("avx2")))

using NibbleTables = std::array<std::array<std::uint8_t, 16>, KeywordScanner::kMaxFingerprint>;

// The buckets that may match at each of the 32 positions from `at`: for each
// fingerprint byte j, the buckets taking the byte at position + j.
template <int Fingerprint>
VARNOT_AVX2 inline __m256i Candidates256(const unsigned char* at, const __m256i* low,
                                         const __m256i* high) {
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
VARNOT_AVX2 inline bool Confirm256(__m256i candidates, std::size_t at, Verify& verify) {
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
VARNOT_AVX2 bool Filter256(const unsigned char* buffer, std::size_t length,
                           const NibbleTables& lowTables, const NibbleTables& highTables,
                           std::size_t& p, Verify& verify) {
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

constexpr std::size_t kPairWindow = 66;
constexpr std::size_t kPairStep = 64;

// A table of 16 entries in both lanes.
VARNOT_AVX2 inline __m256i Table256(const std::array<std::uint8_t, 16>& entries) {
    return _mm256_broadcastsi128_si256(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(entries.data())));
}

// The buckets of PairPlan for 32 bytes that stand for print byte j, by
// their low four bits and, for bytes 0 and 1, their high four bits.
VARNOT_AVX2 inline __m256i PairBuckets256(__m256i bytes, __m256i low) {
    return _mm256_shuffle_epi8(low, _mm256_and_si256(bytes, _mm256_set1_epi8(0x0F)));
}

VARNOT_AVX2 inline __m256i PairBuckets256(__m256i bytes, __m256i low, __m256i high) {
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    return _mm256_and_si256(
        PairBuckets256(bytes, low),
        _mm256_shuffle_epi8(high, _mm256_and_si256(_mm256_srli_epi16(bytes, 4), nibble)));
}

// Filters the windows of one stretch from `at` (see ScanPairWindows). A
// window reads 66 bytes and looks at the even positions of the first 64.
// The even bytes and the odd bytes are gathered into vectors of their own,
// so that each lookup takes 32 useful bytes. Not inlined, so that the
// tables stay in registers (see PairStretch512).
__attribute__((noinline)) VARNOT_AVX2 int PairStretch256(const unsigned char* buffer,
                                                         std::size_t length, const PairPlan& plan,
                                                         std::size_t& at, PairHit* hits) {
    const __m256i low0 = Table256(plan.lowNibbles[0]), low1 = Table256(plan.lowNibbles[1]);
    const __m256i low2 = Table256(plan.lowNibbles[2]), low3 = Table256(plan.lowNibbles[3]);
    const __m256i high0 = Table256(plan.highNibbles[0]), high1 = Table256(plan.highNibbles[1]);
    // In each 16-byte lane: the even bytes, then the odd ones.
    const __m256i split = _mm256_setr_epi8(0, 2, 4, 6, 8, 10, 12, 14, 1, 3, 5, 7, 9, 11, 13, 15, 0,
                                           2, 4, 6, 8, 10, 12, 14, 1, 3, 5, 7, 9, 11, 13, 15);
    auto load = [&](std::size_t from) VARNOT_AVX2 {
        return _mm256_shuffle_epi8(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(buffer + from)), split);
    };
    std::size_t p = at;
    const std::size_t stretch = p;
    int count = 0;
    for (int w = 0; w < kWindowsPerStretch && p + kPairWindow <= length; ++w, p += kPairStep) {
        const __m256i a = load(p), b = load(p + 32);
        const __m256i a2 = load(p + 2), b2 = load(p + 34);
        // Byte i of the four: print byte j of the same position.
        const __m256i c = _mm256_and_si256(
            _mm256_and_si256(PairBuckets256(_mm256_unpacklo_epi64(a, b), low0, high0),
                             PairBuckets256(_mm256_unpackhi_epi64(a, b), low1, high1)),
            _mm256_and_si256(PairBuckets256(_mm256_unpacklo_epi64(a2, b2), low2),
                             PairBuckets256(_mm256_unpackhi_epi64(a2, b2), low3)));
        const auto taken = static_cast<std::uint32_t>(
            ~_mm256_movemask_epi8(_mm256_cmpeq_epi8(c, _mm256_setzero_si256())));
        // Only a window with candidates is stored: a store on every step,
        // whose place the loads of the text cannot tell apart from theirs
        // before it is known, costs more than the branch.
        if (taken != 0) hits[count++] = {static_cast<std::uint32_t>(p - stretch), taken};
    }
    at = p;
    return count;
}

struct PairFilter256 {
    static constexpr std::size_t kWindow = kPairWindow;
    static constexpr std::size_t kStep = kPairStep;
    // Bytes 0..7 of a result came from the first 16 bytes of the window,
    // 8..15 from the third 16, 16..23 from the second, 24..31 from the fourth.
    static std::size_t Offset(int bit) {
        return static_cast<std::size_t>(2 * (bit & 7) + (bit & 8) * 4 + (bit & 16));
    }
    int Stretch(const unsigned char* buffer, std::size_t length, std::size_t& at,
                PairHit* hits) const {
        return PairStretch256(buffer, length, plan, at, hits);
    }
    const PairPlan& plan;
};

// Calls `check` with the index of every print equal to `print` until it
// returns true.
template <class Check>
VARNOT_AVX2 inline bool ForEachEqualPrint256(const std::vector<std::uint32_t>& prints,
                                             std::uint32_t print, Check& check) {
    const __m256i wanted = _mm256_set1_epi32(static_cast<int>(print));
    std::size_t i = 0;
    for (; i + 8 <= prints.size(); i += 8) {
        auto equal =
            static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(prints.data() + i)), wanted))));
        for (; equal != 0; equal &= equal - 1)
            if (check(i + static_cast<std::size_t>(__builtin_ctz(equal)))) return true;
    }
    for (; i < prints.size(); ++i)
        if (prints[i] == print && check(i)) return true;
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

bool KeywordScanner::ScanAvx2Pairs(const unsigned char* buffer, std::size_t length) const {
    const PairPlan& plan = *pairs_;
    auto confirm = [&](std::size_t q) VARNOT_AVX2 {
        auto check = [&](std::size_t anchor) { return MatchesAnchorAt(anchor, buffer, length, q); };
        return ForEachEqualPrint256(plan.prints, UpperPrintAt(buffer + q), check);
    };
    if (ScanPairWindows(buffer, length, plan, PairFilter256{plan}, confirm)) return true;
    return ScanScalarFrom(buffer, length, PairTailStart(length));
}

#undef VARNOT_AVX2

#else

bool KeywordScanner::ScanAvx2(const unsigned char* buffer, std::size_t length) const {
    return ScanScalarFrom(buffer, length, 0);
}

bool KeywordScanner::ScanAvx2Pairs(const unsigned char* buffer, std::size_t length) const {
    return ScanScalarFrom(buffer, length, 0);
}

#endif

} // namespace varnot
