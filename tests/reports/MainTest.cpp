#include "tests/support/DataFiles.h"
#include "tests/support/MockClock.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TemporaryRegistry.h"
#include "tests/support/TestDates.h"
#include "tests/support/TestEnvironment.h"

#include "datafile_dialog/frmSelectData.h"
#include "foundation/App.h"
#include "foundation/ErrorHandler.h"
#include "foundation/FoundationState.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modRegistry.h"
#include "platform/dialogs/MessageBoxService.h"
#include "reports/clsBrantockReports.h"
#include "reports/core/repDay.h"
#include "reports/frmMain.h"
#include "reports/Main.h"
#include "runtime/RuntimeError.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

using namespace brantock;
using namespace brantock::reports;
using namespace brantock::testsupport;

namespace {

class ReportsStart : public ::testing::Test {
protected:
    ReportsStart() { DataFiles::copyTemplate(dataFile); }
    ~ReportsStart() override { ReleaseMainWindow(); }

    // A handler that asks nobody and logs into the scratch folder.
    std::function<std::unique_ptr<ErrorHandler>()> handler() const {
        return [log = files.file("errors.log")] {
            return std::make_unique<ErrorHandler>(nullptr, log);
        };
    }
    QString logged() const {
        QFile log(files.file("errors.log"));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    TemporaryRegistry registry;
    ScriptedMessages boxes;
    MockClock clock{at(2026, 3, 10, 9, 30)};
    ScratchFolder files;
    QString dataFile = files.file("data.hbd");
};

} // namespace

TEST_F(ReportsStart, WithoutAnErrorHandlerItSaysWhyAndDoesNothingElse) {
    setCommandLineText("datapath=" + dataFile + ",TAG=North");
    const bool loaded = Main([]() -> std::unique_ptr<ErrorHandler> {
        throw RuntimeError(429, "ActiveX component can't create object");
    });
    EXPECT_FALSE(loaded);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().prompt,
              "I am not able to run my error handler. I can't run without this!\n"
              "The cause of the problem was: ActiveX component can't create object");
    EXPECT_EQ(boxes.last().style, 4112);
    EXPECT_EQ(boxes.last().title, "Can't start error handler");
    EXPECT_EQ(LoadedMainWindow(), nullptr);
    EXPECT_TRUE(InstanceTag.isEmpty()) << "the command line was not read";
    EXPECT_TRUE(App::HelpFile().isEmpty());
}

TEST_F(ReportsStart, TheCommandLineNamesTheDataFileAndTheTag) {
    setCommandLineText("datapath=" + dataFile + ",TAG= North door ");
    ASSERT_TRUE(Main(handler()));
    frmMain* window = LoadedMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Brantock Reports - North door");
    EXPECT_EQ(GetDataPath(), dataFile);
    EXPECT_EQ(RegistryHive, HKEY_CURRENT_USER);
    EXPECT_FALSE(App::HelpFile().isEmpty());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ReportsStart, CancellingTheDataFileDialogEndsTheStartWithoutAWindowOrAnError) {
    setCommandLineText("datapath=" + files.file("none.hbd"));
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<frmSelectData*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->cmdCancel_Click();
    });
    EXPECT_FALSE(Main(handler()));
    EXPECT_EQ(LoadedMainWindow(), nullptr);
    EXPECT_TRUE(logged().isEmpty());
}

TEST_F(ReportsStart, RunWhileTheWindowIsOpenShowsItAgainUnchanged) {
    setCommandLineText("datapath=" + dataFile);
    ASSERT_TRUE(Main(handler()));
    frmMain* window = LoadedMainWindow();
    window->ui().chkDateSaturday->setChecked(true);
    window->ui().cmdPreviewReport->click();
    platform::Report* shown = window->DayReport();
    ASSERT_NE(shown, nullptr);
    window->showMinimized();

    clsBrantockReports automation;
    automation.Run();
    EXPECT_EQ(LoadedMainWindow(), window) << "the same window, not a second one";
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->ui().chkDateSaturday->isChecked());
    EXPECT_EQ(window->DayReport(), shown);
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(windows.begin(), windows.end(),
                            [](QWidget* w) { return qobject_cast<frmMain*>(w) != nullptr; }),
              1);
    EXPECT_TRUE(logged().isEmpty());
}

TEST_F(ReportsStart, RunAfterTheWindowClosedLoadsItAnew) {
    setCommandLineText("datapath=" + dataFile);
    ASSERT_TRUE(Main(handler()));
    LoadedMainWindow()->ui().txtTotalsReportUnits->setText("9");
    LoadedMainWindow()->close();
    ASSERT_EQ(LoadedMainWindow(), nullptr);

    clsBrantockReports automation;
    automation.Run();
    ASSERT_NE(LoadedMainWindow(), nullptr);
    EXPECT_EQ(LoadedMainWindow()->ui().txtTotalsReportUnits->text(), "1");
    EXPECT_EQ(automation.calls(), 1);
}
