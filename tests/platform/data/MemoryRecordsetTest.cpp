#include "platform/data/MemoryRecordset.h"
#include "platform/data/DataError.h"
#include "tests/support/RaisedError.h"

#include <gtest/gtest.h>

#include <functional>

using namespace brantock::platform;
using brantock::RuntimeError;
using brantock::testsupport::RaisedError;
namespace err = brantock::err;

namespace {

using Type = MemoryField::Type;

// The day report's table: a slot label and one count per included weekday.
MemoryRecordset daySlots(const QStringList& labels) {
    MemoryRecordset slots;
    slots.AppendField(QStringLiteral("Time"), Type::Text, 250);
    slots.AppendField(QStringLiteral("Monday"), Type::Integer);
    slots.AppendField(QStringLiteral("Friday"), Type::Integer);
    for (const QString& label : labels)
        slots.AddNew({QStringLiteral("Time"), QStringLiteral("Monday"), QStringLiteral("Friday")},
                     {label, 0, 0});
    slots.MoveFirst();
    return slots;
}

QStringList seen(MemoryRecordset& rows, const QString& field) {
    QStringList values;
    for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext())
        values << rows.Fields(field).toString();
    return values;
}

} // namespace

TEST(MemoryRecordset, FilterFindsTheSlotAndHalvedCountsRoundToEven) {
    MemoryRecordset slots = daySlots(
        {QStringLiteral("8:00 AM"), QStringLiteral("9:00 AM"), QStringLiteral("10:00 AM")});
    EXPECT_TRUE(slots.HasPendingEdits());

    slots.SetFilter(QStringLiteral("Time = '9:00 AM' "));
    ASSERT_EQ(slots.RecordCount(), 1);
    ASSERT_FALSE(slots.IsEOF());
    slots.SetField(QStringLiteral("Monday"), 5 / 2.0);
    slots.SetField(QStringLiteral("Friday"), 7 / 2.0);
    EXPECT_EQ(slots.Fields(QStringLiteral("Monday")), QVariant(qint32(2)));
    EXPECT_EQ(slots.Fields(QStringLiteral("friday")), QVariant(qint32(4)));

    slots.SetFilter(QStringLiteral("Time = '9:00 PM' "));
    EXPECT_TRUE(slots.IsEOF());
    EXPECT_TRUE(slots.IsBOF());
    EXPECT_EQ(RaisedError::numberOf([&] { slots.SetField(QStringLiteral("Monday"), 1); }),
              dataErr::NoCurrentRow);

    slots.SetFilter(QString());
    EXPECT_EQ(slots.Filter(), QString());
    EXPECT_EQ(slots.RecordCount(), 3);
    EXPECT_EQ(seen(slots, QStringLiteral("Monday")), QStringList({"0", "2", "0"}));
    slots.UpdateBatch();
    EXPECT_FALSE(slots.HasPendingEdits());
}

TEST(MemoryRecordset, CloneSharesTheRowsWithItsOwnCursorAndFilter) {
    MemoryRecordset slots = daySlots({QStringLiteral("8:00 AM"), QStringLiteral("9:00 AM")});
    slots.SetFilter(QStringLiteral("Time = '8:00 AM'"));
    MemoryRecordset clone = slots.Clone();
    EXPECT_EQ(clone.Filter(), QString());
    EXPECT_EQ(clone.RecordCount(), 2);
    clone.MoveNext();
    clone.SetField(QStringLiteral("Monday"), 12);
    slots.SetFilter(QStringLiteral("Monday > 10"));
    ASSERT_EQ(slots.RecordCount(), 1);
    EXPECT_EQ(slots.Fields(QStringLiteral("Time")).toString(), QStringLiteral("9:00 AM"));
    slots.AddNew({QStringLiteral("Time")}, {QStringLiteral("10:00 AM")});
    EXPECT_EQ(seen(clone, QStringLiteral("Time")), QStringList({"8:00 AM", "9:00 AM", "10:00 AM"}));
}

namespace {

struct Period {
    int from, to;
};

struct CriteriaCase {
    const char* criteria;
    std::vector<int> matching; // indexes into Periods
};

const Period Periods[] = {{400, 600}, {480, 500}, {470, 480}, {540, 700}, {541, 700}, {300, 479}};

class ActivityFilter : public ::testing::TestWithParam<CriteriaCase> {};

} // namespace

TEST_P(ActivityFilter, SelectsTheRowsTheCriteriaDescribe) {
    MemoryRecordset activity;
    activity.AppendField(QStringLiteral("ActiveFrom"), Type::Variant);
    activity.AppendField(QStringLiteral("ActiveTo"), Type::Variant);
    activity.AppendField(QStringLiteral("Index"), Type::Integer);
    int index = 0;
    for (const Period& p : Periods)
        activity.AddNew(
            {QStringLiteral("ActiveFrom"), QStringLiteral("ActiveTo"), QStringLiteral("Index")},
            {qint64(p.from), qint64(p.to), index++});
    activity.SetFilter(QString::fromUtf8(GetParam().criteria));
    std::vector<int> matching;
    for (; !activity.IsEOF(); activity.MoveNext())
        matching.push_back(activity.Fields(QStringLiteral("Index")).toInt());
    EXPECT_EQ(matching, GetParam().matching);
}

INSTANTIATE_TEST_SUITE_P(
    Criteria, ActivityFilter,
    ::testing::Values(
        // The activity share's criteria for the slot 480 to 540.
        CriteriaCase{"(ActiveFrom < 480 AND ActiveTo > 540) OR (ActiveFrom >= 480 AND ActiveFrom "
                     "<= 540) OR (ActiveTo >= 480 AND ActiveTo <= 540) OR (ActiveFrom >= 480 AND "
                     "ActiveTo <= 540) ",
                     {0, 1, 2, 3}},
        CriteriaCase{"ActiveFrom >= 480 and ActiveTo <= 540 or ActiveFrom = 300", {1, 5}},
        CriteriaCase{"ActiveFrom <> 400 AND (ActiveTo = 700 OR ActiveTo < 480)", {3, 4, 5}},
        CriteriaCase{"[ActiveFrom] > '500'", {3, 4}}));

TEST(MemoryRecordset, UnreadableFiltersAreErrors) {
    MemoryRecordset slots = daySlots({QStringLiteral("8:00 AM")});
    for (const char* bad : {"Time =", "Time = '8:00 AM", "(Time = 'x'", "Time ~ 'x'", "= 3",
                            "Time = 'x' AND", "Time = 'x' junk"})
        EXPECT_EQ(RaisedError::numberOf([&] { slots.SetFilter(QString::fromUtf8(bad)); }),
                  dataErr::BadFilter)
            << bad;
    EXPECT_EQ(RaisedError::numberOf([&] { slots.SetFilter(QStringLiteral("Tuesday = 1")); }),
              dataErr::FieldNotFound);
    // A failed filter leaves the rows as they were.
    EXPECT_EQ(slots.RecordCount(), 1);
}

TEST(MemoryRecordset, ValuesAreCheckedAgainstTheirField) {
    MemoryRecordset slots = daySlots({QStringLiteral("8:00 AM")});
    EXPECT_EQ(RaisedError::numberOf(
                  [&] { slots.SetField(QStringLiteral("Monday"), QStringLiteral("many")); }),
              err::TypeMismatch);
    EXPECT_EQ(RaisedError::numberOf([&] { slots.SetField(QStringLiteral("Monday"), 3e10); }),
              err::Overflow);
    EXPECT_EQ(
        RaisedError::numberOf([&] { slots.SetField(QStringLiteral("Time"), QString(251, u'x')); }),
        dataErr::ValueTooLong);
    EXPECT_EQ(RaisedError::numberOf([&] { slots.SetField(QStringLiteral("Sunday"), 1); }),
              dataErr::FieldNotFound);
    EXPECT_EQ(
        RaisedError::numberOf([&] { slots.AppendField(QStringLiteral("Sunday"), Type::Integer); }),
        dataErr::InvalidOperation);
    EXPECT_EQ(RaisedError::numberOf([&] {
                  slots.AddNew({QStringLiteral("Time"), QStringLiteral("Monday")},
                               {QStringLiteral("9:00 AM"), QStringLiteral("x")});
              }),
              err::TypeMismatch);
    EXPECT_EQ(slots.RecordCount(), 1);
    slots.SetField(QStringLiteral("Monday"), QStringLiteral(" 12 "));
    EXPECT_EQ(slots.Fields(QStringLiteral("Monday")), QVariant(qint32(12)));
}
