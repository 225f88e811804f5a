#pragma once

#include <QString>

class QWidget;

namespace brantock::platform {

// Starting programs and opening documents or web addresses. A result above 32 means
// started; 32 or less is a failure (2 file not found, 3 path not found, 5 access denied,
// 31 nothing to open it with).
class Shell {
public:
    virtual ~Shell() = default;
    virtual int ShellExecute(QWidget* window, const QString& verb, const QString& file,
                             const QString& parameters, const QString& directory, int show) = 0;

    static Shell& current();
    static void setCurrent(Shell* shell);
};

} // namespace brantock::platform
