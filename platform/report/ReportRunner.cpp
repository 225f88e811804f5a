#include "platform/report/ReportRunner.h"

#include "platform/dialogs/MessageBoxService.h"
#include "platform/report/Report.h"
#include "platform/report/ReportControl.h"
#include "platform/report/ReportField.h"

#include "runtime/RuntimeError.h"

#include <algorithm>
#include <exception>
#include <new>

namespace brantock::platform {

ReportRunner::ReportRunner(Report& report) : report_(report) {}

bool ReportRunner::stopped() const {
    return report_.cancelled_;
}

template <class F> void ReportRunner::attempt(F&& step) {
    try {
        step();
    } catch (const RuntimeError& e) {
        fail(e.number(), e.description(), e.source());
    } catch (const std::bad_alloc&) {
        fail(err::OutOfMemory, RuntimeError::standardDescription(err::OutOfMemory), QString());
    } catch (const std::exception& e) {
        fail(err::InternalError, QString::fromUtf8(e.what()), QString());
    }
}

template <class F> void ReportRunner::guarded(F&& step) {
    if (!stopped())
        attempt(std::forward<F>(step));
}

void ReportRunner::fail(int number, const QString& description, const QString& source) {
    // An error in ReportEnd comes after the last page: there is nothing left to end.
    if (!report_.ending_)
        report_.cancelled_ = true;
    bool cancelDisplay = false;
    try {
        Q_EMIT report_.Error(number, description, 0, source, QString(), 0, cancelDisplay);
    } catch (...) {
        // A handler that fails has not dealt with the error: it is shown all the same.
        cancelDisplay = false;
    }
    if (cancelDisplay)
        return;
    const QString title =
        report_.Caption().isEmpty() ? QStringLiteral("Report error") : report_.Caption();
    MessageBoxService::current().show(
        {QStringLiteral("%1\n\nError %2 while running the report.").arg(description).arg(number),
         style::Exclamation, title});
}

ReportDocument ReportRunner::run() {
    document_.caption = report_.Caption();
    attempt([&] { Q_EMIT report_.ReportStart(); });
    guarded([&] {
        readSettings();
        openRows();
    });
    if (!stopped()) {
        beginPage();
        if (rows_ && !rows_->IsEOF())
            guarded([&] { showRow(); });
        placeBody(report_.ReportHeader());
        placePageHeader();
        while (!stopped() && rows_ && !rows_->IsEOF()) {
            guarded([&] { showRow(); });
            placeBody(report_.Detail());
            guarded([&] {
                rows_->MoveNext();
                ++row_;
            });
        }
        // The footer's bound fields keep the last row's values.
        placeBody(report_.ReportFooter());
        finishPage();
    }
    if (stopped() && !document_.pages.empty() && document_.pages.back().items.empty())
        document_.pages.pop_back();

    const QString pages = QString::number(document_.pages.size());
    for (ReportField* field : pageCounts_)
        field->SetText(pages);
    for (const auto& [page, item] : pageCountItems_)
        if (page < document_.pages.size())
            document_.pages[page].items[item].text = pages;

    report_.ending_ = true;
    attempt([&] { Q_EMIT report_.ReportEnd(); });
    report_.ending_ = false;
    return std::move(document_);
}

void ReportRunner::readSettings() {
    const ReportPageSettings& settings = report_.PageSettings();
    pageWidth_ = settings.PageWidth();
    pageHeight_ = settings.PageHeight();
    leftMargin_ = settings.LeftMargin();
    topMargin_ = settings.TopMargin();
    bottomMargin_ = settings.BottomMargin();
}

void ReportRunner::openRows() {
    rows_ = report_.datReport.Recordset();
    row_ = 0;
    if (rows_)
        rows_->MoveFirst();
    for (ReportSectionKind kind :
         {ReportSectionKind::ReportHeader, ReportSectionKind::PageHeader, ReportSectionKind::Detail,
          ReportSectionKind::PageFooter, ReportSectionKind::ReportFooter}) {
        for (const auto& control : report_.Section(kind).Controls()) {
            auto* field = dynamic_cast<ReportField*>(control.get());
            if (!field)
                continue;
            switch (field->SummaryType()) {
            case ReportField::Summary::None:
                if (!field->DataField().isEmpty()) {
                    bound_.emplace_back(field, column(field->DataField()));
                    field->SetText(QString());
                }
                break;
            case ReportField::Summary::GrandTotal:
                field->SetText(total(column(field->DataField())));
                break;
            case ReportField::Summary::PageNumber:
                pageNumbers_.push_back(field);
                break;
            case ReportField::Summary::PageCount:
                pageCounts_.push_back(field);
                field->SetText(QString());
                break;
            }
        }
    }
}

int ReportRunner::column(const QString& field) const {
    if (rows_)
        for (int i = 0; i < rows_->FieldCount(); ++i)
            if (rows_->FieldName(i).compare(field, Qt::CaseInsensitive) == 0)
                return i;
    return -1;
}

QString ReportRunner::total(int column) const {
    if (column < 0)
        return QString();
    double sum = 0;
    MemoryRecordset rows = *rows_;
    for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
        bool ok = false;
        const double value = rows.Fields(column).toDouble(&ok);
        if (ok)
            sum += value;
    }
    return ReportField::TextOf(sum);
}

void ReportRunner::showRow() {
    for (const auto& [field, index] : bound_)
        field->SetText(index >= 0 ? ReportField::TextOf(rows_->Fields(index)) : QString());
}

std::optional<ReportRunner::Instance> ReportRunner::format(ReportSection& section) {
    guarded([&] { Q_EMIT section.Format(); });
    if (stopped() || !section.Visible())
        return std::nullopt;
    Instance instance;
    const int row = section.Kind() == ReportSectionKind::Detail ? row_ : -1;
    for (const auto& control : section.Controls()) {
        if (!control->Visible())
            continue;
        PageItem item = control->Item();
        item.source.section = section.Kind();
        item.source.row = row;
        const auto counted = std::find(pageCounts_.begin(), pageCounts_.end(), control.get());
        if (counted != pageCounts_.end())
            instance.pageCounts.push_back(instance.items.size());
        instance.items.push_back(std::move(item));
    }
    return instance;
}

void ReportRunner::beginPage() {
    const std::size_t likely = document_.pages.empty() ? 0 : document_.pages.back().items.size();
    document_.pages.push_back({pageWidth_, pageHeight_, {}});
    document_.pages.back().items.reserve(likely);
    y_ = topMargin_;
    pageHasBody_ = false;
    ReportSection& footer = report_.PageFooter();
    bodyBottom_ = pageHeight_ - bottomMargin_ - (footer.Visible() ? footer.Height() : 0);
    const QString number = QString::number(document_.pages.size());
    for (ReportField* field : pageNumbers_)
        field->SetText(number);
}

void ReportRunner::placePageHeader() {
    ReportSection& header = report_.PageHeader();
    if (std::optional<Instance> instance = format(header)) {
        put(*instance, y_);
        y_ += header.Height();
    }
}

void ReportRunner::placeBody(ReportSection& section) {
    std::optional<Instance> instance = format(section);
    if (!instance)
        return;
    // An instance taller than an empty page still goes on one, cut at the paper's edge, so
    // that no band can make the run start pages without end.
    if (pageHasBody_ && y_ + section.Height() > bodyBottom_) {
        finishPage();
        if (stopped())
            return;
        beginPage();
        placePageHeader();
        if (stopped())
            return;
    }
    put(*instance, y_);
    y_ += section.Height();
    pageHasBody_ = true;
}

void ReportRunner::finishPage() {
    ReportSection& footer = report_.PageFooter();
    if (std::optional<Instance> instance = format(footer))
        put(*instance, pageHeight_ - bottomMargin_ - footer.Height());
}

void ReportRunner::put(Instance& instance, int top) {
    ReportPage& page = document_.pages.back();
    const std::size_t first = page.items.size();
    for (PageItem& item : instance.items) {
        item.left += leftMargin_;
        item.top += top;
        page.items.push_back(std::move(item));
    }
    for (std::size_t index : instance.pageCounts)
        pageCountItems_.emplace_back(document_.pages.size() - 1, first + index);
}

} // namespace brantock::platform
