#include "tests/counter/support/RecordingSoundPlayer.h"
#include "tests/support/TemporaryRegistry.h"
#include "tests/support/TestEnvironment.h"

#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/core/modAudio.h"
#include "counter/core/WaveSound.h"
#include "foundation/App.h"
#include "foundation/FoundationState.h"
#include "foundation/modRegistry.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::counter;
using namespace brantock::counter::testsupport;
using namespace brantock::testsupport;

namespace {

class Sounds : public ::testing::Test {
protected:
    Sounds() { App::SetPath(program.path()); }
    ~Sounds() override { App::SetPath(QString()); }

    QString sounds() const { return program.path() + QStringLiteral("/sounds/"); }
    void wave(const QString& relative) {
        QDir().mkpath(QFileInfo(sounds() + relative).path());
        QFile file(sounds() + relative);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(WaveSound::Tone(440, 100));
    }
    void store(const QString& sound) { SetRegSetting(settings::TriggerSound, sound, RegistryHive); }

    TemporaryRegistry registry;
    ScratchFolder program;
    RecordingSoundPlayer player;
};

} // namespace

TEST_F(Sounds, WithoutASoundsFolderOnlyTheSpecialEntriesAreListedAndTheDefaultStillPlays) {
    EXPECT_EQ(ThemeEntries(), QStringList{"<no theme>"});
    EXPECT_EQ(SoundEntries(), (QStringList{"<none>", "<default>", "<random>"}));
    EXPECT_EQ(StoredSoundEntry(SoundEntries()), "<default>");
    PlayTriggerSound(SoundEntries(), 0.5);
    EXPECT_EQ(player.played, QStringList{"DEFAULTSOUND"});
}

TEST_F(Sounds, WaveFilesOfAnyCaseAreListedLessTheirLastExtensionAndOtherFilesAreNot) {
    wave("BELL.WAV");
    wave("a.b.wav");
    wave("notes.txt");
    wave(".hidden.wav");
    wave("Birds/robin.wav");
    QStringList entries = SoundEntries();
    ASSERT_EQ(entries.mid(0, 3), SpecialSounds);
    QStringList waves = entries.mid(3);
    waves.sort();
    EXPECT_EQ(waves, (QStringList{"BELL", "a.b"}));
    EXPECT_EQ(ThemeEntries(), (QStringList{"<no theme>", "Birds"}));

    CurrentTheme = "Birds";
    EXPECT_EQ(GetThemeFolder(), "Birds/");
    EXPECT_EQ(SoundEntries(), (QStringList{"<none>", "<default>", "<random>", "robin"}));
    CurrentTheme = "<no theme>";
    EXPECT_EQ(GetThemeFolder(), "");
}

TEST_F(Sounds, TheStoredSoundSelectsItsEntryByFileNameOrIsKeptAsCustomOrFallsBack) {
    wave("Birds/bell.wav");
    ScratchFolder elsewhere;
    QFile outside(elsewhere.file("bell.wav"));
    ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
    outside.close();
    QFile other(elsewhere.file("gong.WAV"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    CurrentTheme = "Birds";
    const QStringList entries = SoundEntries();
    struct Case {
        QString stored;
        QString entry;
        QString path; // TriggerSoundPath afterwards
    };
    const Case cases[] = {
        {"<none>", "<none>", "<none>"},
        {"x<default>y", "<default>", "<default>"},
        {elsewhere.file("bell.wav"), "bell", elsewhere.file("bell.wav")},
        {elsewhere.file("bell.WaV"), "bell", elsewhere.file("bell.WaV")},
        {elsewhere.file("gong.WAV"), "<custom>", elsewhere.file("gong.WAV")},
        {elsewhere.file("gone.wav"), "<default>", elsewhere.file("gone.wav")},
        {sounds() + "Old/<random>.wav", "<random>", sounds() + "Old/<random>.wav"},
    };
    for (const Case& c : cases) {
        store(c.stored);
        EXPECT_EQ(StoredSoundEntry(entries), c.entry) << c.stored.toStdString();
        EXPECT_EQ(TriggerSoundPath, c.path) << c.stored.toStdString();
    }
    // A chosen entry is rebuilt in the current theme's folder.
    EXPECT_EQ(SoundPathOf("bell"), sounds() + "Birds/bell.wav");
    EXPECT_EQ(SoundPathOf("<random>"), sounds() + "Birds/<random>.wav");
    EXPECT_EQ(SoundPathOf("<none>"), "<none>");
    EXPECT_EQ(SoundPathOf("<default>"), "<default>");
}

TEST_F(Sounds, TheTriggerSoundPlaysTheChosenFileOrNothing) {
    TriggerSoundPath = "<none>";
    PlayTriggerSound(SpecialSounds, 0.0);
    EXPECT_TRUE(player.played.isEmpty());
    TriggerSoundPath = sounds() + "bell.wav";
    PlayTriggerSound(SpecialSounds, 0.0);
    EXPECT_EQ(player.played, QStringList{sounds() + "bell.wav"});
}

TEST_F(Sounds, RandomPicksEveryWaveEntryEquallyAndNothingWhenThereIsNone) {
    TriggerSoundPath = sounds() + "T/<random>.wav";
    PlayTriggerSound(SpecialSounds, 0.7);
    EXPECT_TRUE(player.played.isEmpty());

    const QStringList one = SpecialSounds + QStringList{"only"};
    PlayTriggerSound(one, 0.0);
    PlayTriggerSound(one, 0.999);
    EXPECT_EQ(player.played, QStringList(2, sounds() + "T/only.wav"));

    player.played.clear();
    const QStringList many = SpecialSounds + QStringList{"a", "b", "c", "d"};
    for (double r : {0.0, 0.24, 0.25, 0.49, 0.5, 0.74, 0.75, 0.9999})
        PlayTriggerSound(many, r);
    QStringList expected;
    for (const char* name : {"a", "a", "b", "b", "c", "c", "d", "d"})
        expected << sounds() + "T/" + name + ".wav";
    EXPECT_EQ(player.played, expected);
}

TEST_F(Sounds, TheBuiltInSoundIsEightBitMonoPcmAtElevenKilohertzWith1008Samples) {
    const QByteArray& wave = WaveSound::Default();
    ASSERT_EQ(wave.size(), 44 + 1008);
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(wave.constData() + at); };
    const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wave.constData() + at); };
    EXPECT_EQ(wave.left(4), "RIFF");
    EXPECT_EQ(u32(4), 36u + 1008u);
    EXPECT_EQ(wave.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(u16(20), 1);      // PCM
    EXPECT_EQ(u16(22), 1);      // mono
    EXPECT_EQ(u32(24), 11025u); // samples a second
    EXPECT_EQ(u16(34), 8);      // bits a sample
    EXPECT_EQ(wave.mid(36, 4), "data");
    EXPECT_EQ(u32(40), 1008u);
    EXPECT_NE(wave.mid(44).count(char(128)), 1008); // not silence
}

TEST_F(Sounds, TheBuiltInSoundHasOneSharedFileInTheCacheFolderMendedWhenDamaged) {
    const QString path = WaveSound::DefaultFile();
    ASSERT_FALSE(path.isEmpty());
    EXPECT_TRUE(path.startsWith(qEnvironmentVariable("XDG_CACHE_HOME")));
    const auto content = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    EXPECT_EQ(content(), WaveSound::Default());
    EXPECT_EQ(WaveSound::DefaultFile(), path) << "the same file again";

    // A torn file, left by a machine that stopped mid-write, is written whole again.
    QFile torn(path);
    ASSERT_TRUE(torn.open(QIODevice::WriteOnly));
    torn.write(WaveSound::Default().left(100));
    torn.close();
    EXPECT_EQ(WaveSound::DefaultFile(), path);
    EXPECT_EQ(content(), WaveSound::Default());
    // Nothing else is left in the folder.
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files), QStringList{"DEFAULTSOUND.wav"});
}

TEST_F(Sounds, WithoutAWritableCacheTheBuiltInSoundHasNoFile) {
    const QByteArray cache = qgetenv("XDG_CACHE_HOME");
    ScratchFolder scratch;
    QFile blocker(scratch.file("cache"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder would be
    blocker.close();
    qputenv("XDG_CACHE_HOME", QFile::encodeName(scratch.file("cache")));
    EXPECT_TRUE(WaveSound::DefaultFile().isEmpty());
    qputenv("XDG_CACHE_HOME", cache);
}
