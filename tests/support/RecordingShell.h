#pragma once

#include "platform/os/Shell.h"

#include <vector>

namespace brantock::testsupport {

// Records what would have been started or opened and answers with a set result; installed
// for its lifetime.
class RecordingShell : public platform::Shell {
public:
    struct Call {
        QString verb, file, parameters, directory;
        int show;
    };
    RecordingShell();
    ~RecordingShell() override;

    int ShellExecute(QWidget* window, const QString& verb, const QString& file,
                     const QString& parameters, const QString& directory, int show) override;

    int result = 42;
    std::vector<Call> calls;
};

} // namespace brantock::testsupport
