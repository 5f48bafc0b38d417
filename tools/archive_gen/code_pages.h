#pragma once

#include <string>
#include <string_view>

namespace varnot::gen {

// UTF-8 text (as the word lists are kept in the source) to code page 1251 bytes:
// ASCII stays, the Cyrillic letters А..я, Ё, ё and the sign № are mapped, anything
// else becomes "?".
std::string Utf8To1251(std::string_view utf8);

// One 1251 byte to code page 866: the Cyrillic letters and № move, every other
// byte of 80..FF (the generator never writes those) becomes "?", ASCII stays.
unsigned char Cp1251To866(unsigned char c);
void ConvertTo866(std::string& bytes);

// Upper case of one 1251 byte (Latin and Cyrillic letters).
unsigned char Upcase1251(unsigned char c);

} // namespace varnot::gen
