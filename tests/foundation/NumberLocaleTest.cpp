#include "tests/support/CommaDecimalLocale.h"
#include "tests/support/TemporaryRegistry.h"

#include "foundation/modbrUtils.h"
#include "foundation/modRegistry.h"
#include "runtime/Conversions.h"

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::testsupport;

// Settings, command lines and numbers typed by the user always read with a "." decimal
// point, whatever the user's locale says.
class CommaLocaleNumbers : public ::testing::Test {
protected:
    void SetUp() override {
        if (!locale_.available())
            GTEST_SKIP() << "no locale with a decimal comma on this machine";
    }
    CommaDecimalLocale locale_;
};

TEST_F(CommaLocaleNumbers, LeadingNumberAndToLongReadAPoint) {
    const std::pair<const char*, double> cases[] = {
        {"1.5", 1.5}, {"0.5", 0.5}, {"-2.25e1", -22.5}, {"1,5", 1}, {" .75x", 0.75}};
    for (const auto& [text, expected] : cases)
        EXPECT_DOUBLE_EQ(LeadingNumber(QString::fromUtf8(text)), expected) << text;
    EXPECT_EQ(ToLong(QVariant(QStringLiteral("2.5"))), 2);
    EXPECT_EQ(ToLong(QVariant(QStringLiteral("3.5"))), 4);
}

TEST_F(CommaLocaleNumbers, BooleanAndCheckBoxReadersReadAPoint) {
    TemporaryRegistry temp;
    EXPECT_TRUE(StringToBoolean(QStringLiteral("0.5")));
    SetRegSetting("Flag", "0.5", "", true, HKEY_CURRENT_USER);
    EXPECT_TRUE(GetRegBoolean("Flag", false, "", HKEY_CURRENT_USER));
    SetRegSetting("Box", "1.5", "", true, HKEY_CURRENT_USER);
    EXPECT_EQ(GetRegCheckBox("Box", 0, "", HKEY_CURRENT_USER), 2);
}

TEST_F(CommaLocaleNumbers, CommandLineNumbersReadAPoint) {
    setCommandLineText(QStringLiteral("SiteID=2.5,InterfaceOffset=1.5,multiport=0.5"));
    ParseCommandLine();
    EXPECT_EQ(CommandLineSiteID, 2);
    EXPECT_EQ(CommandLineInterfaceOffset, 2);
    EXPECT_TRUE(MultiPort);
}
