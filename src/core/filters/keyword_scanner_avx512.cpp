#include "core/filters/keyword_scanner.h"

#include "core/text/code_pages.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VARNOT_X86_VECTORS 1
#endif

namespace varnot {

#ifdef VARNOT_X86_VECTORS

namespace {

#define VARNOT_AVX512_PAIRS __attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2")))

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
// (j = 0..3: the four print bytes of every second position), and the even
// offsets of a window as 16-bit numbers.
struct alignas(64) PairPicks {
    std::uint8_t bytes[PairPlan::kPrint][64];
    std::uint16_t evens[2][32]; // 0, 2, ..., 62 and 64, 66, ..., 126
};

constexpr PairPicks MakePairPicks() {
    PairPicks t{};
    for (int i = 0; i < 64; ++i)
        for (int j = 0; j < 4; ++j) t.bytes[j][i] = static_cast<std::uint8_t>((2 * i + j) & 127);
    for (int i = 0; i < 32; ++i) {
        t.evens[0][i] = static_cast<std::uint16_t>(2 * i);
        t.evens[1][i] = static_cast<std::uint16_t>(64 + 2 * i);
    }
    return t;
}

// A window is 128 bytes from an even position; its 63 first even positions
// have all four print bytes inside it, and the next window starts right after
// them.
constexpr std::size_t kWindow = 128;
constexpr std::size_t kWindowStep = 126;
// Windows filtered before their candidates are confirmed.
constexpr int kWindowsPerStretch = 64;

// Every even position while a whole window from it lies inside the buffer.
// The candidates of a stretch of windows are gathered without a branch that
// text could mispredict, and only then handed to `confirm`. True when
// `confirm` took one; otherwise `p` ends at the first window not looked at.
template <class Confirm>
VARNOT_AVX512_PAIRS bool PairFilter512(const unsigned char* buffer, std::size_t length,
                                       const PairPlan& plan, std::size_t& p, Confirm& confirm) {
    static constexpr PairPicks picks = MakePairPicks();
    __m512i tables[2 * PairPlan::kPrint];
    for (std::size_t j = 0; j < PairPlan::kPrint; ++j) {
        tables[2 * j] = _mm512_loadu_si512(plan.classes[j].data());
        tables[2 * j + 1] = _mm512_loadu_si512(plan.classes[j].data() + 64);
    }
    __m512i pick0 = _mm512_load_si512(picks.bytes[0]);
    __m512i pick1 = _mm512_load_si512(picks.bytes[1]);
    __m512i pick2 = _mm512_load_si512(picks.bytes[2]);
    __m512i pick3 = _mm512_load_si512(picks.bytes[3]);
    // Kept in registers: the compiler would rather load these constants
    // again on every step, and the loads compete with those of the text.
    asm("" : "+v"(pick0), "+v"(pick1), "+v"(pick2), "+v"(pick3));
    const __m512i evensLow = _mm512_load_si512(picks.evens[0]);
    const __m512i evensHigh = _mm512_load_si512(picks.evens[1]);
    struct Hit {
        std::uint16_t window; // from the stretch
        std::uint64_t pairs;  // bit i: position window + 2i
    };
    Hit hits[kWindowsPerStretch];
    // Room for a whole vector written after the last candidate.
    std::uint16_t candidates[kWindowsPerStretch * 64 + 32];
    // A local position: one behind a reference would be stored on every step.
    std::size_t at = p;
    while (at + kWindow <= length) {
        const std::size_t stretch = at;
        int windows = 0;
        for (int w = 0; w < kWindowsPerStretch && at + kWindow <= length; ++w, at += kWindowStep) {
            const __m512i low = _mm512_loadu_si512(buffer + at);
            const __m512i high = _mm512_loadu_si512(buffer + at + 64);
            // Byte i of `pj`: print byte j of position at + 2i.
            const __m512i p0 = _mm512_permutex2var_epi8(low, pick0, high);
            const __m512i p1 = _mm512_permutex2var_epi8(low, pick1, high);
            const __m512i p2 = _mm512_permutex2var_epi8(low, pick2, high);
            const __m512i p3 = _mm512_permutex2var_epi8(low, pick3, high);
            const __m512i taken[PairPlan::kPrint] = {
                _mm512_permutex2var_epi8(tables[0], p0, tables[1]),
                _mm512_permutex2var_epi8(tables[2], p1, tables[3]),
                _mm512_permutex2var_epi8(tables[4], p2, tables[5]),
                _mm512_permutex2var_epi8(tables[6], p3, tables[7])};
            const __m512i all = _mm512_and_si512(
                _mm512_ternarylogic_epi32(taken[0], taken[1], taken[2], 0x80), taken[3]);
            // The last even position's print reaches past the window.
            const std::uint64_t pairs = _mm512_test_epi8_mask(all, all) & (~std::uint64_t{0} >> 1);
            hits[windows] = {static_cast<std::uint16_t>(at - stretch), pairs};
            windows += pairs != 0;
        }
        int count = 0;
        for (int h = 0; h < windows; ++h) {
            const __m512i base = _mm512_set1_epi16(static_cast<short>(hits[h].window));
            const auto low = static_cast<__mmask32>(hits[h].pairs);
            const auto high = static_cast<__mmask32>(hits[h].pairs >> 32);
            _mm512_storeu_si512(candidates + count,
                                _mm512_maskz_compress_epi16(low, _mm512_add_epi16(base, evensLow)));
            count += __builtin_popcount(low);
            _mm512_storeu_si512(candidates + count, _mm512_maskz_compress_epi16(
                                                        high, _mm512_add_epi16(base, evensHigh)));
            count += __builtin_popcount(high);
        }
        for (int i = 0; i < count; ++i)
            if (confirm(stretch + candidates[i])) return true;
    }
    p = at;
    return false;
}

// Calls `check` with the index of every print equal to `print` until it
// returns true.
template <class Check>
VARNOT_AVX512_PAIRS inline bool ForEachEqualPrint(const std::vector<std::uint32_t>& prints,
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

#undef VARNOT_AVX512_PAIRS
#undef VARNOT_AVX512

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

__attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2"))) bool
KeywordScanner::ScanPairs(const unsigned char* buffer, std::size_t length) const {
    const PairPlan& plan = *pairs_;
    auto confirm = [&](std::size_t q)
        __attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2"))) {
        std::uint32_t bytes;
        std::memcpy(&bytes, buffer + q, sizeof bytes);
        if (!plan.MayHold(bytes)) return false;
        const std::uint32_t print = UpperPrintAt(buffer + q);
        auto check = [&](std::size_t index) {
            const PairPlan::Anchor& a = plan.anchors[index];
            return q >= a.offset &&
                   MatchesAt(keywords_[a.keyword], buffer, length, q - a.offset, 0);
        };
        return ForEachEqualPrint(plan.prints, print, check);
    };
    std::size_t p = 0;
    if (PairFilter512(buffer, length, plan, p, confirm)) return true;
    // A keyword whose anchor lies at or after p may start up to `reach`
    // bytes before it.
    return ScanAvx512(buffer, length, p > plan.reach ? p - plan.reach : 0);
}

#else

bool KeywordScanner::ScanAvx512(const unsigned char* buffer, std::size_t length,
                                std::size_t start) const {
    return ScanScalarFrom(buffer, length, start);
}

bool KeywordScanner::ScanPairs(const unsigned char* buffer, std::size_t length) const {
    return ScanScalarFrom(buffer, length, 0);
}

#endif

} // namespace varnot
