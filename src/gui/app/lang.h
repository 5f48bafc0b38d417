#pragma once

#include <QString>

namespace varnot {

// The interface language of the whole program: true English, false Russian.
// Read at start-up from main/English and flipped by the language command.
extern bool English;

// Every text the operator sees is a pair; this picks the one of the current
// language. Both texts are UTF-8.
QString Lang(const char* russianUtf8, const char* english);

} // namespace varnot
