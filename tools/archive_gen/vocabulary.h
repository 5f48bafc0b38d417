#pragma once

#include <string>
#include <vector>

namespace varnot::gen {

// The words messages are made of, as code page 1251 bytes. Kept in the source
// as UTF-8 and converted once on first use.
struct Vocabulary {
    std::vector<std::string> russianWords;   // lower case
    std::vector<std::string> russianPlaces;  // capitalised
    std::vector<std::string> russianSources; // for the dateline: "/ИТАР-ТАСС/"
    std::vector<std::string> russianMonths;  // genitive: "января"
    std::vector<std::string> russianEndings; // closing lines
    std::vector<std::string> englishWords;   // lower case
    std::vector<std::string> englishPlaces;  // upper case, as in a dateline
    std::vector<std::string> englishSources;
    std::vector<std::string> englishMonths;
    std::vector<std::string> latinNames;  // Latin names that turn up in Russian text
    std::vector<std::string> agencyCodes; // caption line: "TASS", "RTR", ...
    std::vector<std::string> priorities;  // caption line: "3", "СРОЧНО", "URGENT", ...
    std::vector<std::string> categories;  // caption line: "POL", "ECO", ...
};

const Vocabulary& Words();

} // namespace varnot::gen
