#include "reports/core/modMain.h"
#include "tests/platform/report/TableReport.h"
#include "tests/support/TestEnvironment.h"

#include "platform/report/ReportDocument.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::reports;
using namespace brantock::testsupport;

namespace {

class Saving : public ::testing::Test {
protected:
    Saving() { report.Run(); }
    static QByteArray contentOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TableReport report;
    ScratchFolder folder;
};

} // namespace

TEST_F(Saving, EachKindIsWrittenByItsFilterAndAnyOtherKindAsThePageFile) {
    const struct {
        std::int32_t kind;
        QByteArray start;
    } cases[] = {
        {1, "%PDF-"},
        {2, TableReport::Title.toUtf8()},
        {3, "{\\rtf1"},
        {4, "PK\x03\x04"},
        {0, "\x89"
            "BRPAGES"},
        {9, "\x89"
            "BRPAGES"},
        {-1, "\x89"
             "BRPAGES"},
    };
    for (const auto& c : cases) {
        const QString path = folder.file(QStringLiteral("kind%1").arg(c.kind));
        EXPECT_TRUE(SaveReport(&report, path, c.kind)) << c.kind;
        EXPECT_TRUE(contentOf(path).startsWith(c.start)) << c.kind;
    }
    EXPECT_EQ(platform::ReportDocument::Load(folder.file("kind9")), report.Pages());
}

TEST_F(Saving, AWriteThatFailsOrNoReportIsFalseAndLeavesNoFile) {
    for (const std::int32_t kind : {0, 1, 2, 3, 4}) {
        EXPECT_FALSE(SaveReport(&report, folder.file("no/such/folder/report"), kind)) << kind;
        EXPECT_FALSE(SaveReport(nullptr, folder.file("nothing"), kind)) << kind;
    }
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}
