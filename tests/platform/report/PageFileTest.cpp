#include "platform/report/PageFile.h"
#include "tests/platform/report/SampleReport.h"
#include "tests/support/RaisedError.h"
#include "tests/support/TestEnvironment.h"

#include "platform/report/ReportDocument.h"
#include "platform/report/ReportError.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>

#include <gtest/gtest.h>

#include <set>

using namespace brantock;
using namespace brantock::platform;
using brantock::testsupport::RaisedError;
using brantock::testsupport::SampleReport;
using brantock::testsupport::ScratchFolder;

namespace {

// Three pages of the sample report (with its chart) and a page holding one of every other
// kind of item, texts in several scripts.
ReportDocument sampleDocument() {
    SampleReport report(80);
    report.Run();
    ReportDocument document = report.Pages();
    ReportPage extra{11906, 16838, {}};
    PageItem text;
    text.left = 100;
    text.top = -50;
    text.width = 3000;
    text.height = 300;
    text.text = QStringLiteral("Zähler – 計数 – \"quoted\"\n2nd line");
    text.style = {QStringLiteral("DejaVu Serif"), 12.5, true, true, true, 0x80ff0000, 0x84, 30};
    text.source = {ReportSectionKind::ReportFooter, QStringLiteral("txtGrandTotal"),
                   QStringLiteral("Total"), -1};
    PageItem line = text;
    line.kind = PageItem::Kind::Line;
    line.width = -200;
    line.text.clear();
    PageItem box = line;
    box.kind = PageItem::Kind::Box;
    box.source.row = 7;
    extra.items = {text, line, box};
    document.pages.push_back(extra);
    return document;
}

QByteArray sha256(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// A file around a payload of one's own, with its length and checksum right.
QByteArray envelope(const QByteArray& payload, quint16 version = PageFile::Version) {
    QByteArray file = QByteArrayLiteral("\x89"
                                        "BRPAGES\r\n\x1a\n");
    const quint16 v = qToLittleEndian(version);
    const quint64 length = qToLittleEndian(quint64(payload.size()));
    file.append(reinterpret_cast<const char*>(&v), 2);
    file.append(reinterpret_cast<const char*>(&length), 8);
    file += payload;
    return file + sha256(file);
}

QByteArray u32(quint32 value) {
    const quint32 le = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char*>(&le), 4);
}

int decodeError(const QByteArray& bytes) {
    return RaisedError::numberOf([&] { PageFile::decode(bytes, QStringLiteral("x.rdf")); });
}

} // namespace

TEST(PageFile, SavedPagesLoadBackTheSame) {
    const ReportDocument document = sampleDocument();
    ASSERT_GE(document.Count(), 3);
    ScratchFolder folder;
    const QString path = folder.file(QStringLiteral("BrantockReport.rdf"));
    document.Save(path);
    const ReportDocument loaded = ReportDocument::Load(path);
    EXPECT_TRUE(loaded == document);
    EXPECT_EQ(loaded.caption, QStringLiteral("Brantock - Sample Report"));

    const auto chart = std::find_if(loaded.pages[0].items.begin(), loaded.pages[0].items.end(),
                                    [](const PageItem& i) { return i.chart != nullptr; });
    ASSERT_NE(chart, loaded.pages[0].items.end());
    EXPECT_EQ(chart->chart->categories.size(), 80);
    EXPECT_EQ(chart->chart->seriesNames, SampleReport::Workdays);
    EXPECT_EQ(chart->chart->labelSpacing, 0);

    // Saving again over the file gives the same bytes.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), PageFile::encode(loaded));
}

TEST(PageFile, DamagedOrForeignFilesAreRefusedWithTheirError) {
    const QByteArray good = PageFile::encode(sampleDocument());
    auto flipped = [&](qsizetype at) {
        QByteArray bytes = good;
        bytes[at] = char(bytes[at] ^ 0x20);
        return bytes;
    };
    QByteArray page;
    page += u32(1) + u32(1) + QByteArray("x");            // one text
    page += u32(0) + u32(1);                              // caption, one page
    page += u32(100) + u32(100) + u32(1);                 // 100 x 100, one item
    page += QByteArray(1, '\x09') + QByteArray(60, '\0'); // an item of an unknown kind

    const struct {
        const char* name;
        QByteArray bytes;
        int error;
    } cases[] = {
        {"empty", QByteArray(), reportErr::NotAPageFile},
        {"a PDF", QByteArrayLiteral("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n"), reportErr::NotAPageFile},
        {"the magic mangled as text", QByteArray(good).replace("\r\n", "\n"),
         reportErr::NotAPageFile},
        {"only the header", good.left(22), reportErr::DamagedPageFile},
        {"cut short by a byte", good.chopped(1), reportErr::DamagedPageFile},
        {"cut in half", good.left(good.size() / 2), reportErr::DamagedPageFile},
        {"a byte more", good + '\0', reportErr::DamagedPageFile},
        {"a byte changed", flipped(good.size() / 2), reportErr::DamagedPageFile},
        {"the checksum changed", flipped(good.size() - 1), reportErr::DamagedPageFile},
        {"a later format", envelope(QByteArray(), 2), reportErr::NewerPageFile},
        {"format 0", envelope(QByteArray(), 0), reportErr::DamagedPageFile},
        // Sound envelopes around payloads that do not hold together.
        {"a count past the end", envelope(u32(0xffffffff)), reportErr::DamagedPageFile},
        {"a text index past the table", envelope(u32(0) + u32(0) + u32(0)),
         reportErr::DamagedPageFile},
        {"an unknown item", envelope(page), reportErr::DamagedPageFile},
        {"bytes after the pages", envelope(u32(1) + u32(0) + u32(0) + u32(0) + '\0'),
         reportErr::DamagedPageFile},
        {"a text that is not UTF-8", envelope(u32(1) + u32(2) + "\xc3\x28" + u32(0) + u32(0)),
         reportErr::DamagedPageFile},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeError(c.bytes), c.error) << c.name;

    // The smallest sound file: no texts but the empty caption, no pages.
    EXPECT_EQ(decodeError(envelope(u32(1) + u32(0) + u32(0) + u32(0))), 0);
}

TEST(PageFile, AnyDamageIsAnErrorNeverACrash) {
    const QByteArray good = PageFile::encode(sampleDocument());
    const std::set<int> refusals{reportErr::NotAPageFile, reportErr::DamagedPageFile,
                                 reportErr::NewerPageFile};
    QRandomGenerator random(20240131);
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = good;
        const int changes = 1 + int(random.bounded(4));
        for (int i = 0; i < changes; ++i)
            bytes[qsizetype(random.bounded(quint32(bytes.size())))] = char(random.bounded(256));
        if (round % 3 == 0)
            bytes.truncate(qsizetype(random.bounded(quint32(bytes.size()))));
        if (bytes == good)
            continue;
        EXPECT_TRUE(refusals.count(decodeError(bytes))) << "round " << round;
    }
}

TEST(PageFile, MissingAndUnwritableFilesAreFileErrors) {
    ScratchFolder folder;
    const ReportDocument document = sampleDocument();
    const QString missing = folder.file(QStringLiteral("none.rdf"));
    try {
        ReportDocument::Load(missing);
        ADD_FAILURE() << "a missing file loaded";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::FileNotFound);
        EXPECT_TRUE(e.description().contains(missing));
    }
    EXPECT_EQ(RaisedError::numberOf([&] { ReportDocument::Load(folder.path()); }),
              err::PathFileAccessError);
    EXPECT_EQ(RaisedError::numberOf(
                  [&] { document.Save(folder.file(QStringLiteral("no/such/folder.rdf"))); }),
              err::PathFileAccessError);

    QFile foreign(folder.file(QStringLiteral("notes.rdf")));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("Not a report at all");
    foreign.close();
    EXPECT_EQ(RaisedError::numberOf([&] { ReportDocument::Load(foreign.fileName()); }),
              reportErr::NotAPageFile);
}
