#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QLocale>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

// Every test binary runs headless, in its own throw-away folders, with a pinned locale.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    brantock::testsupport::TestEnvironment::setUp();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
