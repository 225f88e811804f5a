#include "platform/report/ChartPainter.h"
#include "tests/support/TestEnvironment.h"

#include "platform/report/ChartLegend.h"
#include "platform/report/TwipsFont.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTime>

#include <gtest/gtest.h>

#include <cmath>

using namespace brantock::platform;
using brantock::testsupport::ScratchFolder;

namespace {

// The chart's box on a day report page, in twips; drawn at 15 twips to the pixel.
const QRectF Box(0, 0, 8925, 5000);
constexpr double TwipsPerPixel = 15;

ChartContent content(int type, int categories, int legend = ChartLegend::Bottom) {
    ChartContent c;
    c.chartType = type;
    c.legendLocation = legend;
    c.seriesNames = {QStringLiteral("Monday"), QStringLiteral("Tuesday"),
                     QStringLiteral("Wednesday")};
    c.values.resize(3);
    for (int i = 0; i < categories; ++i) {
        c.categories << QStringLiteral("%1:00 %2").arg(i % 12 + 1).arg(i < 12 ? "AM" : "PM");
        for (int s = 0; s < 3; ++s)
            c.values[s] << double((i * 7 + s * 3) % 11 + 1);
    }
    return c;
}

QImage render(const ChartContent& c, double pixelsPerTwip = 1 / TwipsPerPixel) {
    QImage image(int(std::lround(Box.width() * pixelsPerTwip)),
                 int(std::lround(Box.height() * pixelsPerTwip)), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.scale(pixelsPerTwip, pixelsPerTwip);
    ChartPainter::paint(painter, c, Box);
    return image;
}

QRect pixels(const QRectF& twips) {
    return QRectF(twips.topLeft() / TwipsPerPixel, twips.size() / TwipsPerPixel)
        .toAlignedRect()
        .intersected(QRect(QPoint(0, 0), (Box.size() / TwipsPerPixel).toSize()));
}

bool coloured(QRgb p) {
    const int high = std::max({qRed(p), qGreen(p), qBlue(p)});
    const int low = std::min({qRed(p), qGreen(p), qBlue(p)});
    return high - low > 40;
}

bool dark(QRgb p) {
    return qGray(p) < 110;
}

int count(const QImage& image, const QRect& area, bool (*test)(QRgb)) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(image.pixel(x, y));
    return n;
}

double differingShare(const QImage& a, const QImage& b) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            differing += a.pixel(x, y) != b.pixel(x, y);
    return double(differing) / (a.width() * a.height());
}

// The mean difference of grey levels, 0 (alike) to 1.
double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
    return sum / (255.0 * a.width() * a.height());
}

} // namespace

TEST(ChartPainter, EveryTypeDrawsItsSeriesInThePlotAndNoTwoTypesLookAlike) {
    std::vector<QImage> images;
    for (int type = 0; type < ChartContent::TypeCount; ++type) {
        SCOPED_TRACE(type);
        const ChartContent c = content(type, 10);
        const ChartLayout l = ChartPainter::layout(c, Box);
        EXPECT_EQ(l.depth.isNull(), type % 2 == 1);
        // Counts are whole, and so are the values along the axis.
        EXPECT_EQ(l.step, std::round(l.step));
        const QImage image = render(c);
        const QRect plot = pixels(l.plot.united(l.plot.translated(l.depth)));
        EXPECT_GT(count(image, plot, coloured), plot.width() * plot.height() / 50);
        // Nothing of the chart spills out of its box.
        EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
        images.push_back(image);
    }
    for (std::size_t a = 0; a < images.size(); ++a)
        for (std::size_t b = a + 1; b < images.size(); ++b)
            EXPECT_GT(differingShare(images[a], images[b]), 0.01) << a << " and " << b;
}

TEST(ChartPainter, TheLegendAtTheBottomNamesEverySeriesInItsColour) {
    for (int type = 0; type < ChartContent::TypeCount; ++type) {
        SCOPED_TRACE(type);
        const ChartContent c = content(type, 10);
        const ChartLayout l = ChartPainter::layout(c, Box);
        const QImage image = render(c);
        EXPECT_GT(l.legend.top(), l.labels.bottom());
        EXPECT_LE(l.legend.bottom(), Box.bottom());
        ASSERT_EQ(l.keys.size(), 3);
        for (int s = 0; s < 3; ++s) {
            const QRect key = pixels(l.keys.at(s));
            EXPECT_EQ(image.pixel(key.center()), ChartPainter::seriesColor(s));
            // The name beside the swatch is written out.
            const QPointF at = l.keyTexts.at(s);
            const QRect name = pixels(QRectF(at.x(), at.y() - 150, 700, 170));
            EXPECT_GT(count(image, name, dark), 10);
        }
    }
    const ChartLayout right = ChartPainter::layout(content(3, 10, ChartLegend::Right), Box);
    EXPECT_GT(right.legend.left(), right.plot.right());
    EXPECT_LT(right.legend.bottom(), right.labels.top());
}

TEST(ChartPainter, EveryLabelAskedForThatOneRowCannotHoldGoesOnTwoRowsApart) {
    // Twelve slots of a day report with depth: "10:00 AM" is wider than a category.
    ChartContent chart = content(0, 12);
    for (int i = 0; i < 12; ++i)
        chart.categories[i] = QStringLiteral("%1:00 %2").arg((i + 7) % 12 + 1).arg("AM");
    chart.labelSpacing = 1;
    chart.tickSpacing = 1;
    const ChartLayout l = ChartPainter::layout(chart, Box);
    EXPECT_EQ(l.labelStep, 1);
    ASSERT_EQ(l.labelRows, 2);
    const QImage image = render(chart);
    const double width = l.categoryWidth(chart);
    const double row = l.labels.height() / 2;
    for (int i = 0; i < 12; ++i) {
        const double centre = l.plot.left() + (i + 0.5) * width;
        const double top = l.labels.top() + (i % 2) * row;
        EXPECT_GT(count(image, pixels(QRectF(centre - 150, top, 300, row)), dark), 5) << i;
        // Half way to the next label of its row the band is blank.
        if (i + 2 < 12) {
            const QRectF gap(centre + width - 15, top, 30, row * 0.9);
            EXPECT_EQ(count(image, pixels(gap), dark), 0) << i;
        }
    }
    // The last label ends inside the chart, not cut by its edge.
    EXPECT_EQ(
        count(image, pixels(QRectF(Box.right() - 60, l.labels.top(), 60, l.labels.height())), dark),
        0);
}

TEST(ChartPainter, CategoryLabelsStandUnderTheirCategoriesAndThinOutOnlyWhenAsked) {
    struct Case {
        int categories;
        int labelSpacing;
        int tickSpacing;
        bool thinned;
    };
    for (const Case& c : {Case{6, 1, 1, false}, Case{48, 1, 1, true}, Case{48, 0, 0, true},
                          Case{48, 3, 0, true}, Case{1000, 0, 0, true}}) {
        SCOPED_TRACE(c.categories);
        ChartContent chart = content(1, c.categories);
        chart.labelSpacing = c.labelSpacing;
        chart.tickSpacing = c.tickSpacing;
        const ChartLayout l = ChartPainter::layout(chart, Box);
        EXPECT_EQ(l.labelStep > 1, c.thinned);
        // Labels asked for that even two rows cannot hold are thinned by whole spacings.
        if (c.labelSpacing > 0) {
            EXPECT_EQ(l.labelStep % c.labelSpacing, 0);
        }
        EXPECT_EQ(l.tickStep, c.tickSpacing > 0 ? c.tickSpacing : l.labelStep);

        const QImage image = render(chart);
        const double width = l.categoryWidth(chart);
        // Every labelled category has its label under it; only the last may be left out,
        // where the chart's end would push it into the one before.
        int labelled = 0;
        for (int i = 0; i < c.categories; i += l.labelStep)
            ++labelled;
        for (const auto& [text, at] : l.categoryLabels)
            ASSERT_GT(count(image, pixels(at), dark), 5)
                << "nothing drawn of " << text.toStdString();
        for (qsizetype i = 0; i + 1 < l.categoryLabels.size(); ++i) {
            const double centre = l.plot.left() + (i * l.labelStep + 0.5) * width;
            EXPECT_NEAR(l.categoryLabels.at(i).box.center().x(), centre, 1) << i;
        }
        EXPECT_GE(l.categoryLabels.size(), labelled - 1);
        // Labels spaced by the painter never run into each other: the band is blank half
        // way between two of them.
        if (c.labelSpacing == 0) {
            for (int i = 0; i + l.labelStep < c.categories; i += l.labelStep) {
                const double between = l.plot.left() + (i + 0.5 + l.labelStep / 2.0) * width;
                const QRect gap = pixels(QRectF(between, l.labels.top(), 1, l.labels.height()));
                ASSERT_EQ(count(image, gap.adjusted(0, 0, 0, 0), dark), 0) << "after " << i;
            }
        }
    }
}

// A day report's slots, "8:00 AM" to the end time, Units minutes apart.
ChartContent daySlots(int type, int units, int fromMinute, int toMinute) {
    ChartContent c = content(type, 0);
    for (int m = fromMinute; m <= toMinute; m += units) {
        c.categories << QTime(m / 60, m % 60).toString(QStringLiteral("h:mm AP"));
        for (int s = 0; s < 3; ++s)
            c.values[s] << double((m * 7 + s) % 13);
    }
    return c;
}

TEST(ChartPainter, NoTwoCategoryLabelsMeetForAnySlotCountWindowOrType) {
    // The widths the texts take on the screen, on paper and in a PDF: the boxes must hold
    // each of them.
    ScratchFolder folder;
    QPdfWriter pdf(folder.file(QStringLiteral("measure.pdf")));
    pdf.setResolution(1200);
    QImage screen(10, 10, QImage::Format_RGB32);
    const QFont font = TwipsFont::make(QStringLiteral("Sans Serif"), 8);
    const QFontMetricsF onScreen(font, &screen), inPdf(font, &pdf);
    const QRectF boxes[] = {Box, QRectF(0, 0, 4500, 3000)};
    for (const QRectF& box : boxes)
        for (int units : {1, 5, 10, 15, 30, 60})
            for (const auto& [from, to] :
                 {std::pair{8 * 60, 17 * 60}, std::pair{8 * 60, 9 * 60}, std::pair{0, 23 * 60 + 59},
                  std::pair{9 * 60, 9 * 60 + 25}, std::pair{7 * 60 + 30, 18 * 60 + 10}})
                for (int type = 0; type < 8; ++type)
                    for (int spacing : {0, 1}) {
                        ChartContent chart = daySlots(type, units, from, to);
                        chart.labelSpacing = chart.tickSpacing =
                            chart.categories.size() > 12 ? 0 : spacing;
                        const ChartLayout l = ChartPainter::layout(chart, box);
                        SCOPED_TRACE(QStringLiteral("box %1, units %2, %3-%4, type %5")
                                         .arg(box.width())
                                         .arg(units)
                                         .arg(from)
                                         .arg(to)
                                         .arg(type)
                                         .toStdString());
                        ASSERT_FALSE(l.categoryLabels.isEmpty());
                        for (qsizetype i = 0; i < l.categoryLabels.size(); ++i) {
                            const auto& [text, at] = l.categoryLabels.at(i);
                            EXPECT_GE(at.width() * 1.02, onScreen.horizontalAdvance(text));
                            EXPECT_GE(at.width() * 1.02, inPdf.horizontalAdvance(text));
                            EXPECT_LE(at.right(), box.right());
                            for (qsizetype j = 0; j < i; ++j) {
                                const QRectF& before = l.categoryLabels.at(j).box;
                                if (before.top() == at.top())
                                    EXPECT_GT(at.left() - before.right(), 50)
                                        << text.toStdString() << " meets "
                                        << l.categoryLabels.at(j).text.toStdString();
                                else
                                    EXPECT_FALSE(before.intersects(at));
                            }
                        }
                    }
}

TEST(ChartPainter, TheLastSlotOfADayReportIsNotDrawnIntoTheOneBefore) {
    // Units 5 from 8:00 AM to 5:00 PM: the painter labels every hour, and the end of the
    // axis left "5:00 PM" against "4:00 PM".
    ChartContent chart = daySlots(1, 5, 8 * 60, 17 * 60);
    chart.labelSpacing = chart.tickSpacing = 0;
    const ChartLayout l = ChartPainter::layout(chart, Box);
    const QImage image = render(chart);
    ASSERT_GE(l.categoryLabels.size(), 2);
    for (qsizetype i = 1; i < l.categoryLabels.size(); ++i) {
        const QRectF& before = l.categoryLabels.at(i - 1).box;
        const QRectF& at = l.categoryLabels.at(i).box;
        // The band between two labels stays blank.
        const QRectF between(before.right() + 10, at.top(), at.left() - before.right() - 20,
                             at.height());
        ASSERT_GT(between.width(), 0) << l.categoryLabels.at(i).text.toStdString();
        EXPECT_EQ(count(image, pixels(between), dark), 0)
            << l.categoryLabels.at(i).text.toStdString();
    }
}

TEST(ChartPainter, DrawsTheSameAtAnyResolution) {
    // Ten categories, and two thousand: more than the screen has pixels across, so that the
    // painter draws a pixel's worth of them at a time there, and far fewer on the finer
    // device.
    for (const auto& [type, categories] : std::vector<std::pair<int, int>>{
             {0, 10}, {3, 10}, {5, 10}, {6, 10}, {1, 2000}, {3, 2000}, {4, 2000}, {5, 2000}}) {
        SCOPED_TRACE(type);
        SCOPED_TRACE(categories);
        const QImage screen = render(content(type, categories));
        const QImage fine =
            render(content(type, categories), 4 / TwipsPerPixel)
                .scaled(screen.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage other = render(content(type == 0 ? 3 : 0, categories));
        // Sizes kept in device pixels (a cosmetic pen, a font in pixels, categories drawn a
        // device pixel at a time) would come out differently on the finer device; as it is,
        // the two differ only where edges fall within pixels, which happens more often
        // among thousands of categories.
        const double same = meanDifference(screen, fine);
        EXPECT_LT(same, categories > 100 ? 0.05 : 0.02);
        EXPECT_GT(meanDifference(screen, other), 2 * same);
    }
}

TEST(ChartPainter, APdfHoldsTheChart) {
    ScratchFolder folder;
    auto writePdf = [&](const QString& name, const ChartContent* c) {
        const QString path = folder.file(name);
        QPdfWriter pdf(path);
        pdf.setResolution(1200);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        QPainter painter(&pdf);
        painter.scale(1200 / 1440.0, 1200 / 1440.0);
        if (c)
            ChartPainter::paint(painter, *c, Box);
        else
            painter.fillRect(Box, Qt::white);
        painter.end();
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    };
    const QByteArray blank = writePdf(QStringLiteral("blank.pdf"), nullptr);
    for (int type : {0, 3, 4, 7}) {
        SCOPED_TRACE(type);
        const ChartContent c = content(type, 24);
        const QByteArray pdf = writePdf(QStringLiteral("chart%1.pdf").arg(type), &c);
        EXPECT_TRUE(pdf.startsWith("%PDF-"));
        EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r"), 1);
        EXPECT_GT(pdf.size(), blank.size() + 4000);
    }
}

TEST(ChartPainter, OddDataIsDrawnWithoutFault) {
    ChartContent none = content(1, 0);
    ChartContent noSeries = content(1, 5);
    noSeries.seriesNames.clear();
    noSeries.values.clear();
    ChartContent zeros = content(3, 5);
    for (auto& series : zeros.values)
        series.fill(0);
    ChartContent negative = content(5, 5);
    negative.values[1][2] = -40;
    ChartContent huge = content(0, 5);
    huge.values[0][0] = 1e12;
    ChartContent ragged = content(7, 5);
    ragged.values[2].resize(2);
    for (ChartContent& c : {std::ref(none), std::ref(noSeries), std::ref(zeros), std::ref(negative),
                            std::ref(huge), std::ref(ragged)}) {
        for (int type = 0; type < ChartContent::TypeCount; ++type) {
            c.chartType = type;
            const ChartLayout l = ChartPainter::layout(c, Box);
            EXPECT_LT(l.minimum, l.maximum);
            EXPECT_LE(l.minimum, 0);
            render(c);
            QImage tiny(4, 4, QImage::Format_RGB32);
            QPainter painter(&tiny);
            ChartPainter::paint(painter, c, QRectF(0, 0, 4, 4));
        }
    }
    none.chartType = 1;
    const QImage empty = render(none);
    EXPECT_EQ(count(empty, pixels(ChartPainter::layout(none, Box).plot), coloured), 0);
    const ChartLayout l = ChartPainter::layout(negative, Box);
    EXPECT_LE(l.minimum, -40);
}
