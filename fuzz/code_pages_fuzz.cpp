// Code pages: 1251 to UTF-8 or UTF-16 and back gives every byte back except
// the one the code page leaves unmapped; any UTF-8 converts without harm; 866
// text read as 1251 and written back as 866 reads the same again.
#include "core/text/code_pages.h"
#include "core/text/latin_case.h"
#include "fuzz_input.h"

#include <string>
#include <string_view>

namespace {

constexpr unsigned char kUnmapped = 0x98;

// A plain reading of UTF-8: shortest forms only, no surrogates, nothing past
// U+10FFFF. False for anything else.
bool DecodeUtf8(std::string_view s, std::u32string& characters) {
    characters.clear();
    std::size_t i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        char32_t c = lead;
        if (lead >= 0xC0 && lead < 0xE0) {
            extra = 1;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            extra = 2;
            c = lead & 0x0F;
        } else if (lead >= 0xF0 && lead < 0xF8) {
            extra = 3;
            c = lead & 0x07;
        } else if (lead >= 0x80) {
            return false;
        }
        if (i + extra >= s.size() && extra > 0) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0) != 0x80) return false;
            c = (c << 6) | (b & 0x3F);
        }
        const char32_t least = extra == 0 ? 0 : extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        characters.push_back(c);
        i += extra + 1;
    }
    return true;
}

bool InCodePage(char32_t c) {
    for (int b = 0; b < 256; ++b)
        if (b != kUnmapped && varnot::UnicodeOf1251(static_cast<unsigned char>(b)) == c)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string expected = bytes;
    for (char& c : expected)
        if (static_cast<unsigned char>(c) == kUnmapped) c = '?';

    std::u32string characters;
    const std::string utf8 = varnot::Cp1251ToUtf8(bytes);
    FUZZ_CHECK(DecodeUtf8(utf8, characters) && characters.size() == bytes.size());
    FUZZ_CHECK(varnot::Utf8ToCp1251(utf8) == expected);
    const std::u16string utf16 = varnot::Cp1251ToUtf16(bytes);
    FUZZ_CHECK(utf16.size() == bytes.size());
    FUZZ_CHECK(varnot::Utf16ToCp1251(utf16) == expected);

    // The same bytes as UTF-8 of unknown quality: at most one byte per byte;
    // valid UTF-8 gives one byte per character, "?" for those the code page lacks.
    const std::string fromAnyUtf8 = varnot::Utf8ToCp1251(bytes);
    FUZZ_CHECK(fromAnyUtf8.size() <= bytes.size());
    if (DecodeUtf8(bytes, characters)) {
        FUZZ_CHECK(fromAnyUtf8.size() == characters.size());
        for (std::size_t i = 0; i < characters.size(); ++i) {
            const auto b = static_cast<unsigned char>(fromAnyUtf8[i]);
            if (b == '?')
                FUZZ_CHECK(characters[i] == U'?' || !InCodePage(characters[i]));
            else
                FUZZ_CHECK(varnot::UnicodeOf1251(b) == characters[i]);
        }
    }

    // 866 bytes as 1251, back to 866 and read again: the same 1251 text.
    std::string ansi = bytes;
    varnot::OemToAnsiInPlace(ansi);
    std::string oem = ansi;
    varnot::AnsiToOemInPlace(oem);
    std::string ansiAgain = oem;
    varnot::OemToAnsiInPlace(ansiAgain);
    FUZZ_CHECK(ansiAgain == ansi);

    // Upper case is settled after one step; file names change in a..z only.
    const std::string upper = varnot::Upcase1251(bytes);
    FUZZ_CHECK(varnot::Upcase1251(upper) == upper);
    const std::string latin = varnot::UpcaseLatin(bytes);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        FUZZ_CHECK(latin[i] == (c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c));
    }
    return 0;
}
