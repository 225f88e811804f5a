#include "foundation/FoundationState.h"

namespace brantock {

namespace {
FoundationState state;
}

FoundationState& FoundationState::Current() {
    return state;
}

void FoundationState::Reset() {
    state = FoundationState{};
}

// The modules' names for the values; bound once, so a reset is seen through every one.
platform::HKEY& RegistryHive = state.RegistryHive;
QString& CommandLinePort = state.CommandLinePort;
QString& CommandLineDataPath = state.CommandLineDataPath;
bool& MultiPort = state.MultiPort;
QString& InstanceTag = state.InstanceTag;
QString& CommandLineSiteName = state.CommandLineSiteName;
std::int16_t& CommandLineSiteID = state.CommandLineSiteID;
std::uint8_t& CommandLineInterfaceOffset = state.CommandLineInterfaceOffset;
QString& CachedDataPath = state.CachedDataPath;
std::int16_t& DataVersion = state.DataVersion;
bool& SiteLoaded = state.SiteLoaded;
bool& DataFileCancelled = state.DataFileCancelled;

} // namespace brantock
