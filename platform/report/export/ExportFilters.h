#pragma once

#include "platform/report/export/ExportFilter.h"

#include <memory>

namespace brantock::platform {

// Makes the engine's export filters by their class identifiers.
class ExportFilters {
public:
    static inline const QString PdfClassId =
        QStringLiteral("{013A8BB1-A25B-11D1-8BB6-00A0C98CD92B}");
    static inline const QString TextClassId =
        QStringLiteral("{22408F70-BAE4-11D1-8C04-82E667000000}");
    static inline const QString RtfClassId =
        QStringLiteral("{AC140830-A670-11D1-8BC7-24A9DB000000}");
    static inline const QString ExcelClassId =
        QStringLiteral("{A31CC8EE-A0BE-11D2-ACA7-00C04FA372BC}");

    // A new filter of the class, its identifier compared without regard to case; raises 429
    // for an identifier that names no filter.
    static std::unique_ptr<ExportFilter> create(const QString& classId);
};

} // namespace brantock::platform
