#pragma once

#include "platform/report/ReportDocument.h"

#include <QByteArray>
#include <QString>

namespace brantock::platform {

// An export filter of the report engine: it writes a report's pages as a file of its kind
// under its file name. The file is replaced whole or not at all.
class ExportFilter {
public:
    virtual ~ExportFilter() = default;

    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& fileName) { fileName_ = fileName; }

    // Writes the pages to FileName. Raises a run-time error when the file cannot be made or
    // written (ReportFile::write); no file is left under the name then.
    void Export(const ReportDocument& pages) const;

protected:
    // The file's bytes for the pages.
    virtual QByteArray render(const ReportDocument& pages) const = 0;
    // The kind of file, for error descriptions ("PDF file").
    virtual QString kindName() const = 0;

private:
    QString fileName_;
};

} // namespace brantock::platform
