#include "core/filters/keyword_scanner.h"

#include "core/filters/pair_windows.h"
#include "core/text/code_pages.h"

#include <algorithm>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VARNOT_X86_VECTORS 1
#endif

namespace varnot {

#ifdef VARNOT_X86_VECTORS

namespace {

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

// Runs the filter over the buffer from `start`: aligned blocks in the middle, and
// masked reads at both ends, where bytes past the end read as 0 just as the
// exact comparison counts them.
template <int Fingerprint, class Verify>
VARNOT_AVX512 bool Filter512(const unsigned char* buffer, std::size_t length, std::size_t start,
                             const ClassTables& classTables, Verify& verify) {
    __m512i tables[2 * Fingerprint];
    for (int j = 0; j < Fingerprint; ++j) {
        tables[2 * j] = _mm512_loadu_si512(classTables[static_cast<std::size_t>(j)].data());
        tables[2 * j + 1] =
            _mm512_loadu_si512(classTables[static_cast<std::size_t>(j)].data() + 64);
    }
    std::size_t p = start;
    const auto misalignment =
        static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(buffer + p) % 64);
    if (misalignment != 0 && p < length) {
        // The positions before the first boundary (and a few after it, seen twice).
        if (Step512<Fingerprint>(Block512(buffer, length, p), Block512(buffer, length, p + 64), p,
                                 length, tables, verify))
            return true;
        p = std::min(length, p + 64 - misalignment);
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

// Gathers, from two registers holding 128 bytes, byte 2i + j into byte i
// (j = 0..3: the four print bytes of every second position).
struct alignas(64) PairPicks {
    std::uint8_t bytes[PairPlan::kPrint][64];
};

constexpr PairPicks MakePairPicks() {
    PairPicks t{};
    for (int i = 0; i < 64; ++i)
        for (int j = 0; j < 4; ++j) t.bytes[j][i] = static_cast<std::uint8_t>((2 * i + j) & 127);
    return t;
}

// A window is 128 bytes from an even position; its 63 first even positions
// have all four print bytes inside it, and the next window starts right after
// them.
constexpr std::size_t kPairWindow = 128;
constexpr std::size_t kPairStep = 126;

// Filters the windows of one stretch from `at` (see ScanPairWindows). Not
// inlined, so that the tables stay in registers: the candidates are
// confirmed elsewhere, and a call there would make the compiler keep them in
// memory.
__attribute__((noinline)) VARNOT_AVX512 int PairStretch512(const unsigned char* buffer,
                                                           std::size_t length, const PairPlan& plan,
                                                           std::size_t& at, PairHit* hits) {
    static constexpr PairPicks picks = MakePairPicks();
    __m512i tables[2 * PairPlan::kPrint];
    for (std::size_t j = 0; j < PairPlan::kPrint; ++j) {
        tables[2 * j] = _mm512_loadu_si512(plan.classes[j].data());
        tables[2 * j + 1] = _mm512_loadu_si512(plan.classes[j].data() + 64);
    }
    const __m512i pick0 = _mm512_load_si512(picks.bytes[0]);
    const __m512i pick1 = _mm512_load_si512(picks.bytes[1]);
    const __m512i pick2 = _mm512_load_si512(picks.bytes[2]);
    const __m512i pick3 = _mm512_load_si512(picks.bytes[3]);
    // A local position: one behind a reference would be stored on every step.
    std::size_t p = at;
    const std::size_t stretch = p;
    int count = 0;
    for (int w = 0; w < kWindowsPerStretch && p + kPairWindow <= length; ++w, p += kPairStep) {
        const __m512i low = _mm512_loadu_si512(buffer + p);
        const __m512i high = _mm512_loadu_si512(buffer + p + 64);
        // Byte i of `pj`: print byte j of position p + 2i.
        const __m512i p0 = _mm512_permutex2var_epi8(low, pick0, high);
        const __m512i p1 = _mm512_permutex2var_epi8(low, pick1, high);
        const __m512i p2 = _mm512_permutex2var_epi8(low, pick2, high);
        const __m512i p3 = _mm512_permutex2var_epi8(low, pick3, high);
        const __m512i all = _mm512_and_si512(
            _mm512_ternarylogic_epi32(_mm512_permutex2var_epi8(tables[0], p0, tables[1]),
                                      _mm512_permutex2var_epi8(tables[2], p1, tables[3]),
                                      _mm512_permutex2var_epi8(tables[4], p2, tables[5]), 0x80),
            _mm512_permutex2var_epi8(tables[6], p3, tables[7]));
        std::uint64_t taken = _cvtmask64_u64(_mm512_test_epi8_mask(all, all));
        // One move out of the mask register, which shares its unit with the lookups.
        asm("" : "+r"(taken));
        // The last even position's print reaches past the window.
        taken &= ~std::uint64_t{0} >> 1;
        // Only a window with candidates is stored: a store on every step,
        // whose place the loads of the text cannot tell apart from theirs
        // before it is known, costs more than the branch.
        if (taken != 0) hits[count++] = {static_cast<std::uint32_t>(p - stretch), taken};
    }
    at = p;
    return count;
}

struct PairFilter512 {
    static constexpr std::size_t kWindow = kPairWindow;
    static constexpr std::size_t kStep = kPairStep;
    static std::size_t Offset(int bit) { return 2 * static_cast<std::size_t>(bit); }
    int Stretch(const unsigned char* buffer, std::size_t length, std::size_t& at,
                PairHit* hits) const {
        return PairStretch512(buffer, length, plan, at, hits);
    }
    const PairPlan& plan;
};

// Calls `check` with the index of every print equal to `print` until it
// returns true.
template <class Check>
VARNOT_AVX512 inline bool ForEachEqualPrint512(const std::vector<std::uint32_t>& prints,
                                               std::uint32_t print, Check& check) {
    const __m512i wanted = _mm512_set1_epi32(static_cast<int>(print));
    for (std::size_t i = 0; i < prints.size(); i += 16) {
        const std::size_t left = prints.size() - i;
        const auto valid = static_cast<__mmask16>(left >= 16 ? 0xFFFFu : (1u << left) - 1);
        unsigned equal = _mm512_mask_cmpeq_epi32_mask(
            valid, _mm512_maskz_loadu_epi32(valid, prints.data() + i), wanted);
        for (; equal != 0; equal &= equal - 1)
            if (check(i + static_cast<std::size_t>(__builtin_ctz(equal)))) return true;
    }
    return false;
}

} // namespace

bool KeywordScanner::ScanAvx512(const unsigned char* buffer, std::size_t length,
                                std::size_t start) const {
    auto verify = [&](unsigned bits, std::size_t position) {
        return MatchesBucket(bits, buffer, length, position);
    };
    // Every position from `start`, up to the last, goes through the vector filter.
    if (fingerprint_ == 1) return Filter512<1>(buffer, length, start, classes_, verify);
    if (fingerprint_ == 2) return Filter512<2>(buffer, length, start, classes_, verify);
    if (fingerprint_ == 3) return Filter512<3>(buffer, length, start, classes_, verify);
    return Filter512<4>(buffer, length, start, classes_, verify);
}

bool KeywordScanner::ScanAvx512Pairs(const unsigned char* buffer, std::size_t length) const {
    const PairPlan& plan = *pairs_;
    auto confirm = [&](std::size_t q) VARNOT_AVX512 {
        auto check = [&](std::size_t anchor) { return MatchesAnchorAt(anchor, buffer, length, q); };
        return ForEachEqualPrint512(plan.prints, UpperPrintAt(buffer + q), check);
    };
    if (ScanPairWindows(buffer, length, plan, PairFilter512{plan}, confirm)) return true;
    return ScanScalarFrom(buffer, length, PairTailStart(length));
}

#undef VARNOT_AVX512

#else

bool KeywordScanner::ScanAvx512(const unsigned char* buffer, std::size_t length,
                                std::size_t start) const {
    return ScanScalarFrom(buffer, length, start);
}

bool KeywordScanner::ScanAvx512Pairs(const unsigned char* buffer, std::size_t length) const {
    return ScanScalarFrom(buffer, length, 0);
}

#endif

} // namespace varnot
