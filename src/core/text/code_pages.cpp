#include "core/text/code_pages.h"

namespace varnot {

namespace {

constexpr char32_t kNoCharacter = 0xFFFD;

// Bytes 80..BF of code page 1251; C0..FF are U+0410..U+044F, 00..7F are ASCII.
constexpr char32_t kUpperHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98: 98 is unused
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        // Every character of the code page lies in the Basic Multilingual Plane.
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Decodes one character at `at`, advancing it. Malformed input yields U+FFFD
// and moves past one byte only, so the next character is not lost.
char32_t NextUtf8(std::string_view s, std::size_t& at) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char lead = byte(at);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    int extra = 0;
    char32_t c = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the first continuation byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        c = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;  // overlong
        if (lead == 0xED) high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        c = lead & 0x07;
        if (lead == 0xF0) low = 0x90;  // overlong
        if (lead == 0xF4) high = 0x8F; // above U+10FFFF
    } else {
        ++at;
        return kNoCharacter;
    }
    if (s.size() - at <= static_cast<std::size_t>(extra)) { // cut short by the end
        ++at;
        return kNoCharacter;
    }
    for (int k = 1; k <= extra; ++k) {
        unsigned char b = byte(at + static_cast<std::size_t>(k));
        unsigned char lo = k == 1 ? low : 0x80;
        unsigned char hi = k == 1 ? high : 0xBF;
        if (b < lo || b > hi) {
            ++at;
            return kNoCharacter;
        }
        c = (c << 6) | (b & 0x3F);
    }
    at += static_cast<std::size_t>(extra) + 1;
    return c;
}

struct ReverseTable {
    // Unicode characters of bytes 80..BF, sorted, with their bytes.
    char32_t chars[64];
    unsigned char bytes[64];
    int count = 0;

    constexpr ReverseTable() : chars{}, bytes{} {
        for (int i = 0; i < 64; ++i) {
            if (kUpperHalf[i] == kNoCharacter) continue;
            int j = count++;
            while (j > 0 && chars[j - 1] > kUpperHalf[i]) {
                chars[j] = chars[j - 1];
                bytes[j] = bytes[j - 1];
                --j;
            }
            chars[j] = kUpperHalf[i];
            bytes[j] = static_cast<unsigned char>(0x80 + i);
        }
    }
};

constexpr ReverseTable kReverse;

} // namespace

std::string Upcase1251(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(UpcaseTable[static_cast<unsigned char>(c)]);
    return out;
}

void OemToAnsiInPlace(unsigned char* bytes, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) bytes[i] = OemTable[bytes[i]];
}

void OemToAnsiInPlace(std::string& bytes) {
    for (char& c : bytes) c = static_cast<char>(OemTable[static_cast<unsigned char>(c)]);
}

void AnsiToOemInPlace(std::string& bytes) {
    for (char& c : bytes) c = static_cast<char>(AnsiToOemTable[static_cast<unsigned char>(c)]);
}

char32_t UnicodeOf1251(unsigned char c) {
    if (c < 0x80) return c;
    if (c >= 0xC0) return 0x0410 + (c - 0xC0);
    return kUpperHalf[c - 0x80];
}

unsigned char Cp1251Of(char32_t c) {
    if (c < 0x80) return static_cast<unsigned char>(c);
    if (c >= 0x0410 && c <= 0x044F) return static_cast<unsigned char>(0xC0 + (c - 0x0410));
    int lo = 0, hi = kReverse.count - 1;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        if (kReverse.chars[mid] == c) return kReverse.bytes[mid];
        if (kReverse.chars[mid] < c)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return '?';
}

std::string Cp1251ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char b : bytes) AppendUtf8(out, UnicodeOf1251(static_cast<unsigned char>(b)));
    return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) out.push_back(static_cast<char>(Cp1251Of(NextUtf8(utf8, at))));
    return out;
}

std::u16string Cp1251ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (char b : bytes)
        out.push_back(static_cast<char16_t>(UnicodeOf1251(static_cast<unsigned char>(b))));
    return out;
}

std::string Utf16ToCp1251(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char16_t u = utf16[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            ++i; // a character beyond the plane: the code page has none of them
            out.push_back('?');
            continue;
        }
        out.push_back(static_cast<char>(Cp1251Of(u)));
    }
    return out;
}

} // namespace varnot
