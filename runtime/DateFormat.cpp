#include "runtime/DateFormat.h"

#include <QLocale>

namespace brantock {

namespace {

int hour12(int hour) {
    const int h = hour % 12;
    return h == 0 ? 12 : h;
}

QString designator(int hour) {
    const QLocale locale;
    QString text = hour < 12 ? locale.amText() : locale.pmText();
    if (text.isEmpty())
        text = hour < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
    return text;
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

QString DateFormat::TimeAmPm(DateValue value) {
    const QTime t = value.time();
    return QStringLiteral("%1:%2:%3 %4")
        .arg(hour12(t.hour()))
        .arg(twoDigits(t.minute()), twoDigits(t.second()), designator(t.hour()));
}

QString DateFormat::HourMinuteAmPm(DateValue value) {
    const QTime t = value.time();
    return QStringLiteral("%1:%2 %3")
        .arg(hour12(t.hour()))
        .arg(twoDigits(t.minute()), t.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

QString DateFormat::MediumTime(DateValue value) {
    const QTime t = value.time();
    return QStringLiteral("%1:%2 %3")
        .arg(twoDigits(hour12(t.hour())), twoDigits(t.minute()), designator(t.hour()));
}

QString DateFormat::ShortDate(DateValue value) {
    return QLocale().toString(value.date(), ShortDatePattern());
}

QString DateFormat::ShortDatePattern() {
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return format;
}

QString DateFormat::DayMonthYear(DateValue value) {
    const QDate d = value.date();
    const QString sep = DateSeparator();
    return twoDigits(d.day()) + sep + twoDigits(d.month()) + sep +
           QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString DateFormat::DateSeparator() {
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && !c.isLetterOrNumber() && !c.isSpace())
            return QString(c);
    }
    return QStringLiteral("/");
}

} // namespace brantock
