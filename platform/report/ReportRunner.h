#pragma once

#include "platform/data/MemoryRecordset.h"
#include "platform/report/ReportDocument.h"

#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace brantock::platform {

class Report;
class ReportField;
class ReportSection;

// One run of a report (Report::Run): raises its events in order and lays its bands out
// into pages, top to bottom, a page at a time.
class ReportRunner {
public:
    explicit ReportRunner(Report& report);
    // The pages laid out; those so far when the run was cancelled or failed.
    ReportDocument run();

private:
    // A band instance that prints: its items placed in the band, and which of them show
    // the number of pages (known only at the end).
    struct Instance {
        std::vector<PageItem> items;
        std::vector<std::size_t> pageCounts;
    };

    bool stopped() const;
    // Runs a step of the run; an error leaving it raises the report's Error event and ends
    // the run. Passed over once the run has ended.
    template <class F> void guarded(F&& step);
    template <class F> void attempt(F&& step);
    void fail(int number, const QString& description, const QString& source);

    void readSettings();
    void openRows();
    int column(const QString& field) const;
    QString total(int column) const;
    void showRow();

    std::optional<Instance> format(ReportSection& section);
    void beginPage();
    void placePageHeader();
    void placeBody(ReportSection& section);
    void finishPage();
    void put(Instance& instance, int top);

    Report& report_;
    ReportDocument document_;
    std::optional<MemoryRecordset> rows_;
    int row_ = -1;
    std::vector<std::pair<ReportField*, int>> bound_; // field, column (-1: the rows lack it)
    std::vector<ReportField*> pageNumbers_;
    std::vector<ReportField*> pageCounts_;
    std::vector<std::pair<std::size_t, std::size_t>> pageCountItems_; // page, item

    int pageWidth_ = 0;
    int pageHeight_ = 0;
    int leftMargin_ = 0;
    int topMargin_ = 0;
    int bottomMargin_ = 0;
    int y_ = 0;
    int bodyBottom_ = 0;
    bool pageHasBody_ = false;
};

} // namespace brantock::platform
