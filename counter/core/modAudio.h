#pragma once

#include <QString>
#include <QStringList>

namespace brantock::counter {

// The sound selector's special entries, recognised wherever they occur in a text.
inline const QString NoTheme = QStringLiteral("<no theme>");
inline const QString NoSound = QStringLiteral("<none>");
inline const QString DefaultSound = QStringLiteral("<default>");
inline const QString RandomSound = QStringLiteral("<random>");
inline const QString CustomSound = QStringLiteral("<custom>");
// The sound list's first entries, always in this order.
inline const QStringList SpecialSounds{NoSound, DefaultSound, RandomSound};

// Both return at once (every caller passes wait = false); true when the sound was handed on.
bool PlayWAV(const QString& fileName, bool wait);
// "DEFAULTSOUND" is the one built-in sound.
bool PlayWAVResource(const QString& resourceName, bool wait);

// The "sounds" folder beside the program, with its closing separator.
QString SoundsFolder();
// The theme list: "<no theme>", then the sounds folder's visible sub-folders as listed.
QStringList ThemeEntries();
// The sound list of CurrentTheme: the special entries, then its visible ".wav" files (any
// case) less their extension, as listed.
QStringList SoundEntries();
// CurrentTheme less "<no theme>", with a separator after what is left.
QString GetThemeFolder();
// The entry the stored "TriggerSound" selects in entries (the theme's sound list): it sets
// TriggerSoundPath for "<none>" and "<default>"; "<custom>" when the stored file lies
// outside the list but exists (the caller adds that entry), "<default>" when it is gone.
QString StoredSoundEntry(const QStringList& entries);
// TriggerSoundPath for a chosen entry of the sound list.
QString SoundPathOf(const QString& entry);
// The trigger sound of TriggerSoundPath; r in [0, 1) picks among the wave entries for
// "<random>" (nothing plays when the theme has none).
void PlayTriggerSound(const QStringList& entries, double r);

} // namespace brantock::counter
