#include "platform/ui/report/ReportViewer.h"
#include "tests/platform/report/SampleReport.h"
#include "tests/support/RaisedError.h"
#include "tests/support/ScriptedPrinterDialog.h"
#include "tests/support/TestEnvironment.h"

#include "platform/report/ReportError.h"
#include "platform/ui/report/QtPrinterDialog.h"
#include "platform/ui/report/ReportPageView.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::platform;
using brantock::testsupport::RaisedError;
using brantock::testsupport::SampleReport;
using brantock::testsupport::ScratchFolder;
using brantock::testsupport::ScriptedPrinterDialog;

namespace {

// 120 slots: three pages.
std::shared_ptr<SampleReport> threePages() {
    return std::make_shared<SampleReport>(120);
}

QString pageLabel(const ReportViewer& viewer) {
    return viewer.findChild<QLabel*>(QStringLiteral("pageLabel"))->text();
}

QToolButton* buttonOf(const ReportViewer& viewer, const char* name) {
    return viewer.findChild<QToolButton*>(QString::fromLatin1(name));
}

int pdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    return bytes.startsWith("%PDF-") ? int(bytes.count("/Type /Page\n")) : -1;
}

} // namespace

TEST(ReportViewer, AssigningAReportRunsItShowsItAndSaysSoOnce) {
    ReportViewer viewer;
    QSignalSpy loaded(&viewer, &ReportViewer::LoadCompleted);
    auto report = threePages();
    int starts = 0;
    QObject::connect(report.get(), &Report::ReportStart, [&] {
        ++starts;
        // Loaded is said only once the run is over.
        EXPECT_EQ(loaded.count(), 0);
    });
    viewer.SetReportSource(report);

    EXPECT_EQ(starts, 1);
    EXPECT_EQ(loaded.count(), 1);
    EXPECT_EQ(viewer.ReportSource(), report);
    EXPECT_EQ(viewer.pageCount(), 3);
    EXPECT_EQ(viewer.currentPage(), 1);
    EXPECT_EQ(pageLabel(viewer), QStringLiteral("Page 1 of 3"));

    // A new report takes the place of the old; the old one is no longer held.
    std::weak_ptr<SampleReport> old = report;
    report.reset();
    auto next = std::make_shared<SampleReport>(5);
    viewer.SetReportSource(next);
    EXPECT_TRUE(old.expired());
    EXPECT_EQ(loaded.count(), 2);
    EXPECT_EQ(viewer.pageCount(), 1);
    EXPECT_EQ(pageLabel(viewer), QStringLiteral("Page 1 of 1"));

    // A report that has run is shown as it is, not run again.
    viewer.SetReportSource(next);
    EXPECT_EQ(loaded.count(), 3);
    viewer.SetReportSource(nullptr);
    EXPECT_EQ(loaded.count(), 3);
    EXPECT_EQ(viewer.pageCount(), 0);
    EXPECT_EQ(pageLabel(viewer), QStringLiteral("Page 0 of 0"));
}

TEST(ReportViewer, PagesAreTurnedWithinTheReportAndZoomScalesThePage) {
    ReportViewer viewer;
    viewer.resize(600, 500);
    viewer.show();
    viewer.SetReportSource(threePages());
    auto* view = viewer.findChild<ReportPageView*>();
    ASSERT_NE(view, nullptr);
    // A4 at the paper's own size: 11906 x 16838 twips, 15 to the pixel.
    EXPECT_EQ(view->size(), QSize(794, 1123));
    EXPECT_FALSE(buttonOf(viewer, "previousPage")->isEnabled());

    QTest::mouseClick(buttonOf(viewer, "nextPage"), Qt::LeftButton);
    EXPECT_EQ(viewer.currentPage(), 2);
    QTest::mouseClick(buttonOf(viewer, "lastPage"), Qt::LeftButton);
    EXPECT_EQ(viewer.currentPage(), 3);
    EXPECT_FALSE(buttonOf(viewer, "nextPage")->isEnabled());
    viewer.nextPage();
    EXPECT_EQ(viewer.currentPage(), 3);
    viewer.setCurrentPage(-4);
    EXPECT_EQ(viewer.currentPage(), 1);
    viewer.setCurrentPage(99);
    EXPECT_EQ(pageLabel(viewer), QStringLiteral("Page 3 of 3"));
    QTest::mouseClick(buttonOf(viewer, "firstPage"), Qt::LeftButton);
    EXPECT_EQ(viewer.currentPage(), 1);

    viewer.setZoom(0.5);
    EXPECT_EQ(view->size(), QSize(397, 561));
    QTest::mouseClick(buttonOf(viewer, "zoomIn"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(viewer.zoom(), 0.625);
    EXPECT_EQ(viewer.findChild<QLabel*>(QStringLiteral("zoomLabel"))->text(),
              QStringLiteral("63%"));
    viewer.setZoom(100);
    EXPECT_EQ(viewer.zoom(), ReportViewer::MaxZoom);
    EXPECT_FALSE(buttonOf(viewer, "zoomIn")->isEnabled());
    viewer.setZoom(0);
    EXPECT_EQ(viewer.zoom(), ReportViewer::MinZoom);

    // The page on the screen is the page laid out: the view draws it, not a blank.
    viewer.setZoom(1);
    const QImage shown = view->grab().toImage();
    int ink = 0;
    for (int y = 0; y < shown.height(); y += 2)
        for (int x = 0; x < shown.width(); x += 2)
            ink += qGray(shown.pixel(x, y)) < 128;
    EXPECT_GT(ink, 500);
}

TEST(ReportViewer, PrintingAsksThePrinterDialogAndPrintsOnlyWhenAccepted) {
    ScriptedPrinterDialog dialog;
    ScratchFolder folder;
    ReportViewer viewer;
    EXPECT_FALSE(viewer.Print(true));
    EXPECT_TRUE(dialog.requests().empty());

    viewer.SetReportSource(threePages());
    dialog.cancel();
    EXPECT_FALSE(viewer.Print(true));
    ASSERT_EQ(dialog.requests().size(), 1u);
    EXPECT_EQ(dialog.requests()[0].title, QStringLiteral("Brantock - Sample Report"));
    EXPECT_EQ(dialog.requests()[0].firstPage, 1);
    EXPECT_EQ(dialog.requests()[0].lastPage, 3);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());

    PrintDialogChoice all;
    all.outputFileName = folder.file(QStringLiteral("all.pdf"));
    dialog.choose(all);
    EXPECT_TRUE(viewer.Print(true));
    EXPECT_EQ(pdfPages(all.outputFileName), 3);

    PrintDialogChoice some = all;
    some.outputFileName = folder.file(QStringLiteral("some.pdf"));
    some.fromPage = 2;
    some.toPage = 3;
    some.paperKey = QStringLiteral("Letter");
    dialog.choose(some);
    EXPECT_TRUE(viewer.Print(true));
    EXPECT_EQ(pdfPages(some.outputFileName), 2);
    QFile letter(some.outputFileName);
    ASSERT_TRUE(letter.open(QIODevice::ReadOnly));
    EXPECT_TRUE(letter.readAll().contains("/MediaBox [0 0 612"));

    PrintDialogChoice nowhere = all;
    nowhere.outputFileName = folder.file(QStringLiteral("no/such/folder/x.pdf"));
    dialog.choose(nowhere);
    EXPECT_EQ(RaisedError::numberOf([&] { viewer.Print(true); }), reportErr::PrinterError);
}

TEST(QtPrinterDialog, WithoutAScreenIsCancelledAtOnce) {
    EXPECT_FALSE(QtPrinterDialog().run({QStringLiteral("Report"), 1, 3}).has_value());
}
