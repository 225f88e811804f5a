#include "tests/support/ScriptedMessages.h"

#include "reports/core/repDay.h"
#include "reports/core/repTotals.h"

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::reports;
using brantock::testsupport::ScriptedMessages;

TEST(CountReport, AnErrorOfTheRunIsShownInTheReportsOwnBoxInsteadOfTheEngines) {
    repDay day;
    repTotals totals;
    for (CountReport* report :
         {static_cast<CountReport*>(&day), static_cast<CountReport*>(&totals)}) {
        ScriptedMessages boxes;
        bool cancelDisplay = false;
        Q_EMIT report->Error(380, "Invalid property value", 0, "Brantock report engine", QString(),
                             0, cancelDisplay);
        EXPECT_TRUE(cancelDisplay);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().prompt, "There was a problem building your report. \n"
                                       "Description: Invalid property value");
        EXPECT_EQ(boxes.last().style, 4144);
        EXPECT_EQ(boxes.last().title, "Report error");
    }
}
