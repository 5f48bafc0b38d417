#include "core/main/date_entry.h"

#include "core/text/trim.h"

namespace varnot {

namespace {

// Digits only, of an allowed length.
std::optional<int> Number(std::string_view part, std::size_t minDigits, std::size_t maxDigits) {
    if (part.size() < minDigits || part.size() > maxDigits) return std::nullopt;
    int value = 0;
    for (const char c : part) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::optional<DateTime> ParseEnteredDate(std::string_view text) {
    text = Trim(text, TrimSet::Blanks);
    const std::size_t first = text.find('.');
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t second = text.find('.', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    const auto day = Number(text.substr(0, first), 1, 2);
    const auto month = Number(text.substr(first + 1, second - first - 1), 1, 2);
    const std::string_view yearText = text.substr(second + 1);
    if (!day || !month || (yearText.size() != 2 && yearText.size() != 4)) return std::nullopt;
    auto year = Number(yearText, 2, 4);
    if (!year) return std::nullopt;
    if (yearText.size() == 2) *year += *year >= 80 ? 1900 : 2000;
    if (!IsValidDate(*year, *month, *day)) return std::nullopt;
    DateTime date;
    date.year = *year;
    date.month = *month;
    date.day = *day;
    return date;
}

} // namespace varnot
