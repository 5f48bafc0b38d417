#include "archive_gen/code_pages.h"

#include <array>

namespace varnot::gen {

std::string Utf8To1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto c = static_cast<unsigned char>(utf8[i]);
        char32_t cp = 0;
        std::size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            len = 4;
        } else {
            out.push_back('?');
            ++i;
            continue;
        }
        if (i + len > utf8.size()) {
            out.push_back('?');
            break;
        }
        bool valid = true;
        for (std::size_t k = 1; k < len; ++k) {
            auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) valid = false;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!valid) {
            out.push_back('?');
            ++i;
            continue;
        }
        i += len;
        if (cp < 0x80)
            out.push_back(static_cast<char>(cp));
        else if (cp >= 0x410 && cp <= 0x44F)
            out.push_back(static_cast<char>(0xC0 + (cp - 0x410)));
        else if (cp == 0x401)
            out.push_back(static_cast<char>(0xA8));
        else if (cp == 0x451)
            out.push_back(static_cast<char>(0xB8));
        else if (cp == 0x2116)
            out.push_back(static_cast<char>(0xB9));
        else
            out.push_back('?');
    }
    return out;
}

namespace {

constexpr std::array<unsigned char, 256> Make866Table() {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i < 0x80 ? i : '?');
    for (int i = 0; i < 48; ++i) t[0xC0 + i] = static_cast<unsigned char>(0x80 + i); // А..п
    for (int i = 0; i < 16; ++i) t[0xF0 + i] = static_cast<unsigned char>(0xE0 + i); // р..я
    t[0xA8] = 0xF0;                                                                  // Ё
    t[0xB8] = 0xF1;                                                                  // ё
    t[0xB9] = 0xFC;                                                                  // №
    return t;
}

constexpr std::array<unsigned char, 256> kTo866 = Make866Table();

} // namespace

unsigned char Cp1251To866(unsigned char c) {
    return kTo866[c];
}

void ConvertTo866(std::string& bytes) {
    for (char& c : bytes) c = static_cast<char>(kTo866[static_cast<unsigned char>(c)]);
}

unsigned char Upcase1251(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
    if (c >= 0xE0) return static_cast<unsigned char>(c - 0x20);
    if (c == 0xB8) return 0xA8;
    return c;
}

} // namespace varnot::gen
