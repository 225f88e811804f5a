#include "platform/report/Report.h"

#include "platform/report/ReportRunner.h"

namespace brantock::platform {

Report::Report(QObject* parent) : QObject(parent) {}

Report::~Report() = default;

ReportSection& Report::Section(ReportSectionKind kind) {
    switch (kind) {
    case ReportSectionKind::ReportHeader:
        return reportHeader_;
    case ReportSectionKind::PageHeader:
        return pageHeader_;
    case ReportSectionKind::Detail:
        return detail_;
    case ReportSectionKind::PageFooter:
        return pageFooter_;
    case ReportSectionKind::ReportFooter:
        break;
    }
    return reportFooter_;
}

void Report::Run() {
    if (running_ || ran_)
        return;
    running_ = true;
    pages_ = ReportRunner(*this).run();
    running_ = false;
    ran_ = true;
}

void Report::Cancel() {
    if (running_ && !ending_)
        cancelled_ = true;
}

} // namespace brantock::platform
