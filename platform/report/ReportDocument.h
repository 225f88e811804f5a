#pragma once

#include "platform/report/ReportPage.h"

#include <QString>

#include <vector>

namespace brantock::platform {

// A report's pages as they were laid out: the one source of the viewer, the printer and
// every export. Saved and loaded in the engine's own page file (PageFile).
class ReportDocument {
public:
    QString caption;
    std::vector<ReportPage> pages;

    int Count() const { return int(pages.size()); }

    // Raises as ReportFile::write does; the file is replaced whole or not at all.
    void Save(const QString& fileName) const;
    // Raises 53 for a missing file, 75 for one that cannot be read, and the page file
    // errors for anything that is not a whole page file of a known version.
    static ReportDocument Load(const QString& fileName);

    bool operator==(const ReportDocument&) const = default;
};

} // namespace brantock::platform
