#include "tests/counter/support/MonitorRecording.h"

#include "tests/counter/support/PulseServer.h"

#include <QtEndian>
#include <QTest>

#include <algorithm>
#include <cstdlib>

namespace brantock::counter::testsupport {

MonitorRecording::MonitorRecording(const PulseServer& server) {
    recorder_.setProcessEnvironment(server.clientEnvironment());
    QObject::connect(&recorder_, &QProcess::readyReadStandardOutput, [this] { take(); });
    // A short latency, so that what has been read is close to what is playing.
    recorder_.start(QStringLiteral("parec"),
                    {QStringLiteral("--device=%1.monitor").arg(PulseServer::Sink),
                     QStringLiteral("--format=s16le"), QStringLiteral("--rate=%1").arg(Rate),
                     QStringLiteral("--channels=1"), QStringLiteral("--raw"),
                     QStringLiteral("--latency-msec=10")});
}

MonitorRecording::~MonitorRecording() {
    recorder_.kill();
    recorder_.waitForFinished(2000);
}

bool MonitorRecording::waitForStart(QString* failure) {
    if (!QTest::qWaitFor([this] { return now() >= Rate / 5; }, 10000)) {
        *failure = QStringLiteral("parec recorded nothing: ") + recorder_.errorString() + u' ' +
                   QString::fromLocal8Bit(recorder_.readAllStandardError()).trimmed();
        return false;
    }
    return true;
}

void MonitorRecording::take() {
    partial_ += recorder_.readAllStandardOutput();
    const qsizetype whole = partial_.size() / 2;
    for (qsizetype i = 0; i < whole; ++i)
        samples_.push_back(qFromLittleEndian<std::int16_t>(partial_.constData() + 2 * i));
    partial_.remove(0, whole * 2);
}

std::int64_t MonitorRecording::now() {
    recorder_.waitForReadyRead(0);
    take();
    return std::int64_t(samples_.size());
}

bool MonitorRecording::waitUntil(std::int64_t position, int timeoutMs) {
    return QTest::qWaitFor([&] { return now() >= position; }, timeoutMs);
}

int MonitorRecording::peak(std::int64_t from, std::int64_t to) const {
    const auto end = std::min<std::int64_t>(to, std::int64_t(samples_.size()));
    int loudest = 0;
    for (auto i = std::max<std::int64_t>(from, 0); i < end; ++i)
        loudest = std::max(loudest, std::abs(int(samples_[size_t(i)])));
    return loudest;
}

std::vector<std::int64_t> MonitorRecording::onsets(std::int64_t from, std::int64_t to, int level,
                                                   int gapMs) const {
    const auto end = std::min<std::int64_t>(to, std::int64_t(samples_.size()));
    const std::int64_t gap = std::int64_t(gapMs) * Rate / 1000;
    std::vector<std::int64_t> found;
    std::int64_t quietSince = std::max<std::int64_t>(from, 0) - gap;
    for (auto i = std::max<std::int64_t>(from, 0); i < end; ++i) {
        if (std::abs(int(samples_[size_t(i)])) <= level)
            continue;
        if (i - quietSince >= gap)
            found.push_back(i);
        quietSince = i + 1;
    }
    return found;
}

} // namespace brantock::counter::testsupport
