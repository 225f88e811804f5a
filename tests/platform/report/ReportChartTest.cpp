#include "platform/report/ReportChart.h"
#include "tests/platform/report/SampleReport.h"
#include "tests/support/RaisedError.h"

#include "platform/report/ReportError.h"

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::platform;
using brantock::testsupport::RaisedError;
using brantock::testsupport::SampleReport;

TEST(ReportChart, TheTextColumnGivesTheCategoriesAndEachNumericColumnASeries) {
    MemoryRecordset rows;
    rows.AppendField("Count", MemoryField::Type::Integer);
    rows.AppendField("Time", MemoryField::Type::Text, 250);
    rows.AppendField("Open", MemoryField::Type::Boolean);
    rows.AppendField("Share", MemoryField::Type::Double);
    rows.AppendField("Note", MemoryField::Type::Text, 250);
    rows.AppendField("Raw", MemoryField::Type::Variant);
    rows.AddNew({"Count", "Time", "Open", "Share", "Note", "Raw"},
                {3, "8:00 AM", true, 0.5, "x", qint64(7)});
    rows.AddNew({"Count", "Time", "Share", "Raw"}, {QVariant(), "9:00 AM", 1.5, QVariant()});
    rows.SetFilter(QStringLiteral("Count = 3"));

    ReportChart chart(QStringLiteral("chrtReport"), 0, 0, 100, 100);
    chart.SetChartType(6);
    chart.Legend().SetLocationType(ChartLegend::Bottom);
    chart.Axis(0).SetLabelSpacing(0);
    chart.Axis(0).SetTickSpacing(0);
    chart.SetDataSource(rows);

    const ChartContent c = chart.Content();
    EXPECT_EQ(c.chartType, 6);
    EXPECT_EQ(c.legendLocation, 6);
    EXPECT_EQ(c.labelSpacing, 0);
    EXPECT_EQ(c.tickSpacing, 0);
    // Every row of the table, whatever the filter of the record set handed over.
    EXPECT_EQ(c.categories, (QStringList{"8:00 AM", "9:00 AM"}));
    EXPECT_EQ(c.seriesNames, (QStringList{"Count", "Share", "Raw"}));
    EXPECT_EQ(c.values, (QList<QList<double>>{{3, 0}, {0.5, 1.5}, {7, 0}}));
}

TEST(ReportChart, SettingsOutOfRangeAreRefused) {
    ReportChart chart(QStringLiteral("chrtReport"), 0, 0, 100, 100);
    for (int type = 0; type < 8; ++type)
        EXPECT_EQ(RaisedError::numberOf([&] { chart.SetChartType(type); }), 0);
    EXPECT_EQ(RaisedError::numberOf([&] { chart.SetChartType(8); }), 380);
    EXPECT_EQ(RaisedError::numberOf([&] { chart.SetChartType(-1); }), 380);
    EXPECT_EQ(RaisedError::numberOf([&] { chart.Legend().SetLocationType(5); }), 380);
    EXPECT_EQ(RaisedError::numberOf([&] { chart.Axis(1); }), err::InvalidProcedureCall);
    EXPECT_EQ(RaisedError::numberOf([&] { chart.Axis(0).SetLabelSpacing(-1); }), 380);
    EXPECT_EQ(chart.ChartType(), 7);
}

TEST(ReportChart, ThePagesKeepWhatTheChartShowedWhenItsBandWasLaidOut) {
    SampleReport report(13);
    report.Run();
    const auto& items = report.Pages().pages.at(0).items;
    const auto chart = std::find_if(items.begin(), items.end(), [](const PageItem& i) {
        return i.kind == PageItem::Kind::Chart;
    });
    ASSERT_NE(chart, items.end());
    EXPECT_EQ(chart->source.control, QStringLiteral("chrtReport"));
    EXPECT_EQ(chart->source.section, ReportSectionKind::ReportHeader);
    ASSERT_TRUE(chart->chart);
    EXPECT_EQ(chart->chart->categories.size(), 13);
    EXPECT_EQ(chart->chart->chartType, 3);

    // Later changes to the chart or its rows leave the laid-out pages alone.
    report.chrtReport.SetChartType(0);
    report.chrtReport.SetDataSource(SampleReport::table(2, {"Monday"}));
    EXPECT_EQ(chart->chart->chartType, 3);
    EXPECT_EQ(chart->chart->categories.size(), 13);
}
