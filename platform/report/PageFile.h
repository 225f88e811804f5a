#pragma once

#include "platform/report/ReportDocument.h"

#include <QByteArray>
#include <QString>

namespace brantock::platform {

// The engine's own page file. Binary, little-endian:
//   12 bytes  magic "\x89BRPAGES\r\n\x1a\n" (a file mangled as text fails it at once)
//   u16       format version
//   u64       payload length
//   payload   a table of the distinct texts, then the caption and the pages, texts by index
//   32 bytes  SHA-256 of everything before it
// Every count, index and value is checked against the bytes there are and the ranges the
// painter accepts, so a damaged file is refused with an error and never drawn.
class PageFile {
public:
    static constexpr quint16 Version = 1;

    static QByteArray encode(const ReportDocument& document);
    // name: the file's name, for the error texts. Raises NotAPageFile for anything without
    // the magic, NewerPageFile for a later format, DamagedPageFile for everything else
    // that is not a whole, consistent page file.
    static ReportDocument decode(const QByteArray& bytes, const QString& name);
};

} // namespace brantock::platform
