#include "tests/platform/report/TableReport.h"
#include "tests/support/HeldFile.h"
#include "tests/support/TestEnvironment.h"

#include "platform/report/export/ExportFilters.h"
#include "platform/report/ReportFile.h"
#include "runtime/RuntimeError.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

using namespace brantock;
using namespace brantock::platform;
using namespace brantock::testsupport;

namespace {

// Every way the report engine writes a file: the four filters and the page file.
struct Kind {
    const char* name;
    QString classId; // empty: the page file
};

const Kind Kinds[] = {
    {"PDF", ExportFilters::PdfClassId}, {"text", ExportFilters::TextClassId},
    {"RTF", ExportFilters::RtfClassId}, {"Excel", ExportFilters::ExcelClassId},
    {"page file", QString()},
};

class Failing : public ::testing::Test {
protected:
    static void save(const Kind& kind, const QString& path) {
        if (kind.classId.isEmpty()) {
            TableReport::ran().Pages().Save(path);
            return;
        }
        const std::unique_ptr<ExportFilter> filter = ExportFilters::create(kind.classId);
        filter->SetFileName(path);
        filter->Export(TableReport::ran().Pages());
    }
    // The number of the error the save raises, 0 for none.
    static int failure(const Kind& kind, const QString& path) {
        try {
            save(kind, path);
            return 0;
        } catch (const RuntimeError& e) {
            return e.number();
        }
    }
    static QByteArray contentOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
    static void put(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList entries() const {
        return QDir(folder.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    ScratchFolder folder;
};

} // namespace

TEST_F(Failing, AFileThatCannotBeMadeIsAnErrorAndLeavesNothingBehind) {
    put(folder.file("plain"), "x");
    QDir(folder.path()).mkdir("taken.out");
    const struct {
        const char* what;
        const char* name;
    } places[] = {
        {"missing folder", "no/such/folder/report.out"},
        {"folder that is a file", "plain/report.out"},
        {"name of a folder", "taken.out"},
    };
    for (const Kind& kind : Kinds)
        for (const auto& place : places) {
            SCOPED_TRACE(std::string(kind.name) + ", " + place.what);
            const QString path = folder.file(place.name);
            EXPECT_EQ(failure(kind, path), err::PathFileAccessError);
            try {
                save(kind, path);
            } catch (const RuntimeError& e) {
                EXPECT_TRUE(e.description().contains(path)) << e.description().toStdString();
            }
            EXPECT_EQ(entries(), QStringList({"plain", "taken.out"}));
            EXPECT_TRUE(QDir(folder.file("taken.out")).isEmpty());
        }
}

TEST_F(Failing, AFileAnotherProgramHoldsOpenIsRefusedAndKeptAsItIs) {
    const QString path = folder.file("open.out");
    const struct {
        const char* how;
        std::function<std::shared_ptr<void>()> hold;
    } holders[] = {
        {"record lock", [&] { return std::make_shared<HeldFile>(path, HeldFile::Lock::Record); }},
        {"whole-file lock",
         [&] { return std::make_shared<HeldFile>(path, HeldFile::Lock::Whole); }},
        {"LibreOffice's lock file",
         [&] {
             const QString lock = folder.file(".~lock.open.out#");
             put(lock, ",user,host,01.01.2026 10:00,file:///home/user/.config/libreoffice/4;");
             return std::shared_ptr<void>(nullptr, [lock](void*) { QFile::remove(lock); });
         }},
    };
    for (const Kind& kind : Kinds)
        for (const auto& holder : holders) {
            SCOPED_TRACE(std::string(kind.name) + ", " + holder.how);
            put(path, "what the other program shows");
            {
                const std::shared_ptr<void> other = holder.hold();
                ASSERT_TRUE(ReportFile::isHeldOpen(path));
                EXPECT_EQ(failure(kind, path), err::PermissionDenied);
                EXPECT_EQ(contentOf(path), "what the other program shows");
            }
            // Closed there, the file is replaced.
            EXPECT_FALSE(ReportFile::isHeldOpen(path));
            EXPECT_EQ(failure(kind, path), 0);
            EXPECT_NE(contentOf(path), "what the other program shows");
            EXPECT_EQ(entries(), QStringList({"open.out"}));
        }
}

TEST_F(Failing, AWriteThatRunsOutOfRoomLeavesNeitherTheFileNorAPieceOfIt) {
    // A file size limit fails the write part way, as a full disk does.
    struct rlimit before {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = before;
    small.rlim_cur = 512;
    int numbers[std::size(Kinds)] = {};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    for (std::size_t i = 0; i < std::size(Kinds); ++i)
        numbers[i] = failure(Kinds[i], folder.file(QStringLiteral("full.out")));
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldSignal);
    for (std::size_t i = 0; i < std::size(Kinds); ++i)
        EXPECT_EQ(numbers[i], err::PathFileAccessError) << Kinds[i].name;
    EXPECT_TRUE(entries().isEmpty()) << entries().join(", ").toStdString();
}

TEST_F(Failing, AReadOnlyFileOrFolderIsNotWrittenForOrdinaryUsers) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    const QString file = folder.file("kept.out");
    put(file, "read-only");
    QFile::setPermissions(file, QFile::ReadOwner);
    const QString shut = folder.file("shut");
    QDir(folder.path()).mkdir("shut");
    QFile::setPermissions(shut, QFile::ReadOwner | QFile::ExeOwner);
    for (const Kind& kind : Kinds) {
        SCOPED_TRACE(kind.name);
        EXPECT_EQ(failure(kind, file), err::PathFileAccessError);
        EXPECT_EQ(contentOf(file), "read-only");
        EXPECT_EQ(failure(kind, shut + "/report.out"), err::PathFileAccessError);
        EXPECT_TRUE(QDir(shut).isEmpty());
    }
    QFile::setPermissions(shut, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(entries(), QStringList({"kept.out", "shut"}));
}

TEST_F(Failing, AFilterWithoutAFileNameWritesNothing) {
    for (const Kind& kind : Kinds)
        EXPECT_EQ(failure(kind, QString()), err::BadFileName) << kind.name;
}
