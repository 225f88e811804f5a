#include "data/ConnectionText.h"

#include <QRegularExpression>
#include <QStringList>

namespace brantock::platform {

namespace {

// A ";" ends an item only where the rest starts with another key and "=" (or nothing).
QStringList splitItems(const QString& text) {
    static const QRegularExpression nextKey(QStringLiteral("^\\s*([A-Za-z][A-Za-z0-9 :_]*=|$)"));
    QStringList items;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != u';')
            continue;
        if (!nextKey.match(text.mid(i + 1)).hasMatch())
            continue;
        items << text.mid(start, i - start);
        start = i + 1;
    }
    items << text.mid(start);
    return items;
}

} // namespace

ConnectionText ConnectionText::parse(const QString& text) {
    ConnectionText result;
    for (const QString& item : splitItems(text)) {
        const qsizetype eq = item.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = item.left(eq).trimmed();
        const QString value = item.mid(eq + 1).trimmed();
        if (key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0) {
            result.dataSource_ = value;
        } else if (key.compare(QLatin1String("Jet OLEDB:Database Password"), Qt::CaseInsensitive) ==
                   0) {
            result.password_ = value;
            result.hasPassword_ = true;
        }
    }
    return result;
}

} // namespace brantock::platform
