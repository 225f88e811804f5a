#include "benchmarks/support/BenchmarkPage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

namespace brantock::benchmarks {

bool BenchmarkPage::replaceSection(const QString& path, const QString& section) {
    QFile file(path);
    QString text;
    if (file.open(QIODevice::ReadOnly))
        text = QString::fromUtf8(file.readAll());
    file.close();
    if (text.isEmpty())
        text = QStringLiteral("# Benchmarks\n");
    const QString heading = section.section(u'\n', 0, 0) + u'\n';
    const qsizetype start = text.indexOf(heading);
    if (start < 0) {
        text += (text.endsWith(u'\n') ? QStringLiteral("\n") : QStringLiteral("\n\n")) + section;
    } else {
        qsizetype end = text.indexOf(QStringLiteral("\n## "), start + heading.size());
        // A section followed by another keeps a blank line before the next heading.
        const bool last = end < 0;
        end = last ? text.size() : end + 1;
        text.replace(start, end - start,
                     last || section.endsWith(QStringLiteral("\n\n")) ? section : section + u'\n');
    }
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

QString BenchmarkPage::buildType() {
    const QString type = QStringLiteral(BRANTOCK_BUILD_TYPE);
    return type.isEmpty() ? QStringLiteral("no build type") : type;
}

QString BenchmarkPage::cpuModel() {
    QFile cpu(QStringLiteral("/proc/cpuinfo"));
    if (cpu.open(QIODevice::ReadOnly))
        for (const QByteArray& line : cpu.readAll().split('\n'))
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
    return QStringLiteral("unknown CPU");
}

QString BenchmarkPage::option(int argc, char** argv, const char* name, const QString& fallback) {
    for (int i = 1; i + 1 < argc; i += 2)
        if (QByteArray(argv[i]) == name)
            return QString::fromLocal8Bit(argv[i + 1]);
    return fallback;
}

double BenchmarkPage::peakMemoryMB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

bool BenchmarkPage::runUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done();
}

} // namespace brantock::benchmarks
