#include "reports/core/ExportKind.h"

#include "platform/report/export/ExportFilters.h"

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::reports;
using platform::ExportFilters;

TEST(ExportKind, EachKindHasItsFilterExtensionTitleAndFilter) {
    const struct {
        std::int32_t kind;
        ExportKind expected;
    } cases[] = {
        {0, {"RDF (*.rdf)|*.rdf", ".rdf", "Save as RDF file", QString()}},
        {1, {"PDF (*.pdf)|*.pdf", ".pdf", "Save as PDF file", ExportFilters::PdfClassId}},
        {2, {"Text (*.txt)|*.txt", ".txt", "Save as text file", ExportFilters::TextClassId}},
        {3,
         {"Rich text (Word) (*.rtf)|*.rtf", ".rtf", "Save as rich text (Word) file",
          ExportFilters::RtfClassId}},
        {4,
         {"Excel spreadsheet (*.xlsx)|*.xlsx", ".xlsx", "Save as Excel spreadsheet",
          ExportFilters::ExcelClassId}},
        {5, {}},
        {-1, {}},
    };
    for (const auto& c : cases) {
        const ExportKind kind = ExportKind::of(c.kind);
        EXPECT_EQ(kind.filter, c.expected.filter) << c.kind;
        EXPECT_EQ(kind.extension, c.expected.extension) << c.kind;
        EXPECT_EQ(kind.title, c.expected.title) << c.kind;
        EXPECT_EQ(kind.classId, c.expected.classId) << c.kind;
    }
}
