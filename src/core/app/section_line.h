#pragma once

#include "core/text/trim.h"

#include <cstddef>
#include <string_view>

namespace varnot {

// The line syntax of sectioned text: "[section]" header lines, "key=value"
// lines, comments and other lines. The settings file and the receiving
// program's sectioned message files share it; they differ in the bytes that
// surround names and values, in which lines are comments, and, for keeping
// the body of a message, in what makes a header.

enum class HeaderForm {
    // "[" opens a header even without its "]", so that the keys below it are
    // never taken for keys of the section before; the name runs to the first "]".
    Opening,
    // Only a line that is "[...]" as a whole (at least "[]") is a header; its
    // name is everything between the outer brackets.
    Enclosed,
};

struct SectionSyntax {
    TrimSet front;             // removed before names, values and the line itself
    TrimSet back;              // removed after names and values
    std::string_view comments; // bytes that start a comment line
    HeaderForm headers;

    std::string_view Trim(std::string_view text) const {
        return TrimBack(TrimFront(text, front), back);
    }
};

// The settings file: blanks and tabs around names and values, ";" and "#"
// comments.
inline constexpr SectionSyntax SettingsSyntax{TrimSet::Blanks, TrimSet::BlanksAndCr, ";#",
                                              HeaderForm::Opening};

enum class SectionLineKind { Blank, Other, Section, Key };

struct SectionLine {
    SectionLineKind kind = SectionLineKind::Other;
    std::string_view name;      // of a section or key, trimmed; a key's is never empty
    std::size_t valueStart = 0; // offset just past the "=" of a key line
};

SectionLine ParseSectionLine(std::string_view text, const SectionSyntax& syntax);

// The value of a key line without the bytes around it.
std::string_view SectionValue(std::string_view text, const SectionLine& line,
                              const SectionSyntax& syntax);

} // namespace varnot
