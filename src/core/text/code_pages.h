#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace varnot {

using ByteTable = std::array<unsigned char, 256>;

namespace code_page_detail {

constexpr ByteTable MakeUpcaseTable() {
    ByteTable t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
    for (int i = 0x61; i <= 0x7A; ++i) t[i] = static_cast<unsigned char>(i - 0x20);
    for (int i = 0xE0; i <= 0xFF; ++i) t[i] = static_cast<unsigned char>(i - 0x20);
    // The letters of the code page's upper half that lie outside а..я.
    constexpr unsigned char pairs[][2] = {{0x83, 0x81}, {0x90, 0x80}, {0x9A, 0x8A}, {0x9C, 0x8C},
                                          {0x9D, 0x8D}, {0x9E, 0x8E}, {0x9F, 0x8F}, {0xA2, 0xA1},
                                          {0xB3, 0xB2}, {0xB4, 0xA5}, {0xB8, 0xA8}, {0xBA, 0xAA},
                                          {0xBC, 0xA3}, {0xBE, 0xBD}, {0xBF, 0xAF}};
    for (const auto& p : pairs) t[p[0]] = p[1];
    return t;
}

constexpr ByteTable MakeOemTable() {
    ByteTable t{};
    for (int i = 0; i < 0x80; ++i) t[i] = static_cast<unsigned char>(i);
    t[0x0F] = 0xA4;
    t[0x14] = 0xB6;
    t[0x15] = 0xA7;
    for (int i = 0x80; i <= 0xAF; ++i) t[i] = static_cast<unsigned char>(i + 0x40);
    for (int i = 0xE0; i <= 0xEF; ++i) t[i] = static_cast<unsigned char>(i + 0x10);
    // Box drawing becomes the broken bar, plus and minus; shades and blocks the underscore.
    constexpr unsigned char pseudoGraphics[48] = {
        0x5F, 0x5F, 0x5F, 0xA6, 0xA6, 0xA6, 0xA6, 0x2B, 0x2B, 0xA6, 0xA6, 0x2B,
        0x2B, 0x2B, 0x2B, 0x2B, 0x2B, 0x2D, 0x2D, 0x2B, 0x2D, 0x2B, 0xA6, 0xA6,
        0x2B, 0x2B, 0x2D, 0x2D, 0xA6, 0x2D, 0x2B, 0x2D, 0x2D, 0x2D, 0x2D, 0x2B,
        0x2B, 0x2B, 0x2B, 0x2B, 0x2B, 0x2B, 0x2B, 0x5F, 0x5F, 0x5F, 0x5F, 0x5F};
    for (int i = 0; i < 48; ++i) t[0xB0 + i] = pseudoGraphics[i];
    constexpr unsigned char upperRow[16] = {0xA8, 0xB8, 0xAA, 0xBA, 0xAF, 0xBF, 0xA1, 0xA2,
                                            0xB0, 0x95, 0xB7, 0x5F, 0xB9, 0xA4, 0x5F, 0x5F};
    for (int i = 0; i < 16; ++i) t[0xF0 + i] = upperRow[i];
    return t;
}

// The way back from 1251 to 866, for writing DOS text: every 1251 byte that
// some 866 byte reads as gets that byte (a byte that stays itself wins, then
// the lowest from 80 up), so that OemTable gives the 1251 byte back; the
// bytes no 866 byte reads as become "?".
constexpr ByteTable MakeAnsiToOemTable() {
    const ByteTable oem = MakeOemTable();
    ByteTable t{};
    bool set[256] = {};
    for (int o = 0x80; o < 0x100; ++o) {
        if (set[oem[o]]) continue;
        t[oem[o]] = static_cast<unsigned char>(o);
        set[oem[o]] = true;
    }
    for (int o = 0; o < 0x80; ++o) {
        if (oem[o] != o && set[oem[o]]) continue;
        t[oem[o]] = static_cast<unsigned char>(o);
        set[oem[o]] = true;
    }
    for (int b = 0; b < 256; ++b)
        if (!set[b]) t[b] = '?';
    return t;
}

} // namespace code_page_detail

// Lower to upper case of code page 1251 (Latin and Cyrillic letters).
inline constexpr ByteTable UpcaseTable = code_page_detail::MakeUpcaseTable();
// Code page 866 to code page 1251.
inline constexpr ByteTable OemTable = code_page_detail::MakeOemTable();
// Code page 1251 to code page 866 ("?" where 866 has no such character).
inline constexpr ByteTable AnsiToOemTable = code_page_detail::MakeAnsiToOemTable();

inline unsigned char Upcase1251(unsigned char c) {
    return UpcaseTable[c];
}
// Keywords and search texts are compared in this form.
std::string Upcase1251(std::string_view text);

// 866 bytes to 1251 bytes, in place.
void OemToAnsiInPlace(unsigned char* bytes, std::size_t length);
void OemToAnsiInPlace(std::string& bytes);
// 1251 bytes to 866 bytes, in place.
void AnsiToOemInPlace(std::string& bytes);

// The Unicode character of a 1251 byte; 0x98 has none and gives U+FFFD.
char32_t UnicodeOf1251(unsigned char c);
// The 1251 byte of a Unicode character; '?' when the code page lacks it.
unsigned char Cp1251Of(char32_t c);

// The program converts only where text meets a widget, a printer or the
// operator's typing. Invalid UTF-8 and unpaired surrogates become '?'.
std::string Cp1251ToUtf8(std::string_view bytes);
std::string Utf8ToCp1251(std::string_view utf8);
std::u16string Cp1251ToUtf16(std::string_view bytes);
std::string Utf16ToCp1251(std::u16string_view utf16);

} // namespace varnot
