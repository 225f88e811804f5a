#include "runtime/Conversions.h"

#include "runtime/RuntimeError.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>

namespace brantock {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// Length of the number at position i of text (0 when none), in the form sign, digits,
// optional fraction, optional exponent.
qsizetype scanNumber(const QString& text, qsizetype i, bool allowExponent) {
    const qsizetype start = i;
    const qsizetype n = text.size();
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (allowExponent && i < n &&
        (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        qsizetype expDigits = 0;
        while (j < n && text[j].isDigit() && text[j].unicode() < 128) {
            ++j;
            ++expDigits;
        }
        if (expDigits > 0)
            i = j;
    }
    return i - start;
}

// The C library's parser follows the process locale (Qt sets it from the user's), where a
// German one would stop "1.5" at the point; numbers here always use a "." decimal point.
locale_t cLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return c;
}

double parseScanned(const QString& text, qsizetype from, qsizetype length) {
    std::string s = text.mid(from, length).toStdString();
    for (char& c : s)
        if (c == 'd' || c == 'D')
            c = 'e';
    return strtod_l(s.c_str(), nullptr, cLocale());
}

template <class T> T roundInto(double value) {
    const double r = RoundHalfEven(value);
    if (std::isnan(r) || r < static_cast<double>(std::numeric_limits<T>::min()) ||
        r > static_cast<double>(std::numeric_limits<T>::max()))
        throw RuntimeError::of(err::Overflow);
    return static_cast<T>(r);
}

} // namespace

double LeadingNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    const qsizetype length = scanNumber(text, i, true);
    return length == 0 ? 0.0 : parseScanned(text, i, length);
}

bool IsNumeric(const QString& text) {
    const QString trimmed = text.trimmed();
    const qsizetype length = scanNumber(trimmed, 0, true);
    return length > 0 && length == trimmed.size();
}

QString TrimBlanks(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.mid(start, end - start);
}

double RoundHalfEven(double value) {
    return std::nearbyint(value);
}

std::int16_t RoundToInt16(double value) {
    return roundInto<std::int16_t>(value);
}
std::int32_t RoundToInt32(double value) {
    return roundInto<std::int32_t>(value);
}
std::uint8_t RoundToByte(double value) {
    return roundInto<std::uint8_t>(value);
}

std::int32_t ToLong(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return 0;
    case QMetaType::Bool:
        return value.toBool() ? -1 : 0;
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        if (!IsNumeric(text))
            throw RuntimeError::of(err::TypeMismatch);
        return RoundToInt32(parseScanned(text, 0, text.size()));
    }
    default:
        break;
    }
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok)
        throw RuntimeError::of(err::TypeMismatch);
    return RoundToInt32(d);
}

} // namespace brantock
