#include "tests/support/ScriptedMessages.h"
#include "tests/support/TestEnvironment.h"

#include "counter/InstanceLock.h"
#include "counter/Main.h"
#include "foundation/ErrorHandler.h"
#include "foundation/modbrUtils.h"
#include "runtime/RuntimeError.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::counter;
using brantock::testsupport::ScratchFolder;
using brantock::testsupport::ScriptedMessages;

namespace {

const QString AlreadyRunning = QStringLiteral(
    "Brantock is already running. You can't run more than one copy at once unless you have "
    "configured Brantock to run with multiple sensors.");
const QString MultipleCopies = QStringLiteral(
    "You are attempting to run multiple copies of Brantock. You must specify a port for each "
    "instance of Brantock. Please start Brantock again. Specify the location of the data file "
    "using the 'DATAPATH=' command line switch and specify the sensor port using the PORT= "
    "command line switch.");

// Each test its own lock name, so the tests may run side by side.
QString lockName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return QString::fromLatin1(info->name()) + QStringLiteral(".lock");
}

} // namespace

TEST(InstanceLock, SeesAnotherHolderAndNothingOnceItHasGone) {
    {
        InstanceLock first(lockName());
        EXPECT_FALSE(first.PreviousInstance());
        EXPECT_TRUE(QFileInfo(first.path()).absolutePath() ==
                    qEnvironmentVariable("XDG_RUNTIME_DIR"));
        InstanceLock second(lockName());
        EXPECT_TRUE(second.PreviousInstance());
        InstanceLock third(lockName());
        EXPECT_TRUE(third.PreviousInstance());
    }
    // The file stays behind, but no lock on it: nothing counts as running.
    InstanceLock later(lockName());
    EXPECT_FALSE(later.PreviousInstance());
}

TEST(InstanceLock, FallsBackToAClosedFolderOfTheUsersOwnWithoutARuntimeFolder) {
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    ScratchFolder temp;
    const QString folder = InstanceLock::Folder(temp.path());
    qputenv("XDG_RUNTIME_DIR", saved);
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_TRUE(folder.startsWith(temp.path() + QStringLiteral("/brantock-")));
    EXPECT_EQ(QFileInfo(folder).permissions() &
                  (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                   QFile::WriteOther | QFile::ExeOther),
              QFile::Permissions());
}

TEST(SingleInstanceRule, ASecondStartGoesOnOnlyAsAMultiPortInstanceWithItsOwnPort) {
    struct Case {
        bool multiPort;
        const char* port;
        bool goesOn;
        QString box; // empty: none
    };
    const Case cases[] = {
        {false, "", false, AlreadyRunning},
        {false, "3", false, AlreadyRunning},
        {true, "", false, MultipleCopies},
        {true, "3", true, QString()},
    };
    InstanceLock running(lockName());
    for (const Case& c : cases) {
        ScriptedMessages boxes;
        MultiPort = c.multiPort;
        CommandLinePort = QString::fromLatin1(c.port);
        InstanceLock starting(lockName());
        EXPECT_EQ(SingleInstanceRule(starting.PreviousInstance()), c.goesOn)
            << c.multiPort << " " << c.port;
        if (c.box.isEmpty()) {
            EXPECT_TRUE(boxes.shown().empty());
            continue;
        }
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().prompt, c.box);
        EXPECT_EQ(boxes.last().style, 4160);
        EXPECT_EQ(boxes.last().title, QStringLiteral("Brantock"));
    }
}

TEST(SingleInstanceRule, AFirstStartNeedsNoPortEvenAsAMultiPortInstance) {
    ScriptedMessages boxes;
    MultiPort = true;
    InstanceLock starting(lockName());
    EXPECT_TRUE(SingleInstanceRule(starting.PreviousInstance()));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST(LoadErrorHandler, AHandlerThatCannotBeMadeIsSaidAndStopsTheStart) {
    ScriptedMessages boxes;
    EXPECT_FALSE(LoadErrorHandler([]() -> std::unique_ptr<ErrorHandler> {
        throw RuntimeError(429, QStringLiteral("ActiveX component can't create object"));
    }));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().prompt,
              QStringLiteral("I can't load the error handler! Brantock can't run without this.\n"
                             "Cause of the problem: ActiveX component can't create object"));
    EXPECT_EQ(boxes.last().style, 4112);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Can't load the error handler"));
}
