// Writes a short tone as a wave file: makesounds <file> <hertz> <milliseconds>.
#include "counter/core/WaveSound.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>

using brantock::counter::WaveSound;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: makesounds <file> <hertz> <milliseconds>\n");
        return 2;
    }
    const double hertz = std::atof(argv[2]);
    const int milliseconds = std::atoi(argv[3]);
    if (hertz <= 0 || milliseconds <= 0) {
        std::fprintf(stderr, "makesounds: hertz and milliseconds must be positive\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    const QByteArray wave = WaveSound::Tone(hertz, WaveSound::SampleRate * milliseconds / 1000);
    if (!file.open(QIODevice::WriteOnly) || file.write(wave) != wave.size()) {
        std::fprintf(stderr, "makesounds: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
