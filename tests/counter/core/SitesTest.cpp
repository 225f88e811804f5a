#include "tests/counter/support/CounterDataFile.h"
#include "tests/counter/support/RecordingCounterWindow.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TemporaryRegistry.h"

#include "counter/core/CounterState.h"
#include "counter/core/DataLogger.h"
#include "counter/core/modMain.h"
#include "foundation/App.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modRegistry.h"
#include "platform/dialogs/MessageBoxService.h"
#include "platform/serial/CommControl.h"
#include "runtime/RuntimeError.h"

#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace brantock;
using namespace brantock::counter;
using namespace brantock::testsupport;
using brantock::counter::testsupport::CounterDataFile;
using brantock::counter::testsupport::RecordingCounterWindow;

namespace {

class Sites : public ::testing::Test {
protected:
    Sites() {
        App::SetTitle("Brantock");
        ComputerNameText = "HOST";
        InterfaceName = "2";
    }
    ~Sites() override { App::SetTitle(QString()); }

    std::vector<std::string> sites() const {
        return file.rows(
            "SELECT SiteID, SiteName, MachineName, Interface FROM Sites ORDER BY rowid");
    }
    void addSite(int id, const QString& name) const {
        file.execute("INSERT INTO Sites (SiteID, SiteName, MachineName, Interface) "
                     "VALUES (?, ?, 'OTHER', '1')",
                     {id, name});
    }
    void useSite(std::int16_t id, const QString& name) {
        SiteID = id;
        SiteName = name;
        SiteLoaded = false;
    }

    TemporaryRegistry registry;
    ScriptedErrors errors;
    ScriptedMessages messages;
    RecordingCounterWindow window;
    CounterDataFile file;
};

} // namespace

TEST_F(Sites, TheSiteComesFromTheRegistryUnlessTheCommandLineNamesOne) {
    SiteLoaded = true;
    GetSiteNameAndID();
    EXPECT_EQ(SiteName, "<Unknown>");
    EXPECT_EQ(SiteID, 0);
    EXPECT_FALSE(SiteLoaded);

    SetRegSetting("SiteName", "Depot", "", true, RegistryHive);
    SetRegSetting("SiteID", "12", "", true, RegistryHive);
    GetSiteNameAndID();
    EXPECT_EQ(SiteName, "Depot");
    EXPECT_EQ(SiteID, 12);

    // An identifier without a name on the command line is passed over.
    CommandLineSiteID = 3;
    GetSiteNameAndID();
    EXPECT_EQ(SiteID, 12);
    CommandLineSiteName = "Gate";
    GetSiteNameAndID();
    EXPECT_EQ(SiteName, "Gate");
    EXPECT_EQ(SiteID, 3);
}

TEST_F(Sites, AnIdentifierThatIsNoNumberIsRaisedWithTheTrail) {
    SetRegSetting("SiteID", "north", "", true, RegistryHive);
    try {
        GetSiteNameAndID();
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::TypeMismatch);
        EXPECT_TRUE(e.source().startsWith("GetSiteNameAndID&"));
    }
}

TEST_F(Sites, TheDefaultSiteIsAddedOnceAndFoundLater) {
    GetSiteNameAndID();
    CheckSiteLoaded();
    EXPECT_TRUE(SiteLoaded);
    EXPECT_EQ(sites(), std::vector<std::string>{"0|<Unknown>|HOST|2"});
    GetSiteNameAndID();
    std::int32_t id = 0;
    QString name = "<UNKNOWN>";
    EXPECT_EQ(LoadSiteID(id, name), 4);
    EXPECT_EQ(sites().size(), 1u);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(Sites, TheCodesOfTheLookUp) {
    addSite(7, "northdoor");
    const struct {
        std::int32_t id;
        QString given;
        std::int32_t code;
        QString nameAfter;
    } cases[] = {
        {5, "", 0, ""},
        {5, "   ", 0, ""},
        {0, "Shop", 1, "Shop"},
        {0, " <unknown> ", 2, "<unknown>"},
        {0, "<UNKNOWN>", 4, "<UNKNOWN>"},
        {7, "  North Door  ", 4, "North Door"},
        {7, "NORTH  DOOR", 4, "NORTH  DOOR"},
        {9, "Yard", 2, "Yard"},
    };
    for (const auto& c : cases) {
        std::int32_t id = c.id;
        QString name = c.given;
        EXPECT_EQ(LoadSiteID(id, name), c.code) << c.id << " " << c.given.toStdString();
        EXPECT_EQ(name, c.nameAfter);
        EXPECT_EQ(id, c.id);
    }
    EXPECT_EQ(sites(), (std::vector<std::string>{"7|northdoor|OTHER|1", "0|<unknown>|HOST|2",
                                                 "9|Yard|HOST|2"}));
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(Sites, ARefusedSiteIsSaidOnceAndKept) {
    const struct {
        std::int16_t id;
        QString name;
        QString message;
    } cases[] = {
        {5, "", "You must give your site a name as well as an ID"},
        {0, "Shop", "you can't have a site ID of 0 it is reserved for <unknown>"},
    };
    for (const auto& c : cases) {
        const std::size_t before = messages.shown().size();
        useSite(c.id, c.name);
        CheckSiteLoaded();
        CheckSiteLoaded();
        ASSERT_EQ(messages.shown().size(), before + 1);
        EXPECT_EQ(messages.last().prompt, c.message);
        EXPECT_EQ(messages.last().style, 0);
        EXPECT_EQ(messages.last().title, "Brantock");
        EXPECT_TRUE(SiteLoaded);
        EXPECT_EQ(SiteID, c.id);
        EXPECT_EQ(SiteName, c.name);
    }
    EXPECT_TRUE(sites().empty());
}

TEST_F(Sites, ASiteWithoutANameStillLogsItsIdentifier) {
    platform::CommControl port;
    DataLogger logger(port);
    logger.timApp.stop();
    logger.SetLogToDatabase(true);
    useSite(5, "");
    logger.LogTrigger(1, true);
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(file.rows("SELECT SiteID FROM Triggers"), std::vector<std::string>{"5"});
}

TEST_F(Sites, ADuplicateIdentifierAsksWhichNameToUse) {
    const QString prompt =
        "There is already a site called Depot, with a site ID of 7. Do you want to use the "
        "existing site name?\r\nClick 'yes' to use Depot as the site name\r\nClick 'no' to use "
        "Shop as the site name\r\nClick 'cancel' to change the ID";
    const struct {
        int answer;
        std::int32_t code;
        QString siteName; // after the check
        std::string stored;
        int conflictMessages;
    } cases[] = {
        {platform::button::Yes, 5, "Depot", "7|Depot|OTHER|1", 0},
        {platform::button::No, 3, "Shop", "7|Shop|OTHER|1", 0},
        {platform::button::Cancel, 6, " Shop ", "7|Depot|OTHER|1", 1},
    };
    for (const auto& c : cases) {
        file.execute("DELETE FROM Sites");
        addSite(7, "Depot");
        std::int32_t id = 7;
        QString name = " Shop ";
        messages.answer(c.answer);
        EXPECT_EQ(LoadSiteID(id, name), c.code);
        ASSERT_FALSE(messages.shown().empty());
        EXPECT_EQ(messages.last().prompt, prompt);
        EXPECT_EQ(messages.last().style, 3);
        EXPECT_EQ(messages.last().title, "Duplicate site ID");
        EXPECT_EQ(sites(), std::vector<std::string>{c.stored});

        // Through the check: the same answer, then the site as it came out.
        file.execute("DELETE FROM Sites");
        addSite(7, "Depot");
        useSite(7, " Shop ");
        messages.answer(c.answer);
        const std::size_t before = messages.shown().size();
        CheckSiteLoaded();
        CheckSiteLoaded();
        EXPECT_EQ(SiteName, c.siteName);
        EXPECT_EQ(SiteID, 7);
        ASSERT_EQ(messages.shown().size(), before + 1 + c.conflictMessages);
        if (c.conflictMessages) {
            EXPECT_EQ(messages.last().prompt,
                      "You need to fix your site id. There is a site ID conflict");
        }
    }
}

TEST_F(Sites, AFailedLookUpIsReportedAndSaysSo) {
    file.execute("DROP TABLE Sites");
    std::int32_t id = 7;
    QString name = "Shop";
    EXPECT_EQ(LoadSiteID(id, name), SiteLookUpFailed);
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].trail, "LoadSiteID&");
    EXPECT_EQ(errors.reports()[0].activity, "loading the site ID");
}

TEST_F(Sites, ALookUpThatFailedOnAReportedErrorAsksNothingMoreAndLogsWithSiteZero) {
    // Sites refuses new rows, as a file that cannot be written does; Triggers takes them.
    file.execute("CREATE TRIGGER NoNewSites BEFORE INSERT ON Sites "
                 "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    platform::CommControl port;
    DataLogger logger(port);
    logger.timApp.stop();
    logger.SetLogToDatabase(true);
    GetSiteNameAndID();
    logger.LogTrigger(1, true);
    logger.LogTrigger(2, true);
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].trail, "LoadSiteID&");
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(SiteLoaded);
    EXPECT_EQ(SiteID, 0);
    EXPECT_EQ(file.rows("SELECT SensorID, SiteID FROM Triggers"),
              (std::vector<std::string>{"1|0", "2|0"}));
}

TEST_F(Sites, ADataFileThatDoesNotOpenForTheLookUpIsReportedOnce) {
    QFile damaged(file.path());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("not a data file");
    damaged.close();
    useSite(0, "<Unknown>");
    CheckSiteLoaded();
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].trail, "OpenCN&");
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(SiteLoaded);
}

TEST_F(Sites, AReadOnlyDataFileOrFolderGivesOnlyItsOwnErrorForOrdinaryUsers) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    const QString folder = QFileInfo(file.path()).path();
    const struct {
        const char* name;
        QFile::Permissions filePermissions;
        QFile::Permissions folderPermissions;
    } cases[] = {
        {"file", QFile::ReadOwner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner},
        {"folder", QFile::ReadOwner | QFile::WriteOwner, QFile::ReadOwner | QFile::ExeOwner},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before = errors.reports().size();
        QFile::setPermissions(file.path(), c.filePermissions);
        QFile::setPermissions(folder, c.folderPermissions);
        useSite(0, "<Unknown>");
        CheckSiteLoaded();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(file.path(), QFile::ReadOwner | QFile::WriteOwner);
        ASSERT_EQ(errors.reports().size(), before + 1);
        EXPECT_TRUE(errors.reports().back().description.contains("cannot be changed"));
        EXPECT_TRUE(messages.shown().empty());
        EXPECT_TRUE(sites().empty());
    }
}
