#pragma once

#include <QString>

#include <cstdint>

namespace brantock::platform {
class Report;
}

namespace brantock::reports {

// The reports program's module procedures that need no window. (The start-up Main, which
// shows the window, is with the windows.)

// Writes the report's pages to FileName as the kind's file (ExportKind): kinds 1 to 4
// through their export filter, any other kind as the engine's page file. True when the file
// was written; a failed write, or no report, is false and leaves no file under the name.
// An error in making the filter is raised again with "SaveReport&" in front of its source.
bool SaveReport(const platform::Report* report, const QString& FileName, std::int32_t kind);

} // namespace brantock::reports
