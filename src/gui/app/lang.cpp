#include "gui/app/lang.h"

namespace varnot {

bool English = true;

QString Lang(const char* russianUtf8, const char* english) {
    return QString::fromUtf8(English ? english : russianUtf8);
}

} // namespace varnot
