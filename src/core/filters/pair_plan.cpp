#include "core/filters/pair_plan.h"

#include "core/text/code_pages.h"

#include <algorithm>

namespace varnot {

namespace {

using ClassSet = std::array<std::uint64_t, 2>; // bit c: table class c
using Frequencies = std::array<double, 128>;

// The tables look a byte up by its low seven bits.
unsigned TableClass(std::size_t byte) {
    return static_cast<unsigned>(byte & 0x7F);
}

// How often each table class turns up in news text of code page 1251, Russian
// with some English. Rough figures: they only steer which anchor a keyword
// gets and which anchors share a bucket, never what is found.
Frequencies ClassFrequencies() {
    std::array<double, 256> byte{};
    // Letters per mille: Russian а..я (0xE0..0xFF) and English a..z.
    static constexpr double kRussian[32] = {80, 16, 45, 17,  30, 85, 9,  16, 74, 12, 35,
                                            44, 32, 67, 110, 28, 47, 55, 63, 26, 3,  10,
                                            5,  14, 7,  4,   1,  19, 17, 3,  6,  20};
    static constexpr double kEnglish[26] = {82, 15, 28, 43, 127, 22, 20, 61, 70, 2,  8, 40, 24,
                                            67, 75, 19, 1,  60,  63, 91, 28, 10, 24, 2, 20, 1};
    for (std::size_t i = 0; i < 32; ++i) {
        byte[0xE0 + i] += kRussian[i] * 0.7 * 0.95;
        byte[0xC0 + i] += kRussian[i] * 0.7 * 0.05;
    }
    for (std::size_t i = 0; i < 26; ++i) {
        byte['a' + i] += kEnglish[i] * 0.3 * 0.95;
        byte['A' + i] += kEnglish[i] * 0.3 * 0.05;
    }
    byte[' '] += 180;
    byte[','] += 12;
    byte['.'] += 10;
    byte['\r'] += 4;
    byte['\n'] += 4;
    for (std::size_t d = '0'; d <= '9'; ++d) byte[d] += 3;
    double total = 0;
    for (double f : byte) total += f;
    Frequencies classes{};
    // Every byte occurs now and then, so that no class is free.
    for (std::size_t b = 0; b < 256; ++b) classes[TableClass(b)] += (byte[b] + 0.01) / total;
    return classes;
}

// For every upper-case byte: the bytes that upper-case to it, their table
// classes, and their folded forms (see PairPlan::Folded).
struct Preimages {
    std::array<std::vector<unsigned char>, 256> bytes;
    std::array<ClassSet, 256> classes{};
    std::array<std::vector<std::uint32_t>, 256> folded;
};

Preimages MakePreimages() {
    Preimages p;
    for (std::size_t b = 0; b < 256; ++b) {
        const unsigned char upper = UpcaseTable[b];
        p.bytes[upper].push_back(static_cast<unsigned char>(b));
        const unsigned c = TableClass(b);
        p.classes[upper][c >> 6] |= std::uint64_t{1} << (c & 63);
        const std::uint32_t f = PairPlan::Folded(static_cast<std::uint32_t>(b)) & 0xFF;
        std::vector<std::uint32_t>& folded = p.folded[upper];
        if (std::find(folded.begin(), folded.end(), f) == folded.end()) folded.push_back(f);
    }
    return p;
}

double Share(const ClassSet& set, const Frequencies& frequencies) {
    double share = 0;
    for (std::size_t half = 0; half < 2; ++half)
        for (std::uint64_t bits = set[half]; bits != 0; bits &= bits - 1)
            share += frequencies[half * 64 + static_cast<std::size_t>(__builtin_ctzll(bits))];
    return share;
}

// What each print byte of the anchors sharing a bucket may be.
using Group = std::array<ClassSet, PairPlan::kPrint>;

Group Union(const Group& a, const Group& b) {
    Group u = a;
    for (std::size_t j = 0; j < PairPlan::kPrint; ++j)
        for (std::size_t h = 0; h < 2; ++h) u[j][h] |= b[j][h];
    return u;
}

// The share of text positions a group takes, the bytes taken as independent.
double Rate(const Group& group, const Frequencies& frequencies) {
    double rate = 1;
    for (const ClassSet& set : group) rate *= Share(set, frequencies);
    return rate;
}

Group GroupOf(const std::string& keyword, std::size_t offset, const Preimages& preimages) {
    Group g;
    for (std::size_t j = 0; j < PairPlan::kPrint; ++j)
        g[j] = preimages.classes[static_cast<unsigned char>(keyword[offset + j])];
    return g;
}

// The offset whose two prints text is least likely to hold.
std::size_t RarestAnchor(const std::string& keyword, const Preimages& preimages,
                         const Frequencies& frequencies) {
    std::size_t best = 0;
    double bestRate = 0;
    for (std::size_t o = 0; o + PairPlan::kShortest <= keyword.size(); ++o) {
        const double rate = Rate(GroupOf(keyword, o, preimages), frequencies) +
                            Rate(GroupOf(keyword, o + 1, preimages), frequencies);
        if (o == 0 || rate < bestRate) {
            best = o;
            bestRate = rate;
        }
    }
    return best;
}

// Merges groups, always the two whose union adds the least, until there are
// no more than there are buckets; `bucketOf` gets the bucket of each anchor.
std::vector<Group> MergeIntoBuckets(const std::vector<Group>& anchors,
                                    const Frequencies& frequencies,
                                    std::vector<std::size_t>& bucketOf) {
    std::vector<Group> groups = anchors;
    const std::size_t n = groups.size();
    std::vector<double> rate(n);
    for (std::size_t i = 0; i < n; ++i) rate[i] = Rate(groups[i], frequencies);
    auto addedBy = [&](std::size_t a, std::size_t b) {
        return Rate(Union(groups[a], groups[b]), frequencies) - rate[a] - rate[b];
    };
    std::vector<std::vector<double>> added(n, std::vector<double>(n, 0));
    for (std::size_t a = 0; a < n; ++a)
        for (std::size_t b = a + 1; b < n; ++b) added[a][b] = addedBy(a, b);
    std::vector<bool> alive(n, true);
    std::vector<std::size_t> mergedInto(n);
    for (std::size_t i = 0; i < n; ++i) mergedInto[i] = i;
    for (std::size_t count = n; count > PairPlan::kBuckets; --count) {
        std::size_t bestA = n, bestB = n;
        for (std::size_t a = 0; a < n; ++a)
            for (std::size_t b = a + 1; alive[a] && b < n; ++b)
                if (alive[b] && (bestA == n || added[a][b] < added[bestA][bestB])) {
                    bestA = a;
                    bestB = b;
                }
        groups[bestA] = Union(groups[bestA], groups[bestB]);
        rate[bestA] = Rate(groups[bestA], frequencies);
        alive[bestB] = false;
        for (std::size_t& m : mergedInto)
            if (m == bestB) m = bestA;
        for (std::size_t x = 0; x < n; ++x)
            if (alive[x] && x != bestA)
                added[std::min(x, bestA)][std::max(x, bestA)] =
                    addedBy(std::min(x, bestA), std::max(x, bestA));
    }
    std::vector<Group> buckets;
    std::vector<std::size_t> bucketOfGroup(n);
    for (std::size_t i = 0; i < n; ++i)
        if (alive[i]) {
            bucketOfGroup[i] = buckets.size();
            buckets.push_back(groups[i]);
        }
    bucketOf.resize(n);
    for (std::size_t i = 0; i < n; ++i) bucketOf[i] = bucketOfGroup[mergedInto[i]];
    return buckets;
}

// Every folded form (see PairPlan::Folded) that `count` bytes of `keyword`
// from `offset` take in text, whatever the case of its letters, first byte lowest.
std::vector<std::uint64_t> FoldedForms(const std::string& keyword, std::size_t offset,
                                       std::size_t count, const Preimages& preimages) {
    std::vector<std::uint64_t> forms{0};
    for (std::size_t j = 0; j < count; ++j) {
        std::vector<std::uint64_t> longer;
        for (std::uint64_t form : forms)
            for (std::uint64_t f :
                 preimages.folded[static_cast<unsigned char>(keyword[offset + j])])
                longer.push_back(form | f << (8 * j));
        forms = std::move(longer);
    }
    return forms;
}

void SetHashed(std::uint32_t h, std::array<std::uint64_t, 64>& bits) {
    bits[h >> 6] |= std::uint64_t{1} << (h & 63);
}

// Hashes the forms of the print of `keyword` at `offset`, and those of its
// frame, or of the print again when it lies at an end of the keyword.
void HashPrint(const std::string& keyword, std::size_t offset, const Preimages& preimages,
               PairPlan& plan) {
    for (std::uint64_t form : FoldedForms(keyword, offset, PairPlan::kPrint, preimages))
        SetHashed(PairPlan::Hash(static_cast<std::uint32_t>(form)), plan.hashedPrints);
    const bool framed = offset > 0 && offset + PairPlan::kPrint < keyword.size();
    if (!framed) {
        for (std::uint64_t form : FoldedForms(keyword, offset, PairPlan::kPrint, preimages))
            SetHashed(PairPlan::Hash(static_cast<std::uint32_t>(form)), plan.hashedUnframed);
        return;
    }
    for (std::uint64_t form : FoldedForms(keyword, offset - 1, PairPlan::kPrint + 2, preimages))
        SetHashed(PairPlan::HashFrame(form), plan.hashedFrames);
}

} // namespace

std::optional<PairPlan> MakePairPlan(const std::vector<std::string>& upperKeywords) {
    if (upperKeywords.empty() || upperKeywords.size() > PairPlan::kMostKeywords)
        return std::nullopt;
    for (const std::string& k : upperKeywords)
        if (k.size() < PairPlan::kShortest) return std::nullopt;

    static const Frequencies frequencies = ClassFrequencies();
    static const Preimages preimages = MakePreimages();
    PairPlan plan;
    std::vector<Group> groups;
    for (std::size_t k = 0; k < upperKeywords.size(); ++k) {
        const std::string& keyword = upperKeywords[k];
        const std::size_t offset = RarestAnchor(keyword, preimages, frequencies);
        for (std::size_t o = offset; o < offset + 2; ++o) {
            groups.push_back(GroupOf(keyword, o, preimages));
            plan.anchors.push_back({static_cast<std::uint32_t>(k), static_cast<std::uint32_t>(o)});
            // The keyword's own bytes: one that nothing upper-cases to is
            // never equalled by text.
            std::uint32_t print = 0;
            for (std::size_t j = 0; j < PairPlan::kPrint; ++j)
                print |= static_cast<std::uint32_t>(static_cast<unsigned char>(keyword[o + j]))
                         << (8 * j);
            plan.prints.push_back(print);
            plan.reach = std::max(plan.reach, o);
            HashPrint(keyword, o, preimages, plan);
        }
    }
    std::vector<std::size_t> bucketOf;
    const std::vector<Group> buckets = MergeIntoBuckets(groups, frequencies, bucketOf);
    for (std::size_t bucket = 0; bucket < buckets.size(); ++bucket) {
        const auto bit = static_cast<std::uint8_t>(1u << bucket);
        for (std::size_t j = 0; j < PairPlan::kPrint; ++j)
            for (std::size_t c = 0; c < 128; ++c)
                if (buckets[bucket][j][c >> 6] >> (c & 63) & 1) plan.classes[j][c] |= bit;
    }
    // The nibble tables take each byte that upper-cases to a print byte.
    for (std::size_t i = 0; i < plan.anchors.size(); ++i) {
        PairPlan::Anchor& anchor = plan.anchors[i];
        anchor.bucket = static_cast<std::uint32_t>(bucketOf[i]);
        const auto bit = static_cast<std::uint8_t>(1u << anchor.bucket);
        const std::string& keyword = upperKeywords[anchor.keyword];
        for (std::size_t j = 0; j < PairPlan::kPrint; ++j)
            for (unsigned char b :
                 preimages.bytes[static_cast<unsigned char>(keyword[anchor.offset + j])]) {
                plan.lowNibbles[j][b & 0x0F] |= bit;
                if (j < PairPlan::kHighNibbled) plan.highNibbles[j][b >> 4] |= bit;
            }
    }
    return plan;
}

} // namespace varnot
