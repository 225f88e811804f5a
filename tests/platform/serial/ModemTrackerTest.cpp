#include "platform/serial/ModemTracker.h"
#include "platform/serial/CommEvents.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace brantock::platform;

namespace {

ModemSample counted(ModemLines levels, std::uint32_t dsr, std::uint32_t cts, std::uint32_t cd,
                    bool settled = true) {
    ModemSample s;
    s.levels = levels;
    s.hasCounts = true;
    s.dsrCount = dsr;
    s.ctsCount = cts;
    s.cdCount = cd;
    s.settled = settled;
    return s;
}

ModemSample uncounted(ModemLines levels) {
    ModemSample s;
    s.levels = levels;
    return s;
}

LineChange change(int event, bool dsr, bool cts, bool cd) {
    return LineChange{event, ModemLines{dsr, cts, cd}, false};
}

using Changes = std::vector<LineChange>;

TEST(ModemTracker, PulseBetweenTwoReadingsGivesBothChangesFromTheCounts) {
    ModemTracker tracker(counted({}, 10, 0, 0));
    EXPECT_EQ(
        tracker.update(counted({}, 12, 0, 0)),
        (Changes{change(comEvDSR, true, false, false), change(comEvDSR, false, false, false)}));
    EXPECT_EQ(tracker.update(counted({}, 12, 0, 0)), Changes{});
}

TEST(ModemTracker, SeveralLinesComeLineByLineWithEachLevelSeenOnItsWay) {
    ModemTracker tracker(counted({false, true, false}, 0, 0, 0));
    EXPECT_EQ(tracker.update(counted({true, true, true}, 1, 2, 1)),
              (Changes{change(comEvDSR, true, true, false), change(comEvCTS, true, false, false),
                       change(comEvCTS, true, true, false), change(comEvCD, true, true, true)}));
}

TEST(ModemTracker, CountsThatWrapStillGiveTheirTransitions) {
    ModemTracker tracker(counted({}, 0, 0xFFFFFFFFu, 0));
    EXPECT_EQ(tracker.update(counted({}, 0, 1, 0)).size(), 2u);
}

TEST(ModemTracker, WithoutCountsOnlyALevelThatDiffersIsSeen) {
    ModemTracker tracker(uncounted({}));
    EXPECT_EQ(tracker.update(uncounted({false, false, true})),
              (Changes{change(comEvCD, false, false, true)}));
    EXPECT_EQ(tracker.update(uncounted({false, false, true})), Changes{});
}

TEST(ModemTracker, LevelAheadOfItsCountIsTakenOnceWhenTheCountCatchesUp) {
    ModemTracker tracker(counted({}, 5, 5, 5));
    // The line moved but the driver has not counted it yet.
    EXPECT_EQ(tracker.update(counted({true, false, false}, 5, 5, 5)), Changes{});
    EXPECT_EQ(tracker.update(counted({true, false, false}, 6, 5, 5)),
              (Changes{change(comEvDSR, true, false, false)}));
    EXPECT_TRUE(tracker.usingCounts());
}

TEST(ModemTracker, DriverThatNeverCountsFallsBackToLevels) {
    ModemTracker tracker(counted({}, 0, 0, 0));
    EXPECT_EQ(tracker.update(counted({false, true, false}, 0, 0, 0)), Changes{});
    EXPECT_EQ(tracker.update(counted({false, true, false}, 0, 0, 0)),
              (Changes{change(comEvCTS, false, true, false)}));
    EXPECT_FALSE(tracker.usingCounts());
    EXPECT_EQ(tracker.update(counted({}, 0, 0, 0)),
              (Changes{change(comEvCTS, false, false, false)}));
}

TEST(ModemTracker, ReadingTakenWhileLinesMovedTrustsTheCounts) {
    ModemTracker tracker(counted({}, 0, 0, 0));
    // Levels read mid-change show DSR low, but three transitions leave it high.
    const Changes got = tracker.update(counted({}, 3, 0, 0, false));
    ASSERT_EQ(got.size(), 3u);
    EXPECT_TRUE(got.back().levels.dsr);
    EXPECT_TRUE(tracker.levels().dsr);
}

struct Step {
    ModemSample reading;
    Changes expected;
};

struct TrackerCase {
    const char* name;
    ModemSample initial;
    std::vector<Step> steps;
    bool countsAtEnd;
};

void PrintTo(const TrackerCase& c, std::ostream* os) {
    *os << c.name;
}

class ModemTrackerReadings : public ::testing::TestWithParam<TrackerCase> {};

TEST_P(ModemTrackerReadings, GiveTheirChanges) {
    const TrackerCase& c = GetParam();
    ModemTracker tracker(c.initial);
    for (std::size_t i = 0; i < c.steps.size(); ++i)
        EXPECT_EQ(tracker.update(c.steps[i].reading), c.steps[i].expected) << "reading " << i;
    EXPECT_EQ(tracker.usingCounts(), c.countsAtEnd);
}

const LineChange dsrUp = change(comEvDSR, true, false, false);
const LineChange dsrDown = change(comEvDSR, false, false, false);

INSTANTIATE_TEST_SUITE_P(
    Cases, ModemTrackerReadings,
    ::testing::Values(
        // Contact bounce counted once: the level it suggests is wrong, the next reading puts
        // it right and later pulses still come from the counts.
        TrackerCase{"OddCountOfABounceIsPutRightOnTheNextReading",
                    counted({}, 0, 0, 0),
                    {{counted({}, 1, 0, 0), {dsrUp}},
                     {counted({}, 1, 0, 0), {dsrDown}},
                     {counted({}, 3, 0, 0), {dsrUp, dsrDown}},
                     {counted({}, 5, 0, 0), {dsrUp, dsrDown}}},
                    true},
        TrackerCase{"PulseRightAfterABounceKeepsItsTransitions",
                    counted({}, 0, 0, 0),
                    {{counted({}, 1, 0, 0), {dsrUp}},
                     {counted({}, 3, 0, 0), {dsrDown, dsrUp, dsrDown}},
                     {counted({}, 5, 0, 0), {dsrUp, dsrDown}}},
                    true},
        TrackerCase{
            "DriverThatStartsCountingIsTrustedAgain",
            counted({}, 0, 0, 0),
            {{counted({false, true, false}, 0, 0, 0), {}},
             {counted({false, true, false}, 0, 0, 0), {change(comEvCTS, false, true, false)}},
             {counted({}, 0, 0, 0), {change(comEvCTS, false, false, false)}},
             {counted({}, 0, 2, 0),
              {change(comEvCTS, false, true, false), change(comEvCTS, false, false, false)}}},
            true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModemTracker, ShortPulsesAfterABounceAreAllCounted) {
    ModemTracker tracker(counted({}, 0, 0, 0));
    std::uint32_t count = 1;
    tracker.update(counted({}, count, 0, 0));
    tracker.update(counted({}, count, 0, 0));
    std::size_t delivered = 0;
    for (int pulse = 0; pulse < 100; ++pulse) {
        count += 2;
        delivered += tracker.update(counted({}, count, 0, 0)).size();
    }
    EXPECT_EQ(delivered, 200u);
}

} // namespace
