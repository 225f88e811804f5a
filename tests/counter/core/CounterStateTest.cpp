#include "tests/counter/support/RecordingCounterWindow.h"

#include "counter/core/CounterState.h"
#include "counter/core/CounterWindow.h"
#include "foundation/modbrUtils.h"
#include "runtime/RuntimeError.h"

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::counter;

TEST(CounterState, OneResetPutsTheCounterAndTheSharedModulesBack) {
    CountingStarted = true;
    PortDialogOpen = true;
    SiteName = "North";
    SensorIDBase = 3;
    TrayIconData.tip = "x";
    MultiPort = true;
    CounterState::Reset();
    EXPECT_FALSE(CountingStarted);
    EXPECT_FALSE(PortDialogOpen);
    EXPECT_TRUE(SiteName.isEmpty());
    EXPECT_EQ(SensorIDBase, 0);
    EXPECT_TRUE(TrayIconData.tip.isEmpty());
    EXPECT_FALSE(MultiPort);
}

TEST(CounterState, TheRulesReachTheInstalledWindowOnly) {
    EXPECT_THROW(CounterWindow::current(), RuntimeError);
    {
        testsupport::RecordingCounterWindow window;
        EXPECT_EQ(&CounterWindow::current(), &window);
    }
    EXPECT_THROW(CounterWindow::current(), RuntimeError);
}
