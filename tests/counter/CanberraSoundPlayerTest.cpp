#include "tests/counter/support/MonitorRecording.h"
#include "tests/counter/support/PulseServer.h"
#include "tests/support/EnvironmentVariable.h"
#include "tests/support/TestEnvironment.h"

#include "counter/CanberraSoundPlayer.h"
#include "counter/core/WaveSound.h"

#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>

using namespace brantock::counter;
using namespace brantock::counter::testsupport;
using namespace brantock::testsupport;

namespace {

constexpr int Rate = MonitorRecording::Rate;
// A sample louder than this is sound: the null sink gives exact silence.
constexpr int Heard = 1000;

std::int64_t samples(int ms) {
    return std::int64_t(ms) * Rate / 1000;
}

// The real player against a PulseAudio daemon of the test's own, its sink recorded.
class PlayerOnAServer : public ::testing::Test {
protected:
    void SetUp() override {
        if (!server.running())
            GTEST_SKIP() << "No PulseAudio daemon could be started here, so nothing can be "
                            "heard: "
                         << server.failure().toStdString();
        address.emplace("PULSE_SERVER", server.address());
        recording = std::make_unique<MonitorRecording>(server);
        QString failure;
        ASSERT_TRUE(recording->waitForStart(&failure)) << failure.toStdString();
        player = std::make_unique<CanberraSoundPlayer>();
    }
    QString wave(const QString& name, double frequency, int ms) {
        const QString path = files.file(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(WaveSound::Tone(frequency, WaveSound::SampleRate * ms / 1000));
        return path;
    }

    PulseServer server;
    ScratchFolder files;
    std::optional<EnvironmentVariable> address;
    std::unique_ptr<MonitorRecording> recording;
    std::unique_ptr<CanberraSoundPlayer> player;
};

} // namespace

TEST_F(PlayerOnAServer, AfterQuietEverySpacedSoundIsHeardAndABurstIsHeardToItsLastSound) {
    const QString theme = wave("high.wav", 660, 120);
    const QString click = wave("click.wav", 880, 36);
    // An idle server is where short sounds used to go missing.
    QTest::qWait(8000);

    struct Spaced {
        std::int64_t at;
        bool builtIn;
    };
    std::vector<Spaced> spaced;
    for (int i = 0; i < 10; ++i) {
        // One sound over and over, as a shop hears it: the built-in one, then a theme's.
        const bool builtIn = i < 5;
        spaced.push_back({recording->now(), builtIn});
        builtIn ? player->playDefault() : player->play(theme);
        QTest::qWait(1500);
    }
    std::vector<std::int64_t> burst;
    for (int i = 0; i < 20; ++i) {
        burst.push_back(recording->now());
        player->play(click);
        QTest::qWait(100);
    }
    ASSERT_TRUE(recording->waitUntil(burst.back() + samples(1000), 5000));

    std::vector<std::int64_t> delays;
    for (size_t i = 0; i < spaced.size(); ++i) {
        const auto [at, builtIn] = spaced[i];
        const auto heard = recording->onsets(at, at + samples(1200), Heard, 20);
        EXPECT_FALSE(heard.empty())
            << "request " << i + 1 << " of 10 ("
            << (builtIn ? "built-in sound" : "theme's wave file") << ") was not heard";
        if (!heard.empty())
            delays.push_back(heard.front() - at);
    }
    ASSERT_FALSE(delays.empty());
    std::sort(delays.begin(), delays.end());
    const std::int64_t delay = delays[delays.size() / 2];

    // The burst's sounds, and its last one heard where it was asked for: starting at least
    // about as long after its request as the spaced sounds did after theirs.
    const auto heard = recording->onsets(burst.front(), burst.back() + samples(1000), Heard, 20);
    std::cout << "sound heard " << delay * 1000 / Rate << " ms after a request (median); "
              << heard.size() << " of the burst's 20 sounds heard apart" << std::endl;
    ASSERT_FALSE(heard.empty()) << "nothing of the burst was heard";
    EXPECT_GE(heard.size(), 15u) << "the burst was heard only in part";
    // A busy machine may start it late, never early: the sound before it began 100 ms earlier.
    EXPECT_GE(heard.back() - burst.back(), delay - samples(50))
        << "the burst's last sound was not heard";
    EXPECT_LE(heard.back() - burst.back(), samples(500)) << "the burst's last sound came late";
}

TEST_F(PlayerOnAServer, ANewSoundCutsTheOnePlayingShort) {
    const QString longTone = wave("long.wav", 440, 2000);
    const QString click = wave("click.wav", 880, 36);
    player->play(longTone);
    QTest::qWait(300);
    const std::int64_t cut = recording->now();
    player->play(click);
    ASSERT_TRUE(recording->waitUntil(cut + samples(1600), 5000));
    EXPECT_GT(recording->peak(cut - samples(300), cut), Heard) << "the long sound never played";
    EXPECT_LT(recording->peak(cut + samples(500), cut + samples(1600)), Heard)
        << "the long sound played on after the new one";
}
