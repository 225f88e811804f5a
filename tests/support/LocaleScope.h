#pragma once

#include <QLocale>

namespace brantock::testsupport {

// Pins Qt's default locale for the length of a scope.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) : previous_(QLocale()) {
        QLocale::setDefault(locale);
    }
    ~LocaleScope() { QLocale::setDefault(previous_); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    QLocale previous_;
};

} // namespace brantock::testsupport
