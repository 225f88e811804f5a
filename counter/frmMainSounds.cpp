// The main window's sound selector: the theme and sound lists, and the trigger sound.
#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/core/modAudio.h"
#include "counter/frmMain.h"
#include "foundation/FoundationState.h"
#include "foundation/modbrUtils.h"
#include "foundation/modRegistry.h"
#include "foundation/ReportingHandler.h"

#include <QComboBox>
#include <QRandomGenerator>
#include <QSignalBlocker>

namespace brantock::counter {

namespace {

constexpr std::int32_t MissingFileStyle = 0x1030; // exclamation, system-modal, OK
constexpr const char* MouseClick = "processing mouse click";

// Fills a list without running its click, and leaves nothing selected, so that the
// selection which follows always runs it.
void fill(QComboBox* list, const QStringList& entries) {
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(entries);
    list->setCurrentIndex(-1);
}

// Selects the entry with exactly this text; false when there is none.
bool select(QComboBox* list, const QString& text) {
    const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    list->setCurrentIndex(index);
    return true;
}

QStringList entriesOf(const QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    return entries;
}

} // namespace

void frmMain::connectSoundSelector() {
    connect(ui_.cmbTheme, &QComboBox::currentIndexChanged, this, [this] { cmbTheme_Click(); });
    connect(ui_.cmbSounds, &QComboBox::currentIndexChanged, this, [this] { cmbSounds_Click(); });
}

void frmMain::LoadThemeFolders() {
    ReportingHandler("LoadThemeFolders&", "loading theme folders")
        .run({
            [&] { fill(ui_.cmbTheme, ThemeEntries()); },
            [&] { CurrentTheme = GetRegSetting(settings::ThemeFolder, RegistryHive); },
            [&] {
                if (CurrentTheme.contains(NoTheme) || !select(ui_.cmbTheme, CurrentTheme))
                    select(ui_.cmbTheme, NoTheme);
            },
        });
}

void frmMain::LoadSoundFiles() {
    ReportingHandler("LoadSoundFiles&", "loading available sound files")
        .run({
            [&] { fill(ui_.cmbSounds, SoundEntries()); },
            [&] {
                const QString entry = StoredSoundEntry(entriesOf(ui_.cmbSounds));
                if (entry == CustomSound) {
                    {
                        const QSignalBlocker quiet(ui_.cmbSounds);
                        ui_.cmbSounds->addItem(CustomSound);
                    }
                    select(ui_.cmbSounds, CustomSound);
                } else {
                    select(ui_.cmbSounds, entry);
                }
            },
        });
}

void frmMain::cmbTheme_Click() {
    ReportingHandler("cmbTheme_Click&", MouseClick)
        .run({
            [&] {
                CurrentTheme = ui_.cmbTheme->currentText();
                SetRegSetting(settings::ThemeFolder, CurrentTheme, RegistryHive);
            },
            [&] { LoadSoundFiles(); },
            [&] {
                // During start-up the restored sound stays.
                if (CountingStarted)
                    select(ui_.cmbSounds, DefaultSound);
            },
        });
}

void frmMain::cmbSounds_Click() {
    QComboBox* list = ui_.cmbSounds;
    const QString entry = list->currentText();
    ReportingHandler("cmbSounds_Click&", MouseClick)
        .run({
            [&] { return entry.contains(CustomSound) ? Flow::Leave : Flow::Next; },
            [&] {
                const QSignalBlocker quiet(list);
                if (list->count() > 0 && list->itemText(list->count() - 1) == CustomSound)
                    list->removeItem(list->count() - 1);
            },
            [&] { TriggerSoundPath = SoundPathOf(entry); },
            [&] {
                if (TriggerSoundPath == NoSound || TriggerSoundPath == DefaultSound ||
                    TriggerSoundPath.contains(RandomSound))
                    return;
                if (!DoesFileExist(TriggerSoundPath)) {
                    Message(QStringLiteral("The sound file ") + TriggerSoundPath +
                                QStringLiteral(" does not exist"),
                            MissingFileStyle, QStringLiteral("Can't find file!"));
                    const QSignalBlocker quiet(list);
                    if (list->currentIndex() > 0)
                        list->removeItem(list->currentIndex());
                    select(list, DefaultSound);
                    TriggerSoundPath = DefaultSound;
                } else if (CountingStarted) {
                    // The preview plays even when muted.
                    PlayWAV(TriggerSoundPath, false);
                }
            },
            [&] { SetRegSetting(settings::TriggerSound, TriggerSoundPath, RegistryHive); },
        });
}

void frmMain::PlayTriggerWav() {
    ReportingHandler("PlayTriggerWav&", "playing sound file").run([&] {
        if (Muted())
            return;
        PlayTriggerSound(entriesOf(ui_.cmbSounds), QRandomGenerator::global()->generateDouble());
    });
}

} // namespace brantock::counter
