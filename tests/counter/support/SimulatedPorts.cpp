#include "tests/counter/support/SimulatedPorts.h"

#include "platform/serial/PortDeviceMap.h"

namespace brantock::counter::testsupport {

SimulatedPorts::SimulatedPorts(brantock::testsupport::TemporaryRegistry& registry) {
    QByteArray hive = "Windows Registry Editor Version 5.00\n\n"
                      "[HKEY_LOCAL_MACHINE\\Software\\Halvern\\Brantock\\Ports]\n";
    for (int port = platform::PortDeviceMap::FirstPort; port <= platform::PortDeviceMap::LastPort;
         ++port)
        hive += "\"Com" + QByteArray::number(port) + "\"=\"" + device(port).toUtf8() + "\"\n";
    registry.writeHive(platform::HKEY_LOCAL_MACHINE, hive);
}

portsim::PeerServer& SimulatedPorts::serve(int port) {
    std::unique_ptr<portsim::PeerServer>& peer = peers_[port];
    if (!peer)
        peer = std::make_unique<portsim::PeerServer>(
            folder_.file(QStringLiteral("com%1.sock").arg(port)).toStdString());
    return *peer;
}

QString SimulatedPorts::device(int port) const {
    return QStringLiteral("sim:") + folder_.file(QStringLiteral("com%1.sock").arg(port));
}

} // namespace brantock::counter::testsupport
