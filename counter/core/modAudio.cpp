#include "counter/core/modAudio.h"

#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/core/SoundPlayer.h"
#include "foundation/App.h"
#include "foundation/FoundationState.h"
#include "foundation/modbrUtils.h"
#include "foundation/modRegistry.h"
#include "runtime/RuntimeError.h"

#include <QDir>

namespace brantock::counter {

namespace {

const QString WaveExtension = QStringLiteral(".wav");

// Names in the order the file system lists them, never sorted: hidden entries are left out.
QStringList listed(const QString& folder, QDir::Filters kind) {
    return QDir(folder).entryList(kind | QDir::NoDotAndDotDot, QDir::Unsorted);
}

} // namespace

bool PlayWAV(const QString& fileName, bool wait) {
    return withTrail("PlayWAV&", [&] {
        SoundPlayer::current().play(fileName);
        return true;
    });
}

bool PlayWAVResource(const QString& resourceName, bool wait) {
    return withTrail("PlayWAVResource&", [&] {
        if (resourceName != QStringLiteral("DEFAULTSOUND"))
            return false;
        SoundPlayer::current().playDefault();
        return true;
    });
}

QString SoundsFolder() {
    return App::Path() + QStringLiteral("/sounds/");
}

QStringList ThemeEntries() {
    return QStringList{NoTheme} + listed(SoundsFolder(), QDir::Dirs);
}

QStringList SoundEntries() {
    QStringList entries = SpecialSounds;
    for (const QString& name : listed(SoundsFolder() + GetThemeFolder(), QDir::Files)) {
        if (name.right(4).toLower() == WaveExtension)
            entries << name.left(name.size() - 4);
    }
    return entries;
}

QString GetThemeFolder() {
    QString folder = CurrentTheme;
    folder.remove(NoTheme);
    if (!folder.isEmpty())
        folder += u'/';
    return folder;
}

QString StoredSoundEntry(const QStringList& entries) {
    TriggerSoundPath = GetRegSetting(settings::TriggerSound, RegistryHive);
    if (TriggerSoundPath.contains(NoSound)) {
        TriggerSoundPath = NoSound;
        return NoSound;
    }
    if (TriggerSoundPath.contains(DefaultSound)) {
        TriggerSoundPath = DefaultSound;
        return DefaultSound;
    }
    const QString name = RemoveExtention(ExtractFileName(TriggerSoundPath), WaveExtension);
    if (entries.contains(name))
        return name;
    return DoesFileExist(TriggerSoundPath) ? CustomSound : DefaultSound;
}

QString SoundPathOf(const QString& entry) {
    const QString path = SoundsFolder() + GetThemeFolder() + entry + WaveExtension;
    if (path.contains(NoSound))
        return NoSound;
    if (path.contains(DefaultSound))
        return DefaultSound;
    return path;
}

void PlayTriggerSound(const QStringList& entries, double r) {
    if (TriggerSoundPath.contains(DefaultSound)) {
        PlayWAVResource(QStringLiteral("DEFAULTSOUND"), false);
    } else if (TriggerSoundPath.contains(RandomSound)) {
        const auto first = SpecialSounds.size();
        const auto i = qsizetype((entries.size() - first) * r) + first;
        if (i < entries.size()) {
            QString path = TriggerSoundPath;
            PlayWAV(path.replace(RandomSound, entries.at(i)), false);
        }
    } else if (!TriggerSoundPath.contains(NoSound)) {
        PlayWAV(TriggerSoundPath, false);
    }
}

} // namespace brantock::counter
