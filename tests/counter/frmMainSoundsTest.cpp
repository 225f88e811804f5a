#include "tests/counter/support/RecordingSoundPlayer.h"
#include "tests/counter/support/SimulatedPorts.h"
#include "tests/support/DataFiles.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TemporaryRegistry.h"
#include "tests/support/TestEnvironment.h"

#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/core/WaveSound.h"
#include "counter/frmMain.h"
#include "foundation/App.h"
#include "foundation/FoundationState.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modRegistry.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

#include <memory>

using namespace brantock;
using namespace brantock::counter;
using namespace brantock::counter::testsupport;
using namespace brantock::testsupport;

namespace {

QStringList entries(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

class SoundSelector : public ::testing::Test {
protected:
    SoundSelector() {
        App::SetPath(programFolder.path());
        App::SetTitle("Brantock");
        ResetData();
        form = std::make_unique<frmMain>();
    }
    ~SoundSelector() override {
        form.reset();
        App::SetPath(QString());
        App::SetTitle(QString());
        ResetData();
    }

    QString sounds() const { return programFolder.path() + "/sounds/"; }
    void wave(const QString& relative) {
        QDir().mkpath(QFileInfo(sounds() + relative).path());
        QFile file(sounds() + relative);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(WaveSound::Tone(440, 100));
    }
    // The next start of the program: a new window loads the lists.
    void start() {
        CountingStarted = false;
        form = std::make_unique<frmMain>();
        form->LoadThemeFolders();
    }
    QComboBox* themes() const { return form->ui().cmbTheme; }
    QComboBox* soundList() const { return form->ui().cmbSounds; }
    void pick(QComboBox* list, const QString& text) {
        const int index = list->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        list->setCurrentIndex(index);
    }
    QString stored(const Setting& setting) const { return GetRegSetting(setting, RegistryHive); }
    void store(const Setting& setting, const QString& value) {
        SetRegSetting(setting, value, RegistryHive);
    }

    TemporaryRegistry registry;
    SimulatedPorts ports{registry};
    ScriptedErrors errors;
    ScriptedMessages boxes;
    RecordingSoundPlayer player;
    ScratchFolder programFolder;
    std::unique_ptr<frmMain> form;
};

} // namespace

TEST_F(SoundSelector, WithoutASoundsFolderTheListsHoldTheSpecialEntriesAndTheBuiltInSoundPlays) {
    start();
    EXPECT_EQ(entries(themes()), QStringList{"<no theme>"});
    EXPECT_EQ(entries(soundList()), (QStringList{"<none>", "<default>", "<random>"}));
    EXPECT_EQ(soundList()->currentText(), "<default>");
    EXPECT_EQ(stored(settings::ThemeFolder), "<no theme>");
    EXPECT_EQ(stored(settings::TriggerSound), "<default>");
    form->PlayTriggerWav();
    EXPECT_EQ(player.played, QStringList{"DEFAULTSOUND"});
}

TEST_F(SoundSelector, TheChoiceIsStoredAtOnceAndRestoredAtTheNextStartWithoutAPreview) {
    wave("BELL.WAV");
    wave("Birds/a.b.wav");
    wave("Birds/robin.Wav");
    start();
    CountingStarted = true;
    pick(themes(), "Birds");
    EXPECT_EQ(stored(settings::ThemeFolder), "Birds");
    QStringList waves = entries(soundList()).mid(3);
    waves.sort();
    EXPECT_EQ(waves, (QStringList{"a.b", "robin"}));
    pick(soundList(), "a.b");
    EXPECT_EQ(stored(settings::TriggerSound), sounds() + "Birds/a.b.wav");
    EXPECT_EQ(player.played, QStringList{sounds() + "Birds/a.b.wav"}); // the preview

    player.played.clear();
    start();
    EXPECT_EQ(themes()->currentText(), "Birds");
    EXPECT_EQ(soundList()->currentText(), "a.b");
    EXPECT_TRUE(player.played.isEmpty());
    form->PlayTriggerWav();
    EXPECT_EQ(player.played, QStringList{sounds() + "Birds/a.b.wav"});
}

TEST_F(SoundSelector, AThemeRemovedBetweenTwoStartsFallsBackToNoThemeAndIsStoredSo) {
    wave("Birds/robin.wav");
    wave("chime.wav");
    store(settings::ThemeFolder, "Birds");
    store(settings::TriggerSound, sounds() + "Birds/robin.wav");
    start();
    ASSERT_EQ(themes()->currentText(), "Birds");
    ASSERT_EQ(soundList()->currentText(), "robin");

    ASSERT_TRUE(QDir(sounds() + "Birds").removeRecursively());
    start();
    EXPECT_EQ(entries(themes()), QStringList{"<no theme>"});
    EXPECT_EQ(themes()->currentText(), "<no theme>");
    EXPECT_EQ(stored(settings::ThemeFolder), "<no theme>");
    EXPECT_EQ(soundList()->currentText(), "<default>");
    EXPECT_EQ(stored(settings::TriggerSound), "<default>");
}

TEST_F(SoundSelector, AStoredPathOutsideTheSoundsFolderIsTakenByNameOrKeptAsCustom) {
    wave("bell.wav");
    ScratchFolder elsewhere;
    for (const char* name : {"bell.wav", "gong.wav"}) {
        QFile file(elsewhere.file(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    // Its name is an entry: the theme's file replaces it.
    store(settings::TriggerSound, elsewhere.file("bell.wav"));
    start();
    EXPECT_EQ(soundList()->currentText(), "bell");
    EXPECT_EQ(stored(settings::TriggerSound), sounds() + "bell.wav");

    // Not an entry: kept as the last entry "<custom>", and stays stored and played.
    store(settings::TriggerSound, elsewhere.file("gong.wav"));
    start();
    EXPECT_EQ(entries(soundList()).last(), "<custom>");
    EXPECT_EQ(soundList()->currentText(), "<custom>");
    EXPECT_EQ(stored(settings::TriggerSound), elsewhere.file("gong.wav"));
    form->PlayTriggerWav();
    EXPECT_EQ(player.played, QStringList{elsewhere.file("gong.wav")});

    // Choosing another entry drops "<custom>".
    pick(soundList(), "<random>");
    EXPECT_FALSE(entries(soundList()).contains("<custom>"));
    EXPECT_EQ(stored(settings::TriggerSound), sounds() + "<random>.wav");

    // Gone by the next start: the default.
    store(settings::TriggerSound, elsewhere.file("gone.wav"));
    start();
    EXPECT_FALSE(entries(soundList()).contains("<custom>"));
    EXPECT_EQ(soundList()->currentText(), "<default>");
    EXPECT_EQ(stored(settings::TriggerSound), "<default>");
}

TEST_F(SoundSelector, PickingAThemeWhileCountingPreviewsTheSameNamedSoundThenForcesTheDefault) {
    wave("bell.wav");
    wave("Birds/bell.wav");
    store(settings::TriggerSound, sounds() + "bell.wav");
    start();
    CountingStarted = true;
    pick(themes(), "Birds");
    EXPECT_EQ(player.played, QStringList{sounds() + "Birds/bell.wav"});
    EXPECT_EQ(soundList()->currentText(), "<default>");
    EXPECT_EQ(stored(settings::TriggerSound), "<default>");
}

TEST_F(SoundSelector, AChosenFileThatHasDisappearedIsReportedRemovedAndReplacedByTheDefault) {
    wave("chime.wav");
    start();
    CountingStarted = true;
    ASSERT_TRUE(QFile::remove(sounds() + "chime.wav"));
    boxes.answer(1);
    pick(soundList(), "chime");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().prompt, "The sound file " + sounds() + "chime.wav does not exist");
    EXPECT_EQ(boxes.last().style, 4144);
    EXPECT_EQ(boxes.last().title, "Can't find file!");
    EXPECT_FALSE(entries(soundList()).contains("chime"));
    EXPECT_EQ(soundList()->currentText(), "<default>");
    EXPECT_EQ(stored(settings::TriggerSound), "<default>");
    EXPECT_TRUE(player.played.isEmpty());
}

TEST_F(SoundSelector, MuteAndNoneSilenceTriggersButThePreviewStillPlays) {
    wave("chime.wav");
    start();
    CountingStarted = true;
    form->ToggleMute();
    pick(soundList(), "chime");
    EXPECT_EQ(player.played, QStringList{sounds() + "chime.wav"});
    form->PlayTriggerWav();
    EXPECT_EQ(player.played.size(), 1);

    form->ToggleMute();
    pick(soundList(), "<none>");
    EXPECT_EQ(stored(settings::TriggerSound), "<none>");
    form->PlayTriggerWav();
    EXPECT_EQ(player.played.size(), 1);
}

TEST_F(SoundSelector, RandomPlaysTheOnlyFileOrOneOfTheThemesFiles) {
    wave("Solo/one.wav");
    for (const char* name : {"a.wav", "b.wav", "c.wav"})
        wave(QStringLiteral("Many/") + name);
    start();
    pick(themes(), "Solo");
    pick(soundList(), "<random>");
    for (int i = 0; i < 20; ++i)
        form->PlayTriggerWav();
    EXPECT_EQ(player.played, QStringList(20, sounds() + "Solo/one.wav"));

    player.played.clear();
    pick(themes(), "Many");
    pick(soundList(), "<random>");
    for (int i = 0; i < 300; ++i)
        form->PlayTriggerWav();
    ASSERT_EQ(player.played.size(), 300);
    const QSet<QString> heard(player.played.begin(), player.played.end());
    EXPECT_EQ(heard, (QSet<QString>{sounds() + "Many/a.wav", sounds() + "Many/b.wav",
                                    sounds() + "Many/c.wav"}));
}

TEST_F(SoundSelector, ABurstOfTriggersAsksThePlayerOncePerTrigger) {
    wave("click.wav");
    start();
    pick(soundList(), "click");
    player.played.clear();
    for (int i = 0; i < 500; ++i)
        form->PlayTriggerWav();
    EXPECT_EQ(player.played, QStringList(500, sounds() + "click.wav"));
}

TEST_F(SoundSelector, TheWindowsLoadFillsTheListsAndRestoresTheStoredChoiceBeforeCounting) {
    wave("Tones/high.wav");
    store(settings::ThemeFolder, "Tones");
    store(settings::TriggerSound, sounds() + "Tones/high.wav");
    ScratchFolder files;
    CommandLineDataPath = files.file("data.hbd");
    ASSERT_TRUE(DataFiles::copyTemplate(CommandLineDataPath));
    ports.serve(1);
    store(settings::ComPort, "1");
    form->Show();
    ASSERT_TRUE(CountingStarted);
    EXPECT_EQ(entries(themes()), (QStringList{"<no theme>", "Tones"}));
    EXPECT_EQ(themes()->currentText(), "Tones");
    EXPECT_EQ(soundList()->currentText(), "high");
    EXPECT_TRUE(player.played.isEmpty()); // no preview at start-up
    form->PlayTriggerWav();
    EXPECT_EQ(player.played, QStringList{sounds() + "Tones/high.wav"});
}
