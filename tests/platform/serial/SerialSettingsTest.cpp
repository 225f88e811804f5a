#include "platform/serial/SerialSettings.h"
#include "platform/serial/CommControl.h"
#include "platform/serial/CommErrors.h"

#include <gtest/gtest.h>

using namespace brantock::platform;

namespace {

struct SettingsCase {
    const char* text;
    int baud;
    char parity;
    int dataBits;
    int stopBits;
};

class ValidSettings : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(ValidSettings, Parse) {
    const SettingsCase& c = GetParam();
    const std::optional<SerialSettings> s = SerialSettings::parse(QString::fromLatin1(c.text));
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->baud, c.baud);
    EXPECT_EQ(s->parity, c.parity);
    EXPECT_EQ(s->dataBits, c.dataBits);
    EXPECT_EQ(s->stopBits, c.stopBits);
}

INSTANTIATE_TEST_SUITE_P(Texts, ValidSettings,
                         ::testing::Values(SettingsCase{"9600,n,8,1", 9600, 'n', 8, 1},
                                           SettingsCase{"115200,E,7,2", 115200, 'e', 7, 2},
                                           SettingsCase{" 300 , o , 5 , 1.5 ", 300, 'o', 5, 2},
                                           SettingsCase{"1200,m,8,1", 1200, 'm', 8, 1},
                                           SettingsCase{"2400,s,6,1", 2400, 's', 6, 1}));

TEST(SerialSettings, MalformedTextIsAnInvalidPropertyValueAndChangesNothing) {
    CommControl control;
    for (const char* text :
         {"", "9600", "9600,n,8", "9600,n,8,1,x", "9601,n,8,1", "abc,n,8,1", "9600,x,8,1",
          "9600,no,8,1", "9600,n,4,1", "9600,n,9,1", "9600,n,8,3", "9600,n,8,0"}) {
        try {
            control.SetSettings(QString::fromLatin1(text));
            ADD_FAILURE() << "accepted " << text;
        } catch (const brantock::RuntimeError& e) {
            EXPECT_EQ(e.number(), brantock::err::InvalidPropertyValue) << text;
        }
    }
    EXPECT_EQ(control.Settings(), QStringLiteral("9600,n,8,1"));
}

TEST(SerialSettings, OnlyTextInputIsOffered) {
    CommControl control;
    control.SetInputMode(0);
    EXPECT_THROW(control.SetInputMode(1), brantock::RuntimeError);
    EXPECT_EQ(control.InputMode(), 0);
}

} // namespace
