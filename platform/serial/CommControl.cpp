#include "platform/serial/CommControl.h"

#include "platform/serial/CommErrors.h"
#include "platform/serial/PortDeviceMap.h"
#include "platform/serial/SimBackend.h"
#include "platform/serial/TtyBackend.h"
#include "runtime/Clock.h"

#include <QtGlobal>

#include <exception>
#include <optional>

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

void CommControl::SetCommPort(int port) {
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

void CommControl::SetPortOpen(bool open) {
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
    ++opening_;
    notifier_ = new QSocketNotifier(changes_->wakeFd(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &CommControl::deliver);
}

void CommControl::releaseBackend() {
    if (notifier_) {
        notifier_->setEnabled(false);
        notifier_->deleteLater();
    }
    if (backend_)
        backend_->close();
    backend_.reset();
    changes_.reset();
}

void CommControl::SetSettings(const QString& text) {
    const std::optional<SerialSettings> parsed = SerialSettings::parse(text);
    if (!parsed)
        throw commError(err::InvalidPropertyValue);
    if (backendAlive())
        backend_->applySettings(*parsed);
    settings_ = *parsed;
    settingsText_ = text;
}

void CommControl::SetInputMode(int mode) {
    if (mode != 0)
        throw commError(err::InvalidPropertyValue);
}

void CommControl::SetDTREnable(bool on) {
    dtr_ = on;
    if (backendAlive())
        backend_->setOutputLines(dtr_, rts_);
}

void CommControl::SetRTSEnable(bool on) {
    rts_ = on;
    if (backendAlive())
        backend_->setOutputLines(dtr_, rts_);
}

const LineChange* CommControl::current() const {
    // A handler that closed the port, or opened it again, reads the port as it is now.
    if (deliveries_.empty() || deliveries_.back().opening != opening_ || !backend_)
        return nullptr;
    return &deliveries_.back().change;
}

int CommControl::CommEvent() const {
    const LineChange* change = current();
    return change ? change->event : 0;
}

qint64 CommControl::ChangeTime() const {
    const LineChange* change = current();
    return change && change->at != LineChange::NotSeen ? change->at : Clock::monotonicNow();
}

ModemLines CommControl::levels() const {
    if (const LineChange* change = current())
        return change->levels;
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

void CommControl::SetOutput(const QString& text) {
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
    // Runs wherever the window thread handles events, inside a handler as well: a change
    // held back until the handler around it returns would meet the counter's lockouts late.
    const std::shared_ptr<ChangeQueue> changes = changes_;
    while (changes && changes_ == changes) {
        if (deliveries_.size() >= MaxNesting) {
            notifier_->setEnabled(false);
            return;
        }
        std::optional<LineChange> next = changes->pop();
        if (!next)
            return;
        if (next->vanished) {
            releaseBackend();
            return;
        }
        deliveries_.push_back({*next, opening_});
        raiseOnComm();
        deliveries_.pop_back();
        if (changes_ == changes && !notifier_->isEnabled())
            notifier_->setEnabled(true);
    }
}

void CommControl::raiseOnComm() {
    // Qt lets no exception pass through its event loop, and one that left here would skip
    // the clean-up after it: a handler's error ends that handler only, and is logged.
    try {
        Q_EMIT OnComm();
    } catch (const std::exception& e) {
        qCritical("An OnComm handler raised: %s", e.what());
    } catch (...) {
        qCritical("An OnComm handler raised an exception of unknown type");
    }
}

} // namespace brantock::platform
