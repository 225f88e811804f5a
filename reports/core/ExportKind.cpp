#include "reports/core/ExportKind.h"

#include "platform/report/export/ExportFilters.h"

namespace brantock::reports {

using platform::ExportFilters;

ExportKind ExportKind::of(std::int32_t kind) {
    switch (kind) {
    case PageFile:
        return {QStringLiteral("RDF (*.rdf)|*.rdf"), QStringLiteral(".rdf"),
                QStringLiteral("Save as RDF file"), QString()};
    case Pdf:
        return {QStringLiteral("PDF (*.pdf)|*.pdf"), QStringLiteral(".pdf"),
                QStringLiteral("Save as PDF file"), ExportFilters::PdfClassId};
    case Text:
        return {QStringLiteral("Text (*.txt)|*.txt"), QStringLiteral(".txt"),
                QStringLiteral("Save as text file"), ExportFilters::TextClassId};
    case RichText:
        return {QStringLiteral("Rich text (Word) (*.rtf)|*.rtf"), QStringLiteral(".rtf"),
                QStringLiteral("Save as rich text (Word) file"), ExportFilters::RtfClassId};
    case Excel:
        // The spreadsheet filter writes Office Open XML, whose files are .xlsx.
        return {QStringLiteral("Excel spreadsheet (*.xlsx)|*.xlsx"), QStringLiteral(".xlsx"),
                QStringLiteral("Save as Excel spreadsheet"), ExportFilters::ExcelClassId};
    default:
        return {};
    }
}

} // namespace brantock::reports
