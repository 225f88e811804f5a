#include "tests/platform/os/UrlRecorder.h"
#include "tests/support/SearchPath.h"
#include "tests/support/StandInProgram.h"
#include "tests/support/TestEnvironment.h"

#include "platform/os/DesktopShell.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

using namespace brantock::platform;
using brantock::testsupport::ScratchFolder;
using brantock::testsupport::SearchPath;
using brantock::testsupport::StandInProgram;

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

TEST(DesktopShell, ABareNameNotInTheFolderIsLookedForOnTheSearchPath) {
    ScratchFolder folder;
    ScratchFolder installed;
    StandInProgram onPath(installed.path(), "tool");
    SearchPath path(installed.path());
    DesktopShell shell;
    EXPECT_GT(shell.ShellExecute(nullptr, "open", "tool", "a, b", folder.path(), 1), 32);
    const auto starts = onPath.waitForStarts(1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].arguments, QStringList{"a, b"});
    EXPECT_EQ(starts[0].folder, QDir(folder.path()).canonicalPath()) << "started in the folder";

    // A name with a folder part is not looked for.
    EXPECT_EQ(shell.ShellExecute(nullptr, "open", "./tool", "", folder.path(), 1), 2);
}

TEST(DesktopShell, TheFoldersOwnProgramComesBeforeTheSearchPaths) {
    ScratchFolder folder;
    ScratchFolder installed;
    StandInProgram own(folder.path(), "tool");
    StandInProgram onPath(installed.path(), "tool");
    SearchPath path(installed.path());
    DesktopShell shell;
    EXPECT_GT(shell.ShellExecute(nullptr, "open", "tool", "x", folder.path(), 1), 32);
    EXPECT_EQ(own.waitForStarts(1).size(), 1u);
    EXPECT_TRUE(onPath.starts().empty());
}

TEST(DesktopShell, ANameInNeitherTheFolderNorTheSearchPathIsNotFound) {
    ScratchFolder folder;
    ScratchFolder empty;
    SearchPath path(empty.path());
    DesktopShell shell;
    EXPECT_EQ(shell.ShellExecute(nullptr, "open", "sh-is-not-here", "", folder.path(), 1), 2);
    EXPECT_EQ(shell.ShellExecute(nullptr, "open", "sh", "", folder.path(), 1), 2)
        << "the search path is the one set";
}

TEST(DesktopShell, AddressesGoToTheDesktopsHandlerAWwwOneWithoutItsSchemeToo) {
    brantock::testsupport::UrlRecorder http(QStringLiteral("http"));
    brantock::testsupport::UrlRecorder https(QStringLiteral("https"));
    DesktopShell shell;
    EXPECT_GT(shell.ShellExecute(nullptr, "open", "https://www.halvern.example/", "", "", 1), 32);
    EXPECT_GT(shell.ShellExecute(nullptr, "open", "www.halvern.example/brantock", "", "", 1), 32);
    ASSERT_EQ(https.opened.size(), 1u);
    EXPECT_EQ(https.opened[0], QUrl("https://www.halvern.example/"));
    ASSERT_EQ(http.opened.size(), 1u);
    EXPECT_EQ(http.opened[0], QUrl("http://www.halvern.example/brantock"));

    // A file of that name in the folder is the file, not an address.
    ScratchFolder folder;
    QFile file(folder.file("www.notes"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    brantock::testsupport::UrlRecorder files(QStringLiteral("file"));
    EXPECT_GT(shell.ShellExecute(nullptr, "open", "www.notes", "", folder.path(), 1), 32);
    EXPECT_EQ(http.opened.size(), 1u);
    ASSERT_EQ(files.opened.size(), 1u);
}
