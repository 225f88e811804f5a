#pragma once

#include <QString>

#include <cstdint>

namespace brantock {

// The one start-with-login entry of the product: the value "Brantock" under the machine-wide
// Run key. The counter and the multi-port launcher both write it, so either one's entry
// replaces the other's and removing either removes the one entry. Results are the registry's
// result codes; the callers do not check them (a refused write gives no message).
class StartupEntry {
public:
    static inline const QString RunKey =
        QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    static inline const QString RunValueName = QStringLiteral("Brantock");

    // The entry's text, NUL characters removed; empty when there is none.
    static QString Read();
    // The entry's text names the program: the same path in any letter case.
    static bool Names(const QString& entry, const QString& programPath);
    // The entry starts the program at programPath.
    static bool Starts(const QString& programPath);
    // Makes the entry start the program at programPath, creating the key when missing.
    static std::int32_t Write(const QString& programPath);
    static std::int32_t Remove();
};

} // namespace brantock
