#include "tools/datagen/TriggerDataGenerator.h"

#include "platform/data/Connection.h"
#include "platform/data/ConnectionText.h"
#include "platform/data/DataError.h"
#include "runtime/ProductConfig.h"
#include "runtime/RuntimeError.h"

#include <QFile>

#include <sqlite3.h>

#include <array>
#include <cmath>
#include <numbers>
#include <random>

namespace brantock::datagen {

namespace {

constexpr int MinutesPerDay = 1440;

// Relative traffic by hour of the day.
constexpr std::array<double, 24> WeekdayHours = {0.3, 0.2, 0.15, 0.1, 0.15, 0.5, 1.5, 3.5,
                                                 5.5, 5.5, 6.0,  7.0, 8.5,  8.0, 6.5, 6.0,
                                                 6.5, 7.5, 6.0,  4.5, 3.5,  2.5, 1.5, 0.8};
constexpr std::array<double, 24> WeekendHours = {0.6, 0.4, 0.3, 0.2, 0.2, 0.3, 0.6, 1.2,
                                                 2.5, 4.0, 5.5, 6.5, 7.0, 7.0, 6.5, 6.0,
                                                 5.5, 5.0, 4.5, 3.5, 3.0, 2.5, 1.8, 1.1};
// Triggers on an average day; together about 5,000 a day over a week.
constexpr double WeekdayMean = 5500;
constexpr double WeekendMean = 3800;
constexpr double DownShare = 0.1;
constexpr std::array<double, 3> SensorShares = {0.55, 0.30, 0.15};
constexpr double StoppedDayShare = 0.03;

using MinuteShape = std::array<double, MinutesPerDay>;

// The hours' weights spread smoothly over the minutes (straight lines between the middles of
// the hours), summing to 1.
MinuteShape minuteShape(const std::array<double, 24>& hours) {
    MinuteShape shape{};
    double total = 0;
    for (int minute = 0; minute < MinutesPerDay; ++minute) {
        const double hour = (minute + 0.5) / 60.0 - 0.5;
        const int below = int(std::floor(hour));
        const double along = hour - below;
        const double a = hours[std::size_t((below + 24) % 24)];
        const double b = hours[std::size_t((below + 1) % 24)];
        shape[std::size_t(minute)] = a + (b - a) * along;
        total += shape[std::size_t(minute)];
    }
    for (double& weight : shape)
        weight /= total;
    return shape;
}

QString connectionText(const QString& path) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") +
           platform::ConnectionText::quote(path) +
           QStringLiteral("; Jet OLEDB:Database Password = ") +
           platform::ConnectionText::quote(QString::fromLatin1(config::DataPassword));
}

// The one statement run for every trigger, prepared once.
class TriggerInsert {
public:
    TriggerInsert(sqlite3* db, const QString& path) : db_(db), path_(path) {
        platform::DataError::check(
            sqlite3_prepare_v3(db,
                               "INSERT INTO Triggers (TriggerDate, TriggerTime, SensorID, "
                               "SiteID, CountUp) VALUES (?, ?, ?, ?, ?)",
                               -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr),
            db, path);
    }
    ~TriggerInsert() { sqlite3_finalize(stmt_); }
    TriggerInsert(const TriggerInsert&) = delete;
    TriggerInsert& operator=(const TriggerInsert&) = delete;

    void run(int day, int minute, int sensor, bool countUp) {
        sqlite3_bind_int(stmt_, 1, day);
        sqlite3_bind_int(stmt_, 2, minute);
        sqlite3_bind_int(stmt_, 3, sensor);
        sqlite3_bind_int(stmt_, 4, TriggerDataGenerator::SiteID);
        sqlite3_bind_int(stmt_, 5, countUp ? 1 : 0);
        const int rc = sqlite3_step(stmt_);
        sqlite3_reset(stmt_);
        if (rc != SQLITE_DONE)
            platform::DataError::check(rc, db_, path_);
    }

private:
    sqlite3* db_;
    QString path_;
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace

TriggerDataGenerator::Result TriggerDataGenerator::generate(const Options& options) {
    if (options.days <= 0)
        throw RuntimeError(err::InvalidProcedureCall,
                           QStringLiteral("The number of days must be at least 1."));
    if (!options.firstDay.isValid())
        throw RuntimeError(err::InvalidProcedureCall,
                           QStringLiteral("The first day is not a valid date."));
    const QString partPath = options.outPath + QStringLiteral(".part");
    QFile::remove(partPath);
    if (!QFile::copy(options.templatePath, partPath))
        throw RuntimeError(err::PathFileAccessError,
                           QStringLiteral("Could not copy the template '%1' to '%2'.")
                               .arg(options.templatePath, partPath));
    QFile::setPermissions(partPath, QFile::permissions(partPath) | QFile::WriteOwner);

    Result result;
    try {
        platform::Connection cn;
        cn.Open(connectionText(partPath));
        sqlite3* db = cn.handle().get();
        // One transaction: nothing is synced until its end.
        cn.Execute(QStringLiteral("PRAGMA cache_size = -65536"));
        cn.Execute(QStringLiteral("BEGIN"));
        cn.Execute(QStringLiteral("INSERT INTO Sites (SiteID, SiteName, MachineName, Interface) "
                                  "VALUES (?, ?, ?, ?)"),
                   {SiteID, SiteName, MachineName, InterfaceName});
        TriggerInsert insert(db, partPath);
        const auto addPeriod = [&](int day, int from, int to) {
            cn.Execute(QStringLiteral("INSERT INTO AppActivity (ActiveDate, ActiveFrom, "
                                      "ActiveTo, Machine, Interface, InterfaceOffset, SiteID) "
                                      "VALUES (?, ?, ?, ?, ?, 0, ?)"),
                       {day, from, to, MachineName, InterfaceName, SiteID});
            ++result.activityPeriods;
        };

        const MinuteShape weekday = minuteShape(WeekdayHours);
        const MinuteShape weekend = minuteShape(WeekendHours);
        std::mt19937_64 random(options.seed);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        std::normal_distribution<double> dayNoise(1.0, 0.08);
        const QDate dayZero(2000, 1, 1);

        for (int i = 0; i < options.days; ++i) {
            const QDate date = options.firstDay.addDays(i);
            const int day = int(dayZero.daysTo(date));
            const bool isWeekend = date.dayOfWeek() >= 6;
            const double season =
                1.0 + 0.15 * std::cos(2 * std::numbers::pi * (date.dayOfYear() - 196) / 365.25);
            const double mean =
                (isWeekend ? WeekendMean : WeekdayMean) * season * std::max(0.5, dayNoise(random));
            const MinuteShape& shape = isWeekend ? weekend : weekday;

            // A day when the counter was stopped for a while: no triggers in the gap.
            int stopFrom = MinutesPerDay, stopTo = MinutesPerDay;
            if (unit(random) < StoppedDayShare) {
                stopFrom = 60 + int(unit(random) * 1200);
                stopTo = stopFrom + 10 + int(unit(random) * 170);
                addPeriod(day, 0, stopFrom - 1);
                addPeriod(day, stopTo, MinutesPerDay - 1);
            } else {
                addPeriod(day, 0, MinutesPerDay - 1);
            }

            for (int minute = 0; minute < MinutesPerDay; ++minute) {
                if (minute >= stopFrom && minute < stopTo)
                    continue;
                std::poisson_distribution<int> perMinute(mean * shape[std::size_t(minute)]);
                for (int n = perMinute(random); n > 0; --n) {
                    const double pick = unit(random);
                    const int sensor = pick < SensorShares[0]                     ? 1
                                       : pick < SensorShares[0] + SensorShares[1] ? 2
                                                                                  : 3;
                    insert.run(day, minute, sensor, unit(random) >= DownShare);
                    ++result.triggers;
                }
            }
        }
        cn.Execute(QStringLiteral("COMMIT"));
    } catch (...) {
        QFile::remove(partPath);
        QFile::remove(partPath + QStringLiteral("-journal"));
        throw;
    }
    // The journal of the finished run is empty.
    QFile::remove(partPath + QStringLiteral("-journal"));

    QFile::remove(options.outPath);
    if (!QFile::rename(partPath, options.outPath))
        throw RuntimeError(
            err::PathFileAccessError,
            QStringLiteral("Could not move '%1' to '%2'.").arg(partPath, options.outPath));
    return result;
}

} // namespace brantock::datagen
