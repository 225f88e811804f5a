#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace brantock::testsupport {

// Reads exported files back with programs and parsers that owe nothing to the exports:
// poppler's pdftotext and pdftoppm for a PDF, unzip and the sheet's XML for a spreadsheet,
// the groups and control words of a rich text file.
class ExportReader {
public:
    // A program's standard output; fails the test when it cannot run or fails.
    static QByteArray run(const QString& program, const QStringList& arguments);

    // The PDF's text as pdftotext lays it out, page by page (split at form feeds).
    static QStringList pdfPages(const QString& path);
    // One page of the PDF as pdftoppm renders it.
    static QImage pdfImage(const QString& path, int page, int dotsPerInch);

    // A spreadsheet's cells by their reference ("B7"): a number cell's value, or its text.
    struct SheetCell {
        std::optional<double> number;
        QString text;
    };
    static std::map<QString, SheetCell> sheetCells(const QString& path);

    // A rich text file's paragraphs outside tables and its table rows, cell by cell, with the
    // \u escapes, \tab and \line read back into characters; font, colour and information
    // groups skipped.
    struct RichText {
        QStringList paragraphs;
        std::vector<QStringList> rows;
    };
    static RichText richText(const QByteArray& rtf);
};

} // namespace brantock::testsupport
