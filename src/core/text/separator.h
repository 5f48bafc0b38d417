#pragma once

#include <array>
#include <string>
#include <string_view>

namespace varnot {

// Cuts one stored line into fields: word lists of the settings file, lines of
// the marks file, filter group lines. A run of separators counts as one, so no
// field is ever empty, and a line never yields more than MaxFields fields.
class TSeparator {
  public:
    static constexpr int MaxFields = 15;

    void Split(std::string_view text, char separator);
    int Count() const { return count_; }
    // The field at a position, or an empty text when the position is not below Count.
    const std::string& Field(int position) const;
    // Replaces a field below Count; other positions are left alone.
    void SetField(int position, std::string text);
    // Every field followed by one blank.
    std::string Join() const;

  private:
    int count_ = 0;
    std::array<std::string, MaxFields + 1> slots_;
};

} // namespace varnot
