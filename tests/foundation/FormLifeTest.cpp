#include "foundation/ui/FormLife.h"
#include "runtime/RuntimeError.h"

#include <gtest/gtest.h>

using namespace brantock;
using Result = FormLife::UnloadResult;

TEST(FormLifeTest, LoadRunsOnceAtTheFirstShowing) {
    FormLife life;
    int loads = 0;
    life.LoadOnce([&] { ++loads; });
    life.LoadOnce([&] { ++loads; });
    EXPECT_EQ(loads, 1);
    EXPECT_TRUE(life.Loaded());
}

TEST(FormLifeTest, ALoadThatUnloadsRaisesObjectUnloadedAtEveryShowing) {
    FormLife life;
    int loads = 0;
    const auto load = [&] {
        ++loads;
        life.Unload(nullptr, [] {});
    };
    for (int showing = 0; showing < 2; ++showing) {
        try {
            life.LoadOnce(load);
            FAIL() << "showing an unloaded window must raise";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), err::ObjectUnloaded);
        }
    }
    EXPECT_EQ(loads, 1);
    EXPECT_FALSE(life.Loaded());
}

TEST(FormLifeTest, AskedAgainWhileUnloadingOrUnloadedNothingHappens) {
    FormLife life;
    int unloads = 0;
    Result inner = Result::Unloaded;
    const Result outer = life.Unload(nullptr, [&] {
        ++unloads;
        EXPECT_TRUE(life.Loaded());
        inner = life.Unload([] { return false; }, [&] { ++unloads; });
    });
    EXPECT_EQ(outer, Result::Unloaded);
    EXPECT_EQ(inner, Result::Ignored);
    EXPECT_EQ(life.Unload(nullptr, [&] { ++unloads; }), Result::Ignored);
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(life.Loaded());
}

TEST(FormLifeTest, ACancelledRequestLeavesTheWindowLoadedForTheNextOne) {
    FormLife life;
    bool cancel = true;
    int unloads = 0;
    const auto query = [&] { return cancel; };
    EXPECT_EQ(life.Unload(query, [&] { ++unloads; }), Result::Cancelled);
    EXPECT_TRUE(life.Loaded());
    EXPECT_EQ(unloads, 0);
    cancel = false;
    EXPECT_EQ(life.Unload(query, [&] { ++unloads; }), Result::Unloaded);
    EXPECT_EQ(unloads, 1);
}
