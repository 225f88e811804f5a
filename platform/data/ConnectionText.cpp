#include "platform/data/ConnectionText.h"

#include "platform/data/DataError.h"

#include <QRegularExpression>

namespace brantock::platform {

namespace {

[[noreturn]] void unreadable(const QString& why) {
    throw DataError::make(dataErr::BadConnectionText,
                          QStringLiteral("The connection text cannot be read: %1.").arg(why));
}

// Where the unquoted value starting at from ends: at a ";" after which another key and "="
// (or nothing) follows, so that a ";" inside a path stays part of it.
qsizetype unquotedEnd(const QString& text, qsizetype from) {
    static const QRegularExpression nextKey(QStringLiteral("^\\s*([A-Za-z][A-Za-z0-9 :_]*=|$)"));
    for (qsizetype i = text.indexOf(u';', from); i >= 0; i = text.indexOf(u';', i + 1)) {
        if (nextKey.match(QStringView(text).mid(i + 1)).hasMatch())
            return i;
    }
    return text.size();
}

// Reads the quoted value whose opening quote is at pos; pos ends after the closing quote.
QString quotedValue(const QString& text, qsizetype& pos) {
    QString value;
    for (++pos; pos < text.size(); ++pos) {
        if (text.at(pos) != u'"') {
            value += text.at(pos);
        } else if (pos + 1 < text.size() && text.at(pos + 1) == u'"') {
            value += u'"';
            ++pos;
        } else {
            ++pos;
            return value;
        }
    }
    unreadable(QStringLiteral("a quoted value is not closed"));
}

} // namespace

ConnectionText ConnectionText::parse(const QString& text) {
    ConnectionText result;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype eq = text.indexOf(u'=', pos);
        if (eq < 0)
            break;
        // Text without "=" before the last ";" is an item without a value: passed over.
        const qsizetype keyStart = std::max(text.lastIndexOf(u';', eq) + 1, pos);
        const QString key = text.mid(keyStart, eq - keyStart).trimmed();
        qsizetype valueStart = eq + 1;
        while (valueStart < text.size() && text.at(valueStart).isSpace())
            ++valueStart;
        QString value;
        if (valueStart < text.size() && text.at(valueStart) == u'"') {
            pos = valueStart;
            value = quotedValue(text, pos);
            while (pos < text.size() && text.at(pos).isSpace())
                ++pos;
            if (pos < text.size() && text.at(pos) != u';')
                unreadable(QStringLiteral("text follows the quoted value of '%1'").arg(key));
        } else {
            pos = unquotedEnd(text, valueStart);
            value = text.mid(valueStart, pos - valueStart).trimmed();
        }
        ++pos; // past the ";"
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

QString ConnectionText::quote(const QString& value) {
    const bool plain = !value.contains(u';') && !value.contains(u'"') && value == value.trimmed();
    if (plain)
        return value;
    return u'"' + QString(value).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace brantock::platform
