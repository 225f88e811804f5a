#pragma once

#include "tests/support/TemporaryRegistry.h"
#include "tests/support/TestEnvironment.h"
#include "tools/portsim/PeerServer.h"

#include <QString>

#include <map>
#include <memory>

namespace brantock::counter::testsupport {

// Every port from 1 to 16 named as a simulated port in a scratch folder (the machine's
// "Ports" settings of the registry given), so no test reaches a real serial device. A port
// has no peer, and fails to open as a missing one, until serve() gives it one.
class SimulatedPorts {
public:
    explicit SimulatedPorts(brantock::testsupport::TemporaryRegistry& registry);

    // The port's peer, echoing what it receives; made on first use.
    portsim::PeerServer& serve(int port);
    QString device(int port) const;

private:
    brantock::testsupport::ScratchFolder folder_;
    std::map<int, std::unique_ptr<portsim::PeerServer>> peers_;
};

} // namespace brantock::counter::testsupport
