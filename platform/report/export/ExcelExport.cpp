#include "platform/report/export/ExcelExport.h"

#include "platform/report/export/ReportTable.h"
#include "platform/report/ReportError.h"

#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

namespace brantock::platform {

namespace {

constexpr qsizetype MaxCellText = 32767;
constexpr qsizetype MaxSheetName = 31;

RuntimeError failure(const QString& why) {
    return ReportError::make(err::PathFileAccessError,
                             QStringLiteral("The spreadsheet could not be made (%1).").arg(why));
}

void check(lxw_error error) {
    if (error != LXW_NO_ERROR)
        throw failure(QString::fromUtf8(lxw_strerror(error)));
}

// A text as a cell holds it: no control characters but tab and line break, and no longer
// than a cell may be.
QByteArray cellText(QString text) {
    text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\n'; });
    return text.left(MaxCellText).toUtf8();
}

// Writes the workbook into a private folder and closes it exactly once.
class Workbook {
public:
    explicit Workbook(const QTemporaryDir& folder)
        : path_(QFile::encodeName(folder.filePath(QStringLiteral("report.xlsx")))),
          tmpdir_(QFile::encodeName(folder.path())) {
        lxw_workbook_options options{};
        options.tmpdir = tmpdir_.data();
        book_ = workbook_new_opt(path_.constData(), &options);
        if (!book_)
            throw failure(QStringLiteral("no workbook"));
    }
    ~Workbook() {
        if (book_)
            workbook_close(book_);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    lxw_workbook* get() const { return book_; }

    // The cell format of a text's weight, slant and alignment across its column.
    lxw_format* format(const ItemStyle& style) {
        const int align = style.alignment & Qt::AlignHorizontal_Mask;
        const bool right = align & Qt::AlignRight;
        const bool centre = align & Qt::AlignHCenter;
        if (!style.bold && !style.italic && !right && !centre)
            return nullptr;
        lxw_format*& made = formats_[{style.bold, style.italic, right, centre}];
        if (!made) {
            made = workbook_add_format(book_);
            if (style.bold)
                format_set_bold(made);
            if (style.italic)
                format_set_italic(made);
            if (right)
                format_set_align(made, LXW_ALIGN_RIGHT);
            else if (centre)
                format_set_align(made, LXW_ALIGN_CENTER);
        }
        return made;
    }

    QByteArray close() {
        lxw_workbook* book = std::exchange(book_, nullptr);
        check(workbook_close(book));
        QFile file(QFile::decodeName(path_));
        if (!file.open(QIODevice::ReadOnly))
            throw failure(file.errorString());
        return file.readAll();
    }

private:
    QByteArray path_;
    QByteArray tmpdir_;
    lxw_workbook* book_ = nullptr;
    std::map<std::tuple<bool, bool, bool, bool>, lxw_format*> formats_;
};

} // namespace

QString ExcelExport::sheetName(const QString& caption) {
    QString name = caption;
    name.removeIf([](QChar c) {
        return QStringView(u"[]:*?/\\").contains(c) || c.category() == QChar::Other_Control;
    });
    name = name.trimmed();
    while (name.startsWith(u'\''))
        name.remove(0, 1);
    name = name.left(MaxSheetName).trimmed();
    while (name.endsWith(u'\''))
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("Report") : name;
}

QByteArray ExcelExport::render(const ReportDocument& pages) const {
    const ReportTable table = ReportTable::of(pages);
    QTemporaryDir folder;
    if (!folder.isValid())
        throw failure(folder.errorString());
    Workbook book(folder);

    const QByteArray title = table.caption.toUtf8();
    lxw_doc_properties properties{};
    properties.title = const_cast<char*>(title.constData());
    check(workbook_set_properties(book.get(), &properties));
    lxw_worksheet* sheet =
        workbook_add_worksheet(book.get(), sheetName(table.caption).toUtf8().constData());
    if (!sheet)
        throw failure(QStringLiteral("no worksheet"));

    const auto put = [&](lxw_row_t row, lxw_col_t column, const ReportTable::Cell& cell) {
        if (cell.text.isEmpty())
            return;
        lxw_format* format = book.format(cell.style);
        if (const std::optional<double> number = ReportTable::numberOf(cell.text))
            check(worksheet_write_number(sheet, row, column, *number, format));
        else
            check(worksheet_write_string(sheet, row, column, cellText(cell.text).constData(),
                                         format));
    };

    lxw_row_t row = 0;
    for (const auto& line : table.lines) {
        for (std::size_t i = 0; i < line.size(); ++i)
            put(row, lxw_col_t(i), line[i]);
        ++row;
    }
    // A blank row between the header, each chart's numbers and the table.
    std::vector<qsizetype> widths;
    const auto grid = [&](const std::vector<ReportTable::Row>& rows) {
        if (rows.empty())
            return;
        if (row > 0)
            ++row;
        for (const ReportTable::Row& line : rows) {
            if (widths.size() < line.cells.size())
                widths.resize(line.cells.size(), 0);
            for (std::size_t i = 0; i < line.cells.size(); ++i) {
                put(row, lxw_col_t(i), line.cells[i]);
                widths[i] = std::max(widths[i], line.cells[i].text.size());
            }
            ++row;
        }
    };
    for (const ReportTable::Grid& chart : table.charts)
        grid(chart.rows);
    grid(table.rows);
    for (std::size_t i = 0; i < widths.size(); ++i)
        check(worksheet_set_column(sheet, lxw_col_t(i), lxw_col_t(i),
                                   double(std::clamp<qsizetype>(widths[i] + 2, 8, 60)), nullptr));
    return book.close();
}

} // namespace brantock::platform
