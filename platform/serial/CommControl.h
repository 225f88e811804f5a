#pragma once

#include "platform/serial/ChangeQueue.h"
#include "platform/serial/LineChange.h"
#include "platform/serial/SerialBackend.h"
#include "platform/serial/SerialSettings.h"

#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace brantock::platform {

// The serial-port control the counter's `comPort` is. Lives on the window thread; `OnComm`
// is raised there once for every change of DSR, CTS or DCD, in the order they happened,
// wherever that thread handles events, inside a handler that lets events run too.
// While a handler runs, `DSRHolding`, `CTSHolding` and `CDHolding` give the levels as they
// stood right after its change; outside a handler they give the levels now. A closed port
// reads all three as false. Failures raise RuntimeError with the control's numbers.
class CommControl : public QObject {
    Q_OBJECT
public:
    // The device text a port number names, empty when none.
    using Resolver = std::function<QString(int port)>;
    // The backend for a device text; null when the text names no kind of device.
    using BackendFactory = std::function<std::unique_ptr<SerialBackend>(const QString& device)>;

    // Deliveries inside handlers stop this deep, so a long burst whose handlers all let events
    // run cannot overflow the stack; the changes beyond wait for the innermost to return.
    static constexpr std::size_t MaxNesting = 1000;

    explicit CommControl(QObject* parent = nullptr);
    CommControl(Resolver resolver, BackendFactory factory, QObject* parent = nullptr);
    ~CommControl() override;

    // "sim:<socket path>" gives the simulated port, anything else a tty device.
    static std::unique_ptr<SerialBackend> backendFor(const QString& device);

    int CommPort() const { return commPort_; }
    void SetCommPort(int port);

    bool PortOpen() const;
    void SetPortOpen(bool open);

    QString Settings() const { return settingsText_; }
    void SetSettings(const QString& text);

    // 0: text, the one mode offered.
    int InputMode() const { return 0; }
    void SetInputMode(int mode);

    bool DTREnable() const { return dtr_; }
    void SetDTREnable(bool on);
    bool RTSEnable() const { return rts_; }
    void SetRTSEnable(bool on);

    bool DSRHolding() const;
    bool CTSHolding() const;
    bool CDHolding() const;

    // The change being delivered: comEvDSR, comEvCTS or comEvCD; 0 outside `OnComm`.
    int CommEvent() const;
    // When the backend saw the change being delivered (the clock's monotonic milliseconds);
    // outside `OnComm`, now.
    qint64 ChangeTime() const;

    // Sends text, one byte per character (Latin-1).
    void SetOutput(const QString& text);
    // Everything received since the last read, one character per byte.
    QString Input();

Q_SIGNALS:
    void OnComm();

private:
    ModemLines levels() const;
    bool backendAlive() const;
    void releaseBackend();
    void deliver();
    void raiseOnComm();
    const LineChange* current() const;

    Resolver resolver_;
    BackendFactory factory_;
    int commPort_ = 1;
    QString settingsText_ = QStringLiteral("9600,n,8,1");
    SerialSettings settings_;
    bool dtr_ = true;
    bool rts_ = false;

    std::unique_ptr<SerialBackend> backend_;
    std::shared_ptr<ChangeQueue> changes_;
    QPointer<QSocketNotifier> notifier_;
    // The changes whose handlers run, innermost last, each with the opening it came from.
    struct Delivery {
        LineChange change;
        quint64 opening = 0;
    };
    std::vector<Delivery> deliveries_;
    quint64 opening_ = 0;
};

} // namespace brantock::platform
