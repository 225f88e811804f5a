#include "tests/support/CommaDecimalLocale.h"

#include "multiport/config/ConfigChoice.h"

#include <gtest/gtest.h>

using brantock::multiport::ConfigChoice;
using brantock::testsupport::CommaDecimalLocale;

namespace {

void expectStoredPorts() {
    const std::pair<const char*, const char*> cases[] = {
        {"3", "3"},    {"3x", "3"},    {"", "0"},     {"x", "0"},   {"  7", "7"},
        {"007", "7"},  {"3.5", "3.5"}, {"16 ", "16"}, {"-2", "-2"}, {"-0", "0"},
        {"COM3", "0"}, {"1e999", "0"}, {"4,5", "4"},
    };
    for (const auto& [typed, stored] : cases)
        EXPECT_EQ(ConfigChoice::StoredPort(typed), stored) << typed;
}

} // namespace

TEST(ConfigChoice, APortBoxStoresItsLeadingNumber) {
    expectStoredPorts();
}

TEST(ConfigChoice, APortBoxReadsAPointUnderACommaLocale) {
    CommaDecimalLocale comma;
    if (!comma.available())
        GTEST_SKIP() << "no locale with a decimal comma";
    expectStoredPorts();
}
