#include "tests/support/TemporaryRegistry.h"

#include "foundation/StartupEntry.h"
#include "platform/settings/RegistryApi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace brantock;
using brantock::testsupport::TemporaryRegistry;

namespace {

const QString Counter = QStringLiteral("/opt/Brantock/brantock");
const QString Launcher = QStringLiteral("/opt/Brantock/brantockmultiportloader");

QStringList autostartEntries(const TemporaryRegistry& registry) {
    return QDir(QString::fromStdString(registry.paths().autostart))
        .entryList(QDir::Files | QDir::NoDotAndDotDot);
}

} // namespace

TEST(StartupEntry, EachProgramsEntryReplacesTheOthersAndRemovingEitherRemovesTheOne) {
    TemporaryRegistry registry;
    EXPECT_TRUE(StartupEntry::Read().isEmpty());
    EXPECT_FALSE(StartupEntry::Starts(Counter));

    const std::pair<QString, QString> orders[] = {{Counter, Launcher}, {Launcher, Counter}};
    for (const auto& [first, second] : orders) {
        ASSERT_EQ(StartupEntry::Write(first), platform::ERROR_SUCCESS);
        ASSERT_EQ(StartupEntry::Write(second), platform::ERROR_SUCCESS);
        EXPECT_EQ(StartupEntry::Read(), second);
        EXPECT_TRUE(StartupEntry::Starts(second));
        EXPECT_FALSE(StartupEntry::Starts(first)) << qPrintable(first);
        EXPECT_EQ(autostartEntries(registry), QStringList{"Brantock.desktop"});

        EXPECT_EQ(StartupEntry::Remove(), platform::ERROR_SUCCESS);
        EXPECT_TRUE(StartupEntry::Read().isEmpty());
        EXPECT_TRUE(autostartEntries(registry).isEmpty());
    }
}

TEST(StartupEntry, AnEntryWrittenInAnotherLetterCaseStillStartsTheProgram) {
    TemporaryRegistry registry;
    ASSERT_EQ(StartupEntry::Write(Launcher.toUpper()), platform::ERROR_SUCCESS);
    EXPECT_TRUE(StartupEntry::Starts(Launcher));
    EXPECT_FALSE(StartupEntry::Starts(Launcher + " "));
}

TEST(StartupEntry, ARefusedWriteAnswersWithItsCodeAndWritesNothing) {
    TemporaryRegistry registry;
    // A file where the autostart folder would be.
    QFile blocker(QString::fromStdString(registry.paths().autostart));
    QDir().mkpath(QFileInfo(blocker).path());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_NE(StartupEntry::Write(Counter), platform::ERROR_SUCCESS);
    EXPECT_NE(StartupEntry::Remove(), platform::ERROR_SUCCESS);
    EXPECT_TRUE(StartupEntry::Read().isEmpty());
}
