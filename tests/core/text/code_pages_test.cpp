#include "core/text/code_pages.h"

#include <gtest/gtest.h>

namespace varnot {
namespace {

TEST(CodePages, UpcaseTableChangesOnlyTheLetters) {
    EXPECT_EQ(UpcaseTable['a'], 'A');
    EXPECT_EQ(UpcaseTable['z'], 'Z');
    EXPECT_EQ(UpcaseTable['A'], 'A');
    EXPECT_EQ(UpcaseTable['1'], '1');
    EXPECT_EQ(UpcaseTable['{'], '{');
    EXPECT_EQ(UpcaseTable[0xE0], 0xC0); // а -> А
    EXPECT_EQ(UpcaseTable[0xFF], 0xDF); // я -> Я
    EXPECT_EQ(UpcaseTable[0xB8], 0xA8); // ё -> Ё
    EXPECT_EQ(UpcaseTable[0xBC], 0xA3); // ј -> Ј
    EXPECT_EQ(UpcaseTable[0xB4], 0xA5); // ґ -> Ґ
    EXPECT_EQ(UpcaseTable[0x83], 0x81); // ѓ -> Ѓ
    EXPECT_EQ(UpcaseTable[0x90], 0x80); // ђ -> Ђ
    EXPECT_EQ(UpcaseTable[0xBE], 0xBD); // ѕ -> Ѕ
    EXPECT_EQ(UpcaseTable[0xB5], 0xB5); // µ has no upper case here
    EXPECT_EQ(UpcaseTable[0xC0], 0xC0);
    EXPECT_EQ(UpcaseTable[0x98], 0x98);
    int changed = 0;
    for (int i = 0; i < 256; ++i) {
        if (UpcaseTable[i] != i) ++changed;
        // Upper case of upper case changes nothing.
        EXPECT_EQ(UpcaseTable[UpcaseTable[i]], UpcaseTable[i]) << i;
    }
    EXPECT_EQ(changed, 26 + 32 + 15);
}

TEST(CodePages, OemTableConvertsDosText) {
    unsigned char text[] = {0x8F, 0xA0, 0xE0}; // Пар in 866
    OemToAnsiInPlace(text, 3);
    EXPECT_EQ(text[0], 0xCF);
    EXPECT_EQ(text[1], 0xE0);
    EXPECT_EQ(text[2], 0xF0);

    EXPECT_EQ(OemTable['A'], 'A');
    EXPECT_EQ(OemTable[0x00], 0x00);
    EXPECT_EQ(OemTable[0x0F], 0xA4);
    EXPECT_EQ(OemTable[0x14], 0xB6);
    EXPECT_EQ(OemTable[0x15], 0xA7);
    EXPECT_EQ(OemTable[0x80], 0xC0);
    EXPECT_EQ(OemTable[0xAF], 0xEF);
    EXPECT_EQ(OemTable[0xE0], 0xF0);
    EXPECT_EQ(OemTable[0xEF], 0xFF);
    EXPECT_EQ(OemTable[0xB0], 0x5F); // light shade
    EXPECT_EQ(OemTable[0xB3], 0xA6); // vertical line
    EXPECT_EQ(OemTable[0xC4], 0x2D); // horizontal line
    EXPECT_EQ(OemTable[0xC5], 0x2B); // cross
    EXPECT_EQ(OemTable[0xDB], 0x5F); // full block
    EXPECT_EQ(OemTable[0xF0], 0xA8); // Ё
    EXPECT_EQ(OemTable[0xF1], 0xB8); // ё
    EXPECT_EQ(OemTable[0xFC], 0xB9); // №
    EXPECT_EQ(OemTable[0xFF], 0x5F);

    std::string dos = "\x8F\xE0\xA8\xA2\xA5\xE2!"; // Привет!
    OemToAnsiInPlace(dos);
    EXPECT_EQ(dos, "\xCF\xF0\xE8\xE2\xE5\xF2!");
}

TEST(CodePages, AnsiToOemIsTheWayBackForEveryByteThatDosCanHold) {
    std::string text = "\xCF\xF0\xE8\xE2\xE5\xF2, \xA8\xB8 \xB9 5!"; // Привет, Ёё № 5!
    AnsiToOemInPlace(text);
    EXPECT_EQ(text, "\x8F\xE0\xA8\xA2\xA5\xE2, \xF0\xF1 \xFC 5!");

    int held = 0;
    for (int b = 0; b < 256; ++b) {
        const unsigned char oem = AnsiToOemTable[static_cast<std::size_t>(b)];
        bool reachable = false;
        for (int o = 0; o < 256; ++o)
            reachable = reachable || OemTable[static_cast<std::size_t>(o)] == b;
        if (reachable) {
            ++held;
            EXPECT_EQ(OemTable[oem], b) << b;
        } else {
            EXPECT_EQ(oem, '?') << b;
        }
    }
    // ASCII stays itself, even where box drawing also reads as it.
    for (int b : {'_', '+', '-', 'A', ' ', '\r', '\n'})
        EXPECT_EQ(AnsiToOemTable[static_cast<std::size_t>(b)], b);
    // All letters of both alphabets are among what DOS text can hold.
    EXPECT_GE(held, 128 + 64);
}

TEST(CodePages, UpcaseOfText) {
    EXPECT_EQ(Upcase1251("abc \xEF\xF0\xE8\xE2\xE5\xF2 \xB8"), "ABC \xCF\xD0\xC8\xC2\xC5\xD2 \xA8");
}

TEST(CodePages, KnownCharactersToUnicode) {
    EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
    EXPECT_EQ(Cp1251ToUtf8("\xA8\xB8\xB9\x88\x96\xAB\xBB"), "Ёё№€–«»");
    EXPECT_EQ(Cp1251ToUtf8("\x80\x81\x83\x90\xA5\xB4"), "ЂЃѓђҐґ");
    EXPECT_EQ(Cp1251ToUtf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(Utf8ToCp1251("Привет, Ёлка №5 €"),
              "\xCF\xF0\xE8\xE2\xE5\xF2, \xA8\xEB\xEA\xE0 \xB9\x35 \x88");
    EXPECT_EQ(Cp1251ToUtf16("\xCF\xE0"), u"Па");
    EXPECT_EQ(Utf16ToCp1251(u"Па!"), "\xCF\xE0!");
}

TEST(CodePages, RoundTripOfEveryMappedByte) {
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) continue;
        std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(one)), one) << b;
        EXPECT_EQ(Utf16ToCp1251(Cp1251ToUtf16(one)), one) << b;
        EXPECT_NE(UnicodeOf1251(static_cast<unsigned char>(b)), 0xFFFDu) << b;
    }
}

TEST(CodePages, UnusedByteAndUnmappableCharactersBecomeMarks) {
    EXPECT_EQ(UnicodeOf1251(0x98), 0xFFFDu);
    EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToCp1251("\xEF\xBF\xBD"), "?");
    EXPECT_EQ(Utf8ToCp1251("a中b"), "a?b");
    EXPECT_EQ(Utf8ToCp1251("äé"), "??");
    EXPECT_EQ(Utf8ToCp1251("x😀y"), "x?y");
    EXPECT_EQ(Utf16ToCp1251(u"x😀y"), "x?y");
    EXPECT_EQ(Utf16ToCp1251(std::u16string(1, char16_t(0xD800)) + u"a"), "?a");
    EXPECT_EQ(Utf16ToCp1251(std::u16string(1, char16_t(0xDC00))), "?");
}

TEST(CodePages, InvalidUtf8NeverLosesTheFollowingText) {
    EXPECT_EQ(Utf8ToCp1251("\x80z"), "?z");
    EXPECT_EQ(Utf8ToCp1251("\xD0"), "?");
    EXPECT_EQ(Utf8ToCp1251("\xD0z"), "?z");
    EXPECT_EQ(Utf8ToCp1251("\xE0\x80\xAFz"), "???z");      // overlong
    EXPECT_EQ(Utf8ToCp1251("\xED\xA0\x80z"), "???z");      // surrogate
    EXPECT_EQ(Utf8ToCp1251("\xF4\x90\x80\x80z"), "????z"); // beyond U+10FFFF
    EXPECT_EQ(Utf8ToCp1251("\xC0\xAFz"), "??z");
    EXPECT_EQ(Utf8ToCp1251("\xF5\xFF\xFEz"), "???z");
    EXPECT_EQ(Utf8ToCp1251("\xE2\x84"), "??");
    EXPECT_EQ(Utf8ToCp1251("\xE2\x84\x96"), "\xB9");
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(Utf8ToCp1251(all).size(), 256u); // one mark per stray byte
}

} // namespace
} // namespace varnot
