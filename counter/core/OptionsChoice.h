#pragma once

#include <QString>

namespace brantock::counter {

// The rules of the options window that need no window: the lockout time between the text
// box's seconds and the timers' milliseconds, the interface line, and the path the counter's
// start-with-login entry names (the entry itself is StartupEntry).
class OptionsChoice {
public:
    // The largest lockout the timers take, and the smallest above none.
    static constexpr float LongestLockout = 65535.0f;
    static constexpr float ShortestLockout = 1.0f;

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
};

} // namespace brantock::counter
