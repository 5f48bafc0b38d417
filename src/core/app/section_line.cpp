#include "core/app/section_line.h"

namespace varnot {

SectionLine ParseSectionLine(std::string_view text, const SectionSyntax& syntax) {
    SectionLine parsed;
    const std::string_view rest = TrimFront(text, syntax.front);
    if (rest.empty()) {
        parsed.kind = SectionLineKind::Blank;
        return parsed;
    }
    const std::size_t start = text.size() - rest.size();

    if (syntax.headers == HeaderForm::Opening && rest.front() == '[') {
        const std::string_view inside = rest.substr(1);
        parsed.kind = SectionLineKind::Section;
        parsed.name = syntax.Trim(inside.substr(0, inside.find(']')));
        return parsed;
    }
    if (syntax.headers == HeaderForm::Enclosed) {
        const std::string_view line = TrimBack(rest, syntax.back);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            parsed.kind = SectionLineKind::Section;
            parsed.name = syntax.Trim(line.substr(1, line.size() - 2));
            return parsed;
        }
    }
    if (syntax.comments.find(rest.front()) != std::string_view::npos) return parsed;

    const std::size_t equals = text.find('=', start);
    if (equals == std::string_view::npos) return parsed;
    parsed.name = syntax.Trim(text.substr(start, equals - start));
    if (parsed.name.empty()) return parsed;
    parsed.kind = SectionLineKind::Key;
    parsed.valueStart = equals + 1;
    return parsed;
}

std::string_view SectionValue(std::string_view text, const SectionLine& line,
                              const SectionSyntax& syntax) {
    return syntax.Trim(text.substr(line.valueStart));
}

} // namespace varnot
