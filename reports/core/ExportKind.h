#pragma once

#include <QString>

#include <cstdint>

namespace brantock::reports {

// A kind of file the report window saves the shown report as, by the number its File menu
// passes: what the save dialog shows for it and which export filter writes it.
struct ExportKind {
    static constexpr std::int32_t PageFile = 0;
    static constexpr std::int32_t Pdf = 1;
    static constexpr std::int32_t Text = 2;
    static constexpr std::int32_t RichText = 3;
    static constexpr std::int32_t Excel = 4;

    QString filter;    // the save dialog's filter text
    QString extension; // with its dot
    QString title;     // the save dialog's title
    // The class identifier of the kind's export filter; empty for the engine's page file.
    QString classId;

    // An unknown kind has an empty filter, extension and title and saves the page file.
    static ExportKind of(std::int32_t kind);
};

} // namespace brantock::reports
