#pragma once

#include <QString>

#include <cstdint>

namespace brantock {

// Start-up values taken from the command line by ParseCommandLine (empty, 0 or false when
// the key is absent).
extern QString& CommandLinePort;
extern QString& CommandLineDataPath;
extern bool& MultiPort;
extern QString& InstanceTag;
extern QString& CommandLineSiteName;
extern std::int16_t& CommandLineSiteID;
extern std::uint8_t& CommandLineInterfaceOffset;

// The process's command-line text: its arguments (without the program) joined with blanks.
QString CommandLineText();
// Replaces that text (the launchers' own tests and the programs' tests).
void setCommandLineText(const QString& text);

// Fills the start-up values from the command-line text of comma-separated key=value items.
void ParseCommandLine();
// The value of the first item beginning with key (case ignored), or the empty text.
QString ExtractCommandParamater(const QString& key, const QString& text);
bool StringToBoolean(const QString& text);

// True when a listing of path with the attributes (0 files, 16 folders and files) finds a
// name; a path that cannot be listed sets badPath.
bool DoesFileExist(const QString& path, std::int32_t attributes, bool& badPath);
bool DoesFileExist(const QString& path, std::int32_t attributes = 0);

// Shows a modal message box and returns the number of the button pressed.
int Message(const QString& prompt, std::int32_t buttons, const QString& title);

bool SetHelpFile(const QString& htmlHelpFile, const QString& winHelpFile);
// The user guide that the help file names: help/<name without extension>.html in the
// program folder.
QString HelpGuidePath();

void MakeDirPath(const QString& path);
bool IsDirectory(const QString& path);

QString TrimNull(const QString& text);
QString GetFilePath(const QString& path);
QString ExtractFileName(const QString& path);
QString RemoveExtention(const QString& path, const QString& extension);
void Pause(std::int32_t milliseconds);

} // namespace brantock
