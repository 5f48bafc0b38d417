#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace varnot {

// Finds whether any of a list of upper-cased keywords occurs in a buffer,
// letter case ignored through the 1251 case table: exactly the answer of
// ScanKeywordsPlain, but built once per keyword list so that the scan itself
// only looks up two tables per byte and compares candidates only.
class KeywordScanner {
  public:
    explicit KeywordScanner(const std::vector<std::string>& upperKeywords);

    bool Empty() const { return keywords_.empty(); }
    bool Scan(const unsigned char* buffer, std::size_t length) const;

  private:
    bool ScanWide(const unsigned char* buffer, std::size_t length) const;
    bool MatchesAt(const std::string& keyword, const unsigned char* buffer, std::size_t length,
                   std::size_t position) const;

    std::vector<std::string> keywords_;
    // For a raw byte: the keywords (one bit each) whose first, and second,
    // byte the byte upper-cases to.
    std::array<std::uint64_t, 256> first_{};
    std::array<std::uint64_t, 256> second_{};
    bool wide_ = false; // more keywords than bits: the plain search is used
};

} // namespace varnot
