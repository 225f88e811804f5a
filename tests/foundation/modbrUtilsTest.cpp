#include "tests/support/RecordingShell.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TemporaryRegistry.h"

#include "foundation/App.h"
#include "foundation/FoundationState.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modRegistry.h"
#include "foundation/modShellFolders.h"
#include "foundation/modWeb.h"
#include "foundation/ModxpLook.h"
#include "foundation/modXPUser.h"
#include "foundation/ui/modForceFore.h"
#include "runtime/RuntimeError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QWidget>

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::testsupport;

namespace {

void parse(const QString& text) {
    setCommandLineText(text);
    ParseCommandLine();
}

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

} // namespace

TEST(CommandLine, EmptyLineLeavesEverythingEmpty) {
    parse("port=3,datapath=/x,multiport=yes,TAG=t,SiteName=s,SiteID=4,InterfaceOffset=1");
    parse("");
    EXPECT_EQ(CommandLinePort, "");
    EXPECT_EQ(CommandLineDataPath, "");
    EXPECT_FALSE(MultiPort);
    EXPECT_EQ(InstanceTag, "");
    EXPECT_EQ(CommandLineSiteName, "");
    EXPECT_EQ(CommandLineSiteID, 0);
    EXPECT_EQ(CommandLineInterfaceOffset, 0);
}

TEST(CommandLine, LauncherLineGivesEveryValue) {
    parse(
        "multiport=yes, port=3,tag=First door,InterfaceOffset=1, SiteName = North gate ,SiteID=12");
    EXPECT_EQ(CommandLinePort, "3");
    EXPECT_TRUE(MultiPort);
    EXPECT_EQ(InstanceTag, "First door");
    EXPECT_EQ(CommandLineInterfaceOffset, 1);
    EXPECT_EQ(CommandLineSiteName, "North gate");
    EXPECT_EQ(CommandLineSiteID, 12);
}

TEST(CommandLine, ExtractsByPrefixFirstMatchWins) {
    struct Case {
        const char *key, *line, *expected;
    };
    const Case cases[] = {
        {"TAG", "TAG=Door 2 , datapath = /x/data.hbd", "Door 2"},
        {"datapath", "TAG=Door 2 , datapath = /x/data.hbd", "/x/data.hbd"},
        {"TAG", "tag=lower", "lower"},
        {"port", "port=1,port=2", "1"},
        {"port", "portable=1,port=2", "1"},
        {"multiport", "multiport", "multiport"},
        {"multiport", " multiport ", "multiport"},
        {"port", ",,port=5,", "5"},
        {"port", "port", "port"},
        {"port", "port=a=b", "a=b"},
        {"port", "port=", ""},
        {"SiteName", "sitename= ", ""},
        {"TAG", "datapath=/a,b", ""},
        {"TAG", "", ""},
        {"datapath", "datapath=/a b/c", "/a b/c"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractCommandParamater(c.key, c.line), c.expected) << c.key << " in " << c.line;
}

TEST(CommandLine, BooleanWords) {
    const std::pair<const char*, bool> cases[] = {
        {"yes", true},        {"Yes", true},      {"TRUE", true},  {"on", true},   {"enable", true},
        {"2", true},          {"-1", true},       {"no", false},   {"off", false}, {"", false},
        {"multiport", false}, {"enabled", false}, {" yes", false}, {"0", false},   {"y", false}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(StringToBoolean(text), expected) << text;
    // The parser trims the value, so a blank after "=" still reads as yes.
    parse("multiport= yes");
    EXPECT_TRUE(MultiPort);
}

TEST(CommandLine, NumbersAreRoundedAndOutOfRangeOverflows) {
    parse("SiteID=2.5,InterfaceOffset=1.5");
    EXPECT_EQ(CommandLineSiteID, 2);
    EXPECT_EQ(CommandLineInterfaceOffset, 2);
    parse("SiteID=12abc,InterfaceOffset=x");
    EXPECT_EQ(CommandLineSiteID, 12);
    EXPECT_EQ(CommandLineInterfaceOffset, 0);

    for (const char* line : {"SiteID=32768", "SiteID=-40000", "InterfaceOffset=256",
                             "InterfaceOffset=-1", "InterfaceOffset=40000"}) {
        try {
            parse(line);
            ADD_FAILURE() << line;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), err::Overflow) << line;
            EXPECT_TRUE(e.source().startsWith("ParseCommandLine&")) << e.source().toStdString();
        }
    }
}

TEST(CommandLine, ArgumentsJoinWithBlanks) {
    setCommandLineText("datapath=/tmp/a b.hbd,TAG=Door");
    EXPECT_EQ(CommandLineText(), "datapath=/tmp/a b.hbd,TAG=Door");
}

TEST(Files, DoesFileExistByListing) {
    ScratchFolder dir;
    touch(dir.file("data.hbd"));
    QDir().mkdir(dir.file("sub"));
    struct Case {
        QString path;
        int attributes;
        bool exists, badPath;
    };
    const Case cases[] = {
        {"", 0, false, false},
        {QString(QChar(0)) + "  ", 0, false, false},
        {dir.file("data.hbd"), 0, true, false},
        {" " + dir.file("data.hbd") + " ", 0, true, false},
        {dir.file("data.hbd"), 16, true, false},
        {dir.file("*.hbd"), 0, true, false},
        {dir.file("*.mdb"), 0, false, false},
        {dir.file("sub"), 0, false, false},
        {dir.file("sub"), 16, true, false},
        {dir.file("sub") + "/", 16, true, false},
        {dir.file("missing"), 16, false, true},
        {dir.file("missing.hbd"), 0, false, true},
        {dir.file("nofolder/data.hbd"), 0, false, true},
    };
    for (const Case& c : cases) {
        bool bad = false;
        EXPECT_EQ(DoesFileExist(c.path, c.attributes, bad), c.exists) << c.path.toStdString();
        EXPECT_EQ(bad, c.badPath) << c.path.toStdString();
    }
}

TEST(Files, MakeDirPathCreatesEveryMissingFolder) {
    ScratchFolder dir;
    const QString deep = dir.file("a/b/c");
    MakeDirPath(deep);
    EXPECT_TRUE(IsDirectory(deep));
    MakeDirPath(deep + "/"); // already there: nothing to do
    EXPECT_TRUE(IsDirectory(dir.file("a/b")));

    touch(dir.file("file"));
    try {
        MakeDirPath(dir.file("file/below"));
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::PathFileAccessError);
        EXPECT_EQ(e.source(), "MakeDirPath&");
    }
    EXPECT_FALSE(IsDirectory(dir.file("file")));
    EXPECT_FALSE(IsDirectory(dir.file("nothing")));
    EXPECT_FALSE(IsDirectory(""));
}

TEST(Files, PathHelpers) {
    EXPECT_EQ(TrimNull(QString(" a") + QChar(0) + "b "), "ab");
    const std::pair<const char*, const char*> paths[] = {{"/x/y/data.hbd", "/x/y"},
                                                         {"//srv/share/a.hbd", "//srv/share"},
                                                         {"a.hbd", ""},
                                                         {"/data.hbd", "/"},
                                                         {"/", "/"},
                                                         {"x/", "x"}};
    for (const auto& [path, folder] : paths)
        EXPECT_EQ(GetFilePath(path), folder) << path;
    EXPECT_TRUE(IsDirectory(GetFilePath("/data.hbd")));
    EXPECT_EQ(ExtractFileName("/x/y/ding.wav"), "ding.wav");
    EXPECT_EQ(ExtractFileName("/x/"), "");
    EXPECT_EQ(ExtractFileName("plain"), "plain");
    EXPECT_EQ(RemoveExtention("Ding.WAV", ".wav"), "Ding");
    EXPECT_EQ(RemoveExtention("ding.mp3", ".wav"), "ding.mp3");
    EXPECT_EQ(RemoveExtention("ding.wav", ".WAV"), "ding.wav");
}

TEST(Messages, MessageShowsTheBoxItIsGivenAndReturnsTheButton) {
    ScriptedMessages boxes;
    App::SetTitle("Brantock");
    boxes.answer(7);
    EXPECT_EQ(Message("Make a new data file?", 4 + 32 + 256, "New data file"), 7);
    EXPECT_EQ(boxes.last().prompt, "Make a new data file?");
    EXPECT_EQ(boxes.last().style, 292);
    EXPECT_EQ(boxes.last().title, "New data file");
    Message("No title", 0, "");
    EXPECT_EQ(boxes.last().title, "Brantock");
    App::SetTitle(QString());
}

namespace {
class FailingBoxes : public platform::MessageBoxService {
public:
    FailingBoxes() { setCurrent(this); }
    ~FailingBoxes() override { setCurrent(nullptr); }
    int show(const platform::MessageRequest&) override {
        if (failures-- > 0)
            throw RuntimeError(7, "Out of memory");
        return 1;
    }
    int failures = 0;
};
} // namespace

TEST(Messages, MessageReportsItsOwnErrors) {
    ScriptedErrors errors;
    FailingBoxes boxes;
    boxes.failures = 1;
    errors.answer("4");
    EXPECT_EQ(Message("x", 0, "t"), 1); // shown again after "retry"
    boxes.failures = 1;
    errors.answer("3");
    EXPECT_EQ(Message("x", 0, "t"), 0);
    ASSERT_EQ(errors.reports().size(), 2u);
    EXPECT_EQ(errors.reports()[0].trail, "Message&");
    EXPECT_TRUE(errors.reports()[0].activity.isNull());
    EXPECT_TRUE(errors.reports()[0].detail.isNull());
}

TEST(Helpers, HelpFileFollowsTheHtmlHelpRegistration) {
    TemporaryRegistry temp;
    EXPECT_TRUE(SetHelpFile("brantock.chm", "brantock.hlp"));
    EXPECT_EQ(App::HelpFile(), "brantock.hlp");
    temp.writeHive(platform::HKEY_CLASSES_ROOT,
                   "[HKEY_CLASSES_ROOT\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}]\n");
    EXPECT_TRUE(SetHelpFile("brantock.chm", "brantock.hlp"));
    EXPECT_EQ(App::HelpFile(), "brantock.chm");
    App::SetPath("/opt/brantock");
    EXPECT_EQ(HelpGuidePath(), "/opt/brantock/help/brantock.html");
    App::SetPath(QString());
}

TEST(Helpers, SpecialFoldersAndMachineName) {
    const QString documents = QDir::homePath() + "/Documents";
    QDir(documents).removeRecursively();
    EXPECT_EQ(GetSpecialFolder(csidl::Personal, false), "");
    EXPECT_EQ(GetSpecialFolder(csidl::Personal, true), documents);
    EXPECT_EQ(GetSpecialFolder(csidl::Personal, false), documents);
    EXPECT_EQ(GetSpecialFolder(0x77, false), "");
    EXPECT_FALSE(GetLocalComputerName("fallback").isEmpty());
    EXPECT_TRUE(InitXPLook());
}

TEST(Helpers, BrowseToWebSiteGivesAnAddressNothingOpensToTheUser) {
    RecordingShell shell;
    ScriptedMessages boxes;
    ScriptedErrors errors;
    App::SetTitle("Brantock");
    const struct {
        int result;
        bool told;
    } cases[] = {{42, false}, {33, false}, {32, true}, {31, true}, {5, true}, {2, true}, {0, true}};
    for (const auto& c : cases) {
        shell.result = c.result;
        const std::size_t before = boxes.shown().size();
        BrowseToWebSite("https://example.org/brantock", nullptr);
        EXPECT_EQ(boxes.shown().size(), before + (c.told ? 1 : 0)) << c.result;
    }
    ASSERT_EQ(shell.calls.size(), std::size(cases));
    EXPECT_EQ(shell.calls[0].verb, "open");
    EXPECT_EQ(shell.calls[0].file, "https://example.org/brantock");
    EXPECT_EQ(shell.calls[0].show, 1);
    ASSERT_FALSE(boxes.shown().empty());
    EXPECT_EQ(boxes.last().prompt, "I could not open https://example.org/brantock. Please open it "
                                   "yourself, for example in your web browser.");
    EXPECT_EQ(boxes.last().style, 48);
    EXPECT_EQ(boxes.last().title, "Brantock");
    EXPECT_TRUE(errors.reports().empty()); // a failure to open is no run-time error
    App::SetTitle(QString());
}

TEST(Helpers, ForceForegroundWindowShowsAndRestores) {
    QWidget window;
    EXPECT_FALSE(ForceForegroundWindow(nullptr));
    EXPECT_TRUE(ForceForegroundWindow(&window));
    EXPECT_TRUE(window.isVisible());
    window.showMinimized();
    EXPECT_TRUE(ForceForegroundWindow(&window));
    EXPECT_FALSE(window.isMinimized());
}

TEST(ProcessState, OneResetPutsEveryValueBack) {
    parse("port=3,datapath=/d.hbd,multiport=yes,TAG=a,SiteName=s,SiteID=4,InterfaceOffset=1");
    RegistryHive = HKEY_LOCAL_MACHINE;
    CachedDataPath = "/x";
    DataVersion = 2;
    SiteLoaded = true;
    App::SetTitle("T");
    App::SetPath("/p");
    FoundationState::Reset();
    EXPECT_EQ(CommandLineText(), QCoreApplication::arguments().mid(1).join(u' '));
    EXPECT_TRUE(CommandLinePort.isEmpty() && CommandLineDataPath.isEmpty() &&
                InstanceTag.isEmpty() && CommandLineSiteName.isEmpty());
    EXPECT_FALSE(MultiPort);
    EXPECT_EQ(CommandLineSiteID, 0);
    EXPECT_EQ(CommandLineInterfaceOffset, 0);
    EXPECT_EQ(RegistryHive, HKEY_CURRENT_USER);
    EXPECT_TRUE(CachedDataPath.isEmpty());
    EXPECT_EQ(DataVersion, 0);
    EXPECT_FALSE(SiteLoaded);
    EXPECT_EQ(App::Title(), QCoreApplication::applicationName());
    EXPECT_EQ(App::Path(), QCoreApplication::applicationDirPath());
}
