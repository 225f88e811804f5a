// Logs triggers the way the counter does: every row on a connection of its own (open, insert,
// close). Prints each row id once its insert has returned, so a test that kills this process
// knows which rows must be in the file.
// Usage: datafile_writer <connection text> <count> <sensor>
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "runtime/RuntimeError.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

using brantock::platform::Connection;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: datafile_writer <connection text> <count> <sensor>\n");
        return 2;
    }
    const QString text = QString::fromUtf8(argv[1]);
    const int count = std::atoi(argv[2]);
    const int sensor = std::atoi(argv[3]);
    try {
        for (int i = 0; i < count; ++i) {
            Connection connection;
            connection.Open(text);
            connection.Execute(QStringLiteral("INSERT INTO Triggers (TriggerDate, TriggerTime, "
                                              "SensorID, SiteID, CountUp) VALUES (?, ?, ?, ?, ?)"),
                               {9000 + i / 1440, i % 1440, sensor, 0, true});
            const qint64 id = connection.Query(QStringLiteral("SELECT last_insert_rowid()"))
                                  .Fields(0)
                                  .toLongLong();
            connection.Close();
            std::printf("%lld\n", static_cast<long long>(id));
            std::fflush(stdout);
        }
    } catch (const brantock::RuntimeError& e) {
        std::fprintf(stderr, "datafile_writer: %s\n", e.what());
        return 1;
    }
    return 0;
}
