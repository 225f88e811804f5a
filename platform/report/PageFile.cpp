#include "platform/report/PageFile.h"

#include "platform/report/ChartLegend.h"
#include "platform/report/PageLimits.h"
#include "platform/report/ReportError.h"

#include <QCryptographicHash>
#include <QHash>
#include <QStringDecoder>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

namespace brantock::platform {

namespace {

const QByteArray Magic = QByteArrayLiteral("\x89"
                                           "BRPAGES\r\n\x1a\n");
constexpr qsizetype HashSize = 32;
constexpr qsizetype HeaderSize = 12 + 2 + 8;

constexpr qint32 MaxCoordinate = PageLimits::MaxCoordinate;
constexpr qint32 MaxSpacing = std::numeric_limits<qint32>::max();
constexpr int AlignmentMask = int(Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask);

enum StyleFlag : quint8 { Bold = 1, Italic = 2, Underline = 4 };

QByteArray hashOf(const char* data, qsizetype size) {
    return QCryptographicHash::hash(QByteArrayView(data, size), QCryptographicHash::Sha256);
}

// Writes the payload: every text goes into the table once and is written as its index.
class Writer {
public:
    template <class T> void put(T value) {
        if constexpr (std::is_same_v<T, double>) {
            quint64 bits;
            std::memcpy(&bits, &value, sizeof bits);
            put(bits);
        } else {
            const T le = qToLittleEndian(value);
            body_.append(reinterpret_cast<const char*>(&le), sizeof le);
        }
    }
    void text(const QString& value) {
        auto found = index_.constFind(value);
        if (found == index_.cend()) {
            found = index_.insert(value, quint32(texts_.size()));
            texts_ << value;
        }
        put(*found);
    }
    QByteArray payload() const {
        Writer head;
        head.put(quint32(texts_.size()));
        for (const QString& t : texts_) {
            const QByteArray utf8 = t.toUtf8();
            head.put(quint32(utf8.size()));
            head.body_.append(utf8);
        }
        return head.body_ + body_;
    }

private:
    QByteArray body_;
    QStringList texts_;
    QHash<QString, quint32> index_;
};

class Reader {
public:
    Reader(const char* begin, const char* end, const QString& name)
        : p_(begin), end_(end), name_(name) {}

    [[noreturn]] void damaged(const QString& why) const {
        throw ReportError::make(
            reportErr::DamagedPageFile,
            QStringLiteral("The report page file '%1' is damaged (%2).").arg(name_, why));
    }

    template <class T> T get() {
        if (end_ - p_ < qsizetype(sizeof(T)))
            damaged(QStringLiteral("it ends too soon"));
        if constexpr (std::is_same_v<T, double>) {
            const quint64 bits = get<quint64>();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        } else {
            const T value = qFromLittleEndian<T>(p_);
            p_ += sizeof(T);
            return value;
        }
    }
    qint32 ranged(qint32 low, qint32 high, const char* what) {
        const qint32 value = get<qint32>();
        if (value < low || value > high)
            damaged(QStringLiteral("%1 out of range").arg(QLatin1String(what)));
        return value;
    }
    // A count of things each at least minSize bytes long, which must fit what is left.
    quint32 count(qsizetype minSize) {
        const quint32 n = get<quint32>();
        if (qsizetype(n) > (end_ - p_) / minSize)
            damaged(QStringLiteral("a count beyond the file's end"));
        return n;
    }
    void readTable() {
        const quint32 n = count(4);
        texts_.reserve(n);
        for (quint32 i = 0; i < n; ++i) {
            const quint32 size = count(1);
            QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            QString value = decode(QByteArrayView(p_, size));
            if (decode.hasError())
                damaged(QStringLiteral("a text that is not UTF-8"));
            p_ += size;
            texts_ << std::move(value);
        }
    }
    QString text() {
        const quint32 i = get<quint32>();
        if (i >= quint32(texts_.size()))
            damaged(QStringLiteral("a text index beyond the table"));
        return texts_.at(i);
    }
    bool atEnd() const { return p_ == end_; }

private:
    const char* p_;
    const char* end_;
    const QString& name_;
    QStringList texts_;
};

void writeChart(Writer& w, const ChartContent& c) {
    w.put(qint32(c.chartType));
    w.put(qint32(c.legendLocation));
    w.put(qint32(c.labelSpacing));
    w.put(qint32(c.tickSpacing));
    w.put(quint32(c.categories.size()));
    for (const QString& category : c.categories)
        w.text(category);
    w.put(quint32(c.seriesNames.size()));
    for (qsizetype s = 0; s < c.seriesNames.size(); ++s) {
        w.text(c.seriesNames.at(s));
        for (qsizetype i = 0; i < c.categories.size(); ++i)
            w.put(s < c.values.size() && i < c.values.at(s).size() ? c.values.at(s).at(i) : 0.0);
    }
}

std::shared_ptr<const ChartContent> readChart(Reader& r) {
    auto c = std::make_shared<ChartContent>();
    c->chartType = r.ranged(0, ChartContent::TypeCount - 1, "chart type");
    c->legendLocation = r.get<qint32>();
    if (!ChartLegend::IsLocationType(c->legendLocation))
        r.damaged(QStringLiteral("legend location out of range"));
    c->labelSpacing = r.ranged(0, MaxSpacing, "label spacing");
    c->tickSpacing = r.ranged(0, MaxSpacing, "tick spacing");
    const quint32 categories = r.count(4);
    for (quint32 i = 0; i < categories; ++i)
        c->categories << r.text();
    const quint32 series = r.count(4 + qsizetype(categories) * 8);
    for (quint32 s = 0; s < series; ++s) {
        c->seriesNames << r.text();
        QList<double> values;
        values.reserve(categories);
        for (quint32 i = 0; i < categories; ++i) {
            const double v = r.get<double>();
            if (!std::isfinite(v))
                r.damaged(QStringLiteral("a chart value that is not a number"));
            values << v;
        }
        c->values << values;
    }
    return c;
}

void writeItem(Writer& w, const PageItem& item) {
    w.put(quint8(item.kind));
    w.put(qint32(item.left));
    w.put(qint32(item.top));
    w.put(qint32(item.width));
    w.put(qint32(item.height));
    w.text(item.text);
    const ItemStyle& s = item.style;
    w.text(s.fontFamily);
    w.put(s.fontSize);
    w.put(quint8((s.bold ? Bold : 0) | (s.italic ? Italic : 0) | (s.underline ? Underline : 0)));
    w.put(quint32(s.color));
    w.put(qint32(s.alignment));
    w.put(qint32(s.lineWeight));
    w.put(quint8(item.source.section));
    w.text(item.source.control);
    w.text(item.source.field);
    w.put(qint32(item.source.row));
    if (item.kind == PageItem::Kind::Chart)
        writeChart(w, item.chart ? *item.chart : ChartContent());
}

PageItem readItem(Reader& r) {
    PageItem item;
    const quint8 kind = r.get<quint8>();
    if (kind > quint8(PageItem::Kind::Chart))
        r.damaged(QStringLiteral("an unknown kind of item"));
    item.kind = PageItem::Kind(kind);
    item.left = r.ranged(-MaxCoordinate, MaxCoordinate, "place");
    item.top = r.ranged(-MaxCoordinate, MaxCoordinate, "place");
    item.width = r.ranged(-MaxCoordinate, MaxCoordinate, "size");
    item.height = r.ranged(-MaxCoordinate, MaxCoordinate, "size");
    item.text = r.text();
    ItemStyle& s = item.style;
    s.fontFamily = r.text();
    s.fontSize = r.get<double>();
    if (!(s.fontSize >= PageLimits::MinFontSize && s.fontSize <= PageLimits::MaxFontSize))
        r.damaged(QStringLiteral("font size out of range"));
    const quint8 flags = r.get<quint8>();
    if (flags & ~(Bold | Italic | Underline))
        r.damaged(QStringLiteral("unknown font flags"));
    s.bold = flags & Bold;
    s.italic = flags & Italic;
    s.underline = flags & Underline;
    s.color = r.get<quint32>();
    s.alignment = r.get<qint32>();
    if (s.alignment & ~AlignmentMask)
        r.damaged(QStringLiteral("unknown alignment"));
    s.lineWeight = r.ranged(0, PageLimits::MaxLineWeight, "line weight");
    const quint8 section = r.get<quint8>();
    if (section > quint8(ReportSectionKind::ReportFooter))
        r.damaged(QStringLiteral("an unknown band"));
    item.source.section = ReportSectionKind(section);
    item.source.control = r.text();
    item.source.field = r.text();
    item.source.row = r.ranged(-1, std::numeric_limits<qint32>::max(), "row");
    if (item.kind == PageItem::Kind::Chart)
        item.chart = readChart(r);
    return item;
}

} // namespace

QByteArray PageFile::encode(const ReportDocument& document) {
    Writer w;
    w.text(document.caption);
    w.put(quint32(document.pages.size()));
    for (const ReportPage& page : document.pages) {
        w.put(qint32(page.width));
        w.put(qint32(page.height));
        w.put(quint32(page.items.size()));
        for (const PageItem& item : page.items)
            writeItem(w, item);
    }
    const QByteArray payload = w.payload();
    QByteArray file = Magic;
    const quint16 version = qToLittleEndian(Version);
    const quint64 length = qToLittleEndian(quint64(payload.size()));
    file.append(reinterpret_cast<const char*>(&version), sizeof version);
    file.append(reinterpret_cast<const char*>(&length), sizeof length);
    file.append(payload);
    file.append(hashOf(file.constData(), file.size()));
    return file;
}

ReportDocument PageFile::decode(const QByteArray& bytes, const QString& name) {
    if (!bytes.startsWith(Magic))
        throw ReportError::make(reportErr::NotAPageFile,
                                QStringLiteral("'%1' is not a report page file.").arg(name));
    Reader header(bytes.constData() + Magic.size(), bytes.constData() + bytes.size(), name);
    const quint16 version = header.get<quint16>();
    if (version > Version)
        throw ReportError::make(
            reportErr::NewerPageFile,
            QStringLiteral("The report page file '%1' was written in format %2 by a newer "
                           "version; this version reads format %3.")
                .arg(name)
                .arg(version)
                .arg(Version));
    if (version == 0)
        header.damaged(QStringLiteral("format 0"));
    const quint64 length = header.get<quint64>();
    if (bytes.size() < HeaderSize + HashSize ||
        length != quint64(bytes.size() - HeaderSize - HashSize))
        header.damaged(QStringLiteral("its length is not the length written"));
    const qsizetype hashed = bytes.size() - HashSize;
    if (hashOf(bytes.constData(), hashed) != QByteArrayView(bytes).sliced(hashed))
        header.damaged(QStringLiteral("its checksum does not match"));

    Reader r(bytes.constData() + HeaderSize, bytes.constData() + hashed, name);
    r.readTable();
    ReportDocument document;
    document.caption = r.text();
    const quint32 pages = r.count(12);
    document.pages.reserve(pages);
    for (quint32 p = 0; p < pages; ++p) {
        ReportPage page;
        page.width = r.ranged(1, MaxCoordinate, "page width");
        page.height = r.ranged(1, MaxCoordinate, "page height");
        const quint32 items = r.count(50);
        page.items.reserve(items);
        for (quint32 i = 0; i < items; ++i)
            page.items.push_back(readItem(r));
        document.pages.push_back(std::move(page));
    }
    if (!r.atEnd())
        r.damaged(QStringLiteral("bytes after the last page"));
    return document;
}

} // namespace brantock::platform
