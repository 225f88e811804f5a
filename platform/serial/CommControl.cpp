#include "platform/serial/CommControl.h"

#include "platform/serial/CommErrors.h"
#include "platform/serial/PortDeviceMap.h"
#include "platform/serial/SimBackend.h"
#include "platform/serial/TtyBackend.h"

namespace brantock::platform {

namespace {
const QString SimPrefix = QStringLiteral("sim:");
}

CommControl::CommControl(QObject* parent)
    : CommControl(&PortDeviceMap::device, &CommControl::backendFor, parent) {}

CommControl::CommControl(Resolver resolver, BackendFactory factory, QObject* parent)
    : QObject(parent), resolver_(std::move(resolver)), factory_(std::move(factory)) {}

CommControl::~CommControl() {
    releaseBackend();
}

std::unique_ptr<SerialBackend> CommControl::backendFor(const QString& device) {
    if (device.startsWith(SimPrefix))
        return std::make_unique<SimBackend>(device.mid(SimPrefix.size()));
    return std::make_unique<TtyBackend>(device);
}

void CommControl::setCommPort(int port) {
    if (PortOpen())
        throw commError(comErr::PortOpened);
    if (port < PortDeviceMap::FirstPort || port > PortDeviceMap::LastPort)
        throw commError(comErr::InvalidPort);
    commPort_ = port;
}

bool CommControl::backendAlive() const {
    return backend_ && !changes_->vanished();
}

bool CommControl::PortOpen() const {
    return backendAlive();
}

void CommControl::setPortOpen(bool open) {
    if (!open) {
        releaseBackend();
        return;
    }
    if (backendAlive())
        throw commError(comErr::PortAlreadyOpen);
    releaseBackend();

    const QString device = resolver_ ? resolver_(commPort_) : QString();
    std::unique_ptr<SerialBackend> backend = device.isEmpty() ? nullptr : factory_(device);
    if (!backend)
        throw commError(comErr::InvalidPort);
    auto changes = std::make_shared<ChangeQueue>();
    backend->open(PortConfig{device, settings_, dtr_, rts_}, changes);

    backend_ = std::move(backend);
    changes_ = std::move(changes);
    notifier_ = new QSocketNotifier(changes_->wakeFd(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &CommControl::deliver);
}

void CommControl::releaseBackend() {
    current_.reset();
    if (notifier_) {
        notifier_->setEnabled(false);
        notifier_->deleteLater();
    }
    if (backend_)
        backend_->close();
    backend_.reset();
    changes_.reset();
}

void CommControl::setSettings(const QString& text) {
    const std::optional<SerialSettings> parsed = SerialSettings::parse(text);
    if (!parsed)
        throw commError(comErr::InvalidPropertyValue);
    if (backendAlive())
        backend_->applySettings(*parsed);
    settings_ = *parsed;
    settingsText_ = text;
}

void CommControl::setInputMode(int mode) {
    if (mode != 0)
        throw commError(comErr::InvalidPropertyValue);
}

void CommControl::setDTREnable(bool on) {
    dtr_ = on;
    if (backendAlive())
        backend_->setOutputLines(dtr_, rts_);
}

void CommControl::setRTSEnable(bool on) {
    rts_ = on;
    if (backendAlive())
        backend_->setOutputLines(dtr_, rts_);
}

ModemLines CommControl::levels() const {
    if (current_)
        return current_->levels;
    return backendAlive() ? backend_->inputLines() : ModemLines{};
}

bool CommControl::DSRHolding() const {
    return levels().dsr;
}
bool CommControl::CTSHolding() const {
    return levels().cts;
}
bool CommControl::CDHolding() const {
    return levels().cd;
}

void CommControl::setOutput(const QString& text) {
    if (!backendAlive())
        throw commError(comErr::PortNotOpen);
    backend_->write(text.toLatin1());
}

QString CommControl::Input() {
    if (!backendAlive())
        throw commError(comErr::PortNotOpen);
    return QString::fromLatin1(backend_->readAll());
}

void CommControl::deliver() {
    const std::shared_ptr<ChangeQueue> changes = changes_;
    if (!changes)
        return;
    changes->clearWake();
    // A handler that lets events run does not get the next change in the middle of this
    // one: it follows, in order, when the handler has returned.
    if (delivering_)
        return;
    delivering_ = true;
    while (changes_ == changes) {
        std::optional<LineChange> next = changes->pop();
        if (!next)
            break;
        if (next->vanished) {
            releaseBackend();
            break;
        }
        current_ = *next;
        Q_EMIT OnComm();
        if (changes_ == changes)
            current_.reset();
    }
    delivering_ = false;
    // The port was closed and opened again by a handler: its changes are waiting.
    if (changes_ && changes_ != changes && !changes_->empty())
        QMetaObject::invokeMethod(this, &CommControl::deliver, Qt::QueuedConnection);
}

} // namespace brantock::platform
