#pragma once

#include "runtime/DateValue.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantList>

#include <cstdint>

namespace brantock::platform {
class CommControl;
}

namespace brantock::counter {

// What the counter writes into the data file: one Triggers row per counted trigger, and the
// AppActivity rows that record when this instance ran, kept up by the main timer together
// with the clock check, the daily reset, the interface test and the details refresh. Every
// write opens its own connection and closes it again, so the file stays free for the other
// counter and the reports between writes.
class DataLogger : public QObject {
    Q_OBJECT
public:
    explicit DataLogger(platform::CommControl& comPort, QObject* parent = nullptr);

    bool LogToDatabase() const;
    void SetLogToDatabase(bool value);

    // One Triggers row for a trigger at `when`, by default now.
    void LogTrigger(std::int16_t sensorNumber, bool countUp);
    void LogTrigger(std::int16_t sensorNumber, bool countUp, DateValue when);
    void CheckForClockChange();
    void timApp_Timer();
    // The insert of a new activity period at minute of day; for the full format its machine
    // and interface are bound, ActivityInsertValues gives them.
    QString BuildActivityInsertSQL(const QString& day, const QString& minute) const;
    QVariantList ActivityInsertValues() const;

    QTimer timApp;

Q_SIGNALS:
    // A Triggers row was inserted and its connection closed, so the row is committed.
    void rowCommitted();

private:
    platform::CommControl& comPort_;
    bool LoggingEnabled = false;
    QString CurrentActivityDate;
};

} // namespace brantock::counter
