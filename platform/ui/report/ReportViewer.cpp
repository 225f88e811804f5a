#include "platform/ui/report/ReportViewer.h"

#include "platform/dialogs/PrinterDialog.h"
#include "platform/report/PagedOutput.h"
#include "platform/ui/report/ReportPageView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPageSize>
#include <QPrinter>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace brantock::platform {

namespace {

QToolButton* button(QWidget* parent, const QString& name, const QString& text,
                    QStyle::StandardPixmap icon) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setToolTip(text);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setText(text);
    return b;
}

// The paper a printer dialog named, or none.
std::optional<QPageSize> paperOf(const QString& key) {
    for (int id = 0; id < int(QPageSize::LastPageSize); ++id) {
        const QPageSize size{QPageSize::PageSizeId(id)};
        if (size.key() == key)
            return size;
    }
    return std::nullopt;
}

} // namespace

ReportViewer::ReportViewer(QWidget* parent) : QWidget(parent) {
    first_ =
        button(this, QStringLiteral("firstPage"), tr("First page"), QStyle::SP_MediaSkipBackward);
    previous_ = button(this, QStringLiteral("previousPage"), tr("Previous page"),
                       QStyle::SP_MediaSeekBackward);
    next_ = button(this, QStringLiteral("nextPage"), tr("Next page"), QStyle::SP_MediaSeekForward);
    last_ = button(this, QStringLiteral("lastPage"), tr("Last page"), QStyle::SP_MediaSkipForward);
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("pageLabel"));
    zoomOut_ = new QToolButton(this);
    zoomOut_->setObjectName(QStringLiteral("zoomOut"));
    zoomOut_->setText(QStringLiteral("\u2212"));
    zoomOut_->setToolTip(tr("Zoom out"));
    zoomIn_ = new QToolButton(this);
    zoomIn_->setObjectName(QStringLiteral("zoomIn"));
    zoomIn_->setText(QStringLiteral("+"));
    zoomIn_->setToolTip(tr("Zoom in"));
    zoomLabel_ = new QLabel(this);
    zoomLabel_->setObjectName(QStringLiteral("zoomLabel"));

    auto* bar = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(first_), static_cast<QWidget*>(previous_),
                       static_cast<QWidget*>(pageLabel_), static_cast<QWidget*>(next_),
                       static_cast<QWidget*>(last_)})
        bar->addWidget(w);
    bar->addSpacing(12);
    bar->addWidget(zoomOut_);
    bar->addWidget(zoomLabel_);
    bar->addWidget(zoomIn_);
    bar->addStretch();

    view_ = new ReportPageView;
    scroll_ = new QScrollArea(this);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setWidget(view_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bar);
    layout->addWidget(scroll_);

    connect(first_, &QToolButton::clicked, this, [this] { firstPage(); });
    connect(previous_, &QToolButton::clicked, this, [this] { previousPage(); });
    connect(next_, &QToolButton::clicked, this, [this] { nextPage(); });
    connect(last_, &QToolButton::clicked, this, [this] { lastPage(); });
    connect(zoomOut_, &QToolButton::clicked, this, [this] { zoomOut(); });
    connect(zoomIn_, &QToolButton::clicked, this, [this] { zoomIn(); });
    showPage();
}

ReportViewer::~ReportViewer() = default;

void ReportViewer::SetReportSource(std::shared_ptr<Report> report) {
    // The view holds a page of the report it replaces: let go of it first.
    view_->setPage(nullptr, zoom_);
    report_ = std::move(report);
    current_ = 0;
    if (report_) {
        report_->Run();
        current_ = pageCount() > 0 ? 1 : 0;
    }
    showPage();
    if (report_)
        Q_EMIT LoadCompleted();
}

int ReportViewer::pageCount() const {
    return report_ ? report_->Pages().Count() : 0;
}

void ReportViewer::setCurrentPage(int page) {
    const int clamped = pageCount() == 0 ? 0 : std::clamp(page, 1, pageCount());
    if (clamped == current_)
        return;
    current_ = clamped;
    showPage();
    scroll_->ensureVisible(0, 0);
}

void ReportViewer::setZoom(double zoom) {
    zoom_ = std::clamp(zoom, MinZoom, MaxZoom);
    showPage();
}

void ReportViewer::showPage() {
    const int count = pageCount();
    view_->setPage(current_ > 0 ? &report_->Pages().pages[std::size_t(current_ - 1)] : nullptr,
                   zoom_);
    pageLabel_->setText(tr("Page %1 of %2").arg(current_).arg(count));
    first_->setEnabled(current_ > 1);
    previous_->setEnabled(current_ > 1);
    next_->setEnabled(current_ < count);
    last_->setEnabled(current_ < count);
    zoomLabel_->setText(QStringLiteral("%1%").arg(std::lround(zoom_ * 100)));
    zoomOut_->setEnabled(zoom_ > MinZoom);
    zoomIn_->setEnabled(zoom_ < MaxZoom);
}

bool ReportViewer::Print(bool showDialog) {
    if (pageCount() == 0)
        return false;
    const ReportDocument& document = report_->Pages();
    std::optional<PrintDialogChoice> choice = PrintDialogChoice();
    if (showDialog)
        choice = PrinterDialog::current().run({document.caption, 1, document.Count()});
    if (!choice)
        return false;

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(document.caption);
    if (!choice->outputFileName.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(choice->outputFileName);
    } else if (!choice->printerName.isEmpty()) {
        printer.setPrinterName(choice->printerName);
    }
    printer.setCopyCount(std::max(1, choice->copies));
    printer.setCollateCopies(choice->collate);
    printer.setDuplex(choice->duplex ? QPrinter::DuplexAuto : QPrinter::DuplexNone);
    printer.setColorMode(choice->grayscale ? QPrinter::GrayScale : QPrinter::Color);
    // A paper chosen in the dialog is kept and each page fitted to it; otherwise every
    // sheet is the page's own paper.
    const std::optional<QPageSize> paper = paperOf(choice->paperKey);
    if (paper)
        printer.setPageSize(*paper);
    const int from = choice->fromPage > 0 ? choice->fromPage : 1;
    const int to = choice->toPage > 0 ? choice->toPage : document.Count();
    PagedOutput::write(document, printer, from, to, !paper);
    return true;
}

} // namespace brantock::platform
