#include "core/filters/keyword_scanner.h"

#include "core/archive/code_pages.h"
#include "core/archive/message_text.h"

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
        for (int b = 0; b < 256; ++b) {
            if (UpcaseTable[static_cast<std::size_t>(b)] == k0) first_[static_cast<std::size_t>(b)] |= bit;
            // A one-byte keyword has no second byte to check.
            if (k.size() == 1 || UpcaseTable[static_cast<std::size_t>(b)] == static_cast<unsigned char>(k[1]))
                second_[static_cast<std::size_t>(b)] |= bit;
        }
    }
}

bool KeywordScanner::MatchesAt(const std::string& keyword, const unsigned char* buffer,
                               std::size_t length, std::size_t position) const {
    // Bytes at or past the end count as 0, so no match runs past the end.
    for (std::size_t i = 2; i < keyword.size(); ++i) {
        const unsigned char b = position + i < length ? UpcaseTable[buffer[position + i]] : 0;
        if (b != static_cast<unsigned char>(keyword[i])) return false;
    }
    return true;
}

bool KeywordScanner::ScanWide(const unsigned char* buffer, std::size_t length) const {
    return ScanKeywordsPlain(buffer, length, keywords_);
}

bool KeywordScanner::Scan(const unsigned char* buffer, std::size_t length) const {
    if (keywords_.empty() || length == 0) return false;
    if (wide_) return ScanWide(buffer, length);
    for (std::size_t p = 0; p < length; ++p) {
        std::uint64_t candidates = first_[buffer[p]];
        if (candidates == 0) continue;
        candidates &= second_[p + 1 < length ? buffer[p + 1] : 0];
        while (candidates != 0) {
            const int i = __builtin_ctzll(candidates);
            candidates &= candidates - 1;
            if (MatchesAt(keywords_[static_cast<std::size_t>(i)], buffer, length, p)) return true;
        }
    }
    return false;
}

} // namespace varnot
