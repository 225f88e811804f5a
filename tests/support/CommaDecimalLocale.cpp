#include "tests/support/CommaDecimalLocale.h"

#include <clocale>
#include <cstring>

namespace brantock::testsupport {

CommaDecimalLocale::CommaDecimalLocale() {
    if (const char* current = std::setlocale(LC_ALL, nullptr))
        previous_ = current;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
        if (std::setlocale(LC_ALL, name) &&
            std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
            available_ = true;
            return;
        }
    }
    std::setlocale(LC_ALL, previous_.c_str());
}

CommaDecimalLocale::~CommaDecimalLocale() {
    std::setlocale(LC_ALL, previous_.c_str());
}

} // namespace brantock::testsupport
