#pragma once

#include "runtime/RuntimeError.h"

#include <QString>

namespace brantock::platform {

// Run-time error numbers of the report engine.
namespace reportErr {
constexpr int CannotCreateObject = 429;
constexpr int PrinterError = 482;
constexpr int NotAPageFile = 3800;
constexpr int DamagedPageFile = 3801;
constexpr int NewerPageFile = 3802;
} // namespace reportErr

// Builds the engine's run-time errors, all with the same source text.
class ReportError {
public:
    static inline const QString Source = QStringLiteral("Brantock report engine");

    static RuntimeError make(int number, const QString& description);
    // "Invalid property value" (380), for a property set outside its range.
    static RuntimeError invalidProperty(const QString& property);
};

} // namespace brantock::platform
