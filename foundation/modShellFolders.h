#pragma once

#include <QString>

#include <cstdint>

namespace brantock {

// Folder identifiers the programs ask for.
namespace csidl {
constexpr std::int32_t Desktop = 0x0000;
constexpr std::int32_t Personal = 0x0005; // the user's documents
constexpr std::int32_t DesktopDirectory = 0x0010;
constexpr std::int32_t AppData = 0x001A;
constexpr std::int32_t LocalAppData = 0x001C;
constexpr std::int32_t FlagCreate = 0x8000;
} // namespace csidl

// The path of a special folder, or the empty text when there is none (a folder that does
// not exist counts as none unless create asks for it to be made).
QString GetSpecialFolder(std::int32_t folderId, bool create);

// The path the desktop names for a special folder, whether or not it exists yet; the empty
// text when it names none.
QString SpecialFolderPath(std::int32_t folderId);

} // namespace brantock
