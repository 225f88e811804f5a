#include "tests/support/TestRunner.h"

#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QLocale>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace brantock::testsupport {

namespace {

class FreshStatePerTest : public ::testing::EmptyTestEventListener {
public:
    explicit FreshStatePerTest(void (*reset)()) : reset_(reset) {}
    void OnTestStart(const ::testing::TestInfo&) override { reset_(); }

private:
    void (*reset_)();
};

} // namespace

int runTests(int argc, char** argv, void (*resetState)()) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestEnvironment::setUp();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStatePerTest(resetState));
    return RUN_ALL_TESTS();
}

} // namespace brantock::testsupport
