#pragma once

#include "platform/dialogs/CommonDialog.h"

#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPushButton;
class QTabWidget;
class QTimeEdit;
class QWidget;

namespace brantock::platform {
class ReportViewer;
}

namespace brantock::reports {

class DateSelector;

// The report window's controls and menus with their places, sizes and texts as designed:
// the options on an index tab at the left, the viewer at the right.
class frmMainUi {
public:
    static constexpr int ClientWidth = 10560;
    static constexpr int ClientHeight = 6495;

    void setupUi(QMainWindow* form);
    // The tab keeps its width and the viewer takes the rest as the window changes size.
    void layOut() const;

    QWidget* vseForm = nullptr;
    platform::ReportViewer* arvPreview = nullptr;
    QTabWidget* tabReports = nullptr;
    QWidget* vseReports = nullptr;
    QWidget* vseReportsTime = nullptr;
    DateSelector* dtmDateReport = nullptr;
    QLabel* lblDateStartTime = nullptr;
    QTimeEdit* dtpDateStartTime = nullptr;
    QLabel* lblDateEndTime = nullptr;
    QTimeEdit* dtpDateEndTime = nullptr;

    QWidget* vseDayReport = nullptr;
    QLabel* lblDayReportDaysToInclude = nullptr;
    QCheckBox* chkDateMonday = nullptr;
    QCheckBox* chkDateTuesday = nullptr;
    QCheckBox* chkDateWednesday = nullptr;
    QCheckBox* chkDateThursday = nullptr;
    QCheckBox* chkDateFriday = nullptr;
    QCheckBox* chkDateSaturday = nullptr;
    QCheckBox* chkDateSunday = nullptr;
    QLabel* lblDayReportUnits = nullptr;
    QComboBox* cboDayReportUnits = nullptr;
    QLabel* lblDayReportMins = nullptr;

    QWidget* vseTotalsReport = nullptr;
    QLabel* lblTotalsReportUnits = nullptr;
    QLineEdit* txtTotalsReportUnits = nullptr;
    QComboBox* cboTotalsReportPeriod = nullptr;

    QLabel* lblDateChartType = nullptr;
    QComboBox* cboDateChartType = nullptr;
    QCheckBox* chkDateHalfCount = nullptr;
    QCheckBox* chkDateShowDetails = nullptr;
    QPushButton* cmdPreviewReport = nullptr;
    // The save dialog; a cancel raises its error.
    platform::CommonDialog cdlSave;

    QMenu* mnuFile = nullptr;
    QAction* mnuFilePrint = nullptr;
    QMenu* mnuFileSaveAs = nullptr;
    QAction* mnuExportPDF = nullptr;
    QAction* mnuExportExcel = nullptr;
    QAction* mnuWordExport = nullptr;
    QAction* mnuTextExport = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuTools = nullptr;
    QAction* mnuSelectDataPath = nullptr;
    QMenu* mnuReports = nullptr;
    QAction* mnuReportsDay = nullptr;
    QAction* mnuReportsTotals = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpAbout = nullptr;

    // Monday first.
    std::array<QCheckBox*, 7> weekdays() const {
        return {chkDateMonday, chkDateTuesday,  chkDateWednesday, chkDateThursday,
                chkDateFriday, chkDateSaturday, chkDateSunday};
    }
};

} // namespace brantock::reports
