#include "foundation/modbrUtilsData.h"

#include "foundation/App.h"
#include "foundation/FoundationSettings.h"
#include "foundation/modbrUtils.h"
#include "foundation/modRegistry.h"
#include "foundation/modShellFolders.h"
#include "foundation/ReportingHandler.h"
#include "platform/data/Connection.h"
#include "platform/data/ConnectionText.h"
#include "platform/data/Recordset.h"
#include "runtime/RuntimeError.h"

#include <QDir>

namespace brantock {

namespace {
const QString DefaultFileName = QStringLiteral("/data.hbd");
}

QString GetDataPath(QString& fileName) {
    return withTrail("GetDataPath&", [&] {
        if (CachedDataPath.size() > 1)
            return CachedDataPath;
        if (!fileName.startsWith(u'/'))
            fileName.prepend(u'/');
        if (!CommandLineDataPath.isEmpty()) {
            CachedDataPath = CommandLineDataPath;
            return CachedDataPath;
        }
        CachedDataPath = GetRegSettingHiveFallback(settings::DatabasePath);
        if (CachedDataPath.isEmpty()) {
            // Proposed even before the documents folder exists (a fresh account has none):
            // making a new data file there makes the folder, so no path is left to invent.
            QString documents = SpecialFolderPath(csidl::Personal);
            if (documents.isEmpty())
                documents = QDir::homePath();
            CachedDataPath = documents + QStringLiteral("/Brantock") + fileName;
            const QString beside = App::Path() + fileName;
            if (!DoesFileExist(CachedDataPath, 0) && DoesFileExist(beside, 0))
                CachedDataPath = beside;
        }
        return CachedDataPath;
    });
}

QString GetDataPath() {
    QString fileName = DefaultFileName;
    return GetDataPath(fileName);
}

void SaveDataPath(const QString& path) {
    ReportingHandler("SaveDataPath&", "Storing the data file location").run([&] {
        if (!CommandLineDataPath.isEmpty())
            CommandLineDataPath = path;
        else
            SetRegSetting(settings::DatabasePath, path, RegistryHive);
    });
}

void ResetData() {
    withTrail("ResetData&", [] { CachedDataPath.clear(); });
}

QString ConnectionString(const QString& path) {
    QString text;
    ReportingHandler("ConnectionString&").run([&] {
        const QString p = path.isEmpty() ? GetDataPath() : path;
        // Quoted where the path would otherwise end early or lose its blanks.
        text = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") +
               platform::ConnectionText::quote(p) +
               QStringLiteral("; Jet OLEDB:Database Password = ") +
               platform::ConnectionText::quote(DataPassword);
    });
    return text;
}

bool OpenCN(DataConnection& connection, const QString& path) {
    bool opened = false;
    ReportingHandler("OpenCN&").run({
        [&] {
            connection = std::make_unique<platform::Connection>();
            connection->Open(ConnectionString(path));
        },
        [&] { opened = true; },
    });
    return opened;
}

DataConnection OpenConnection() {
    return withTrail("OpenConnection&", [] {
        DataConnection connection;
        OpenCN(connection, QString());
        return connection;
    });
}

bool CloseCN(DataConnection& connection) {
    bool closed = false;
    ReportingHandler("CloseCN&")
        .run({
            [&] {
                if (connection && connection->State() != platform::Connection::StateClosed)
                    connection->Close();
            },
            [&] { connection.reset(); },
            [&] { closed = true; },
        });
    return closed;
}

bool CheckData(const QString& path) {
    bool result = false;
    QString p = path;
    DataConnection connection;
    ReportingHandler("CheckData&")
        .run({
            [&] {
                if (p.isEmpty())
                    p = GetDataPath();
            },
            [&] { return DoesFileExist(p, 0) ? Flow::Next : Flow::Leave; },
            [&] { return OpenCN(connection, p) ? Flow::Next : Flow::Leave; },
            [&] {
                if (connection)
                    result = CheckDataStructure(*connection);
            },
            [&] { CloseCN(connection); },
        });
    // A connection left open by an answer that gave up is not kept.
    if (connection)
        CloseCN(connection);
    return result;
}

bool CheckDataStructure(platform::Connection& connection) {
    if (connection.State() != platform::Connection::StateOpen)
        return false;
    int level = 0;
    bool found = false;
    // A failing statement of the scan is passed over and the scan goes on.
    try {
        platform::Recordset columns = connection.Columns(QStringLiteral("Triggers"));
        while (!columns.IsEOF()) {
            try {
                const QString name =
                    columns.Fields(QStringLiteral("COLUMN_NAME")).toString().toLower();
                if (name == u"triggerdate" || name == u"triggertime") {
                    level = std::max(level, 1);
                    found = true;
                } else if (name == u"sensorid" || name == u"siteid" || name == u"archived" ||
                           name == u"countup") {
                    level = std::max(level, 2);
                    found = true;
                }
            } catch (const RuntimeError&) {
            }
            columns.MoveNext();
        }
    } catch (const RuntimeError&) {
        // The schema could not be read: the file is reported as not usable.
    }
    SiteLoaded = false;
    if (!found)
        return false;
    DataVersion = static_cast<std::int16_t>(level);
    return true;
}

} // namespace brantock
