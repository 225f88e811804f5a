#include "tests/support/TemporaryRegistry.h"

#include "platform/settings/HiveFileRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace brantock::platform;
using brantock::testsupport::ScratchFolder;
using brantock::testsupport::TemporaryRegistry;

namespace {

const std::string Product = "Software\\Halvern\\Brantock";

std::int32_t setText(RegistryApi& r, HKEY key, const std::string& name, const std::string& text) {
    return r.RegSetValueEx(key, name, REG_SZ, reinterpret_cast<const std::uint8_t*>(text.data()),
                           std::uint32_t(text.size()));
}

std::string queryText(RegistryApi& r, HKEY root, const std::string& path, const std::string& name,
                      std::int32_t* code = nullptr) {
    HKEY key = 0;
    std::int32_t rc = r.RegOpenKeyEx(root, path, KEY_READ, &key);
    std::string out;
    if (rc == ERROR_SUCCESS) {
        std::uint32_t type = 0, size = 0;
        rc = r.RegQueryValueEx(key, name, &type, nullptr, &size);
        if (rc == ERROR_SUCCESS) {
            out.resize(size);
            rc = r.RegQueryValueEx(key, name, &type, reinterpret_cast<std::uint8_t*>(out.data()),
                                   &size);
        }
        r.RegCloseKey(key);
    }
    if (code)
        *code = rc;
    return out;
}

const QByteArray StoredText = "Windows Registry Editor Version 5.00\n\n"
                              "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock]\n"
                              "\"SiteName\"=\"North\"\n"
                              "\"Limit\"=dword:000001f4\n\n"
                              "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock\\Ports]\n"
                              "\"Port1\"=\"/dev/ttyS0\"\n\n";

// A user hive holding a few values, and a key of it opened for writing before each case
// spoils something.
class StoredHive : public ::testing::Test {
protected:
    void SetUp() override {
        temp.writeHive(HKEY_CURRENT_USER, StoredText);
        ASSERT_EQ(temp.registry().RegOpenKeyEx(HKEY_CURRENT_USER, Product, KEY_WRITE_ACCESS, &key),
                  ERROR_SUCCESS);
    }
    void TearDown() override { temp.registry().RegCloseKey(key); }

    QString file() const { return QString::fromStdString(temp.paths().user); }
    QString folder() const { return file().section('/', 0, -2); }
    QStringList folderEntries() const {
        return QDir(folder()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot |
                                        QDir::Hidden);
    }
    // Every way of changing the hive, each of which must answer expected.
    void expectEveryWriteAnswers(std::int32_t expected) {
        RegistryApi& r = temp.registry();
        HKEY created = 0;
        EXPECT_EQ(
            r.RegCreateKeyEx(HKEY_CURRENT_USER, Product + "\\New", KEY_WRITE_ACCESS, &created),
            expected);
        EXPECT_EQ(setText(r, key, "SiteName", "South"), expected);
        EXPECT_EQ(setText(r, key, "Added", "1"), expected);
        EXPECT_EQ(r.RegDeleteValue(key, "Limit"), expected);
    }

    TemporaryRegistry temp;
    HKEY key = 0;
};

} // namespace

TEST(HiveFileRegistry, AnswersWithTheRegistryResultCodes) {
    TemporaryRegistry temp;
    RegistryApi& r = temp.registry();
    HKEY key = 0;
    EXPECT_EQ(r.RegOpenKeyEx(HKEY_CURRENT_USER, Product, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(r.RegCreateKeyEx(HKEY_CURRENT_USER, Product + "\\", KEY_WRITE_ACCESS, &key),
              ERROR_SUCCESS);
    EXPECT_EQ(setText(r, key, "ComPort", "3"), ERROR_SUCCESS);

    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(r.RegQueryValueEx(key, "comport", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 1u);
    std::uint8_t small[1];
    std::uint32_t none = 0;
    EXPECT_EQ(r.RegQueryValueEx(key, "ComPort", &type, small, &none), ERROR_MORE_DATA);
    EXPECT_EQ(none, 1u);
    EXPECT_EQ(r.RegQueryValueEx(key, "Missing", &type, nullptr, &size), ERROR_FILE_NOT_FOUND);

    EXPECT_EQ(r.RegDeleteValue(key, "ComPort"), ERROR_SUCCESS);
    EXPECT_EQ(r.RegDeleteValue(key, "ComPort"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(r.RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(r.RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(r.RegQueryValueEx(key, "ComPort", &type, nullptr, &size), ERROR_INVALID_HANDLE);

    HKEY readOnly = 0;
    ASSERT_EQ(r.RegOpenKeyEx(HKEY_CURRENT_USER, Product, KEY_READ, &readOnly), ERROR_SUCCESS);
    EXPECT_EQ(setText(r, readOnly, "X", "1"), ERROR_ACCESS_DENIED);
    r.RegCloseKey(readOnly);
}

TEST(HiveFileRegistry, KeepsEachHiveInItsOwnReadableFile) {
    TemporaryRegistry temp;
    RegistryApi& r = temp.registry();
    HKEY key = 0;
    ASSERT_EQ(
        r.RegCreateKeyEx(HKEY_LOCAL_MACHINE, Product + "\\MultiPortStub", KEY_WRITE_ACCESS, &key),
        ERROR_SUCCESS);
    setText(r, key, "Port1Tag", "First door");
    r.RegCloseKey(key);

    const QString machine = temp.readHive(HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(machine.startsWith("Windows Registry Editor Version 5.00\n"));
    EXPECT_TRUE(
        machine.contains("[HKEY_LOCAL_MACHINE\\Software\\Halvern\\Brantock\\MultiPortStub]\n"
                         "\"Port1Tag\"=\"First door\"\n"));
    EXPECT_TRUE(temp.readHive(HKEY_CURRENT_USER).isEmpty());

    // Another process (here: another registry object) sees the value at once.
    HiveFileRegistry other(temp.paths());
    EXPECT_EQ(queryText(other, HKEY_LOCAL_MACHINE, Product + "\\MultiPortStub", "Port1Tag"),
              "First door");
}

TEST(HiveFileRegistry, SeesChangesMadeByHandToTheFile) {
    TemporaryRegistry temp;
    temp.writeHive(HKEY_CURRENT_USER, "Windows Registry Editor Version 5.00\n\n"
                                      "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock]\n"
                                      "\"SiteName\"=\"North\"\n");
    EXPECT_EQ(queryText(temp.registry(), HKEY_CURRENT_USER, Product, "SiteName"), "North");
    temp.writeHive(HKEY_CURRENT_USER, "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock]\n"
                                      "\"SiteName\"=\"South gate\"\n");
    EXPECT_EQ(queryText(temp.registry(), HKEY_CURRENT_USER, Product, "SiteName"), "South gate");
}

TEST(HiveFileRegistry, WriteKeepsDamagedFileContent) {
    TemporaryRegistry temp;
    temp.writeHive(HKEY_CURRENT_USER, "Windows Registry Editor Version 5.00\n\n"
                                      "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock]\n"
                                      "\"Keep\"=\"yes\"\n"
                                      "\"Unknown\"=float:1.5\n"
                                      "\"Cut\"=\"half a val");
    HKEY key = 0;
    ASSERT_EQ(temp.registry().RegCreateKeyEx(HKEY_CURRENT_USER, Product, KEY_WRITE_ACCESS, &key),
              ERROR_SUCCESS);
    EXPECT_EQ(setText(temp.registry(), key, "Added", "1"), ERROR_SUCCESS);
    temp.registry().RegCloseKey(key);

    EXPECT_EQ(queryText(temp.registry(), HKEY_CURRENT_USER, Product, "Keep"), "yes");
    EXPECT_EQ(queryText(temp.registry(), HKEY_CURRENT_USER, Product, "Added"), "1");
    const QString text = temp.readHive(HKEY_CURRENT_USER);
    EXPECT_TRUE(text.contains("\"Unknown\"=float:1.5"));
    EXPECT_TRUE(text.contains("\"Cut\"=\"half a val"));
}

TEST(HiveFileRegistry, HiveThatCannotBeWrittenAnswersAccessDenied) {
    ScratchFolder folder;
    HivePaths paths = HivePaths::under(folder.stdPath());
    // The hive's folder is taken by a plain file, so nothing can be created there.
    QFile blocker(folder.file("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    paths.machine = folder.stdPath() + "/blocked/halvern/machine.reg";
    paths.autostart = folder.stdPath() + "/blocked/autostart";
    HiveFileRegistry r(paths);

    HKEY key = 0;
    EXPECT_EQ(r.RegCreateKeyEx(HKEY_LOCAL_MACHINE, Product, KEY_WRITE_ACCESS, &key),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(
        r.RegCreateKeyEx(HKEY_LOCAL_MACHINE, HiveFileRegistry::RunKey, KEY_WRITE_ACCESS, &key),
        ERROR_ACCESS_DENIED);
    EXPECT_EQ(r.RegOpenKeyEx(HKEY_LOCAL_MACHINE, HiveFileRegistry::RunKey, KEY_WRITE_ACCESS, &key),
              ERROR_ACCESS_DENIED);
    // Reading the same hive is no error: there is simply nothing in it.
    EXPECT_EQ(r.RegOpenKeyEx(HKEY_LOCAL_MACHINE, Product, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    // The user's hive is unaffected.
    EXPECT_EQ(r.RegCreateKeyEx(HKEY_CURRENT_USER, Product, KEY_WRITE_ACCESS, &key), ERROR_SUCCESS);
}

TEST(HiveFileRegistry, ReadOnlyFolderAnswersAccessDeniedForOrdinaryUsers) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    TemporaryRegistry temp;
    HKEY key = 0;
    ASSERT_EQ(temp.registry().RegCreateKeyEx(HKEY_LOCAL_MACHINE, Product, KEY_WRITE_ACCESS, &key),
              ERROR_SUCCESS);
    temp.registry().RegCloseKey(key);
    const QString folder = QString::fromStdString(temp.paths().machine).section('/', 0, -2);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(temp.registry().RegOpenKeyEx(HKEY_LOCAL_MACHINE, Product, KEY_WRITE_ACCESS, &key),
              ERROR_ACCESS_DENIED);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(HiveFileRegistry, TwoProcessesWritingAtOnceLoseNothing) {
    TemporaryRegistry temp;
    const QString folder = QString::fromStdString(temp.paths().user).section('/', 0, -4);
    const QString writer = QCoreApplication::applicationDirPath() + "/hive_writer";
    QProcess a, b;
    a.start(writer, {folder, "A", "500"});
    b.start(writer, {folder, "B", "500"});
    ASSERT_TRUE(a.waitForFinished(120000));
    ASSERT_TRUE(b.waitForFinished(120000));
    ASSERT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
    ASSERT_EQ(b.exitCode(), 0) << b.readAllStandardError().toStdString();

    int found = 0;
    for (const char* prefix : {"A", "B"})
        for (int i = 0; i < 500; ++i)
            if (queryText(temp.registry(), HKEY_CURRENT_USER, Product,
                          prefix + std::to_string(i)) == std::to_string(i))
                ++found;
    EXPECT_EQ(found, 1000);
}

TEST(HiveFileRegistry, RunKeyValuesAreAutostartEntries) {
    TemporaryRegistry temp;
    RegistryApi& r = temp.registry();
    HKEY key = 0;
    ASSERT_EQ(
        r.RegCreateKeyEx(HKEY_LOCAL_MACHINE, HiveFileRegistry::RunKey, KEY_WRITE_ACCESS, &key),
        ERROR_SUCCESS);
    const std::string command = "\"/opt/brantock/brantockmultiportloader\" now\\then";
    EXPECT_EQ(setText(r, key, "Brantock", command), ERROR_SUCCESS);

    QFile entry(QString::fromStdString(temp.paths().autostart) + "/Brantock.desktop");
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(content.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(content.contains("\nType=Application\n"));
    // The command runs as it reads: "now\then" is one argument, quoted for its backslash.
    EXPECT_TRUE(
        content.contains("\nExec=/opt/brantock/brantockmultiportloader \"now\\\\\\\\then\"\n"));
    EXPECT_FALSE(temp.readHive(HKEY_LOCAL_MACHINE).contains("Brantock.desktop"));

    EXPECT_EQ(queryText(r, HKEY_LOCAL_MACHINE, HiveFileRegistry::RunKey, "BRANTOCK"), command);
    EXPECT_EQ(r.RegDeleteValue(key, "brantock"), ERROR_SUCCESS);
    EXPECT_FALSE(entry.exists());
    EXPECT_EQ(r.RegDeleteValue(key, "Brantock"), ERROR_FILE_NOT_FOUND);
    std::int32_t rc = 0;
    queryText(r, HKEY_LOCAL_MACHINE, HiveFileRegistry::RunKey, "Brantock", &rc);
    EXPECT_EQ(rc, ERROR_FILE_NOT_FOUND);
    r.RegCloseKey(key);
}

TEST(HiveFileRegistry, AProgramPathRunsAsOneArgumentAndReadsBackExactly) {
    TemporaryRegistry temp;
    RegistryApi& r = temp.registry();
    HKEY key = 0;
    ASSERT_EQ(
        r.RegCreateKeyEx(HKEY_LOCAL_MACHINE, HiveFileRegistry::RunKey, KEY_WRITE_ACCESS, &key),
        ERROR_SUCCESS);
    // The Exec= line as the file holds it: string escapes (\\ for \) over the quoting.
    const std::pair<std::string, std::string> cases[] = {
        {"/opt/brantock/brantock", "/opt/brantock/brantock"},
        {"/tmp/My Apps/brantock", "\"/tmp/My Apps/brantock\""},
        {"/tmp/my bin $HOME %f/brantock", "\"/tmp/my bin \\\\$HOME %%f/brantock\""},
        {"/tmp/a\"b`c\\d/brantock", "\"/tmp/a\\\\\"b\\\\`c\\\\\\\\d/brantock\""},
        {"/tmp/100%/brantock", "/tmp/100%%/brantock"},
        {" /lead", "\" /lead\""},
    };
    const QString file = QString::fromStdString(temp.paths().autostart) + "/Brantock.desktop";
    for (const auto& [path, exec] : cases) {
        ASSERT_EQ(setText(r, key, "Brantock", path), ERROR_SUCCESS) << path;
        QFile entry(file);
        ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
        const QString content = QString::fromUtf8(entry.readAll());
        EXPECT_TRUE(content.contains(QString::fromStdString("\nExec=" + exec + "\n")))
            << path << "\n"
            << content.toStdString();
        EXPECT_EQ(queryText(r, HKEY_LOCAL_MACHINE, HiveFileRegistry::RunKey, "Brantock"), path);
    }
    r.RegCloseKey(key);
}

TEST(HiveFileRegistry, AnEntryWrittenByHandReadsAsTheCommandItRuns) {
    TemporaryRegistry temp;
    const QString folder = QString::fromStdString(temp.paths().autostart);
    QDir().mkpath(folder);
    const std::pair<const char*, std::string> cases[] = {
        {"Exec=\"/tmp/My Apps/brantock\"", "/tmp/My Apps/brantock"},
        {"Exec=/usr/bin/brantock", "/usr/bin/brantock"},
        {"Exec=\"/a b/c\\\\$d 5%%\" --x 50%%", "/a b/c$d 5% --x 50%"},
        {"Name=Brantock", ""},
    };
    for (const auto& [line, value] : cases) {
        QFile entry(folder + "/Brantock.desktop");
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write(QByteArray("[Desktop Entry]\nType=Application\n") + line + "\n");
        entry.close();
        EXPECT_EQ(
            queryText(temp.registry(), HKEY_LOCAL_MACHINE, HiveFileRegistry::RunKey, "Brantock"),
            value)
            << line;
    }
}

TEST(HivePaths, FollowTheXdgFolders) {
    const QByteArray home = qgetenv("XDG_CONFIG_HOME");
    const QByteArray dirs = qgetenv("XDG_CONFIG_DIRS");
    qputenv("XDG_CONFIG_HOME", "/cfg/home/");
    qputenv("XDG_CONFIG_DIRS", "relative:/etc/first:/etc/second");
    HivePaths p = HivePaths::fromEnvironment();
    EXPECT_EQ(p.user, "/cfg/home/halvern/user.reg");
    EXPECT_EQ(p.machine, "/etc/first/halvern/machine.reg");
    EXPECT_EQ(p.classes, "/etc/first/halvern/classes.reg");
    EXPECT_EQ(p.autostart, "/etc/first/autostart");
    qunsetenv("XDG_CONFIG_DIRS");
    qputenv("XDG_CONFIG_HOME", "");
    p = HivePaths::fromEnvironment();
    EXPECT_EQ(p.machine, "/etc/xdg/halvern/machine.reg");
    EXPECT_EQ(p.user, qgetenv("HOME").toStdString() + "/.config/halvern/user.reg");
    qputenv("XDG_CONFIG_HOME", home);
    qputenv("XDG_CONFIG_DIRS", dirs);
}

TEST_F(StoredHive, DirectoryInPlaceOfTheFileRefusesWritesAndIsLeftAlone) {
    // A hive that exists but cannot be read whole; a directory does this even for root.
    ASSERT_TRUE(QFile::remove(file()));
    ASSERT_TRUE(QDir().mkdir(file()));
    QFile inside(file() + "/keep");
    ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    inside.close();

    expectEveryWriteAnswers(ERROR_ACCESS_DENIED);
    EXPECT_TRUE(QFileInfo(file()).isDir());
    EXPECT_TRUE(QFile::exists(file() + "/keep"));
    std::int32_t rc = 0;
    queryText(temp.registry(), HKEY_CURRENT_USER, Product, "SiteName", &rc);
    EXPECT_EQ(rc, ERROR_FILE_NOT_FOUND);
}

TEST_F(StoredHive, PipeOrDeviceInPlaceOfTheFileIsNeitherReadNorReplaced) {
    // A pipe would hold every read and write up for ever, a device would never end.
    for (const char* kind : {"fifo", "/dev/zero", "/dev/null"}) {
        SCOPED_TRACE(kind);
        QFile::remove(file());
        if (QByteArray(kind) == "fifo")
            ASSERT_EQ(::mkfifo(QFile::encodeName(file()).constData(), 0600), 0);
        else
            ASSERT_TRUE(QFile::link(kind, file()));
        std::int32_t rc = 0;
        queryText(temp.registry(), HKEY_CURRENT_USER, Product, "SiteName", &rc);
        EXPECT_EQ(rc, ERROR_FILE_NOT_FOUND);
        expectEveryWriteAnswers(ERROR_ACCESS_DENIED);
        EXPECT_FALSE(QFileInfo(file()).isFile() && !QFileInfo(file()).isSymLink());
    }
}

TEST_F(StoredHive, ALinkedHiveIsWrittenThroughItsLink) {
    const QString real = folder() + "/real.reg";
    ASSERT_TRUE(QFile::rename(file(), real));
    ASSERT_TRUE(QFile::link(real, file()));
    EXPECT_EQ(setText(temp.registry(), key, "Added", "1"), ERROR_SUCCESS);
    EXPECT_TRUE(QFileInfo(file()).isSymLink());
    QFile target(real);
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    const QByteArray text = target.readAll();
    EXPECT_TRUE(text.contains("\"Added\"=\"1\""));
    EXPECT_TRUE(text.contains("\"SiteName\"=\"North\""));
}

TEST_F(StoredHive, RootRewritingAUsersHiveLeavesItTheUsers) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    const passwd* nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    ASSERT_EQ(::chown(QFile::encodeName(file()).constData(), nobody->pw_uid, nobody->pw_gid), 0);
    EXPECT_EQ(setText(temp.registry(), key, "Added", "1"), ERROR_SUCCESS);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(file()).constData(), &st), 0);
    EXPECT_EQ(st.st_uid, nobody->pw_uid);
    EXPECT_EQ(st.st_gid, nobody->pw_gid);
}

TEST_F(StoredHive, FileWhoseReadingFailsRefusesWritesAndIsLeftAlone) {
    // Reading a process's own memory at offset 0 fails with an I/O error, for root too.
    ASSERT_TRUE(QFile::remove(file()));
    ASSERT_TRUE(QFile::link("/proc/self/mem", file()));

    expectEveryWriteAnswers(ERROR_ACCESS_DENIED);
    EXPECT_EQ(QFileInfo(file()).symLinkTarget(), "/proc/self/mem");
    std::int32_t rc = 0;
    queryText(temp.registry(), HKEY_CURRENT_USER, Product, "SiteName", &rc);
    EXPECT_EQ(rc, ERROR_FILE_NOT_FOUND);
}

TEST_F(StoredHive, FileThatCannotBeReadOrWrittenRefusesWritesForOrdinaryUsers) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    struct Case {
        QFile::Permissions mode;
        bool readable;
    };
    const Case cases[] = {
        {QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther, true}, // 0444
        {QFile::WriteOwner, false},                                     // 0200
        {{}, false},                                                    // 0000
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.mode));
        temp.writeHive(HKEY_CURRENT_USER, StoredText);
        ASSERT_TRUE(QFile::setPermissions(file(), c.mode));

        expectEveryWriteAnswers(ERROR_ACCESS_DENIED);
        HKEY other = 0;
        EXPECT_EQ(
            temp.registry().RegOpenKeyEx(HKEY_CURRENT_USER, Product, KEY_WRITE_ACCESS, &other),
            c.readable ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND);
        std::int32_t rc = 0;
        const std::string site =
            queryText(temp.registry(), HKEY_CURRENT_USER, Product, "SiteName", &rc);
        EXPECT_EQ(rc, c.readable ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(site, c.readable ? "North" : "");

        ASSERT_TRUE(QFile::setPermissions(file(), QFile::ReadOwner | QFile::WriteOwner));
        EXPECT_EQ(temp.readHive(HKEY_CURRENT_USER).toUtf8(), StoredText);
    }
}

TEST_F(StoredHive, NamesWithControlCharactersAreRefusedAndTouchNothing) {
    const std::string names[] = {
        "Line\nbreak",
        "\n[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock]\n\"SiteName\"",
        "Carriage\rreturn",
        "Tab\there",
        std::string("Zero\0byte", 9),
        "Delete\x7f",
    };
    RegistryApi& r = temp.registry();
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(setText(r, key, name, "Overwritten"), ERROR_INVALID_PARAMETER);
        HKEY created = 0;
        EXPECT_EQ(
            r.RegCreateKeyEx(HKEY_CURRENT_USER, Product + "\\" + name, KEY_WRITE_ACCESS, &created),
            ERROR_INVALID_PARAMETER);
        EXPECT_EQ(r.RegCreateKeyEx(key, name + "\\Below", KEY_WRITE_ACCESS, &created),
                  ERROR_INVALID_PARAMETER);
    }
    EXPECT_EQ(temp.readHive(HKEY_CURRENT_USER).toUtf8(), StoredText);
    EXPECT_EQ(queryText(r, HKEY_CURRENT_USER, Product, "SiteName"), "North");
    EXPECT_EQ(queryText(r, HKEY_CURRENT_USER, Product + "\\Ports", "Port1"), "/dev/ttyS0");
}

TEST_F(StoredHive, WhatAnotherWriterChangedIsReadAndKeptByTheNextWrite) {
    RegistryApi& r = temp.registry();
    const QString hiveWriter = QCoreApplication::applicationDirPath() + "/hive_writer";
    const struct {
        const char* writer;
        std::function<void()> change;
        std::string name, expected;
    } cases[] = {
        {"another registry, replacing the file",
         [&] {
             HiveFileRegistry other(temp.paths());
             HKEY k = 0;
             ASSERT_EQ(other.RegOpenKeyEx(HKEY_CURRENT_USER, Product, KEY_WRITE_ACCESS, &k),
                       ERROR_SUCCESS);
             ASSERT_EQ(setText(other, k, "SiteName", "South"), ERROR_SUCCESS);
             other.RegCloseKey(k);
         },
         "SiteName", "South"},
        {"another process",
         [&] {
             QProcess writer;
             writer.start(hiveWriter, {file().section('/', 0, -4), "Other", "1"});
             ASSERT_TRUE(writer.waitForFinished(60000));
             ASSERT_EQ(writer.exitCode(), 0);
         },
         "Other0", "0"},
        // An editor writing in place, at the same size, within one tick of the file clock.
        {"in place, keeping the file's size, inode and times",
         [&] {
             const QByteArray path = QFile::encodeName(file());
             struct stat before {};
             ASSERT_EQ(::stat(path.constData(), &before), 0);
             QFile f(file());
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             const QByteArray text = f.readAll().replace("\"North\"", "\"South\"");
             ASSERT_TRUE(f.seek(0));
             ASSERT_EQ(f.write(text), text.size());
             f.close();
             const timespec times[2] = {before.st_atim, before.st_mtim};
             ASSERT_EQ(::utimensat(AT_FDCWD, path.constData(), times, 0), 0);
             struct stat after {};
             ASSERT_EQ(::stat(path.constData(), &after), 0);
             ASSERT_EQ(after.st_ino, before.st_ino);
             ASSERT_EQ(after.st_size, before.st_size);
         },
         "SiteName", "South"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.writer);
        temp.writeHive(HKEY_CURRENT_USER, StoredText);
        // This process has written the hive and read it since, so it holds it parsed.
        ASSERT_EQ(setText(r, key, "Added", "1"), ERROR_SUCCESS);
        ASSERT_EQ(queryText(r, HKEY_CURRENT_USER, Product, "SiteName"), "North");

        c.change();
        EXPECT_EQ(queryText(r, HKEY_CURRENT_USER, Product, c.name), c.expected);
        ASSERT_EQ(setText(r, key, "Added", "2"), ERROR_SUCCESS);
        EXPECT_EQ(queryText(r, HKEY_CURRENT_USER, Product, c.name), c.expected);
        HiveFileRegistry fresh(temp.paths());
        EXPECT_EQ(queryText(fresh, HKEY_CURRENT_USER, Product, c.name), c.expected);
        EXPECT_EQ(queryText(fresh, HKEY_CURRENT_USER, Product, "Added"), "2");
    }
}

TEST_F(StoredHive, WriterRemovesTheTemporaryFilesOfDeadWriters) {
    // What a writer killed between making its copy and renaming it leaves behind.
    const QStringList leftovers = {"user.reg.tmp-a8Fk2Q", "user.reg.tmp-000000"};
    // Not this hive's temporaries: a person's copy, and names of another shape.
    const QStringList others = {"user.reg.backup", "user.reg.tmp-short", "user.reg.tmp-a8Fk2Q.txt",
                                "other.reg.tmp-a8Fk2Q"};
    for (const QString& name : leftovers + others) {
        QFile f(folder() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(StoredText);
    }
    EXPECT_EQ(setText(temp.registry(), key, "Added", "1"), ERROR_SUCCESS);

    QStringList expected = others;
    expected << "user.reg"
             << "user.reg.lock";
    expected.sort();
    EXPECT_EQ(folderEntries(), expected);
}

TEST(HiveFileRegistry, NewHiveAndItsLockFollowTheUmask) {
    const struct {
        ::mode_t umask;
        QFile::Permissions mode;
    } cases[] = {
        {077, QFile::ReadOwner | QFile::WriteOwner},
        {022, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther},
        {002, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup |
                  QFile::ReadOther},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.umask);
        TemporaryRegistry temp;
        const ::mode_t before = ::umask(c.umask);
        HKEY key = 0;
        const std::int32_t rc =
            temp.registry().RegCreateKeyEx(HKEY_CURRENT_USER, Product, KEY_WRITE_ACCESS, &key);
        ::umask(before);
        ASSERT_EQ(rc, ERROR_SUCCESS);
        temp.registry().RegCloseKey(key);
        const QString file = QString::fromStdString(temp.paths().user);
        const auto owner = [](const QString& path) {
            // Qt adds the user's own bits to the owner's; compare the real mode.
            return QFileInfo(path).permissions() &
                   ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
        };
        EXPECT_EQ(owner(file), c.mode);
        EXPECT_EQ(owner(file + ".lock"), c.mode);
    }
}
