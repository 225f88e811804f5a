#include "tests/support/TestEnvironment.h"

#include "foundation/FoundationState.h"

#include <QApplication>
#include <QLocale>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

// Every test starts from the process-wide state of a new process.
class FreshStatePerTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { brantock::FoundationState::Reset(); }
};

} // namespace

// Every test binary runs headless, in its own throw-away folders, with a pinned locale.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    brantock::testsupport::TestEnvironment::setUp();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStatePerTest);
    return RUN_ALL_TESTS();
}
