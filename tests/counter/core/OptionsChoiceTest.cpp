#include "tests/support/CommaDecimalLocale.h"

#include "counter/core/OptionsChoice.h"
#include "foundation/App.h"
#include "foundation/StartupEntry.h"

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::counter;
using brantock::testsupport::CommaDecimalLocale;

namespace {

struct Typed {
    const char* text;
    float milliseconds;
    const char* correctedText; // null: the typed text stands
};

void expectLockouts() {
    const Typed cases[] = {
        {"0.5", 500, nullptr},       {"1", 1000, nullptr},     {"65.535", 65535, nullptr},
        {"65.536", 65535, "65.535"}, {"70", 65535, "65.535"},  {"1e9", 65535, "65.535"},
        {"0", 0, nullptr},           {"", 0, nullptr},         {"abc", 0, nullptr},
        {".", 0, nullptr},           {"0.001", 1, nullptr},    {".0001", 1, "0.001"},
        {"0.0005", 1, "0.001"},      {"0.0015", 1.5, nullptr}, {"2 seconds", 2000, nullptr},
    };
    for (const Typed& c : cases) {
        const OptionsChoice::Lockout lockout = OptionsChoice::ReadLockout(c.text);
        EXPECT_FALSE(lockout.refused) << c.text;
        EXPECT_EQ(lockout.milliseconds, c.milliseconds) << c.text;
        if (c.correctedText)
            EXPECT_EQ(lockout.correctedText, c.correctedText) << c.text;
        else
            EXPECT_TRUE(lockout.correctedText.isNull()) << c.text;
    }
}

} // namespace

TEST(OptionsChoice, TheLockoutTimeIsReadAsSecondsAndKeptWithinWhatTheTimersTake) {
    expectLockouts();
}

TEST(OptionsChoice, TheLockoutTimeReadsAPointUnderACommaLocale) {
    CommaDecimalLocale comma;
    if (!comma.available())
        GTEST_SKIP() << "no locale with a decimal comma";
    expectLockouts();
    EXPECT_EQ(OptionsChoice::LockoutText("1500"), "1.5");
    EXPECT_EQ(OptionsChoice::MillisecondsText(1.5f), "1.5");
}

TEST(OptionsChoice, ANegativeLockoutTimeIsRefused) {
    for (const char* text : {"-1", "-0.0001", " -3"}) {
        const OptionsChoice::Lockout lockout = OptionsChoice::ReadLockout(text);
        EXPECT_TRUE(lockout.refused) << text;
        EXPECT_EQ(lockout.milliseconds, 0) << text;
    }
}

TEST(OptionsChoice, StoredMillisecondsShowAsSecondsAndTimesAreStoredAsTheyAre) {
    const std::pair<const char*, const char*> shown[] = {
        {"500", "0.5"}, {"1000", "1"}, {"65535", "65.535"}, {"1.5", "0.0015"},
        {"0", "0"},     {"", "0"},     {"abc", "0"},        {"250ms", "0.25"},
    };
    for (const auto& [stored, text] : shown)
        EXPECT_EQ(OptionsChoice::LockoutText(stored), text) << stored;

    const std::pair<float, const char*> written[] = {
        {500, "500"}, {65535, "65535"}, {1.5f, "1.5"}, {1, "1"}, {0, "0"}, {1234.5f, "1234.5"},
    };
    for (const auto& [ms, text] : written)
        EXPECT_EQ(OptionsChoice::MillisecondsText(ms), text) << text;

    // What the window stores it shows again as the same time at its next load.
    for (const char* typed : {"0.5", "65.535", "0.001", "12.345", "0.0015", "3"}) {
        const float ms = OptionsChoice::ReadLockout(typed).milliseconds;
        const QString again = OptionsChoice::LockoutText(OptionsChoice::MillisecondsText(ms));
        EXPECT_EQ(OptionsChoice::ReadLockout(again).milliseconds, ms) << typed;
    }
}

TEST(OptionsChoice, TheInterfaceLineNamesManualAPortOrNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"demo", "Manual"},
        {"Manual", "Manual"},
        {"MANUAL", "Manual"},
        {"1", "Com 1"},
        {"16", "Com 16"},
        {"2.5", "Com 2"},
        {"3.5", "Com 4"},
        {"7 (door)", "Com 7"},
        {"0", "Not specified"},
        {"17", "Not specified"},
        {"-3", "Not specified"},
        {"", "Not specified"},
        {"Com 3", "Not specified"},
        {"99999999999", "Not specified"},
        {"manual mode", "Not specified"},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(OptionsChoice::InterfaceStatus(text), shown) << text;
}

TEST(OptionsChoice, TheStartEntryIsOursWhenItNamesThisProgramInAnyLetterCase) {
    App::SetPath("/opt/Brantock");
    const QString path = OptionsChoice::ProgramPath();
    EXPECT_EQ(path, "/opt/Brantock/" + App::EXEName());
    EXPECT_TRUE(StartupEntry::Names(path, path));
    EXPECT_TRUE(StartupEntry::Names(path.toUpper(), path));
    EXPECT_TRUE(StartupEntry::Names(path + QChar(u'\0'), path));
    EXPECT_FALSE(StartupEntry::Names("/opt/Brantock/brantockmultiportloader", path));
    EXPECT_FALSE(StartupEntry::Names(path + " ", path));
    EXPECT_FALSE(StartupEntry::Names(QString(), path));
    App::SetPath(QString());
}
