#include "reports/frmMainUi.h"

#include "platform/ui/DesignFont.h"
#include "platform/ui/FormControls.h"
#include "platform/ui/report/ReportViewer.h"
#include "platform/ui/Twips.h"
#include "reports/DateSelector.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimeEdit>

namespace brantock::reports {

namespace {

// The viewer's left edge and the tab's width, as designed.
constexpr int ViewerLeft = 2880;
constexpr int TabWidth = 2790;
constexpr int Margin = 30;

QAction* item(QMenu* menu, const QString& text) {
    return menu->addAction(text);
}

QCheckBox* check(QWidget* parent, const QString& caption, bool checked, int left, int top,
                 int width) {
    auto* c = new QCheckBox(caption, parent);
    c->setChecked(checked);
    c->setGeometry(Twips::rect(left, top, width, 315));
    return c;
}

QTimeEdit* timePicker(QWidget* parent, QTime value, int top, int height) {
    auto* picker = new QTimeEdit(value, parent);
    picker->setDisplayFormat(QStringLiteral("h:mm:ss AP"));
    picker->setGeometry(Twips::rect(1230, top, 1380, height));
    return picker;
}

QComboBox* list(QWidget* parent, const QStringList& entries, bool editable, int left, int top,
                int width) {
    auto* l = new QComboBox(parent);
    l->setEditable(editable);
    if (editable)
        l->setInsertPolicy(QComboBox::NoInsert);
    l->addItems(entries);
    l->setCurrentIndex(-1);
    l->setGeometry(Twips::rect(left, top, width, 315));
    return l;
}

} // namespace

void frmMainUi::setupUi(QMainWindow* form) {
    form->setWindowTitle(QStringLiteral("Brantock Reports"));
    form->setWindowIcon(QIcon(QStringLiteral(":/brantock/brantock.png")));

    QMenuBar* bar = form->menuBar();
    mnuFile = bar->addMenu(QStringLiteral("&File"));
    mnuFilePrint = item(mnuFile, QStringLiteral("&Print"));
    mnuFileSaveAs = mnuFile->addMenu(QStringLiteral("&Save as"));
    mnuExportPDF = item(mnuFileSaveAs, QStringLiteral("&PDF"));
    mnuExportExcel = item(mnuFileSaveAs, QStringLiteral("&Excel"));
    mnuWordExport = item(mnuFileSaveAs, QStringLiteral("&Word"));
    mnuTextExport = item(mnuFileSaveAs, QStringLiteral("&Text"));
    mnuFileExit = item(mnuFile, QStringLiteral("E&xit"));
    mnuTools = bar->addMenu(QStringLiteral("&Tools"));
    mnuSelectDataPath = item(mnuTools, QStringLiteral("&Change Data File"));
    mnuReports = bar->addMenu(QStringLiteral("&Reports"));
    mnuReportsDay = item(mnuReports, QStringLiteral("Day Report"));
    mnuReportsDay->setCheckable(true);
    mnuReportsDay->setChecked(true);
    mnuReportsTotals = item(mnuReports, QStringLiteral("Totals Report"));
    mnuReportsTotals->setCheckable(true);
    mnuHelp = bar->addMenu(QStringLiteral("&Help"));
    mnuHelpContents = item(mnuHelp, QStringLiteral("&Contents"));
    mnuHelpAbout = item(mnuHelp, QStringLiteral("&About"));

    vseForm = new QWidget(form);
    form->setCentralWidget(vseForm);
    arvPreview = new platform::ReportViewer(vseForm);
    arvPreview->setGeometry(Twips::rect(ViewerLeft, Margin, 7650, 6435));

    tabReports = new QTabWidget(vseForm);
    tabReports->setGeometry(Twips::rect(Margin, Margin, TabWidth, 6435));
    vseReports = new QWidget;
    vseReportsTime = new QWidget;
    tabReports->addTab(vseReports, QStringLiteral("Date"));
    tabReports->addTab(vseReportsTime, QStringLiteral("Time"));

    dtmDateReport = new DateSelector(vseReports);
    dtmDateReport->setGeometry(Twips::rect(90, 90, 2520, 1170));
    lblDateStartTime =
        FormControls::label(vseReports, QStringLiteral("Start Time"), 90, 1320, 1080, 315);
    dtpDateStartTime = timePicker(vseReports, QTime(8, 0), 1320, 315);
    lblDateEndTime =
        FormControls::label(vseReports, QStringLiteral("End Time"), 90, 1695, 1080, 300);
    dtpDateEndTime = timePicker(vseReports, QTime(17, 0), 1695, 300);

    vseDayReport = new QWidget(vseReports);
    vseDayReport->setGeometry(Twips::rect(90, 2055, 2520, 3000));
    lblDayReportDaysToInclude =
        FormControls::label(vseDayReport, QStringLiteral("Days to include"), 90, 90, 2340, 315);
    chkDateMonday = check(vseDayReport, QStringLiteral("Monday"), true, 90, 465, 1110);
    chkDateTuesday = check(vseDayReport, QStringLiteral("Tuesday"), true, 1260, 465, 1170);
    chkDateWednesday = check(vseDayReport, QStringLiteral("Wednesday"), true, 90, 840, 2340);
    chkDateThursday = check(vseDayReport, QStringLiteral("Thursday"), true, 90, 1215, 1110);
    chkDateFriday = check(vseDayReport, QStringLiteral("Friday"), true, 1260, 1215, 1170);
    chkDateSaturday = check(vseDayReport, QStringLiteral("Saturday"), false, 90, 1590, 1110);
    chkDateSunday = check(vseDayReport, QStringLiteral("Sunday"), false, 1260, 1590, 1170);
    lblDayReportUnits =
        FormControls::label(vseDayReport, QStringLiteral("Units"), 90, 1965, 525, 315);
    cboDayReportUnits = list(vseDayReport,
                             {QStringLiteral("5"), QStringLiteral("10"), QStringLiteral("15"),
                              QStringLiteral("30"), QStringLiteral("60")},
                             true, 675, 1965, 900);
    cboDayReportUnits->setEditText(QStringLiteral("60"));
    // The units are what the user types: a "1" typed must not become the list's "10".
    cboDayReportUnits->setCompleter(nullptr);
    lblDayReportMins =
        FormControls::label(vseDayReport, QStringLiteral("mins"), 1635, 1965, 795, 315);

    vseTotalsReport = new QWidget(vseReports);
    vseTotalsReport->setGeometry(Twips::rect(90, 2055, 2520, 3000));
    lblTotalsReportUnits =
        FormControls::label(vseTotalsReport, QStringLiteral("Units"), 90, 90, 600, 315);
    txtTotalsReportUnits = new QLineEdit(QStringLiteral("1"), vseTotalsReport);
    txtTotalsReportUnits->setGeometry(Twips::rect(750, 90, 645, 315));
    cboTotalsReportPeriod = list(vseTotalsReport,
                                 {QStringLiteral("Days"), QStringLiteral("Weeks"),
                                  QStringLiteral("Months"), QStringLiteral("Years")},
                                 false, 1455, 90, 975);
    // The day report's options are in front at the start.
    vseTotalsReport->hide();

    lblDateChartType =
        FormControls::label(vseReports, QStringLiteral("Chart type"), 90, 5115, 1080, 330);
    cboDateChartType = list(vseReports, {}, false, 1230, 5115, 1380);
    const char* chartTypes[] = {"3D Bar",  "2D Bar",  "3D Line", "2D Line",
                                "3D Area", "2D Area", "3D Step", "2D Step"};
    for (int type = 0; type < 8; ++type)
        cboDateChartType->addItem(QString::fromLatin1(chartTypes[type]), type);
    cboDateChartType->setCurrentIndex(-1);
    chkDateHalfCount = check(vseReports, QStringLiteral("Half Count"), true, 90, 5505, 1080);
    chkDateShowDetails = check(vseReports, QStringLiteral("Show Details"), false, 1230, 5505, 1380);
    cmdPreviewReport =
        FormControls::button(vseReports, QStringLiteral("Preview Day Report"), 90, 5880, 2520, 375);
    cdlSave.CancelError = true;

    QList<QAbstractButton*> captions;
    for (QCheckBox* box : weekdays())
        captions << box;
    captions << chkDateHalfCount << chkDateShowDetails;
    DesignFont::fit(form,
                    {lblDateStartTime, lblDateEndTime, lblDayReportDaysToInclude, lblDayReportUnits,
                     lblDayReportMins, lblTotalsReportUnits, lblDateChartType},
                    captions);
    // The tab's own bar comes on top of the designed page, which keeps its full height: the
    // page fills the designed tab, its options down to 6255 twips. Measured in the window's
    // font, now fitted.
    const int tabBar = tabReports->tabBar()->sizeHint().height();
    form->resize(Twips::toPixels(ClientWidth),
                 Twips::toPixels(ClientHeight) + tabBar + bar->sizeHint().height());
    // The options keep their designed places, so the window never gets smaller than that.
    form->setMinimumSize(form->size());
}

void frmMainUi::layOut() const {
    const QSize area = vseForm->size();
    const int margin = Twips::toPixels(Margin);
    const int left = Twips::toPixels(ViewerLeft);
    tabReports->setGeometry(margin, margin, Twips::toPixels(TabWidth),
                            std::max(0, area.height() - 2 * margin));
    arvPreview->setGeometry(left, margin, std::max(0, area.width() - left - margin),
                            std::max(0, area.height() - 2 * margin));
}

} // namespace brantock::reports
