#include "tools/portsim/PeerScript.h"
#include "tools/portsim/PeerServer.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <pthread.h>
#include <unistd.h>

using brantock::portsim::PeerScript;
using brantock::portsim::PeerServer;

namespace {

constexpr const char* Usage =
    "usage: brantock-portsim --socket PATH [--echo|--silent] [--loop] [--serve] [COMMAND...]\n"
    "Serves the simulated serial port that the device text sim:PATH names.\n"
    "Each COMMAND argument is one command; standard input is read next, one command a line,\n"
    "until quit or its end. With --serve the peer then keeps serving until SIGINT or SIGTERM.\n"
    "Commands: dsr|cts|cd 0|1, pulse dsr|cts|cd [count] [period-us], echo on|off,\n"
    "loop on|off, send TEXT, show, received, wait-client [ms], wait-gone [ms], sleep MS,\n"
    "drop, quit.\n";

// Ends the program on SIGINT or SIGTERM whatever the main thread is doing (reading a command,
// sending a long train), removing the socket first.
void endOnSignal(const sigset_t& endSignals, const std::string& socketPath,
                 const PeerScript& script) {
    std::thread([endSignals, socketPath, &script] {
        int received = 0;
        sigwait(&endSignals, &received);
        ::unlink(socketPath.c_str());
        std::cout.flush();
        std::_Exit(script.failed() ? 1 : 0);
    }).detach();
}

} // namespace

int main(int argc, char** argv) {
    // Signals that end the program are taken by sigwait, not by a handler; every thread
    // started from here on inherits the blocked set.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);

    std::string socketPath;
    bool echo = true, loop = false, serve = false;
    std::vector<std::string> commands;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--socket" && i + 1 < argc)
            socketPath = argv[++i];
        else if (arg == "--echo")
            echo = true;
        else if (arg == "--silent")
            echo = false;
        else if (arg == "--loop")
            loop = true;
        else if (arg == "--serve")
            serve = true;
        else if (arg == "--help" || arg == "-h") {
            std::cout << Usage;
            return 0;
        } else if (arg.rfind("--", 0) == 0) {
            std::cerr << "brantock-portsim: unknown option " << arg << "\n" << Usage;
            return 2;
        } else
            commands.push_back(arg);
    }
    if (socketPath.empty()) {
        std::cerr << Usage;
        return 2;
    }

    std::unique_ptr<PeerServer> server;
    try {
        server = std::make_unique<PeerServer>(socketPath);
    } catch (const std::exception& e) {
        std::cerr << "brantock-portsim: " << e.what() << "\n";
        return 1;
    }
    server->setEcho(echo);
    server->setLoop(loop);
    std::cout << "serving " << socketPath << std::endl;

    PeerScript script(*server, std::cout, std::cerr);
    endOnSignal(endSignals, socketPath, script);
    bool going = true;
    for (const std::string& command : commands)
        if (going)
            going = script.run(command);
    std::string line;
    while (going && std::getline(std::cin, line))
        going = script.run(line);
    if (going && serve)
        for (;;)
            pause();
    return script.failed() ? 1 : 0;
}
