#include "reports/clsBrantockReports.h"

#include "foundation/ReportingHandler.h"
#include "reports/Main.h"

#include <QDBusConnection>

namespace brantock::reports {

clsBrantockReports::clsBrantockReports(QObject* parent) : QObject(parent) {}

bool clsBrantockReports::Register(QDBusConnection bus) {
    if (!bus.isConnected())
        return false;
    if (!bus.registerObject(ObjectPath, this, QDBusConnection::ExportScriptableSlots))
        return false;
    if (!bus.registerService(ServiceName)) {
        bus.unregisterObject(ObjectPath);
        return false;
    }
    return true;
}

void clsBrantockReports::Run() {
    ++calls_;
    ReportingHandler::WithSource("Run&").run([] { Main(); });
    Q_EMIT ran();
}

} // namespace brantock::reports
