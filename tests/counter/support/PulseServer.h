#pragma once

#include "tests/support/TestEnvironment.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

namespace brantock::counter::testsupport {

// A PulseAudio daemon of a test's own, without a sound card: one null sink, whose monitor
// gives back what was played, and no configuration of the user's or the machine's. Its
// socket lies in a scratch folder; clients reach it through PULSE_SERVER.
class PulseServer {
public:
    static constexpr const char* Sink = "brantock_test";

    // Starts the daemon and waits until it takes connections.
    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    bool running() const { return failure_.isEmpty(); }
    // Why the daemon is not running: the empty text while it is.
    QString failure() const { return failure_; }
    // The value of PULSE_SERVER that reaches it.
    QByteArray address() const;
    // An environment for a client program of this daemon.
    QProcessEnvironment clientEnvironment() const;

private:
    brantock::testsupport::ScratchFolder folder_;
    QProcessEnvironment environment_;
    QProcess daemon_;
    QString failure_;
};

} // namespace brantock::counter::testsupport
