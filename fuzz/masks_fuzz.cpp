// File-name masks, mask lists and the field splitter against plain readings
// of their rules.
#include "core/app/ini_file.h"
#include "core/text/masks.h"
#include "core/text/separator.h"
#include "fuzz_input.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

using varnot::fuzzing::FuzzInput;

// The mask rule with its positions counted from 1: a star in the name part
// skips the name to its first dot, a star in the extension accepts the rest,
// a question mark takes any one character, the dot included.
bool PlainMaskMatch(std::string n, std::string m) {
    if (n.find('.') == std::string::npos) n += '.';
    if (m.find('.') == std::string::npos) m += '.';
    const std::size_t dn = n.find('.') + 1;
    const std::size_t dm = m.find('.') + 1;
    std::size_t j = 1;
    for (std::size_t i = 1; i <= m.size(); ++i) {
        const char c = m[i - 1];
        if (c == '*') {
            if (i > dm) return true;
            j = dn;
        } else if (c == '?') {
            ++j;
        } else {
            if (j > n.size() || n[j - 1] != c) return false;
            ++j;
        }
        if (j > n.size() + 1) return false;
    }
    return j == n.size() + 1;
}

// The non-empty runs between separators, at most `limit` of them.
std::vector<std::string> Runs(std::string_view text, char separator, std::size_t limit) {
    std::vector<std::string> runs;
    std::string run;
    for (const char c : text) {
        if (c != separator) {
            run.push_back(c);
        } else if (!run.empty()) {
            runs.push_back(run);
            run.clear();
        }
    }
    if (!run.empty()) runs.push_back(run);
    if (runs.size() > limit) runs.resize(limit);
    return runs;
}

bool PlainMatchAny(std::string_view name, std::string_view list) {
    for (const std::string& mask : Runs(list, ';', SIZE_MAX))
        if (PlainMaskMatch(std::string(name), mask)) return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::string name = input.Text(40);
    const std::string mask = input.Text(40);
    const char separator = static_cast<char>(input.Byte());
    const std::string text = input.Rest();

    FUZZ_CHECK(varnot::MaskMatch(name, mask) == PlainMaskMatch(name, mask));
    FUZZ_CHECK(varnot::MatchAnyMask(name, text) == PlainMatchAny(name, text));

    varnot::TSeparator fields;
    fields.Split(text, separator);
    const std::vector<std::string> runs = Runs(text, separator, varnot::TSeparator::MaxFields);
    FUZZ_CHECK(fields.Count() == static_cast<int>(runs.size()));
    std::string joined;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        FUZZ_CHECK(fields.Field(static_cast<int>(i)) == runs[i]);
        joined += runs[i] + ' ';
    }
    FUZZ_CHECK(fields.Field(fields.Count()).empty() && fields.Field(-1).empty());
    FUZZ_CHECK(fields.Join() == joined);

    // Word lists of the settings file are the same split at blanks.
    FUZZ_CHECK(varnot::SplitWordList(text) == Runs(text, ' ', varnot::TSeparator::MaxFields));
    return 0;
}
