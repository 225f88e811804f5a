#include "tests/platform/report/export/ExportReader.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cctype>
#include <utility>

namespace brantock::testsupport {

QByteArray ExportReader::run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed (is it installed?): "
                      << process.readAllStandardError().toStdString();
        return {};
    }
    return process.readAllStandardOutput();
}

QStringList ExportReader::pdfPages(const QString& path) {
    QStringList pages = QString::fromUtf8(run(QStringLiteral("pdftotext"),
                                              {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                               QStringLiteral("UTF-8"), path, QStringLiteral("-")}))
                            .split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QImage ExportReader::pdfImage(const QString& path, int page, int dotsPerInch) {
    QTemporaryDir folder;
    const QString prefix = folder.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dotsPerInch),
         QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page),
         QStringLiteral("-singlefile"), path, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

std::map<QString, ExportReader::SheetCell> ExportReader::sheetCells(const QString& path) {
    QStringList shared;
    // A workbook without texts has no table of them.
    const QStringList parts =
        QString::fromUtf8(run(QStringLiteral("unzip"), {QStringLiteral("-Z1"), path})).split(u'\n');
    QXmlStreamReader strings(
        parts.contains(QStringLiteral("xl/sharedStrings.xml"))
            ? run(QStringLiteral("unzip"), {QStringLiteral("-p"), path, "xl/sharedStrings.xml"})
            : QByteArray());
    while (!strings.atEnd()) {
        strings.readNext();
        if (strings.isStartElement() && strings.name() == u"si")
            shared << QString();
        else if (strings.isStartElement() && strings.name() == u"t")
            shared.last() += strings.readElementText();
    }

    std::map<QString, SheetCell> cells;
    QXmlStreamReader sheet(
        run(QStringLiteral("unzip"), {QStringLiteral("-p"), path, "xl/worksheets/sheet1.xml"}));
    QString reference;
    QString type;
    while (!sheet.atEnd()) {
        sheet.readNext();
        if (sheet.isStartElement() && sheet.name() == u"c") {
            reference = sheet.attributes().value(QStringLiteral("r")).toString();
            type = sheet.attributes().value(QStringLiteral("t")).toString();
        } else if (sheet.isStartElement() && sheet.name() == u"v") {
            const QString value = sheet.readElementText();
            SheetCell& cell = cells[reference];
            if (type == u"s")
                cell.text = shared.value(value.toInt());
            else if (type.isEmpty() || type == u"n")
                cell.number = value.toDouble();
            else
                cell.text = value;
        }
    }
    EXPECT_FALSE(sheet.hasError()) << sheet.errorString().toStdString();
    return cells;
}

ExportReader::RichText ExportReader::richText(const QByteArray& rtf) {
    RichText out;
    QString text;
    QStringList cells;
    std::vector<bool> skipped{false}; // per open group: its text is not the document's
    int skipNext = 0;                 // fallback characters after a \u escape
    const auto put = [&](QChar c) {
        if (skipped.back())
            return;
        if (skipNext > 0) {
            --skipNext;
            return;
        }
        text += c;
    };
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            skipped.push_back(skipped.back());
        } else if (c == '}') {
            skipped.pop_back();
        } else if (c == '\\' && i + 1 < rtf.size() && !std::isalpha(uchar(rtf[i + 1]))) {
            put(QChar::fromLatin1(rtf[++i]));
        } else if (c == '\\') {
            qsizetype end = i + 1;
            while (end < rtf.size() && std::isalpha(uchar(rtf[end])))
                ++end;
            const QByteArray word = rtf.mid(i + 1, end - i - 1);
            qsizetype numberEnd = end;
            if (numberEnd < rtf.size() && rtf[numberEnd] == '-')
                ++numberEnd;
            while (numberEnd < rtf.size() && std::isdigit(uchar(rtf[numberEnd])))
                ++numberEnd;
            const int parameter = rtf.mid(end, numberEnd - end).toInt();
            // A blank ends the control word and is part of it.
            i = numberEnd < rtf.size() && rtf[numberEnd] == ' ' ? numberEnd : numberEnd - 1;
            if (word == "fonttbl" || word == "colortbl" || word == "info") {
                skipped.back() = true;
            } else if (word == "u") {
                put(QChar(char16_t(parameter)));
                skipNext = skipped.back() ? 0 : 1;
            } else if (word == "tab") {
                put(u'\t');
            } else if (word == "line") {
                put(u'\n');
            } else if (skipped.back()) {
                continue;
            } else if (word == "cell") {
                cells << std::exchange(text, QString());
            } else if (word == "row") {
                out.rows.push_back(std::exchange(cells, QStringList()));
            } else if (word == "par") {
                out.paragraphs << std::exchange(text, QString());
            }
        } else if (c != '\n' && c != '\r') {
            put(QChar::fromLatin1(c));
        }
    }
    return out;
}

} // namespace brantock::testsupport
