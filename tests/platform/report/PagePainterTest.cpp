#include "platform/report/PagePainter.h"
#include "tests/platform/report/SampleReport.h"
#include "tests/support/TestEnvironment.h"

#include "platform/report/ChartPainter.h"
#include "platform/report/PagedOutput.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::platform;
using brantock::testsupport::SampleReport;
using brantock::testsupport::ScratchFolder;

namespace {

QImage render(const ReportPage& page, double pixelsPerTwip) {
    QImage image(int(page.width * pixelsPerTwip), int(page.height * pixelsPerTwip),
                 QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    PagePainter::paint(painter, page, QRectF(image.rect()));
    return image;
}

int inkIn(const QImage& image, const QRectF& twips, double pixelsPerTwip) {
    const QRect area =
        QRectF(twips.topLeft() * pixelsPerTwip, twips.size() * pixelsPerTwip).toAlignedRect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.valid(x, y) && qGray(image.pixel(x, y)) < 160;
    return n;
}

} // namespace

TEST(PagePainter, DrawsEveryItemInItsBoxOnWhitePaper) {
    SampleReport report(24);
    report.Run();
    const ReportPage& page = report.Pages().pages.at(0);
    constexpr double Screen = 1 / 15.0;
    const QImage image = render(page, Screen);

    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 255, 255));
    int texts = 0;
    for (const PageItem& item : page.items) {
        const QRectF box(item.left, item.top, item.width, item.height);
        switch (item.kind) {
        case PageItem::Kind::Text:
            if (!item.text.isEmpty()) {
                EXPECT_GT(inkIn(image, box, Screen), 3)
                    << item.source.control.toStdString() << " " << item.text.toStdString();
                ++texts;
            }
            break;
        case PageItem::Kind::Line:
            EXPECT_GT(inkIn(image, box.adjusted(0, -15, 0, 15), Screen), 50);
            break;
        case PageItem::Kind::Chart: {
            // The chart is drawn where the page says, as the chart painter lays it out.
            const ChartLayout l =
                ChartPainter::layout(*item.chart, QRectF(0, 0, box.width(), box.height()));
            const QRectF key = l.keys.at(0).translated(box.topLeft());
            EXPECT_EQ(image.pixel((key.center() * Screen).toPoint()), ChartPainter::seriesColor(0));
            break;
        }
        case PageItem::Kind::Box:
            break;
        }
    }
    EXPECT_GT(texts, 24 * 6);
    // Between the rows and the footer the paper is left blank.
    EXPECT_EQ(inkIn(image, QRectF(1440, 14300, 9000, 600), Screen), 0);
}

TEST(PagePainter, ATextTooWideForItsBoxIsDrawnSmallerWithinIt) {
    // A right-aligned count in a narrow column, as a table has them, with its neighbour's
    // column just to its left.
    ReportPage page;
    page.width = 3000;
    page.height = 1000;
    PageItem number;
    number.kind = PageItem::Kind::Text;
    number.text = QStringLiteral("1234567890");
    number.left = 1500;
    number.top = 200;
    number.width = 700;
    number.height = 250;
    number.style.fontSize = 10;
    number.style.alignment = int(Qt::AlignRight | Qt::AlignTop);
    page.items.push_back(number);

    constexpr double Fine = 0.2;
    const QImage image = render(page, Fine);
    // Nothing spills into the neighbour's column...
    EXPECT_EQ(inkIn(image, QRectF(0, 150, 1490, 400), Fine), 0);
    EXPECT_EQ(inkIn(image, QRectF(2210, 150, 700, 400), Fine), 0);
    // ...and all ten digits are there: ten runs of inked columns across the box.
    int runs = 0;
    bool inRun = false;
    for (int x = 0; x < image.width(); ++x) {
        bool ink = false;
        for (int y = int(150 * Fine); y < int(500 * Fine); ++y)
            ink = ink || qGray(image.pixel(x, y)) < 160;
        runs += ink && !inRun;
        inRun = ink;
    }
    EXPECT_EQ(runs, 10);
}

TEST(PagePainter, EveryPageGoesOnASheetOfItsOwnInAPdf) {
    SampleReport report(120);
    report.Run();
    const ReportDocument& pages = report.Pages();
    ASSERT_GE(pages.Count(), 3);
    ScratchFolder folder;
    auto pdfPages = [&](int from, int to) {
        const QString path = folder.file(QStringLiteral("pages%1-%2.pdf").arg(from).arg(to));
        {
            QPdfWriter pdf(path);
            PagedOutput::write(pages, pdf, from, to, true);
        }
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith("%PDF-"));
        // A4 portrait, in points.
        EXPECT_TRUE(bytes.contains("/MediaBox [0 0 595")) << bytes.left(2000).toStdString();
        return int(bytes.count("/Type /Page\n"));
    };
    EXPECT_EQ(pdfPages(1, pages.Count()), pages.Count());
    EXPECT_EQ(pdfPages(2, 3), 2);
    EXPECT_EQ(pdfPages(0, 99), pages.Count());
}
