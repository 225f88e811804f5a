#include "counter/core/DataLogger.h"

#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/core/CounterWindow.h"
#include "counter/core/modMain.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modRegistry.h"
#include "foundation/ReportingHandler.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/serial/CommControl.h"
#include "runtime/Clock.h"
#include "runtime/DateMath.h"
#include "runtime/RuntimeError.h"

#include <cstdlib>
#include <optional>

namespace brantock::counter {

namespace {

constexpr int TickInterval = 60000;
// 1 January 2000 is day 0 of the data file.
constexpr std::int32_t FirstDay = 36526;

std::int32_t serialDate(DateValue now) {
    return static_cast<std::int32_t>(now.dateOnly().serial());
}

std::int32_t dayNumber(DateValue when) {
    return serialDate(when) - FirstDay;
}

// Whole minutes since midnight, the seconds' fraction dropped.
std::int32_t minuteOfDay(DateValue when) {
    return when.time().msecsSinceStartOfDay() / 1000 / 60;
}

std::int32_t dayNumber() {
    return dayNumber(Clock::current().now());
}

std::int32_t minuteOfDay() {
    return minuteOfDay(Clock::current().now());
}

QString number(qint64 value) {
    return QString::number(value);
}

// The latest period of this instance only: two counters writing into one file keep their
// rows apart. First-format files cannot tell instances apart.
QString instanceCondition() {
    if (DataVersion == 1)
        return QString();
    return QStringLiteral(" AND Machine=? AND Interface=? AND InterfaceOffset=") +
           number(InterfaceOffset) + QStringLiteral(" AND SiteID = ") + number(SiteID);
}

QVariantList instanceValues() {
    if (DataVersion == 1)
        return {};
    return {ComputerNameText, InterfaceName};
}

void showStatus(const QString& text) {
    QString status = text;
    CounterWindow::current().UpdateStatus(status, true);
}

} // namespace

DataLogger::DataLogger(platform::CommControl& comPort, QObject* parent)
    : QObject(parent), comPort_(comPort) {
    connect(&timApp, &QTimer::timeout, this, &DataLogger::timApp_Timer);
    timApp.setInterval(1);
    timApp.start();
}

bool DataLogger::LogToDatabase() const {
    return LoggingEnabled;
}

void DataLogger::SetLogToDatabase(bool value) {
    withTrail("Property Let Log to Database&", [&] {
        LoggingEnabled = value;
        CounterWindow::current().SetIconVisible(CounterWindow::Icon::LogToDatabase, !value);
        SetRegSetting(settings::LogToDatabase, value ? QStringLiteral("1") : QStringLiteral("0"),
                      RegistryHive);
        showStatus(value ? QStringLiteral("Logging is on") : QStringLiteral("Logging is off"));
    });
}

void DataLogger::LogTrigger(std::int16_t sensorNumber, bool countUp) {
    LogTrigger(sensorNumber, countUp, Clock::current().now());
}

void DataLogger::LogTrigger(std::int16_t sensorNumber, bool countUp, DateValue when) {
    withTrail("LogTrigger&", [&] {
        if (!LogToDatabase())
            return;
        DataConnection connection = OpenConnection();
        if (DataVersion != 1) {
            CheckSiteLoaded();
            const std::int32_t day = dayNumber(when);
            const std::int32_t minute = minuteOfDay(when);
            connection->Execute(QStringLiteral("INSERT INTO triggers (TriggerDate, TriggerTime, "
                                               "SensorID,SiteID,CountUp) SELECT ") +
                                    number(day) + QStringLiteral(" , ") + number(minute) + u',' +
                                    number(SensorIDBase + sensorNumber) + u',' + number(SiteID) +
                                    QStringLiteral(",?"),
                                {countUp});
        } else if (countUp) {
            const std::int32_t day = dayNumber(when);
            const std::int32_t minute = minuteOfDay(when);
            connection->Execute(QStringLiteral("INSERT INTO triggers (TriggerDate, TriggerTime ) "
                                               "SELECT ") +
                                number(day) + QStringLiteral(" , ") + number(minute));
        }
        CloseCN(connection);
        Q_EMIT rowCommitted();
    });
}

void DataLogger::CheckForClockChange() {
    ReportingHandler("CheckForClockChange&", "checking for changes to the system clock")
        .run({
            [&] {
                const qint64 hours =
                    DateMath::DateDiff(QStringLiteral("h"), LastClockCheck, Clock::current().now());
                if (std::llabs(hours) > 1)
                    CounterWindow::current().ShowClockWarning();
            },
            [&] { LastClockCheck = Clock::current().now(); },
        });
}

void DataLogger::timApp_Timer() {
    DataConnection connection;
    QString minute;
    QString condition;
    std::optional<platform::Recordset> latest;
    ReportingHandler("timApp_Timer&", "processing the main application timer event")
        .run({
            [&] { return CountingStarted ? Flow::Next : Flow::Leave; },
            [&] { CheckForClockChange(); },
            [&] {
                if (timApp.interval() != TickInterval) {
                    timApp.setInterval(TickInterval);
                    return;
                }
                const std::int32_t today = serialDate(Clock::current().now());
                if (today > LastCountDay) {
                    if (DailyReset)
                        CounterWindow::current().ResetCounter();
                    LastCountDay = today;
                }
            },
            // The interface test: a tick without a working interface records no activity.
            [&] {
                if (ManualTriggerMode || comPort_.PortOpen())
                    return Flow::Next;
                showStatus(QStringLiteral("The com port has been closed"));
                return Flow::Leave;
            },
            [&] {
                if (!ManualTriggerMode)
                    comPort_.SetOutput(QStringLiteral("Test"));
            },
            [&] {
                if (!ManualTriggerMode)
                    Pause(100);
            },
            [&] {
                if (ManualTriggerMode || comPort_.Input() == u"Test")
                    return Flow::Next;
                showStatus(QStringLiteral("No response from Brantock on com port ") +
                           number(comPort_.CommPort()));
                return Flow::Leave;
            },
            [&] { CounterWindow::current().UpdateDetails(); },
            [&] { return LogToDatabase() ? Flow::Next : Flow::Leave; },
            [&] { OpenCN(connection, QString()); },
            [&] { minute = number(minuteOfDay()); },
            [&] {
                // At the first upkeep of a run and after midnight: the new day, and a minute
                // that belongs to it.
                while (number(dayNumber()) != CurrentActivityDate) {
                    CurrentActivityDate = number(dayNumber());
                    minute = number(minuteOfDay());
                }
            },
            [&] {
                if (DataVersion != 1)
                    CheckSiteLoaded();
                condition = instanceCondition();
            },
            [&] {
                const QString sql =
                    DataVersion == 1
                        ? QStringLiteral("SELECT AppActivity.ActiveTo FROM AppActivity WHERE "
                                         "AppActivity.ActiveDate= ") +
                              CurrentActivityDate +
                              QStringLiteral(" ORDER BY AppActivity.ActiveTo DESC LIMIT 1")
                        : QStringLiteral("SELECT AppActivity.ActiveTo FROM AppActivity WHERE "
                                         "AppActivity.ActiveDate=") +
                              CurrentActivityDate + condition +
                              QStringLiteral(" ORDER BY AppActivity.ActiveTo DESC LIMIT 1");
                latest.emplace(connection->Query(sql, instanceValues()));
            },
            [&] {
                if (latest->IsEOF()) {
                    connection->Execute(BuildActivityInsertSQL(CurrentActivityDate, minute),
                                        ActivityInsertValues());
                    return;
                }
                const qint64 last = latest->Fields(QStringLiteral("ActiveTo")).toLongLong();
                if (minute.toLongLong() - last > 2) {
                    connection->Execute(BuildActivityInsertSQL(CurrentActivityDate, minute),
                                        ActivityInsertValues());
                    return;
                }
                // Also a clock set back: the period ends at the minute now.
                connection->Execute(QStringLiteral("UPDATE AppActivity SET ActiveTo = ") + minute +
                                        QStringLiteral(" where ActiveTo= ") + number(last) +
                                        QStringLiteral(" And  ActiveDate= ") + CurrentActivityDate +
                                        condition,
                                    instanceValues());
            },
            [&] {
                latest.reset();
                CloseCN(connection);
            },
        });
}

QString DataLogger::BuildActivityInsertSQL(const QString& day, const QString& minute) const {
    if (DataVersion == 1)
        return QStringLiteral(
                   "INSERT INTO AppActivity (ActiveDate, ActiveFrom, ActiveTo) SELECT ") +
               day + QStringLiteral(" , ") + minute + QStringLiteral(" , ") + minute;
    if (DataVersion == 2 || DataVersion == 3)
        return QStringLiteral("INSERT INTO AppActivity (ActiveDate, ActiveFrom, "
                              "ActiveTo,Machine,Interface,InterfaceOffset,SiteID) SELECT ") +
               day + u',' + minute + u',' + minute + QStringLiteral(",?,?,") +
               number(InterfaceOffset) + u',' + number(SiteID);
    return QString();
}

QVariantList DataLogger::ActivityInsertValues() const {
    if (DataVersion == 2 || DataVersion == 3)
        return {ComputerNameText, InterfaceName};
    return {};
}

} // namespace brantock::counter
