#pragma once

#include "platform/data/MemoryRecordset.h"

#include <optional>

namespace brantock::platform {

// The report's data control: the record set whose rows the report prints, one detail
// instance per row, as the record set sees them (a filter it has applies). Bound fields
// find their data field in it by name.
class ReportDataControl {
public:
    // The control keeps a cursor of its own on the rows; the report reads them when it runs.
    void SetRecordset(const MemoryRecordset& rows) { rows_ = rows; }
    const std::optional<MemoryRecordset>& Recordset() const { return rows_; }

private:
    std::optional<MemoryRecordset> rows_;
};

} // namespace brantock::platform
