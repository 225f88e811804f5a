#include "tools/portsim/PeerScript.h"

#include <optional>
#include <sstream>
#include <thread>

namespace brantock::portsim {

namespace {

std::optional<PeerServer::Line> lineNamed(const std::string& name) {
    if (name == "dsr")
        return PeerServer::Line::Dsr;
    if (name == "cts")
        return PeerServer::Line::Cts;
    if (name == "cd" || name == "dcd")
        return PeerServer::Line::Cd;
    return std::nullopt;
}

std::optional<bool> onOff(const std::string& word) {
    if (word == "1" || word == "on")
        return true;
    if (word == "0" || word == "off")
        return false;
    return std::nullopt;
}

// Reads an optional whole number; false when a word is there but is not one.
bool optionalNumber(std::istringstream& in, long& value) {
    std::string word;
    if (!(in >> word))
        return true;
    try {
        std::size_t used = 0;
        value = std::stol(word, &used);
        return used == word.size() && value >= 0;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

PeerScript::PeerScript(PeerServer& server, std::ostream& out, std::ostream& err)
    : server_(server), out_(out), err_(err) {}

void PeerScript::fail(const std::string& message) {
    failed_ = true;
    err_ << "brantock-portsim: " << message << std::endl;
}

bool PeerScript::run(const std::string& command) {
    std::istringstream in(command);
    std::string verb;
    if (!(in >> verb) || verb[0] == '#')
        return true;

    if (const std::optional<PeerServer::Line> line = lineNamed(verb)) {
        std::string word;
        const std::optional<bool> level = (in >> word) ? onOff(word) : std::nullopt;
        if (!level)
            fail(verb + " needs 0 or 1");
        else
            server_.setLevel(*line, *level);
    } else if (verb == "pulse") {
        std::string name;
        long count = 1, period = 1000;
        const std::optional<PeerServer::Line> line = (in >> name) ? lineNamed(name) : std::nullopt;
        if (!line || !optionalNumber(in, count) || !optionalNumber(in, period))
            fail("usage: pulse dsr|cts|cd [count] [period-us]");
        else
            server_.pulse(*line, int(count), std::chrono::microseconds(period));
    } else if (verb == "echo" || verb == "loop") {
        std::string word;
        const std::optional<bool> on = (in >> word) ? onOff(word) : std::nullopt;
        if (!on)
            fail(verb + " needs on or off");
        else if (verb == "echo")
            server_.setEcho(*on);
        else
            server_.setLoop(*on);
    } else if (verb == "send") {
        std::string text;
        std::getline(in >> std::ws, text);
        server_.send(QByteArray::fromStdString(text));
    } else if (verb == "show") {
        const platform::ModemLines levels = server_.levels();
        out_ << "dtr=" << server_.dtr() << " rts=" << server_.rts() << " dsr=" << levels.dsr
             << " cts=" << levels.cts << " cd=" << levels.cd << " client=" << server_.hasClient()
             << std::endl;
    } else if (verb == "received") {
        out_ << "received " << server_.takeReceived().toHex().toStdString() << std::endl;
    } else if (verb == "wait-client" || verb == "wait-gone") {
        long timeout = 10000;
        if (!optionalNumber(in, timeout)) {
            fail("usage: " + verb + " [timeout-ms]");
        } else if (verb == "wait-client") {
            if (server_.waitClient(std::chrono::milliseconds(timeout)))
                out_ << "connected" << std::endl;
            else
                fail("no port connected within " + std::to_string(timeout) + " ms");
        } else if (server_.waitNoClient(std::chrono::milliseconds(timeout))) {
            out_ << "gone" << std::endl;
        } else {
            fail("the port stayed connected for " + std::to_string(timeout) + " ms");
        }
    } else if (verb == "sleep") {
        long ms = 0;
        if (!optionalNumber(in, ms))
            fail("usage: sleep MS");
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    } else if (verb == "drop") {
        server_.dropClient();
    } else if (verb == "quit") {
        return false;
    } else {
        fail("unknown command: " + command);
    }
    return true;
}

} // namespace brantock::portsim
