#pragma once

#include "tools/portsim/PeerServer.h"

#include <atomic>
#include <ostream>
#include <string>

namespace brantock::portsim {

// Runs the peer's text commands, one a line, as given on the command line or standard input:
//   dsr|cts|cd 0|1                       set an input line
//   pulse dsr|cts|cd [count] [period-us] invert the line and restore it, count times
//   echo on|off, loop on|off             echo received bytes; DCD follows RTS, CTS DTR
//   send TEXT                            bytes for the port to receive
//   show                                 prints "dtr=1 rts=0 dsr=0 cts=0 cd=0 client=1"
//   received                             prints "received <hex>" of what the port sent
//   wait-client [timeout-ms]             waits for a port to connect, prints "connected"
//   wait-gone [timeout-ms]               waits for the port to close, prints "gone"
//   sleep MS, drop (hang up on the port), quit
// Blank lines and lines starting with "#" are skipped.
class PeerScript {
public:
    PeerScript(PeerServer& server, std::ostream& out, std::ostream& err);

    // False once the command was quit.
    bool run(const std::string& command);
    // Whether any command was wrong or timed out.
    // Read from the thread that ends the program on a signal too.
    bool failed() const { return failed_.load(); }

private:
    void fail(const std::string& message);

    PeerServer& server_;
    std::ostream& out_;
    std::ostream& err_;
    std::atomic<bool> failed_{false};
};

} // namespace brantock::portsim
