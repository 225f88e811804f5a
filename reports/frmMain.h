#pragma once

#include "foundation/ui/FormLife.h"
#include "reports/core/ReportOptions.h"
#include "reports/frmMainUi.h"

#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <memory>

namespace brantock {
class frmAbout;
}

namespace brantock::platform {
class Report;
}

namespace brantock::reports {

class repDay;
class repTotals;

// The reports program's window: the report options at the left, the viewer at the right.
// The preview button builds a fresh report of the kind its caption names from the options,
// and the viewer runs and shows it; once a report is loaded it can be printed or saved.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    static inline const QString DayReportCaption = QStringLiteral("Preview Day Report");
    static inline const QString TotalsReportCaption = QStringLiteral("Preview Totals Report");

    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Shows the window modelessly, its load first when it has not run; raises
    // err::ObjectUnloaded when the load unloaded it.
    void Show();
    bool Loaded() const { return life_.Loaded(); }
    void Unload();

    const frmMainUi& ui() const { return ui_; }
    // The options as the controls hold them now.
    ReportOptions Options() const;
    // The report of each kind the last preview built (null before one).
    repDay* DayReport() const { return repDay_.get(); }
    repTotals* TotalsReport() const { return repTotals_.get(); }

Q_SIGNALS:
    void unloaded();

public Q_SLOTS:
    void mnuReportsDay_Click();
    void mnuReportsTotals_Click();
    void cmdPreviewReport_Click();
    void arvPreview_LoadCompleted();
    void mnuFilePrint_Click();
    void mnuExportPDF_Click();
    void mnuExportExcel_Click();
    void mnuWordExport_Click();
    void mnuTextExport_Click();
    void mnuFileExit_Click();
    void mnuSelectDataPath_Click();
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    void Form_QueryUnload();
    void UncheckReports();
    void connectControls();
    std::shared_ptr<repDay> newDayReport(const ReportOptions& options) const;
    std::shared_ptr<repTotals> newTotalsReport(const ReportOptions& options) const;
    void previewReport(std::shared_ptr<platform::Report> report);
    void SaveCurrentReport(std::int32_t kind);
    QString GetSavepath(std::int32_t kind);
    void exportMenu(const char* trail, std::int32_t kind);

    frmMainUi ui_;
    // Shared with the viewer while it shows one of them.
    std::shared_ptr<repDay> repDay_;
    std::shared_ptr<repTotals> repTotals_;
    QPointer<frmAbout> about_;
    FormLife life_;
};

} // namespace brantock::reports
