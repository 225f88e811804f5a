#pragma once

#include "platform/report/ReportDataControl.h"
#include "platform/report/ReportDocument.h"
#include "platform/report/ReportPageSettings.h"
#include "platform/report/ReportSection.h"

#include <QObject>
#include <QString>

namespace brantock::platform {

// A banded report: five bands, the data control `datReport` whose rows the detail band
// prints, the paper it is laid out on, and its pages once it has run.
//
// Run lays the pages out once, raising in this order: `ReportStart` (before any data is
// read: a handler may still assign `datReport` and change everything), `Format` of the
// report header, of the page header, of the detail once per row (with the row's values
// already in the bound fields), of the report footer (with its totals summed), and of the
// page footer of each page as the page is finished (with the page header of the next page
// after it), then `ReportEnd` after the last page. `Cancel`, from any event, ends the run:
// no band is formatted or placed after it, the pages laid out so far stay (a page left
// empty is dropped), and `ReportEnd` is still raised, so that a report always frees what it
// holds. An error that leaves an event, or that the engine meets, raises `Error`; unless a
// handler sets CancelDisplay the engine shows the error in a message box itself; either way
// the run then ends as if cancelled.
class Report : public QObject {
    Q_OBJECT
public:
    explicit Report(QObject* parent = nullptr);
    ~Report() override;

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption) { caption_ = caption; }
    // The report's settings object.
    ReportPageSettings& PageSettings() { return pageSettings_; }
    const ReportPageSettings& PageSettings() const { return pageSettings_; }

    ReportSection& ReportHeader() { return reportHeader_; }
    ReportSection& PageHeader() { return pageHeader_; }
    ReportSection& Detail() { return detail_; }
    ReportSection& PageFooter() { return pageFooter_; }
    ReportSection& ReportFooter() { return reportFooter_; }
    ReportSection& Section(ReportSectionKind kind);

    ReportDataControl datReport;

    // Runs the report once; later calls, and calls from its own events, do nothing.
    void Run();
    // Ends the run from one of its events; does nothing outside a run or in `ReportEnd`.
    void Cancel();

    bool isRunning() const { return running_; }
    bool hasRun() const { return ran_; }
    // True when Cancel or an error ended the run before its end.
    bool wasCancelled() const { return cancelled_; }

    // The pages of the last run (none before it).
    const ReportDocument& Pages() const { return pages_; }

Q_SIGNALS:
    void ReportStart();
    void ReportEnd();
    void Error(int Number, const QString& Description, int Scode, const QString& Source,
               const QString& HelpFile, int HelpContext, bool& CancelDisplay);

private:
    friend class ReportRunner;

    QString caption_;
    ReportPageSettings pageSettings_;
    ReportSection reportHeader_{ReportSectionKind::ReportHeader};
    ReportSection pageHeader_{ReportSectionKind::PageHeader};
    ReportSection detail_{ReportSectionKind::Detail};
    ReportSection pageFooter_{ReportSectionKind::PageFooter};
    ReportSection reportFooter_{ReportSectionKind::ReportFooter};
    ReportDocument pages_;
    bool running_ = false;
    bool ending_ = false;
    bool ran_ = false;
    bool cancelled_ = false;
};

} // namespace brantock::platform
