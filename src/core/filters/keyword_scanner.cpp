#include "core/filters/keyword_scanner.h"

#include "core/text/code_pages.h"

#include <algorithm>
#include <numeric>

#if defined(__x86_64__) || defined(__i386__)
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
    if (Supported(Path::Avx2Pairs)) pairs_ = MakePairPlan(keywords_);
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
    case Path::Avx2Pairs:
        return __builtin_cpu_supports("avx2");
    case Path::Avx512:
    case Path::Avx512Pairs:
        return __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi");
#else
    case Path::Avx2:
    case Path::Avx2Pairs:
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
                                 : Supported(Path::Avx2Pairs) ? Path::Avx2Pairs
                                                              : Path::Scalar;
        path = best;
    }
    if (path != Path::Scalar && !Supported(path)) path = Path::Scalar;
    switch (path) {
    case Path::Avx512Pairs:
        if (pairs_) return ScanAvx512Pairs(buffer, length);
        [[fallthrough]];
    case Path::Avx512:
        return ScanAvx512(buffer, length, 0);
    case Path::Avx2Pairs:
        if (pairs_) return ScanAvx2Pairs(buffer, length);
        [[fallthrough]];
    case Path::Avx2:
        return ScanAvx2(buffer, length);
    default:
        return ScanScalarFrom(buffer, length, 0);
    }
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

} // namespace varnot
