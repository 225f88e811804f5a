#include "tests/support/TemporaryRegistry.h"

#include "foundation/App.h"
#include "foundation/modRegistry.h"
#include "foundation/StartupEntry.h"
#include "multiport/core/modMultiPort.h"
#include "multiport/core/MultiPortSettings.h"

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::multiport;
using brantock::testsupport::TemporaryRegistry;

namespace {

struct Ports {
    QString port1, port2, tag1, tag2;
};

Ports read() {
    Ports p;
    GetMultiPortSettings(p.port1, p.port2, p.tag1, p.tag2);
    return p;
}

} // namespace

TEST(modMultiPort, MissingOrEmptySettingsReadAsTheDefaults) {
    TemporaryRegistry registry;
    Ports p = read();
    EXPECT_EQ(p.port1, "1");
    EXPECT_EQ(p.port2, "2");
    EXPECT_EQ(p.tag1, "First door");
    EXPECT_EQ(p.tag2, "Second door");

    for (const Setting* s :
         {&settings::Port1, &settings::Port2, &settings::Port1Tag, &settings::Port2Tag})
        ASSERT_TRUE(SetRegSetting(*s, QString(), settings::Hive));
    p = read();
    EXPECT_EQ(p.port1, "1");
    EXPECT_EQ(p.tag2, "Second door");
}

TEST(modMultiPort, SettingsAreTheMachineWideSectionDecodedAndTheUsersAreNotRead) {
    TemporaryRegistry registry;
    registry.writeHive(HKEY_LOCAL_MACHINE,
                       "Windows Registry Editor Version 5.00\n\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Halvern\\Brantock\\MultiPortStub]\n"
                       "\"Port1\"=\"7\"\n"
                       "\"Port2\"=\"8\"\n"
                       "\"Port1Tag\"=\"North, door\"\n"
                       // "a", then character 1 stored as the pair 1, 2
                       "\"Port2Tag\"=hex(1):61,01,02\n");
    registry.writeHive(HKEY_CURRENT_USER,
                       "Windows Registry Editor Version 5.00\n\n"
                       "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock\\MultiPortStub]\n"
                       "\"Port1\"=\"3\"\n");
    const Ports p = read();
    EXPECT_EQ(p.port1, "7");
    EXPECT_EQ(p.port2, "8");
    EXPECT_EQ(p.tag1, "North, door");
    EXPECT_EQ(p.tag2, QString("a") + QChar(1));
}

TEST(modMultiPort, TheStartEntryNamesTheLauncherBesideThisProgram) {
    TemporaryRegistry registry;
    App::SetPath("/opt/Brantock");
    EXPECT_EQ(LoaderPath(), "/opt/Brantock/brantockmultiportloader");
    EXPECT_FALSE(GetRunOnStartup());

    SetRunOnStartup(true);
    EXPECT_EQ(StartupEntry::Read(), LoaderPath());
    EXPECT_TRUE(GetRunOnStartup());

    // Another folder's launcher, or the counter, is not this launcher.
    App::SetPath("/usr/local/bin");
    EXPECT_FALSE(GetRunOnStartup());
    StartupEntry::Write("/usr/local/bin/brantock");
    EXPECT_FALSE(GetRunOnStartup());

    // Turning it off removes the one entry, whoever wrote it.
    SetRunOnStartup(false);
    EXPECT_TRUE(StartupEntry::Read().isEmpty());
}
