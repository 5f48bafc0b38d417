#include "archive_gen/file_names.h"

#include <array>

namespace varnot::gen {

namespace {

struct Prefix {
    std::string_view text;
    uint32_t weight;
};

constexpr std::array<Prefix, 8> kPrefixes = {{
    {"A", 30},
    {"FOA", 15},
    {"FSTA", 10},
    {"RTR", 15},
    {"T", 8},
    {"AP", 8},
    {"IF", 8},
    {"R", 6},
}};

constexpr uint32_t TotalWeight() {
    uint32_t total = 0;
    for (const Prefix& p : kPrefixes) total += p.weight;
    return total;
}

} // namespace

void MakeMessageName(Prng& rng, std::string_view extension, std::string& out) {
    uint32_t pick = rng.Below(TotalWeight());
    std::string_view prefix = kPrefixes[0].text;
    for (const Prefix& p : kPrefixes) {
        if (pick < p.weight) {
            prefix = p.text;
            break;
        }
        pick -= p.weight;
    }
    out.assign(prefix);
    uint64_t digits = rng.Next();
    while (out.size() < 8) {
        out.push_back(static_cast<char>('0' + digits % 10));
        digits /= 10;
    }
    out.push_back('.');
    out.append(extension);
}

} // namespace varnot::gen
