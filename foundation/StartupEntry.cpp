#include "foundation/StartupEntry.h"

#include "foundation/modRegistry.h"

namespace brantock {

QString StartupEntry::Read() {
    return Cleaned(Reg_QueryValue(HKEY_LOCAL_MACHINE, RunKey, RunValueName, true).toString());
}

bool StartupEntry::Names(const QString& entry, const QString& programPath) {
    return Cleaned(entry).compare(programPath, Qt::CaseInsensitive) == 0;
}

bool StartupEntry::Starts(const QString& programPath) {
    return Names(Read(), programPath);
}

std::int32_t StartupEntry::Write(const QString& programPath) {
    return RegSetKeyValue(HKEY_LOCAL_MACHINE, RunKey, RunValueName, programPath, platform::REG_SZ,
                          true);
}

std::int32_t StartupEntry::Remove() {
    return Reg_DeleteValue(HKEY_LOCAL_MACHINE, RunKey, RunValueName);
}

} // namespace brantock
