#include "tests/reports/support/PrintedReport.h"
#include "tests/support/DataFiles.h"
#include "tests/support/MockClock.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TemporaryRegistry.h"
#include "tests/support/TestDates.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TextFit.h"

#include "datafile_dialog/frmSelectData.h"
#include "foundation/FoundationState.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/ui/frmAbout.h"
#include "platform/data/Connection.h"
#include "platform/dialogs/MessageBoxService.h"
#include "platform/report/Report.h"
#include "platform/ui/report/ReportViewer.h"
#include "reports/core/repDay.h"
#include "reports/core/repTotals.h"
#include "reports/DateSelector.h"
#include "reports/frmMain.h"
#include "runtime/RuntimeError.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

using namespace brantock;
using namespace brantock::reports;
using namespace brantock::testsupport;
using brantock::reports::testsupport::PrintedReport;

namespace {

// The report window on a data file from the template, on 10 March 2026.
class ReportWindow : public ::testing::Test {
protected:
    ReportWindow() {
        CommandLineDataPath = files.file("data.hbd");
        DataFiles::copyTemplate(CommandLineDataPath);
    }
    void load() {
        form = std::make_unique<frmMain>();
        form->Show();
        ASSERT_TRUE(form->Loaded());
    }
    const frmMainUi& ui() const { return form->ui(); }

    TemporaryRegistry registry;
    ScriptedErrors errors;
    ScriptedMessages boxes;
    RecordingShell shell;
    MockClock clock{at(2026, 3, 10, 9, 30)};
    ScratchFolder files;
    std::unique_ptr<frmMain> form;
};

QStringList texts(const QMenu* menu) {
    QStringList list;
    for (const QAction* a : menu->actions())
        list << a->text();
    return list;
}

} // namespace

TEST_F(ReportWindow, LoadsWithTheDesignedOptionsAndTheCurrentMonth) {
    load();
    EXPECT_EQ(form->windowTitle(), "Brantock Reports");
    EXPECT_EQ(ui().tabReports->tabText(0), "Date");
    EXPECT_EQ(ui().tabReports->tabText(1), "Time");
    EXPECT_EQ(isoDay(ui().dtmDateReport->StartDate()), "2026-03-01");
    EXPECT_EQ(isoDay(ui().dtmDateReport->EndDate()), "2026-03-31");
    EXPECT_EQ(ui().dtpDateStartTime->time(), QTime(8, 0));
    EXPECT_EQ(ui().dtpDateEndTime->time(), QTime(17, 0));
    QStringList checked;
    for (const QCheckBox* box : ui().weekdays())
        if (box->isChecked())
            checked << box->text();
    EXPECT_EQ(checked, QStringList({"Monday", "Tuesday", "Wednesday", "Thursday", "Friday"}));
    EXPECT_EQ(ui().cboDayReportUnits->currentText(), "60");
    QStringList units;
    for (int i = 0; i < ui().cboDayReportUnits->count(); ++i)
        units << ui().cboDayReportUnits->itemText(i);
    EXPECT_EQ(units, QStringList({"5", "10", "15", "30", "60"}));
    EXPECT_EQ(ui().txtTotalsReportUnits->text(), "1");
    EXPECT_EQ(ui().cboTotalsReportPeriod->currentText(), "Days");
    EXPECT_EQ(ui().cboDateChartType->currentText(), "2D Line");
    EXPECT_EQ(ui().cboDateChartType->currentData().toInt(), 3);
    for (int type = 0; type < 8; ++type)
        EXPECT_EQ(ui().cboDateChartType->itemData(type).toInt(), type);
    EXPECT_TRUE(ui().chkDateHalfCount->isChecked());
    EXPECT_FALSE(ui().chkDateShowDetails->isChecked());
    EXPECT_EQ(ui().cmdPreviewReport->text(), "Preview Day Report");
    EXPECT_TRUE(ui().mnuReportsDay->isChecked());
    EXPECT_FALSE(ui().mnuReportsTotals->isChecked());
    EXPECT_TRUE(ui().vseDayReport->isVisible());
    EXPECT_FALSE(ui().vseTotalsReport->isVisible());
    EXPECT_FALSE(ui().mnuFileSaveAs->isEnabled());
    EXPECT_FALSE(ui().mnuFilePrint->isEnabled());

    EXPECT_EQ(texts(ui().mnuFile), QStringList({"&Print", "&Save as", "E&xit"}));
    EXPECT_EQ(texts(ui().mnuFileSaveAs), QStringList({"&PDF", "&Excel", "&Word", "&Text"}));
    EXPECT_EQ(texts(ui().mnuTools), QStringList({"&Change Data File"}));
    EXPECT_EQ(texts(ui().mnuReports), QStringList({"Day Report", "Totals Report"}));
    EXPECT_EQ(texts(ui().mnuHelp), QStringList({"&Contents", "&About"}));
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(ReportWindow, TheCaptionNamesTheTrimmedTag) {
    InstanceTag = "  North door ";
    load();
    EXPECT_EQ(form->windowTitle(), "Brantock Reports - North door");
}

TEST_F(ReportWindow, TheReportsMenuSwitchesPanelCheckMarksAndButtonAndKeepsTheOptions) {
    load();
    ui().chkDateSaturday->setChecked(true);
    ui().txtTotalsReportUnits->setText("3");
    ui().mnuReportsTotals->trigger();
    EXPECT_FALSE(ui().mnuReportsDay->isChecked());
    EXPECT_TRUE(ui().mnuReportsTotals->isChecked());
    EXPECT_TRUE(ui().vseTotalsReport->isVisible());
    EXPECT_FALSE(ui().vseDayReport->isVisible());
    EXPECT_EQ(ui().cmdPreviewReport->text(), "Preview Totals Report");
    ui().mnuReportsDay->trigger();
    EXPECT_TRUE(ui().mnuReportsDay->isChecked());
    EXPECT_FALSE(ui().mnuReportsTotals->isChecked());
    EXPECT_TRUE(ui().vseDayReport->isVisible());
    EXPECT_EQ(ui().cmdPreviewReport->text(), "Preview Day Report");
    EXPECT_TRUE(ui().chkDateSaturday->isChecked());
    EXPECT_EQ(ui().txtTotalsReportUnits->text(), "3");
}

TEST_F(ReportWindow, OptionsThatCannotMakeAReportAreRefusedWithTheirMessageAndFocus) {
    struct Case {
        const char* name;
        bool totals;
        std::function<void(const frmMainUi&)> set;
        const char* message;
        std::function<QWidget*(const frmMainUi&)> focus;
    };
    const Case cases[] = {
        {"end date first", false,
         // Typed into the end picker: the control keeps what the user types.
         [](const frmMainUi& ui) { ui.dtmDateReport->dtpEndDate()->setDate(QDate(2026, 2, 27)); },
         "The End date needs to be after the Start date.",
         [](const frmMainUi& ui) -> QWidget* { return ui.dtmDateReport; }},
        {"end time first", true,
         [](const frmMainUi& ui) { ui.dtpDateEndTime->setTime(QTime(7, 59)); },
         "The End time needs to be after the Start time.",
         [](const frmMainUi& ui) -> QWidget* { return ui.dtpDateEndTime; }},
        {"no weekday", false,
         [](const frmMainUi& ui) {
             for (QCheckBox* box : ui.weekdays())
                 box->setChecked(false);
         },
         "You need to select at least one day.",
         [](const frmMainUi& ui) -> QWidget* { return ui.chkDateMonday; }},
        {"a grey weekday counts as unchecked", false,
         [](const frmMainUi& ui) {
             for (QCheckBox* box : ui.weekdays())
                 box->setCheckState(Qt::Unchecked);
             ui.chkDateSunday->setCheckState(Qt::PartiallyChecked);
         },
         "You need to select at least one day.",
         [](const frmMainUi& ui) -> QWidget* { return ui.chkDateMonday; }},
        {"day units letters", false,
         [](const frmMainUi& ui) { ui.cboDayReportUnits->setEditText("sixty"); },
         "The value entered for Units needs to be a number",
         [](const frmMainUi& ui) -> QWidget* { return ui.cboDayReportUnits; }},
        {"totals units letters", true,
         [](const frmMainUi& ui) { ui.txtTotalsReportUnits->setText("one"); },
         "The value entered for Units needs to be a number",
         [](const frmMainUi& ui) -> QWidget* { return ui.txtTotalsReportUnits; }},
    };
    for (const Case& c : cases) {
        load();
        if (c.totals)
            ui().mnuReportsTotals->trigger();
        c.set(ui());
        const std::size_t shown = boxes.shown().size();
        ui().cmdPreviewReport->click();
        ASSERT_EQ(boxes.shown().size(), shown + 1) << c.name;
        EXPECT_EQ(boxes.last().prompt, c.message) << c.name;
        EXPECT_EQ(boxes.last().title, "Brantock") << c.name;
        EXPECT_EQ(boxes.last().style, platform::style::Information) << c.name;
        QWidget* focus = c.focus(ui());
        EXPECT_TRUE(focus == form->focusWidget() || focus->isAncestorOf(form->focusWidget()))
            << c.name;
        EXPECT_EQ(form->DayReport(), nullptr) << c.name;
        EXPECT_EQ(form->TotalsReport(), nullptr) << c.name;
    }
}

TEST_F(ReportWindow, TheUnitsAreWhatTheUserTypesNotTheListEntryTheyBeginLike) {
    load();
    form->show();
    ui().cboDayReportUnits->lineEdit()->selectAll();
    QTest::keyClicks(ui().cboDayReportUnits, "1");
    EXPECT_EQ(form->Options().dayUnitsText, "1");
    QTest::keyClicks(ui().cboDayReportUnits, "5");
    EXPECT_EQ(form->Options().dayUnitsText, "15");
}

TEST_F(ReportWindow, TheWindowNeverGetsSmallerThanItsDesignedOptions) {
    load();
    const QSize designed = form->size();
    form->resize(designed / 2);
    EXPECT_GE(form->width(), designed.width());
    EXPECT_GE(form->height(), designed.height());
    const QRect button = ui().cmdPreviewReport->rect().translated(
        ui().cmdPreviewReport->mapTo(form.get(), QPoint()));
    EXPECT_TRUE(form->rect().contains(button));
}

TEST_F(ReportWindow, TheTotalsPanelIsNeverCheckedForWeekdays) {
    load();
    for (QCheckBox* box : ui().weekdays())
        box->setChecked(false);
    ui().mnuReportsTotals->trigger();
    ui().cmdPreviewReport->click();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_NE(form->TotalsReport(), nullptr);
}

TEST_F(ReportWindow, APreviewShowsAFreshReportAndEnablesPrintAndSaveOnce) {
    load();
    ui().cmdPreviewReport->click();
    platform::Report* first = form->DayReport();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Caption(), "Brantock - Day Report");
    EXPECT_EQ(ui().arvPreview->ReportSource().get(), first);
    EXPECT_TRUE(first->hasRun());
    EXPECT_TRUE(ui().mnuFileSaveAs->isEnabled());
    EXPECT_TRUE(ui().mnuFilePrint->isEnabled());

    // Equal dates and times make a report too; a second preview replaces the first.
    ui().dtmDateReport->SetEndDate(ui().dtmDateReport->StartDate());
    ui().dtpDateEndTime->setTime(QTime(8, 0));
    ui().cmdPreviewReport->click();
    EXPECT_NE(form->DayReport(), nullptr);
    EXPECT_EQ(ui().arvPreview->ReportSource().get(), form->DayReport());

    ui().mnuReportsTotals->trigger();
    ui().cmdPreviewReport->click();
    ASSERT_NE(form->TotalsReport(), nullptr);
    EXPECT_EQ(form->TotalsReport()->Caption(), "Brantock - Totals Report");
    EXPECT_EQ(ui().arvPreview->ReportSource().get(), form->TotalsReport());
    EXPECT_NE(form->DayReport(), nullptr) << "each kind keeps its own report";
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(ReportWindow, APreviewHandsTheOptionsToTheReportWhichCountsTheDataFile) {
    {
        platform::Connection cn;
        cn.Open(DataFiles::connectionText(CommandLineDataPath));
        // Monday 2 March 2026: three triggers at 08:10, one at 08:40, one counting down.
        for (const auto& [minute, up] :
             {std::pair{490, 1}, {490, 1}, {490, 0}, {520, 1}, {1200, 1}})
            cn.Execute("INSERT INTO Triggers (TriggerDate, TriggerTime, SensorID, SiteID, "
                       "CountUp) VALUES (9557, ?, 1, 0, ?)",
                       {minute, up});
    }
    load();
    ui().chkDateSaturday->setChecked(true);
    ui().cboDayReportUnits->setEditText(" 29.5");
    ui().cboDateChartType->setCurrentIndex(0);
    ui().chkDateHalfCount->setChecked(false);
    ui().chkDateShowDetails->setChecked(true);
    ui().cmdPreviewReport->click();
    const repDay* day = form->DayReport();
    ASSERT_NE(day, nullptr);
    EXPECT_EQ(isoDay(day->StartDate), "2026-03-01");
    EXPECT_EQ(isoDay(day->EndDate), "2026-03-31");
    EXPECT_EQ(std::vector<bool>({day->IncludeMonday, day->IncludeTuesday, day->IncludeWednesday,
                                 day->IncludeThursday, day->IncludeFriday, day->IncludeSaturday,
                                 day->IncludeSunday}),
              std::vector<bool>({true, true, true, true, true, true, false}));
    EXPECT_EQ(day->StartTime.time(), QTime(8, 0));
    EXPECT_EQ(day->EndTime.time(), QTime(17, 0));
    EXPECT_EQ(day->TimeUnits, 30);
    EXPECT_EQ(day->ChartType, 0);
    EXPECT_FALSE(day->HalfCount);
    EXPECT_TRUE(day->ShowDetails);
    const PrintedReport dayPages(day->Pages());
    ASSERT_EQ(dayPages.lines().size(), 2u);
    EXPECT_EQ(dayPages.lines()[0].at("txtTime"), "8:00 AM");
    EXPECT_EQ(dayPages.lines()[0].at("txtDay1"), "3");
    EXPECT_EQ(dayPages.lines()[1].at("txtTime"), "8:30 AM");
    EXPECT_EQ(dayPages.lines()[1].at("txtTotal"), "1");

    ui().mnuReportsTotals->trigger();
    ui().txtTotalsReportUnits->setText("7.5");
    ui().cboTotalsReportPeriod->setCurrentIndex(ui().cboTotalsReportPeriod->findText("Weeks"));
    ui().chkDateHalfCount->setChecked(true);
    ui().cmdPreviewReport->click();
    const repTotals* totals = form->TotalsReport();
    ASSERT_NE(totals, nullptr);
    EXPECT_EQ(totals->Units, 8);
    EXPECT_EQ(totals->Period, "WW");
    EXPECT_TRUE(totals->HalfCount);
    const PrintedReport totalsPages(totals->Pages());
    EXPECT_EQ(totalsPages.text("lblGroup"), "Grouped into 8 week periods");
    ASSERT_EQ(totalsPages.lines().size(), 1u);
    EXPECT_EQ(totalsPages.lines()[0].at("txtPeriod"), "01/03/2026");
    EXPECT_EQ(totalsPages.lines()[0].at("txtTotal"), "2") << "half of the window's 4";
    EXPECT_TRUE(errors.reports().empty());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ReportWindow, UnitsBeyondTheWholeNumbersAreAnErrorAndBuildNothing) {
    load();
    ui().cboDayReportUnits->setEditText("1e12");
    ui().cmdPreviewReport->click();
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].number, 6);
    EXPECT_TRUE(errors.reports()[0].trail.startsWith("Private Sub cmdPreviewReport_Click()&"));
    EXPECT_EQ(form->DayReport(), nullptr);
}

TEST_F(ReportWindow, CancellingTheDataFileDialogAtLoadUnloadsTheWindowQuietly) {
    CommandLineDataPath = files.file("missing.hbd");
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<frmSelectData*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->cmdCancel_Click();
    });
    form = std::make_unique<frmMain>();
    try {
        form->Show();
        FAIL() << "the window showed";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::ObjectUnloaded);
    }
    EXPECT_FALSE(form->Loaded());
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(errors.reports().empty());
    EXPECT_TRUE(ui().mnuFileSaveAs->isEnabled()) << "nothing after the loop ran";
}

TEST_F(ReportWindow, ExitUnloadsAndReleasesTheReports) {
    load();
    ui().cmdPreviewReport->click();
    bool unloaded = false;
    QObject::connect(form.get(), &frmMain::unloaded, [&] { unloaded = true; });
    ui().mnuFileExit->trigger();
    EXPECT_TRUE(unloaded);
    EXPECT_FALSE(form->Loaded());
    EXPECT_EQ(form->DayReport(), nullptr);
    EXPECT_EQ(ui().arvPreview->ReportSource(), nullptr);
}

TEST_F(ReportWindow, HelpOpensTheGuideAndOneAboutBoxOwnedByTheWindow) {
    load();
    ui().mnuHelpContents->trigger();
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_TRUE(shell.calls[0].file.endsWith("help/brantock.html"));
    EXPECT_TRUE(boxes.shown().empty());
    shell.result = 31; // nothing on the desktop opens it
    ui().mnuHelpContents->trigger();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_TRUE(boxes.last().prompt.contains(shell.calls[0].file));
    ui().mnuHelpAbout->trigger();
    ui().mnuHelpAbout->trigger();
    const QList<frmAbout*> abouts = form->findChildren<frmAbout*>();
    ASSERT_EQ(abouts.size(), 1);
    EXPECT_TRUE(abouts[0]->isVisible());
}

TEST_F(ReportWindow, EveryTextFitsItsBoxInTheFontItIsDrawnIn) {
    load();
    const QStringList cut = TextFit::overflowing(form.get());
    EXPECT_TRUE(cut.isEmpty()) << cut.join(u'\n').toStdString();
    ui().mnuReportsTotals->trigger();
    EXPECT_EQ(TextFit::overflowing(form.get()), cut);
}

TEST_F(ReportWindow, IsASizableWindowThatCanBeMinimisedAndMaximised) {
    load();
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::CustomizeWindowHint)); // the window system's usual buttons
    EXPECT_LT(form->minimumSize().width(), form->maximumSize().width());
}
