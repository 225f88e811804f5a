#include "reports/frmMain.h"

#include "datafile_dialog/frmSelectData.h"
#include "foundation/ErrorsIgnored.h"
#include "foundation/FoundationState.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modShellFolders.h"
#include "foundation/ReportingHandler.h"
#include "foundation/ui/frmAbout.h"
#include "foundation/ui/HelpKey.h"
#include "foundation/ui/ShowModeless.h"
#include "platform/dialogs/CommonDialog.h"
#include "platform/dialogs/MessageBoxService.h"
#include "platform/report/Report.h"
#include "platform/ui/report/ReportViewer.h"
#include "reports/core/ExportKind.h"
#include "reports/core/modMain.h"
#include "reports/core/PreviewChoice.h"
#include "reports/core/repDay.h"
#include "reports/core/repTotals.h"
#include "reports/DateSelector.h"
#include "runtime/Clock.h"
#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTimeEdit>

namespace brantock::reports {

namespace {

const QString Title = QStringLiteral("Brantock");

// A time picker's value: the time of day on day 0.
DateValue timeOf(const QTimeEdit* picker) {
    const QTime t = picker->time();
    return DateValue::fromTime(t.hour(), t.minute(), t.second());
}

// The options both kinds of report end with.
void setChartAndCount(CountReport& report, const ReportOptions& options) {
    report.ChartType = options.chartType;
    report.HalfCount = options.halfCount;
    report.ShowDetails = options.showDetails;
}

void selectText(QComboBox* list, const QString& text) {
    list->setCurrentIndex(list->findText(text, Qt::MatchExactly));
}

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    ui_.setupUi(this);
    connectControls();
}

frmMain::~frmMain() = default;

void frmMain::connectControls() {
    HelpKey::install(this, [this] { mnuHelpContents_Click(); });
    const std::pair<QAction*, void (frmMain::*)()> menus[] = {
        {ui_.mnuFilePrint, &frmMain::mnuFilePrint_Click},
        {ui_.mnuExportPDF, &frmMain::mnuExportPDF_Click},
        {ui_.mnuExportExcel, &frmMain::mnuExportExcel_Click},
        {ui_.mnuWordExport, &frmMain::mnuWordExport_Click},
        {ui_.mnuTextExport, &frmMain::mnuTextExport_Click},
        {ui_.mnuFileExit, &frmMain::mnuFileExit_Click},
        {ui_.mnuSelectDataPath, &frmMain::mnuSelectDataPath_Click},
        {ui_.mnuReportsDay, &frmMain::mnuReportsDay_Click},
        {ui_.mnuReportsTotals, &frmMain::mnuReportsTotals_Click},
        {ui_.mnuHelpContents, &frmMain::mnuHelpContents_Click},
        {ui_.mnuHelpAbout, &frmMain::mnuHelpAbout_Click},
    };
    for (const auto& [action, procedure] : menus)
        connect(action, &QAction::triggered, this, procedure);
    connect(ui_.cmdPreviewReport, &QPushButton::clicked, this, &frmMain::cmdPreviewReport_Click);
    connect(ui_.arvPreview, &platform::ReportViewer::LoadCompleted, this,
            &frmMain::arvPreview_LoadCompleted);
}

// ---- Load, show and unload

void frmMain::Show() {
    life_.LoadOnce([&] { Form_Load(); });
    show();
    raise();
    activateWindow();
}

void frmMain::Form_Load() {
    ReportingHandler::WithSource("Private Sub Form_Load()&")
        .run({
            [&] {
                setWindowTitle(InstanceTag.isEmpty() ? QStringLiteral("Brantock Reports")
                                                     : QStringLiteral("Brantock Reports - ") +
                                                           TrimBlanks(InstanceTag));
            },
            [&] {
                if (frmSelectData::ShowUntilUsable(false, this))
                    return Flow::Next;
                Unload();
                return Flow::Leave;
            },
            [&] { ui_.mnuFileSaveAs->setEnabled(false); },
            [&] { ui_.mnuFilePrint->setEnabled(false); },
            [&] { selectText(ui_.cboDateChartType, QStringLiteral("2D Line")); },
            [&] { selectText(ui_.cboTotalsReportPeriod, QStringLiteral("Days")); },
            [&] {
                ui_.dtmDateReport->SetDates(
                    ui_.dtmDateReport->FirstOf(QStringLiteral("m"), Clock::current().now()), 2, 1);
            },
        });
}

void frmMain::Unload() {
    // Form_QueryUnload never cancels: it releases the reports while the window unloads.
    if (life_.Unload(nullptr, [&] { Form_QueryUnload(); }) == FormLife::UnloadResult::Unloaded) {
        hide();
        Q_EMIT unloaded();
    }
}

void frmMain::Form_QueryUnload() {
    RunIgnoringErrors({
        [&] { ui_.arvPreview->SetReportSource(nullptr); },
        [&] { repDay_.reset(); },
        [&] { repTotals_.reset(); },
    });
}

void frmMain::closeEvent(QCloseEvent* event) {
    Unload();
    event->accept();
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    ui_.layOut();
}

// ---- The kind of report

void frmMain::UncheckReports() {
    ReportingHandler::WithSource("Private Sub UncheckReports()&")
        .run({
            [&] { ui_.mnuReportsDay->setChecked(false); },
            [&] { ui_.mnuReportsTotals->setChecked(false); },
        });
}

void frmMain::mnuReportsDay_Click() {
    ReportingHandler::WithSource("Private Sub mnuReportsDay_Click()&")
        .run({
            [&] { UncheckReports(); },
            [&] { ui_.mnuReportsDay->setChecked(true); },
            [&] {
                ui_.vseTotalsReport->hide();
                ui_.vseDayReport->show();
                ui_.vseDayReport->raise();
            },
            [&] { ui_.cmdPreviewReport->setText(DayReportCaption); },
        });
}

void frmMain::mnuReportsTotals_Click() {
    ReportingHandler::WithSource("Private Sub mnuReportsTotals_Click()&")
        .run({
            [&] { UncheckReports(); },
            [&] { ui_.mnuReportsTotals->setChecked(true); },
            [&] {
                ui_.vseDayReport->hide();
                ui_.vseTotalsReport->show();
                ui_.vseTotalsReport->raise();
            },
            [&] { ui_.cmdPreviewReport->setText(TotalsReportCaption); },
        });
}

// ---- The preview

ReportOptions frmMain::Options() const {
    ReportOptions o;
    o.StartDate = ui_.dtmDateReport->StartDate();
    o.EndDate = ui_.dtmDateReport->EndDate();
    o.StartTime = timeOf(ui_.dtpDateStartTime);
    o.EndTime = timeOf(ui_.dtpDateEndTime);
    const auto boxes = ui_.weekdays();
    for (std::size_t day = 0; day < boxes.size(); ++day)
        o.include[day] = boxes[day]->checkState() == Qt::Checked;
    o.dayUnitsText = ui_.cboDayReportUnits->currentText();
    o.totalsUnitsText = ui_.txtTotalsReportUnits->text();
    o.period = ui_.cboTotalsReportPeriod->currentText();
    o.chartType = ui_.cboDateChartType->currentData().toInt();
    o.halfCount = ui_.chkDateHalfCount->isChecked();
    o.showDetails = ui_.chkDateShowDetails->isChecked();
    return o;
}

void frmMain::cmdPreviewReport_Click() {
    const bool day = ui_.cmdPreviewReport->text() == DayReportCaption;
    ReportOptions options;
    ReportingHandler::WithSource("Private Sub cmdPreviewReport_Click()&")
        .run({
            [&] { options = Options(); },
            [&] {
                const auto refusal = day ? PreviewChoice::CheckDayReport(options)
                                         : PreviewChoice::CheckTotalsReport(options);
                if (!refusal)
                    return Flow::Next;
                Message(refusal->message, platform::style::Information, Title);
                QWidget* focus = nullptr;
                switch (refusal->focus) {
                case PreviewChoice::Focus::DateSelector:
                    focus = ui_.dtmDateReport;
                    break;
                case PreviewChoice::Focus::EndTime:
                    focus = ui_.dtpDateEndTime;
                    break;
                case PreviewChoice::Focus::Monday:
                    focus = ui_.chkDateMonday;
                    break;
                case PreviewChoice::Focus::DayUnits:
                    focus = ui_.cboDayReportUnits;
                    break;
                case PreviewChoice::Focus::TotalsUnits:
                    focus = ui_.txtTotalsReportUnits;
                    break;
                }
                focus->setFocus();
                return Flow::Leave;
            },
            [&] {
                // A report whose options cannot all be set is not kept: nothing is built.
                if (day) {
                    repDay_ = newDayReport(options);
                    previewReport(repDay_);
                } else {
                    repTotals_ = newTotalsReport(options);
                    previewReport(repTotals_);
                }
            },
        });
}

std::shared_ptr<repDay> frmMain::newDayReport(const ReportOptions& options) const {
    auto report = std::make_shared<repDay>();
    report->StartDate = options.StartDate;
    report->EndDate = options.EndDate;
    report->IncludeMonday = options.include[ReportOptions::Monday];
    report->IncludeTuesday = options.include[ReportOptions::Tuesday];
    report->IncludeWednesday = options.include[ReportOptions::Wednesday];
    report->IncludeThursday = options.include[ReportOptions::Thursday];
    report->IncludeFriday = options.include[ReportOptions::Friday];
    report->IncludeSaturday = options.include[ReportOptions::Saturday];
    report->IncludeSunday = options.include[ReportOptions::Sunday];
    report->StartTime = options.StartTime;
    report->EndTime = options.EndTime;
    report->TimeUnits = PreviewChoice::Units(options.dayUnitsText);
    setChartAndCount(*report, options);
    return report;
}

std::shared_ptr<repTotals> frmMain::newTotalsReport(const ReportOptions& options) const {
    auto report = std::make_shared<repTotals>();
    report->StartDate = options.StartDate;
    report->EndDate = options.EndDate;
    report->StartTime = options.StartTime;
    report->EndTime = options.EndTime;
    report->Units = PreviewChoice::Units(options.totalsUnitsText);
    report->Period = options.period;
    setChartAndCount(*report, options);
    return report;
}

void frmMain::previewReport(std::shared_ptr<platform::Report> report) {
    // The previous report of the kind goes as the viewer lets go of it.
    ui_.arvPreview->SetReportSource(std::move(report));
}

void frmMain::arvPreview_LoadCompleted() {
    ReportingHandler::WithSource("Private Sub arvPreview_LoadCompleted()&")
        .run({
            [&] { ui_.mnuFileSaveAs->setEnabled(true); },
            [&] { ui_.mnuFilePrint->setEnabled(true); },
        });
}

// ---- Menus

void frmMain::mnuFilePrint_Click() {
    ReportingHandler("mnuFilePrint_Click&", "processing print menu click").run([&] {
        ui_.arvPreview->Print(true);
    });
}

void frmMain::mnuExportPDF_Click() {
    exportMenu("mnuExportPDF_Click&", ExportKind::Pdf);
}

void frmMain::mnuExportExcel_Click() {
    exportMenu("mnuExportExcel_Click&", ExportKind::Excel);
}

void frmMain::mnuWordExport_Click() {
    exportMenu("mnuExportWord_Click&", ExportKind::RichText);
}

void frmMain::mnuTextExport_Click() {
    exportMenu("mnuExporttext_Click&", ExportKind::Text);
}

void frmMain::exportMenu(const char* trail, std::int32_t kind) {
    ReportingHandler(trail, "processing menu click").run([&] { SaveCurrentReport(kind); });
}

// ---- Saving the report shown

void frmMain::SaveCurrentReport(std::int32_t kind) {
    QString path;
    bool saved = false;
    ReportingHandler::WithSource("SaveCurrentReport&")
        .run({
            [&] {
                path = GetSavepath(kind);
                return path.isEmpty() ? Flow::Leave : Flow::Next;
            },
            [&] { saved = SaveReport(ui_.arvPreview->ReportSource().get(), path, kind); },
            [&] {
                if (saved)
                    Message(QStringLiteral("Report saved as: ") + path,
                            platform::style::Information | platform::style::SetForeground,
                            QStringLiteral("Report saved"));
                else
                    Message(QStringLiteral("Sorry, I couldn't save the report: ") + path +
                                QStringLiteral("\nCheck to see that you don't have a file with "
                                               "the same name open in another program."),
                            platform::style::Critical | platform::style::SystemModal,
                            QStringLiteral("Report not saved"));
            },
        });
}

QString frmMain::GetSavepath(std::int32_t kind) {
    platform::CommonDialog& dialog = ui_.cdlSave;
    const ExportKind exportKind = ExportKind::of(kind);
    QString path;
    ReportingHandler::WithSource("GetSavepath&")
        .run({
            [&] { dialog.Filter = exportKind.filter + QStringLiteral("|All files (*.*)|*.*"); },
            // The documents folder and the proposed name every time, wherever the last
            // report went.
            [&] {
                // Without a documents folder the dialog would open, and save, wherever the
                // program was started: the home folder serves instead.
                dialog.InitDir = GetSpecialFolder(csidl::Personal, false);
                if (dialog.InitDir.isEmpty())
                    dialog.InitDir = QDir::homePath();
            },
            [&] { dialog.FileName = QStringLiteral("BrantockReport") + exportKind.extension; },
            [&] { dialog.DialogTitle = exportKind.title; },
            [&] { dialog.Flags = platform::CommonDialog::OverwritePrompt; },
            [&] {
                try {
                    dialog.ShowSave();
                } catch (const RuntimeError& e) {
                    if (e.number() == platform::dialogErr::Cancel)
                        return Flow::Leave;
                    // Any other failure of the dialog is reported; the proposed name is no
                    // choice of the user's, so nothing is saved.
                    throw;
                }
                path = dialog.FileName;
                return Flow::Next;
            },
        });
    return path;
}

void frmMain::mnuFileExit_Click() {
    RunIgnoringErrors({[&] { Unload(); }});
}

void frmMain::mnuSelectDataPath_Click() {
    ReportingHandler::WithSource("mnuSelectDataPath_Click&").run([&] {
        frmSelectData dialog(false, this);
        dialog.exec();
    });
}

void frmMain::mnuHelpContents_Click() {
    HelpKey::OpenGuide(this);
}

void frmMain::mnuHelpAbout_Click() {
    ReportingHandler("mnuHelpAbout_Click&", "processing menu click").run([&] {
        ShowModeless(about_,
                     [&] { return new frmAbout(frmAbout::AddressLookup::HiveFallback, this); });
    });
}

} // namespace brantock::reports
