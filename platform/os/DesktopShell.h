#pragma once

#include "platform/os/Shell.h"

namespace brantock::platform {

// Programs start as detached processes in the given folder, their parameters handed over as
// one argument, so the started program reads back exactly the text it was given; a bare
// program name not found in the folder is looked for on the search path (PATH). Web addresses
// and documents go to the desktop's handler.
class DesktopShell : public Shell {
public:
    int ShellExecute(QWidget* window, const QString& verb, const QString& file,
                     const QString& parameters, const QString& directory, int show) override;
};

} // namespace brantock::platform
