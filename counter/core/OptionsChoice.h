#pragma once

#include <QString>
#include <QVariant>

namespace brantock::counter {

// The rules of the options window that need no window: the lockout time between the text
// box's seconds and the timers' milliseconds, the interface line, and the start-with-login
// entry of the counter.
class OptionsChoice {
public:
    // The largest lockout the timers take, and the smallest above none.
    static constexpr float LongestLockout = 65535.0f;
    static constexpr float ShortestLockout = 1.0f;

    // The key and value name of the start-with-login entry, in the machine-wide hive.
    static inline const QString RunKey =
        QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    static inline const QString RunValueName = QStringLiteral("Brantock");

    // The stored lockout time (milliseconds, by its leading number) as the box's seconds:
    // "500" gives "0.5".
    static QString LockoutText(const QString& stored);

    // What a text of the box sets.
    struct Lockout {
        // The lockout time in milliseconds, at most LongestLockout, 0 for none.
        float milliseconds = 0;
        // The text the box must show instead of the typed one; null when the typed one
        // stands.
        QString correctedText;
        // The text gives a negative time, which no timer takes.
        bool refused = false;
    };
    static Lockout ReadLockout(const QString& text);

    // Milliseconds as the setting stores them: decimal text with "." (500, 65535, 1.5).
    static QString MillisecondsText(float milliseconds);

    // The interface line for a port setting text: "Manual", "Com n" or "Not specified".
    static QString InterfaceStatus(const QString& portText);

    // The counter program's full path, as its start-with-login entry names it.
    static QString ProgramPath();
    // The entry starts this counter: its text, NULs removed, is the path in any letter case.
    static bool StartsThisProgram(const QVariant& entry, const QString& programPath);
};

} // namespace brantock::counter
