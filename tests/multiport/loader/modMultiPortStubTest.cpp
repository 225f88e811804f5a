#include "tests/support/DataFiles.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/SearchPath.h"
#include "tests/support/StandInProgram.h"
#include "tests/support/TemporaryRegistry.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/ThrowingRegistry.h"

#include "foundation/App.h"
#include "foundation/modbrUtils.h"
#include "foundation/modRegistry.h"
#include "multiport/core/MultiPortSettings.h"
#include "multiport/core/UnhandledError.h"
#include "multiport/loader/modMultiPortStub.h"
#include "platform/os/DesktopShell.h"
#include "platform/os/Shell.h"
#include "runtime/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::multiport;
using namespace brantock::testsupport;

namespace {

const QString FirstFailure = QStringLiteral("Sorry, I am having problems running first copy of "
                                            "Brantock\nError code: ");
const QString SecondFailure = QStringLiteral("Sorry, I am having problems running second copy "
                                             "of Brantock\nError code: ");

// The launcher in a program folder of its own, with the real shell and a search path that
// finds nothing unless a test puts something there.
class Launcher : public ::testing::Test {
public:
    Launcher() {
        App::SetPath(programFolder.path());
        platform::Shell::setCurrent(&shell);
    }
    ~Launcher() override { platform::Shell::setCurrent(nullptr); }

    static void store(const Setting& setting, const QString& value) {
        ASSERT_TRUE(SetRegSetting(setting, value, settings::Hive));
    }
    // Runs the launcher with a stand-in counter in the folder; the command lines of the
    // starts it made, sorted, each checked to have started in the launcher's own folder.
    QStringList commandLines(const QString& counterFolder) {
        StandInProgram counter(counterFolder, "brantock");
        Main();
        QStringList lines;
        for (const auto& start : counter.waitForStarts(2)) {
            EXPECT_EQ(start.folder, QDir(programFolder.path()).canonicalPath());
            EXPECT_EQ(start.arguments.size(), 1) << "the parameters are one argument";
            lines << start.arguments.join(u'|');
        }
        return lines;
    }

    TemporaryRegistry registry;
    ScriptedMessages boxes;
    ScratchFolder programFolder;
    ScratchFolder emptyFolder;
    SearchPath searchPath{emptyFolder.path()};
    platform::DesktopShell shell;
};

} // namespace

TEST_F(Launcher, OnEmptySettingsStartsTwoCountersOnPortsOneAndTwo) {
    EXPECT_EQ(commandLines(programFolder.path()),
              QStringList({"multiport=yes, port=1,tag=First door,InterfaceOffset=0",
                           "multiport=yes, port=2,tag=Second door,InterfaceOffset=1"}));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Launcher, PassesTheStoredPortsAndTagsExactlyAsStored) {
    store(settings::Port1, "3");
    store(settings::Port2, "3");
    store(settings::Port1Tag, "North, door");
    store(settings::Port2Tag, " South door ");
    const QStringList lines = commandLines(programFolder.path());
    // Sorted by their text: the second counter's tag begins with a blank.
    EXPECT_EQ(lines, QStringList({"multiport=yes, port=3,tag= South door ,InterfaceOffset=1",
                                  "multiport=yes, port=3,tag=North, door,InterfaceOffset=0"}));
    // What the counter reads of the first: its items trimmed, a tag cut at its comma.
    const QString first = lines.value(1);
    EXPECT_TRUE(StringToBoolean(ExtractCommandParamater("multiport", first)));
    EXPECT_EQ(ExtractCommandParamater("port", first), "3");
    EXPECT_EQ(ExtractCommandParamater("TAG", first), "North");
    EXPECT_EQ(ExtractCommandParamater("InterfaceOffset", first), "0");
}

TEST_F(Launcher, ACounterFoundOnlyOnTheSearchPathIsStartedInTheLaunchersFolder) {
    ScratchFolder installed;
    SearchPath onPath(installed.path());
    EXPECT_EQ(commandLines(installed.path()).size(), 2);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Launcher, WithoutACounterEachCopySaysSoWithItsErrorCode) {
    Main();
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].prompt, FirstFailure + "2");
    EXPECT_EQ(boxes.shown()[1].prompt, SecondFailure + "2");
    for (const auto& box : boxes.shown()) {
        EXPECT_EQ(box.style, 4144);
        EXPECT_EQ(box.title, "Problems running reports");
    }
}

TEST_F(Launcher, AsksTheShellToOpenTheCounterAndCountsOnlyResultsAbove32AsStarted) {
    const std::pair<int, bool> results[] = {{2, false}, {32, false}, {33, true}, {42, true}};
    for (const auto& [result, started] : results) {
        RecordingShell recording;
        recording.result = result;
        ScriptedMessages answered;
        Main();
        ASSERT_EQ(recording.calls.size(), 2u)
            << "the second start is tried whatever the first gave";
        for (const auto& call : recording.calls) {
            EXPECT_EQ(call.verb, "open");
            EXPECT_EQ(call.file, "brantock");
            EXPECT_EQ(call.directory, programFolder.path());
            EXPECT_EQ(call.show, 1);
        }
        if (started) {
            EXPECT_TRUE(answered.shown().empty()) << result;
        } else {
            ASSERT_EQ(answered.shown().size(), 2u) << result;
            EXPECT_EQ(answered.shown()[0].prompt, FirstFailure + QString::number(result));
            EXPECT_EQ(answered.shown()[1].prompt, SecondFailure + QString::number(result));
        }
    }
}

TEST_F(Launcher, ARunTimeErrorReadingTheSettingsEndsItBeforeAnyStart) {
    using ::testing::_;
    ::testing::NiceMock<ThrowingRegistry> failing;
    platform::RegistryApi::setCurrent(&failing);
    ON_CALL(failing, RegOpenKeyEx(_, _, _, _))
        .WillByDefault([](auto, auto, auto, auto) -> std::int32_t {
            throw RuntimeError::of(err::OutOfMemory, "Store");
        });
    RecordingShell recording;
    EXPECT_FALSE(UnhandledError::Run(&Main));
    EXPECT_TRUE(recording.calls.empty());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().prompt, "Run-time error '7':\n\nOut of memory");
    platform::RegistryApi::setCurrent(&registry.registry());
}

TEST(LauncherProgram, WithoutAScreenItStillStartsBothCounters) {
    ScratchFolder folder;
    ASSERT_TRUE(QFile::copy(DataFiles::programFolder() + "/brantockmultiportloader",
                            folder.file("brantockmultiportloader")));
    StandInProgram counter(folder.path(), "brantock");
    QProcess launcher;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    launcher.setProcessEnvironment(env);
    launcher.start(folder.file("brantockmultiportloader"), {});
    ASSERT_TRUE(launcher.waitForFinished(20000));
    EXPECT_EQ(launcher.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(launcher.exitCode(), 0);
    EXPECT_EQ(counter.waitForStarts(2).size(), 2u);
}
