#pragma once

#include "platform/settings/RegistryApi.h"

#include <QString>

#include <cstdint>

namespace brantock {

// Every process-wide value of the shared modules, kept together so that one assignment puts
// them all back as a new process has them. The modules' own names (CommandLinePort,
// CachedDataPath, ...) refer into the one instance. A program's own state resets this too.
struct FoundationState {
    // modRegistry
    platform::HKEY RegistryHive = platform::HKEY_CURRENT_USER;
    // modbrUtils: the command line and what it gave
    bool CommandLineSet = false;
    QString CommandLine;
    QString CommandLinePort;
    QString CommandLineDataPath;
    bool MultiPort = false;
    QString InstanceTag;
    QString CommandLineSiteName;
    std::int16_t CommandLineSiteID = 0;
    std::uint8_t CommandLineInterfaceOffset = 0;
    // modbrUtilsData
    QString CachedDataPath;
    std::int16_t DataVersion = 0;
    bool SiteLoaded = false;
    // App
    QString AppTitle;
    QString AppPath;
    QString AppHelpFile;
    // The data-file dialog
    bool DataFileCancelled = false;

    static FoundationState& Current();
    // Back to the values of a new process.
    static void Reset();
};

} // namespace brantock
