#include "tests/support/TemporaryRegistry.h"
#include "tests/support/ThrowingRegistry.h"

#include "foundation/modRegistry.h"
#include "foundation/Setting.h"
#include "runtime/RuntimeError.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace brantock;
using brantock::testsupport::TemporaryRegistry;
using brantock::testsupport::ThrowingRegistry;

namespace {

const QString Key = QStringLiteral("Software\\Halvern\\Brantock\\");

struct Case {
    const char* stored;
    bool expected;
};

} // namespace

TEST(modRegistry, MissingOrEmptyValueReadsAsTheDefault) {
    TemporaryRegistry temp;
    EXPECT_EQ(GetRegSetting("ComPort", "1", "", true, HKEY_CURRENT_USER), "1");
    ASSERT_TRUE(SetRegSetting("ComPort", "", "", true, HKEY_CURRENT_USER));
    EXPECT_EQ(GetRegSetting("ComPort", "1", "", true, HKEY_CURRENT_USER), "1");
    ASSERT_TRUE(SetRegSetting("ComPort", "7", "", true, HKEY_CURRENT_USER));
    EXPECT_EQ(GetRegSetting("ComPort", "1", "", true, HKEY_CURRENT_USER), "7");
    EXPECT_TRUE(temp.readHive(HKEY_CURRENT_USER)
                    .contains("[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock]\n"
                              "\"ComPort\"=\"7\"\n"));
}

TEST(modRegistry, CharactersZeroAndOneSurviveEncoding) {
    TemporaryRegistry temp;
    const QString tricky =
        QString("a") + QChar(0) + "b" + QChar(1) + "c" + QChar(1) + QChar(3) + "d";
    ASSERT_TRUE(SetRegSetting("Tricky", tricky, "", true, HKEY_CURRENT_USER));
    EXPECT_EQ(GetRegSetting("Tricky", "", "", true, HKEY_CURRENT_USER), tricky);

    // The stored form: 1 becomes 1,2 first, then 0 becomes 1,3.
    const QVariant raw = Reg_QueryValue(HKEY_CURRENT_USER, Key, "Tricky", true);
    EXPECT_EQ(raw.toString(), QString("a") + QChar(1) + QChar(3) + "b" + QChar(1) + QChar(2) + "c" +
                                  QChar(1) + QChar(2) + QChar(3) + "d");
    // Read without decoding the pairs stay.
    EXPECT_EQ(GetRegSetting("Tricky", "", "", false, HKEY_CURRENT_USER), raw.toString());
}

TEST(modRegistry, ValuesOfOtherToolsAndTypes) {
    TemporaryRegistry temp;
    temp.writeHive(HKEY_CURRENT_USER, "Windows Registry Editor Version 5.00\n\n"
                                      "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock]\n"
                                      "\"Terminated\"=hex(1):61,62,00\n"
                                      "\"Expandable\"=hex(2):61,00\n"
                                      "\"Number\"=dword:000001f4\n"
                                      "\"Bytes\"=hex:01,02\n");
    EXPECT_EQ(GetRegSetting("Terminated", "x", "", true, HKEY_CURRENT_USER), "ab");
    EXPECT_EQ(GetRegSetting("Expandable", "default", "", true, HKEY_CURRENT_USER), "default");
    EXPECT_EQ(GetRegSetting("Number", "", "", true, HKEY_CURRENT_USER), "500");
    EXPECT_EQ(GetRegSetting("Number", "", "", false, HKEY_CURRENT_USER), "500");
    EXPECT_EQ(GetRegSetting("Bytes", "none", "", true, HKEY_CURRENT_USER), "none");

    QVariant v = QStringLiteral("untouched");
    EXPECT_EQ(Reg_QueryValue(HKEY_CURRENT_USER, Key, "Bytes", true).toByteArray(),
              QByteArray("\x01\x02", 2));
    EXPECT_EQ(Reg_QueryValue(HKEY_CURRENT_USER, Key, "Terminated", false).toString(),
              QString("ab") + QChar(0));
    EXPECT_FALSE(Reg_QueryValue(HKEY_CURRENT_USER, Key, "Expandable", true).isValid());
    EXPECT_FALSE(Reg_QueryValue(HKEY_CURRENT_USER, "Software\\Nowhere", "X", true).isValid());
}

TEST(modRegistry, BooleansReadTheWordsAndNumbers) {
    TemporaryRegistry temp;
    const Case cases[] = {{" Yes ", true}, {"2", true},    {"no", false},     {"TRUE", true},
                          {"valid", true}, {"t", true},    {"Enabled", true}, {"ok", true},
                          {"0", false},    {"-1", true},   {"0.0", false},    {"abc", false},
                          {"on", true},    {"off", false}, {"y", true},       {"3x", true}};
    for (const Case& c : cases) {
        SetRegSetting("Flag", c.stored, "", true, HKEY_CURRENT_USER);
        EXPECT_EQ(GetRegBoolean("Flag", !c.expected, "", HKEY_CURRENT_USER), c.expected)
            << c.stored;
    }
    EXPECT_TRUE(GetRegBoolean("Missing", true, "", HKEY_CURRENT_USER));
    EXPECT_FALSE(GetRegBoolean("Missing", false, "", HKEY_CURRENT_USER));

    ASSERT_TRUE(SetRegBoolean("Flag", true, "", HKEY_CURRENT_USER));
    EXPECT_EQ(GetRegSetting("Flag", "", "", true, HKEY_CURRENT_USER), "1");
    ASSERT_TRUE(SetRegBoolean("Flag", false, "", HKEY_CURRENT_USER));
    EXPECT_EQ(GetRegSetting("Flag", "", "", true, HKEY_CURRENT_USER), "0");
}

TEST(modRegistry, CheckBoxesReadModuloThree) {
    TemporaryRegistry temp;
    const std::pair<const char*, int> cases[] = {{"0", 0},   {"1", 1},  {"2", 2},  {"3", 0},
                                                 {"4", 1},   {"-1", 1}, {"-2", 2}, {"abc", 0},
                                                 {"2.5", 2}, {"1.5", 2}};
    for (const auto& [stored, expected] : cases) {
        SetRegSetting("Box", stored, "", true, HKEY_CURRENT_USER);
        EXPECT_EQ(GetRegCheckBox("Box", 1, "", HKEY_CURRENT_USER), expected) << stored;
    }
    EXPECT_EQ(GetRegCheckBox("Missing", 2, "", HKEY_CURRENT_USER), 2);
}

TEST(modRegistry, HiveFallbackLooksAtTheMachineWhenTheUserHasNothing) {
    TemporaryRegistry temp;
    EXPECT_EQ(GetRegSettingHiveFallback("DatabasePath", "none", "", true), "none");
    SetRegSetting("DatabasePath", "/srv/machine.hbd", "", true, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(GetRegSettingHiveFallback("DatabasePath", "none", "", true), "/srv/machine.hbd");
    SetRegSetting("DatabasePath", "", "", true, HKEY_CURRENT_USER);
    EXPECT_EQ(GetRegSettingHiveFallback("DatabasePath", "none", "", true), "/srv/machine.hbd");
    SetRegSetting("DatabasePath", "DEFAULT_SETTING~TEST", "", true, HKEY_CURRENT_USER);
    EXPECT_EQ(GetRegSettingHiveFallback("DatabasePath", "none", "", true), "/srv/machine.hbd");
    SetRegSetting("DatabasePath", "/home/me.hbd", "", true, HKEY_CURRENT_USER);
    EXPECT_EQ(GetRegSettingHiveFallback("DatabasePath", "none", "", true), "/home/me.hbd");
}

TEST(modRegistry, SectionsAreKeysBelowTheProductKey) {
    TemporaryRegistry temp;
    EXPECT_FALSE(Reg_DoesKeyExist(HKEY_LOCAL_MACHINE, Key + "MultiPortStub"));
    ASSERT_TRUE(SetRegSetting("Port1", "3", "MultiPortStub", true, HKEY_LOCAL_MACHINE));
    EXPECT_TRUE(Reg_DoesKeyExist(HKEY_LOCAL_MACHINE, Key + "MultiPortStub"));
    EXPECT_EQ(GetRegSetting("Port1", "1", "MultiPortStub", true, HKEY_LOCAL_MACHINE), "3");
    EXPECT_EQ(GetRegSetting("Port1", "1", "", true, HKEY_LOCAL_MACHINE), "1");
    EXPECT_EQ(GetRegSetting("Port1", "1", "MultiPortStub", true, HKEY_CURRENT_USER), "1");
}

TEST(modRegistry, RawCallsReturnTheResultCodes) {
    TemporaryRegistry temp;
    const QString run = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    EXPECT_EQ(RegSetKeyValue(HKEY_CURRENT_USER, Key + "Absent", "X", "1", platform::REG_SZ, false),
              2);
    EXPECT_EQ(RegSetKeyValue(HKEY_CURRENT_USER, Key, "X", "1", 7, true), 7);
    EXPECT_EQ(RegSetKeyValue(HKEY_CURRENT_USER, Key, "N", 500, platform::REG_DWORD, true), 0);
    EXPECT_EQ(Reg_QueryValue(HKEY_CURRENT_USER, Key, "N", true).toInt(), 500);
    EXPECT_EQ(RegSetKeyValue(HKEY_CURRENT_USER, Key, "B", QByteArray("\x05\x06"),
                             platform::REG_BINARY, true),
              0);
    EXPECT_EQ(Reg_QueryValue(HKEY_CURRENT_USER, Key, "B", true).toByteArray(),
              QByteArray("\x05\x06"));

    EXPECT_EQ(RegSetKeyValue(HKEY_LOCAL_MACHINE, run, "Brantock", "/opt/b/loader", platform::REG_SZ,
                             true),
              0);
    EXPECT_EQ(Reg_QueryValue(HKEY_LOCAL_MACHINE, run, "Brantock", true).toString(),
              "/opt/b/loader");
    EXPECT_EQ(Reg_DeleteValue(HKEY_LOCAL_MACHINE, run, "Brantock"), 0);
    EXPECT_EQ(Reg_DeleteValue(HKEY_LOCAL_MACHINE, run, "Brantock"), 2);
    EXPECT_EQ(Reg_DeleteValue(HKEY_CURRENT_USER, Key + "Absent", "X"), 2);
    EXPECT_EQ(Cleaned(QString("a") + QChar(0) + "b" + QChar(0)), "ab");
}

TEST(modRegistry, MachineWriteThatIsRefusedReturnsFalse) {
    testsupport::ScratchFolder folder;
    platform::HivePaths paths = platform::HivePaths::under(folder.stdPath());
    QFile blocker(folder.file("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    paths.machine = folder.stdPath() + "/blocked/machine.reg";
    platform::HiveFileRegistry registry(paths);
    platform::RegistryApi::setCurrent(&registry);
    EXPECT_FALSE(SetRegSetting("Port1", "2", "MultiPortStub", true, HKEY_LOCAL_MACHINE));
    EXPECT_EQ(GetRegSetting("Port1", "1", "MultiPortStub", true, HKEY_LOCAL_MACHINE), "1");
    EXPECT_TRUE(SetRegSetting("Port1", "2", "MultiPortStub", true, HKEY_CURRENT_USER));
    platform::RegistryApi::setCurrent(nullptr);
}

TEST(modRegistry, RunTimeErrorsCarryTheTrailAndKeysAreClosed) {
    using ::testing::_;
    using ::testing::DoAll;
    using ::testing::Return;
    using ::testing::SetArgPointee;
    ThrowingRegistry registry;
    platform::RegistryApi::setCurrent(&registry);
    EXPECT_CALL(registry, RegOpenKeyEx(_, _, _, _))
        .WillRepeatedly(DoAll(SetArgPointee<3>(42u), Return(0)));
    EXPECT_CALL(registry, RegQueryValueEx(_, _, _, _, _))
        .WillRepeatedly([](auto, auto, auto, auto, auto) -> std::int32_t {
            throw RuntimeError(7, "Out of memory", "Store");
        });
    EXPECT_CALL(registry, RegCloseKey(42u)).Times(1).WillRepeatedly(Return(0));
    try {
        GetRegBoolean("Flag", false, "", HKEY_CURRENT_USER);
        ADD_FAILURE() << "no error raised";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 7);
        EXPECT_EQ(e.source(), "GetRegBoolean&GetRegSetting&Reg_QueryValue&QueryValueEx&Store");
    }

    EXPECT_CALL(registry, RegCreateKeyEx(_, _, _, _))
        .WillOnce(DoAll(SetArgPointee<3>(43u), Return(0)));
    EXPECT_CALL(registry, RegCloseKey(43u)).WillOnce(Return(0));
    try {
        RegSetKeyValue(HKEY_CURRENT_USER, Key, "N", "not a number", platform::REG_DWORD, true);
        ADD_FAILURE() << "no error raised";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 13);
        EXPECT_EQ(e.source(), "RegSetKeyValue&SetValueEx&");
    }
    platform::RegistryApi::setCurrent(nullptr);
}

TEST(modRegistry, ListedSettingsCarryTheirSectionDefaultAndEncoding) {
    TemporaryRegistry temp;
    const Setting text{"Sub", "Name", "fallback", true};
    const Setting flag{"", "Flag", "1", false};
    const Setting box{"", "Box", "2", false};
    EXPECT_EQ(GetRegSetting(text, HKEY_CURRENT_USER), "fallback");
    EXPECT_TRUE(GetRegBoolean(flag, HKEY_CURRENT_USER));
    EXPECT_EQ(GetRegCheckBox(box, HKEY_CURRENT_USER), 2);

    const QString withOne = QStringLiteral("a") + QChar(1) + QStringLiteral("b");
    ASSERT_TRUE(SetRegSetting(text, withOne, HKEY_CURRENT_USER));
    EXPECT_EQ(GetRegSetting(text, HKEY_CURRENT_USER), withOne);
    EXPECT_EQ(GetRegSetting("Name", "", "Sub", true, HKEY_CURRENT_USER), withOne);
    ASSERT_TRUE(SetRegBoolean(flag, false, HKEY_CURRENT_USER));
    EXPECT_FALSE(GetRegBoolean(flag, HKEY_CURRENT_USER));

    SetRegSetting(text, "", HKEY_CURRENT_USER);
    SetRegSetting("Name", "machine's", "Sub", true, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(GetRegSettingHiveFallback(text), "machine's");
}
