#pragma once

#include "runtime/ProductConfig.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace brantock {

namespace platform {
class Connection;
}

// The data file: where it is, how a connection to it is opened, and whether a file is a
// usable data file and of which format level.
using DataConnection = std::unique_ptr<platform::Connection>;

// The path found by the last look-up; empty until then and after ResetData.
extern QString& CachedDataPath;
// Format level of the data file last checked: 1 first format, 2 second; 0 before any check.
extern std::int16_t& DataVersion;
// Cleared by every check that reaches the column scan, so the site is validated again.
extern bool& SiteLoaded;

inline const QString DataPassword = QString::fromLatin1(config::DataPassword);

QString GetDataPath(QString& fileName);
QString GetDataPath();
void SaveDataPath(const QString& path);
void ResetData();
QString ConnectionString(const QString& path);
bool OpenCN(DataConnection& connection, const QString& path);
DataConnection OpenConnection();
bool CloseCN(DataConnection& connection);
bool CheckData(const QString& path);
bool CheckDataStructure(platform::Connection& connection);

} // namespace brantock
