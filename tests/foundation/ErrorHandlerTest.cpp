#include "tests/support/ScriptedErrors.h"
#include "tests/support/TestEnvironment.h"

#include "foundation/App.h"
#include "foundation/ErrorHandler.h"
#include "foundation/ReportingHandler.h"
#include "platform/dialogs/ErrorPrompt.h"

#include "runtime/RuntimeError.h"
#include <QFile>

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::testsupport;

namespace {

void fail(int number = 53) {
    throw RuntimeError::of(number, "Inner&");
}

} // namespace

TEST(ReportingHandler, RetryRunsTheFailingStepAgain) {
    ScriptedErrors errors;
    errors.answer("4");
    int tries = 0, after = 0;
    EXPECT_TRUE(ReportingHandler("cmdOK_Click&", "processing mouse click")
                    .run({
                        [&] {
                            if (++tries == 1)
                                fail();
                        },
                        [&] { ++after; },
                    }));
    EXPECT_EQ(tries, 2);
    EXPECT_EQ(after, 1);
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].number, 53);
    EXPECT_EQ(errors.reports()[0].description, "File not found");
    EXPECT_EQ(errors.reports()[0].trail, "cmdOK_Click&");
    EXPECT_EQ(errors.reports()[0].activity, "processing mouse click");
}

TEST(ReportingHandler, ContinueGoesOnWithTheNextStep) {
    ScriptedErrors errors;
    errors.answer("5");
    std::vector<int> ran;
    EXPECT_TRUE(ReportingHandler("LoadSiteID&")
                    .run({
                        [&] {
                            ran.push_back(1);
                            fail();
                            ran.push_back(99);
                        },
                        [&] { ran.push_back(2); },
                    }));
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

TEST(ReportingHandler, AnyOtherAnswerLeaves) {
    for (const char* answer : {"3", "", "6", "45"}) {
        ScriptedErrors errors;
        errors.answer(answer);
        bool second = false;
        EXPECT_FALSE(ReportingHandler("x&").run({[] { fail(); }, [&] { second = true; }}))
            << answer;
        EXPECT_FALSE(second) << answer;
    }
}

TEST(ReportingHandler, AStepCanLeaveTheProcedureWithoutAnError) {
    ScriptedErrors errors;
    std::vector<int> ran;
    const auto leaveAtTwo = [&](int n) {
        return [&ran, n] {
            ran.push_back(n);
            return n == 2 ? Flow::Leave : Flow::Next;
        };
    };
    EXPECT_TRUE(ReportingHandler("CheckData&").run({leaveAtTwo(1), leaveAtTwo(2), [&] {
                                                        ran.push_back(3);
                                                    }}));
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    EXPECT_TRUE(errors.reports().empty());
}

TEST(ReportingHandler, TrailWithTheSourceListsOutermostFirst) {
    ScriptedErrors errors;
    ReportingHandler::WithSource("sub Main&", "loading the application").run([] {
        withTrail("ParseCommandLine&", [] { throw RuntimeError::of(err::Overflow); });
    });
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].trail, "sub Main&ParseCommandLine&");
    EXPECT_EQ(errors.reports()[0].number, 6);
}

TEST(ReportingHandler, OtherFailuresAreReportedToo) {
    ScriptedErrors errors;
    EXPECT_FALSE(ReportingHandler("x&").run([] { throw std::runtime_error("disk on fire"); }));
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].number, err::InternalError);
    EXPECT_EQ(errors.reports()[0].description, "disk on fire");
}

TEST(ErrorHandler, RecordsEveryErrorInTheLog) {
    ScriptedErrors errors;
    errors.handler().SetApplicationName("Brantock");
    errors.handler().SetMode("basic");
    errors.answer("5");
    EXPECT_EQ(errors.handler().HandleError(true, "Overflow", 6, "sub Main&ParseCommandLine&",
                                           QString(), "loading the application"),
              "5");
    EXPECT_EQ(errors.handler().HandleError(false, "Two\nlines", 53, "x&", "detail", QString()),
              "3");
    const QStringList lines = errors.logText().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains("\tBrantock["));
    EXPECT_TRUE(
        lines[0].contains("\tmode=basic\terror=6\tOverflow\ttrail=sub Main&ParseCommandLine&\t"
                          "activity=loading the application\tdetail=\tanswer=5"))
        << lines[0].toStdString();
    EXPECT_TRUE(
        lines[1].contains("error=53\tTwo\\nlines\ttrail=x&\tactivity=\tdetail=detail\tanswer=3"))
        << lines[1].toStdString();
    // Not asked to show: no question was put to the user.
    EXPECT_EQ(errors.reports().size(), 1u);
}

TEST(ErrorHandler, AHandlerGivenNoNameTellsAndLogsTheProgramsTitle) {
    ScriptedErrors errors;
    App::SetTitle("Brantock Reports");
    errors.handler().HandleError(true, "Overflow", 6, "sub Main&", QString(), QString());
    App::SetTitle(QString());
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].applicationName, "Brantock Reports");
    EXPECT_TRUE(errors.logText().contains("\tBrantock Reports[")) << errors.logText().toStdString();
}

TEST(ErrorHandler, LogKeepsTextsThatLookLikePlaceholders) {
    ScriptedErrors errors;
    errors.answer("4");
    errors.handler().HandleError(true, "Path not found: My%20Docs/x%2.hbd", 76, "a%1&", "%3%%",
                                 "%9 done");
    const QString line = errors.logText().trimmed();
    EXPECT_TRUE(line.contains("\terror=76\tPath not found: My%20Docs/x%2.hbd\ttrail=a%1&\t"
                              "activity=%9 done\tdetail=%3%%\tanswer=4"))
        << line.toStdString();
}

TEST(ErrorHandler, UnwritableLogIsNoFailure) {
    ErrorHandler handler(nullptr, "/proc/no/such/place/errors.log");
    EXPECT_EQ(handler.HandleError(true, "x", 1, "t&", QString(), QString()), "3");
}

TEST(ErrorHandler, LogLivesInTheStateFolder) {
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "/var/state-test");
    EXPECT_EQ(ErrorHandler::DefaultLogPath(), "/var/state-test/halvern/errors.log");
    qputenv("XDG_STATE_HOME", saved);
}

TEST(RuntimeError, MessageKeepsTextsThatLookLikePlaceholders) {
    const RuntimeError e(76, "My%20Docs/x%2.hbd", "a%1&");
    EXPECT_STREQ(e.what(), "My%20Docs/x%2.hbd (76) in a%1&");
}

TEST(ErrorHandler, AnErrorWhileAQuestionIsOpenIsRecordedAndLeavesWithoutAnotherBox) {
    // While a box waits, events run and fail too: one question at a time.
    struct NestingPrompt : platform::ErrorPrompt {
        ErrorHandler* handler = nullptr;
        int asked = 0;
        QString innerAnswer;
        QString ask(const platform::ErrorReport&) override {
            ++asked;
            innerAnswer = handler->HandleError(true, "inner", 3708, "LogTrigger&", {}, {});
            return platform::answer::Retry;
        }
    };
    ScratchFolder folder;
    auto prompt = std::make_shared<NestingPrompt>();
    ErrorHandler handler(prompt, folder.file("errors.log"));
    prompt->handler = &handler;
    EXPECT_EQ(handler.HandleError(true, "outer", 3708, "comPort_OnComm&", {}, {}), "4");
    EXPECT_EQ(prompt->asked, 1);
    EXPECT_EQ(prompt->innerAnswer, "3");
    // A later error is asked again.
    EXPECT_EQ(handler.HandleError(true, "later", 3708, "x&", {}, {}), "4");
    EXPECT_EQ(prompt->asked, 2);
    QFile log(handler.logPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].contains("\tinner\t") && lines[0].endsWith("answer=3"));
    EXPECT_TRUE(lines[1].contains("\touter\t") && lines[1].endsWith("answer=4"));
}
