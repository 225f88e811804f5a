#pragma once

#include <string>

namespace brantock::testsupport {

// Switches the C library's locale to one that writes numbers with a decimal comma (German),
// as a user's environment does through Qt, and restores the previous one. `available()` is
// false where the machine has no such locale.
class CommaDecimalLocale {
public:
    CommaDecimalLocale();
    ~CommaDecimalLocale();
    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

    bool available() const { return available_; }

private:
    std::string previous_;
    bool available_ = false;
};

} // namespace brantock::testsupport
