#include "tests/support/TestEnvironment.h"

#include "platform/os/DesktopShell.h"

#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

using namespace brantock::platform;
using brantock::testsupport::ScratchFolder;

TEST(DesktopShell, StartsAProgramWithItsParametersAsOneText) {
    ScratchFolder folder;
    const QString script = folder.file("tool");
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "#!/bin/sh\nprintf '%s|%s|%s' \"$#\" \"$1\" \"$(pwd)\" > out.tmp && mv out.tmp out\n");
    }
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    DesktopShell shell;
    EXPECT_GT(shell.ShellExecute(nullptr, "open", "tool", "multiport=yes, port=3,tag=First door",
                                 folder.path(), 1),
              32);
    QFile out(folder.file("out"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return out.exists(); }, 10000));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(out.readAll()),
              "1|multiport=yes, port=3,tag=First door|" + folder.path());
}

TEST(DesktopShell, FailuresAnswerThirtyTwoOrLess) {
    ScratchFolder folder;
    DesktopShell shell;
    EXPECT_EQ(shell.ShellExecute(nullptr, "open", "missing", "", folder.path(), 1), 2);
    EXPECT_EQ(shell.ShellExecute(nullptr, "open", "missing", "", folder.file("nowhere"), 1), 3);
    EXPECT_EQ(shell.ShellExecute(nullptr, "open", "", "", folder.path(), 1), 2);
    EXPECT_EQ(shell.ShellExecute(nullptr, "print", "x", "", folder.path(), 1), 31);
}
