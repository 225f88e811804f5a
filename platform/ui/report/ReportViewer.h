#pragma once

#include "platform/report/Report.h"

#include <QWidget>

#include <memory>

class QLabel;
class QScrollArea;
class QToolButton;

namespace brantock::platform {

class ReportPageView;

// The report viewer: a bar of page and zoom buttons over the page shown. Its report source
// is the report it shows; assigning one runs it (a report runs once: one that has run is
// shown as it is), shows its first page and raises `LoadCompleted`. The viewer shares the
// report with whoever assigned it, so the pages stay while they are shown.
class ReportViewer : public QWidget {
    Q_OBJECT
public:
    static constexpr double MinZoom = 0.25;
    static constexpr double MaxZoom = 4;

    explicit ReportViewer(QWidget* parent = nullptr);
    ~ReportViewer() override;

    const std::shared_ptr<Report>& ReportSource() const { return report_; }
    // Null shows nothing and raises nothing.
    void SetReportSource(std::shared_ptr<Report> report);

    // Prints the report shown, after the printer dialog when showDialog is true (without it,
    // every page goes to the default printer). False when nothing was printed: no report,
    // no pages, or the dialog cancelled. Raises 482 when the printer or its output file
    // cannot be opened.
    bool Print(bool showDialog);

    // Pages are numbered from 1; 0 pages when nothing is shown.
    int pageCount() const;
    int currentPage() const { return current_; }
    // Kept within the pages there are.
    void setCurrentPage(int page);
    void firstPage() { setCurrentPage(1); }
    void previousPage() { setCurrentPage(current_ - 1); }
    void nextPage() { setCurrentPage(current_ + 1); }
    void lastPage() { setCurrentPage(pageCount()); }

    // 1 is the paper's own size; kept within MinZoom and MaxZoom.
    double zoom() const { return zoom_; }
    void setZoom(double zoom);
    void zoomIn() { setZoom(zoom_ * 1.25); }
    void zoomOut() { setZoom(zoom_ / 1.25); }

Q_SIGNALS:
    void LoadCompleted();

private:
    void showPage();

    std::shared_ptr<Report> report_;
    int current_ = 0;
    double zoom_ = 1;

    QToolButton* first_;
    QToolButton* previous_;
    QToolButton* next_;
    QToolButton* last_;
    QLabel* pageLabel_;
    QToolButton* zoomOut_;
    QToolButton* zoomIn_;
    QLabel* zoomLabel_;
    QScrollArea* scroll_;
    ReportPageView* view_;
};

} // namespace brantock::platform
