#include "tests/support/ScriptedMessages.h"

#include "foundation/App.h"
#include "multiport/core/MultiPortState.h"
#include "multiport/core/UnhandledError.h"
#include "platform/dialogs/MessageBoxService.h"
#include "runtime/RuntimeError.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

using namespace brantock;
using namespace brantock::multiport;
using brantock::testsupport::ScriptedMessages;

TEST(UnhandledError, AnErrorLeavingAProcedureShowsThePlatformsBoxAndEndsTheProgram) {
    ScriptedMessages boxes;
    App::SetTitle("BrantockMultiPortLoader");
    int ran = 0;
    EXPECT_TRUE(UnhandledError::Run([&] { ++ran; }));
    EXPECT_TRUE(boxes.shown().empty());

    EXPECT_FALSE(UnhandledError::Run([] { throw RuntimeError::of(err::FileNotFound); }));
    EXPECT_TRUE(UnhandledError::Ended());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().prompt, "Run-time error '53':\n\nFile not found");
    EXPECT_EQ(boxes.last().style, platform::style::Critical);
    EXPECT_EQ(boxes.last().title, "BrantockMultiPortLoader");

    // An ended program runs nothing more, and shows nothing more.
    EXPECT_FALSE(UnhandledError::Run([&] { ++ran; }));
    EXPECT_FALSE(UnhandledError::Run([] { throw RuntimeError::of(err::Overflow); }));
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST(UnhandledError, OtherFailuresAreShownAsTheRunTimeErrorsTheyBecome) {
    struct Case {
        std::function<void()> fail;
        const char* prompt;
    };
    const Case cases[] = {
        {[] { throw std::bad_alloc(); }, "Run-time error '7':\n\nOut of memory"},
        {[] { throw std::runtime_error("disk gone"); }, "Run-time error '51':\n\ndisk gone"},
        {[] { throw RuntimeError(1016, "The file could not be written", "Store"); },
         "Run-time error '1016':\n\nThe file could not be written"},
    };
    for (const Case& c : cases) {
        ScriptedMessages boxes;
        UnhandledError::Run(c.fail);
        ASSERT_EQ(boxes.shown().size(), 1u) << c.prompt;
        EXPECT_EQ(boxes.last().prompt, c.prompt);
        MultiPortState::Reset();
    }
}

TEST(UnhandledError, TheRunningEventLoopEndsWithTheExitCode) {
    ScriptedMessages boxes;
    QTimer::singleShot(0,
                       [] { UnhandledError::Run([] { throw RuntimeError::of(err::Overflow); }); });
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    safety.start(10000);
    EXPECT_EQ(QCoreApplication::exec(), UnhandledError::ExitCode);
    EXPECT_EQ(boxes.shown().size(), 1u);
}
