// Measures the counter's way of logging (open a connection, insert one row, close) against
// one insert on a connection kept open, for the data layer's settings and the alternatives
// they were chosen from. Prints a "## Data file" section; with --write FILE it also puts
// that section into FILE in place of the old one.
// Usage: bench_datafile [--rows N] [--rounds R] [--folder DIR] [--write FILE]
#include "benchmarks/support/BenchmarkPage.h"
#include "platform/data/Connection.h"
#include "platform/data/PasswordRecord.h"
#include "runtime/ProductConfig.h"
#include "runtime/RuntimeError.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

using brantock::platform::Connection;

namespace {

struct Candidate {
    QString name;
    Connection::Settings settings;
    bool chosen = false;
};

struct Figures {
    double openInsertClose = 0; // ms per row
    double keptOpen = 0;
};

const QString Insert = QStringLiteral("INSERT INTO Triggers (TriggerDate, TriggerTime, SensorID, "
                                      "SiteID, CountUp) VALUES (?, ?, ?, ?, ?)");

QVariantList rowValues(int i) {
    return {9100 + i / 1440, i % 1440, 1 + i % 3, 0, i % 2 == 0};
}

QString connectionText(const QString& path) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=%1; Jet OLEDB:Database "
                          "Password = %2")
        .arg(path, QLatin1String(brantock::config::DataPassword));
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

Figures measure(const Candidate& candidate, const QString& file, int rows, int rounds) {
    const QString text = connectionText(file);
    std::vector<double> perOpen, perKept;
    int next = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < rows; ++i) {
            Connection connection;
            connection.setSettings(candidate.settings);
            connection.Open(text);
            connection.Execute(Insert, rowValues(next++));
            connection.Close();
        }
        perOpen.push_back(double(timer.nsecsElapsed()) / 1e6 / rows);

        Connection kept;
        kept.setSettings(candidate.settings);
        kept.Open(text);
        timer.restart();
        for (int i = 0; i < rows; ++i)
            kept.Execute(Insert, rowValues(next++));
        perKept.push_back(double(timer.nsecsElapsed()) / 1e6 / rows);
    }
    return {median(perOpen), median(perKept)};
}

// Microseconds the password check's hash takes, on each open.
double hashMicroseconds() {
    const QByteArray salt = brantock::platform::PasswordRecord::newSalt();
    const int times = 20000;
    QElapsedTimer timer;
    timer.start();
    QByteArray last;
    for (int i = 0; i < times; ++i)
        last = brantock::platform::PasswordRecord::hash(
            salt, QString::fromLatin1(brantock::config::DataPassword));
    return double(timer.nsecsElapsed()) / 1e3 / times + (last.isEmpty() ? 1 : 0);
}

Connection::Settings settings(const QString& journal, const QString& sync) {
    Connection::Settings s;
    s.journalMode = journal;
    s.synchronous = sync;
    return s;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int rows = 200, rounds = 5;
    QString folder, update;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--rows"))
            rows = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--rounds"))
            rounds = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--folder"))
            folder = args[i + 1];
        else if (args[i] == QLatin1String("--write"))
            update = args[i + 1];
    }
    if (rows < 1 || rounds < 1) {
        std::fprintf(stderr, "bench_datafile: rows and rounds must be 1 or more\n");
        return 2;
    }
    QTemporaryDir scratch(folder.isEmpty() ? QDir::tempPath() + QStringLiteral("/bench-XXXXXX")
                                           : folder + QStringLiteral("/bench-XXXXXX"));
    const QString templatePath = QStringLiteral(BRANTOCK_PROGRAM_DIR "/empty.hbt");

    const std::vector<Candidate> candidates = {
        {QStringLiteral("rollback journal TRUNCATE, synchronous FULL"), Connection::Settings{},
         true},
        {QStringLiteral("rollback journal DELETE, synchronous EXTRA"), settings("DELETE", "EXTRA")},
        {QStringLiteral("rollback journal PERSIST, synchronous FULL"), settings("PERSIST", "FULL")},
        {QStringLiteral("WAL, synchronous FULL"), settings("WAL", "FULL")},
    };

    QString section;
    QTextStream out(&section);
    out << "## Data file\n\n"
        << "Program: `build/benchmarks/bench_datafile [--rows N] [--rounds R] [--write "
           "docs/benchmarks.md]` (built with `BRANTOCK_BUILD_BENCHMARKS`, "
        << brantock::benchmarks::BenchmarkPage::buildType() << "; here " << rows << " rows, "
        << rounds << " rounds).\n\n"
        << "Method: one full-format Triggers insert with bound values, from a copy of the "
           "template; per round "
        << rows
        << " rows each on a connection of its own (open, "
           "insert, close: the counter's way of logging) and then "
        << rows
        << " on one kept "
           "connection, the floor, with the same journal and sync settings; median of the "
           "rounds, milliseconds per row. The file lies in "
        << QFileInfo(scratch.path()).absolutePath() << " on " << QSysInfo::prettyProductName()
        << ", " << brantock::benchmarks::BenchmarkPage::cpuModel() << ".\n\n"
        << "| journal and sync | open, insert, close | floor: insert on a kept connection | "
           "ratio |\n"
        << "|---|---|---|---|\n";
    try {
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            const Candidate& c = candidates[i];
            const QString file = scratch.filePath(QStringLiteral("bench%1.hbd").arg(i));
            if (!QFile::copy(templatePath, file)) {
                std::fprintf(stderr, "bench_datafile: no template at %s\n",
                             qPrintable(templatePath));
                return 1;
            }
            const Figures f = measure(c, file, rows, rounds);
            out << "| " << c.name << (c.chosen ? " (the layer's setting)" : "") << " | "
                << QString::number(f.openInsertClose, 'f', 3) << " | "
                << QString::number(f.keptOpen, 'f', 3) << " | "
                << QString::number(f.openInsertClose / f.keptOpen, 'f', 2) << " |\n";
            out.flush();
            std::fprintf(stderr, "%s: %.3f / %.3f ms\n", qPrintable(c.name), f.openInsertClose,
                         f.keptOpen);
        }
    } catch (const brantock::RuntimeError& e) {
        std::fprintf(stderr, "bench_datafile: %s\n", e.what());
        return 1;
    }
    out << "\nWhat the figures are: the time one committed and synced row costs the data layer "
           "on this disk, with its file in the page cache. What they are not: the counter's "
           "delay from a line change to its row, nor its logging rate (they add the port, the "
           "count and the window's work: section \"Counter\"). The password check's salted "
           "SHA-256 takes "
        << QString::number(hashMicroseconds(), 'f', 2)
        << " µs of each open. Why the layer uses its setting: docs/platform.md, section \"Data "
           "file\".\n";
    out.flush();
    std::printf("%s", qPrintable(section));
    if (!update.isEmpty() && !brantock::benchmarks::BenchmarkPage::replaceSection(update, section))
        std::fprintf(stderr, "bench_datafile: cannot write %s\n", qPrintable(update));
    return 0;
}
