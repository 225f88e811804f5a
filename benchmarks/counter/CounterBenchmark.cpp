// The whole counter on a simulated port: the delay from a line change to its committed Triggers
// row and the sustained logging rate, each beside its floor (the same insert on a kept
// connection, and opened, inserted and closed as the logger does), the start-up time with an
// empty and with a large data file, and the resident memory over many triggers.
// Usage: counter_benchmark [--data FILE] [--triggers N] [--write docs/benchmarks.md]
//   --data: the large data file (made with the generator into /tmp when missing)
//   --triggers: the triggers of the memory run (100000)

#include "benchmarks/support/BenchmarkPage.h"
#include "benchmarks/support/Figures.h"
#include "benchmarks/support/LargeDataFile.h"
#include "tests/counter/support/SimulatedPorts.h"
#include "tests/support/DataFiles.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TemporaryRegistry.h"
#include "tests/support/TestEnvironment.h"

#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/frmMain.h"
#include "foundation/App.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modRegistry.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"

#include <QApplication>
#include <QFile>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <unistd.h>
#include <vector>

using namespace brantock;
using namespace brantock::counter;
using namespace brantock::testsupport;
using brantock::benchmarks::BenchmarkPage;
using brantock::benchmarks::Figures;
using brantock::benchmarks::LargeDataFile;
using portsim::PeerServer;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int LatencyTriggers = 2000;
constexpr int StartRounds = 5;
constexpr int MemoryBatch = 1000;

double residentMB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / 1048576.0 : 0;
}

qint64 triggerRows(const QString& path) {
    platform::Connection cn;
    cn.Open(ConnectionString(path));
    platform::Recordset rs = cn.Query(QStringLiteral("SELECT count(*) FROM Triggers"));
    return rs.Fields(0).toLongLong();
}

// The counter as the program puts it together, its settings and folders its own, on a
// simulated port whose peer runs in this process.
class Counter {
public:
    Counter() {
        SetRegSetting(settings::ComPort, QStringLiteral("1"), RegistryHive);
        SetRegSetting(settings::DebounceTime, QStringLiteral("0"), RegistryHive);
        SetRegSetting(settings::LogToDatabase, QStringLiteral("1"), RegistryHive);
        ports_.serve(1);
    }
    ~Counter() { stop(); }

    PeerServer& peer() { return ports_.serve(1); }

    // Seconds from making the window to Show() returning with counting started.
    double start(const QString& dataFile) {
        stop();
        CounterState::Reset();
        App::SetPath(programFolder_.path());
        CommandLineDataPath = dataFile;
        commits_.clear();
        const auto t0 = Clock::now();
        form_ = std::make_unique<frmMain>();
        form_->Show();
        const auto t1 = Clock::now();
        if (!form_->Loaded() || !CountingStarted) {
            std::fprintf(stderr, "counter_benchmark: the counter did not start\n");
            std::exit(1);
        }
        // The moment each insert's connection was closed, the row committed.
        QObject::connect(&form_->logger(), &DataLogger::rowCommitted, form_.get(),
                         [this] { commits_.push_back(Clock::now()); });
        peer().waitClient(std::chrono::seconds(5));
        return std::chrono::duration<double>(t1 - t0).count();
    }

    void stop() {
        form_.reset();
        App::SetPath(QString());
    }

    std::size_t commits() const { return commits_.size(); }
    Clock::time_point lastCommit() const { return commits_.back(); }
    std::size_t errorReports() const { return errors_.reports().size(); }

private:
    TemporaryRegistry registry_;
    ScriptedErrors errors_;
    ScriptedMessages boxes_;
    counter::testsupport::SimulatedPorts ports_{registry_};
    ScratchFolder programFolder_;
    std::unique_ptr<frmMain> form_;
    std::vector<Clock::time_point> commits_;
};

// Changes of DSR a few milliseconds apart; each change that counts is timed from just before
// the peer sent it to the close of its insert's connection.
Figures latency(Counter& counter, std::size_t& rowsMissing, const QString& dataFile) {
    PeerServer& peer = counter.peer();
    bool level = peer.levels().dsr;
    std::vector<double> ms;
    const qint64 rowsBefore = triggerRows(dataFile);
    const std::size_t commitsBefore = counter.commits();
    // Only one edge counts: the first change that logs a row tells which.
    std::optional<bool> countingLevel;
    while (ms.size() < std::size_t(LatencyTriggers)) {
        level = !level;
        const std::size_t before = counter.commits();
        const Clock::time_point sent = peer.setLevel(PeerServer::Line::Dsr, level);
        if ((!countingLevel || *countingLevel == level) &&
            BenchmarkPage::runUntil([&] { return counter.commits() > before; },
                                    countingLevel ? 5000 : 200)) {
            countingLevel = level;
            ms.push_back(
                std::chrono::duration<double, std::milli>(counter.lastCommit() - sent).count());
        }
        BenchmarkPage::runUntil([] { return false; }, 3);
    }
    rowsMissing = std::size_t(counter.commits() - commitsBefore) -
                  std::size_t(triggerRows(dataFile) - rowsBefore);
    return Figures::of(ms);
}

// The floors of one logged trigger: the logger's insert on the same file with the same journal
// and sync, on one kept connection or on a connection opened and closed around it.
Figures insertFloor(const QString& dataFile, bool kept, int count) {
    const QString text = ConnectionString(dataFile);
    const QString insert = QStringLiteral("INSERT INTO triggers (TriggerDate, TriggerTime, "
                                          "SensorID,SiteID,CountUp) SELECT 9800 , 600,1,0,?");
    std::vector<double> ms;
    platform::Connection keptConnection;
    if (kept)
        keptConnection.Open(text);
    for (int i = 0; i < count; ++i) {
        const auto t0 = Clock::now();
        if (kept) {
            keptConnection.Execute(insert, {true});
        } else {
            platform::Connection cn;
            cn.Open(text);
            cn.Execute(insert, {true});
            cn.Close();
        }
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    return Figures::of(ms);
}

// Pulses sent back to back in batches, each batch counted before the next is sent; the time
// per trigger and the resident size of every tenth batch go to stderr. `seconds` adds up the
// time from each batch's sending to its last commit.
bool pulses(Counter& counter, int count, double* seconds = nullptr) {
    for (int sent = 0; sent < count; sent += MemoryBatch) {
        const std::size_t target = counter.commits() + std::size_t(MemoryBatch);
        const auto t0 = Clock::now();
        counter.peer().pulse(PeerServer::Line::Dsr, MemoryBatch, std::chrono::microseconds(0));
        if (!BenchmarkPage::runUntil([&] { return counter.commits() >= target; }, 600000))
            return false;
        if (seconds)
            *seconds += std::chrono::duration<double>(counter.lastCommit() - t0).count();
        if (target % (10 * MemoryBatch) == 0)
            std::fprintf(stderr, "%zu triggers: %.3f ms per trigger, %.2f MB resident\n", target,
                         std::chrono::duration<double, std::milli>(Clock::now() - t0).count() /
                             MemoryBatch,
                         residentMB());
    }
    BenchmarkPage::runUntil([] { return false; }, 50);
    return true;
}

QString machine() {
    return QStringLiteral("`nproc` %2, `lscpu` model name %1, `uname -r` %3")
        .arg(BenchmarkPage::cpuModel())
        .arg(QThread::idealThreadCount())
        .arg(QSysInfo::kernelVersion());
}

QString ms(double value) {
    return QString::number(value, 'f', 3);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestEnvironment::setUp();
    QApplication app(argc, argv);
    const QString writeTo = BenchmarkPage::option(argc, argv, "--write");
    const QString largeFile =
        BenchmarkPage::option(argc, argv, "--data", LargeDataFile::DefaultPath);
    const int memoryTriggers = std::max(
        3 * MemoryBatch, BenchmarkPage::option(argc, argv, "--triggers", "100000").toInt() /
                             MemoryBatch * MemoryBatch);

    const QString generated = LargeDataFile::ensure(largeFile);
    const qint64 largeRows = triggerRows(largeFile);

    ScratchFolder files;
    const QString emptyFile = files.file(QStringLiteral("data.hbd"));
    DataFiles::copyTemplate(emptyFile);
    Counter counter;

    // The delay, on a counter just started (the minute's upkeep has not come round yet).
    counter.start(emptyFile);
    std::size_t rowsMissing = 0;
    const Figures delay = latency(counter, rowsMissing, emptyFile);
    counter.stop();
    const QString floorFile = files.file(QStringLiteral("floor.hbd"));
    DataFiles::copyTemplate(floorFile);
    const Figures keptFloor = insertFloor(floorFile, true, LatencyTriggers);
    const Figures openFloor = insertFloor(floorFile, false, LatencyTriggers);

    // Start-up, the first start of each file included.
    std::vector<double> emptyStarts, largeStarts;
    for (int round = 0; round < StartRounds; ++round) {
        emptyStarts.push_back(counter.start(emptyFile) * 1000.0);
        largeStarts.push_back(counter.start(largeFile) * 1000.0);
    }
    const Figures emptyStart = Figures::of(emptyStarts);
    const Figures largeStart = Figures::of(largeStarts);

    // Memory over many triggers.
    DataFiles::copyTemplate(emptyFile);
    counter.start(emptyFile);
    const bool firstWhole = pulses(counter, MemoryBatch);
    const double after1k = residentMB();
    double sustainedSeconds = 0;
    const bool restWhole = pulses(counter, memoryTriggers - 2 * MemoryBatch, &sustainedSeconds);
    const double sustainedRate = (memoryTriggers - 2 * MemoryBatch) / sustainedSeconds;
    const double beforeLast = residentMB();
    const bool lastWhole = pulses(counter, MemoryBatch);
    const double after100k = residentMB();
    const qint64 memoryRows = triggerRows(emptyFile);
    counter.stop();

    const QString section =
        QStringLiteral(
            "## Counter\n\n"
            "Program: `build/benchmarks/counter_benchmark [--data FILE] [--triggers N] [--write "
            "docs/benchmarks.md]` (built with `BRANTOCK_BUILD_BENCHMARKS`, %8; runs "
            "offscreen). The large data file is made by `brantock-datagen --years 10 --out "
            "FILE` (seed 1) into %1 when missing.\n\n"
            "Method: the counter as the program puts it together (`frmMain`, `Show()`), "
            "its settings in a scratch folder, port 1 a "
            "simulated port served by an in-process peer (`PeerServer`), lockout 0, logging on, "
            "the data file in /tmp. Delay: %2 counted DSR changes, each sent a few ms after the "
            "previous one was committed (the change of the other edge between them counts "
            "nothing); timed from just before the peer sends the change to the "
            "data logger's `rowCommitted`, which `LogTrigger` signals once it has inserted the "
            "row on its own connection and closed it, so the row is committed and synced "
            "(synchronous FULL). Rows found afterwards by a separate connection, less the "
            "inserts timed: %3. Its floors, measured in the same run on a copy of the same "
            "template file with the same journal and sync: the logger's insert on one kept "
            "connection, and on a connection opened and closed around it, as the logger does. "
            "Sustained logging: the rows per second of the memory run's batches after the first "
            "(pulses sent back to back, each batch timed from its sending to its last commit), "
            "beside the rate the open-insert-close floor allows (1000 / its median). It is what "
            "one counter logs when changes come faster than it can write them; it is not the "
            "rate at which the serial layer hands changes over (see Serial port). Start-up: from "
            "making `frmMain` to `Show()` returning with "
            "`CountingStarted`, %4 rounds alternating the two files, warm page cache. Memory: "
            "resident size (/proc/self/statm) of the process after the first %5 triggers and "
            "after %6, sent as pulses back to back in batches of %5, each batch counted and "
            "logged before the next.\n\n"
            "Machine: %7.\n\n"
            "| Measure | Count | Median | 99th percentile | Max | Aim |\n"
            "|---|---|---|---|---|---|\n")
            .arg(LargeDataFile::DefaultPath)
            .arg(LatencyTriggers)
            .arg(rowsMissing)
            .arg(StartRounds)
            .arg(MemoryBatch)
            .arg(memoryTriggers)
            .arg(machine())
            .arg(BenchmarkPage::buildType()) +
        QStringLiteral("| line change to committed row (ms) | %1 | %2 | %3 | %4 | p99 < 10 ms |\n")
            .arg(delay.count)
            .arg(ms(delay.median), ms(delay.p99), ms(delay.max)) +
        QStringLiteral("| floor: insert on a kept connection (ms) | %1 | %2 | %3 | %4 | - |\n")
            .arg(keptFloor.count)
            .arg(ms(keptFloor.median), ms(keptFloor.p99), ms(keptFloor.max)) +
        QStringLiteral("| floor: open, insert, close (ms) | %1 | %2 | %3 | %4 | - |\n")
            .arg(openFloor.count)
            .arg(ms(openFloor.median), ms(openFloor.p99), ms(openFloor.max)) +
        QStringLiteral("| sustained logging (rows/s); floor %1 | %2 | %3 | - | - | - |\n")
            .arg(1000.0 / openFloor.median, 0, 'f', 0)
            .arg(memoryTriggers - 2 * MemoryBatch)
            .arg(sustainedRate, 0, 'f', 0) +
        QStringLiteral("| start-up, empty data file (ms) | %1 | %2 | - | %3 | < 500 ms |\n")
            .arg(emptyStart.count)
            .arg(ms(emptyStart.median), ms(emptyStart.max)) +
        QStringLiteral("| start-up, %1 Triggers rows (ms) | %2 | %3 | - | %4 | < 500 ms |\n")
            .arg(largeRows)
            .arg(largeStart.count)
            .arg(ms(largeStart.median), ms(largeStart.max)) +
        QStringLiteral("\n| Resident memory | MB |\n|---|---|\n"
                       "| after %1 triggers | %2 |\n| after %3 triggers | %4 |\n"
                       "| after %5 triggers | %6 |\n"
                       "| growth from %1 to %5 (aim < 2 MB) | %7 |\n"
                       "| growth from %1 to %3 | %8 |\n")
            .arg(MemoryBatch)
            .arg(after1k, 0, 'f', 2)
            .arg(memoryTriggers - MemoryBatch)
            .arg(beforeLast, 0, 'f', 2)
            .arg(memoryTriggers)
            .arg(after100k, 0, 'f', 2)
            .arg(after100k - after1k, 0, 'f', 2)
            .arg(beforeLast - after1k, 0, 'f', 2) +
        QStringLiteral("\nRows logged in the memory run: %1 of %2%3. Errors reported: %4.%5\n")
            .arg(memoryRows)
            .arg(memoryTriggers)
            .arg(firstWhole && restWhole && lastWhole ? QString()
                                                      : QStringLiteral(" (NOT ALL COUNTED)"))
            .arg(counter.errorReports())
            .arg(generated.isEmpty() ? QString() : QStringLiteral(" ") + generated) +
        QStringLiteral(
            "\nWhat the figures are: the whole counter's delay from a line change to its "
            "committed and synced row, and the rows per second it logs while changes come faster "
            "than it can write them, each beside what the data layer alone needs for the same "
            "row. What they are not: the serial layer's hand-over rate (section \"Serial "
            "port\"), nor a real serial device's. The slowest delay is the first change after "
            "start-up, which waits for the minute's port check (it sends \"Test\" and waits "
            "100 ms for the echo). Start-up does not read Triggers, so the large file starts as "
            "fast as the empty one; of it, 100 ms is the port's wiring check at opening.\n");

    std::fputs(section.toUtf8().constData(), stdout);
    if (!writeTo.isEmpty())
        BenchmarkPage::replaceSection(writeTo, section);
    return 0;
}
