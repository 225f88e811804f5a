#include "counter/core/WaveSound.h"

#include "runtime/ProductConfig.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <QtEndian>

#include <cmath>
#include <numbers>

namespace brantock::counter {

namespace {

void put32(QByteArray& out, std::uint32_t value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void put16(QByteArray& out, std::uint16_t value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

} // namespace

QByteArray WaveSound::Tone(double frequency, std::int32_t sampleCount) {
    const auto count = std::uint32_t(std::max<std::int32_t>(sampleCount, 0));
    QByteArray out;
    out.reserve(int(44 + count));
    out.append("RIFF", 4);
    put32(out, 36 + count);
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, SampleRate);
    put32(out, SampleRate); // bytes a second
    put16(out, 1);          // block align
    put16(out, 8);          // bits a sample
    out.append("data", 4);
    put32(out, count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const double fade = 1.0 - double(i) / double(count);
        const double wave = std::sin(2.0 * std::numbers::pi * frequency * i / SampleRate);
        // 8-bit samples are unsigned, silence at 128.
        out.append(char(std::lround(128.0 + 100.0 * fade * wave)));
    }
    return out;
}

const QByteArray& WaveSound::Default() {
    static const QByteArray sound = Tone(880.0, DefaultSampleCount);
    return sound;
}

QString WaveSound::DefaultFile() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                           u'/' + QString::fromLatin1(config::VendorFolder);
    const QString path = folder + QStringLiteral("/DEFAULTSOUND.wav");
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.size() == Default().size() &&
        existing.readAll() == Default())
        return path;
    // Written aside and moved into place, so a counter starting at the same time never
    // plays half a file.
    QSaveFile file(path);
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) ||
        file.write(Default()) != Default().size() || !file.commit())
        return QString();
    return path;
}

} // namespace brantock::counter
