#include "multiport/core/modMultiPort.h"

#include "foundation/App.h"
#include "foundation/modRegistry.h"
#include "foundation/StartupEntry.h"
#include "multiport/core/MultiPortSettings.h"

namespace brantock::multiport {

void GetMultiPortSettings(QString& port1, QString& port2, QString& tag1, QString& tag2) {
    port1 = GetRegSetting(settings::Port1, settings::Hive);
    port2 = GetRegSetting(settings::Port2, settings::Hive);
    tag1 = GetRegSetting(settings::Port1Tag, settings::Hive);
    tag2 = GetRegSetting(settings::Port2Tag, settings::Hive);
}

QString LoaderPath() {
    return App::Path() + u'/' + LoaderFileName;
}

bool GetRunOnStartup() {
    return StartupEntry::Starts(LoaderPath());
}

void SetRunOnStartup(bool enable) {
    if (enable)
        StartupEntry::Write(LoaderPath());
    else
        StartupEntry::Remove();
}

} // namespace brantock::multiport
