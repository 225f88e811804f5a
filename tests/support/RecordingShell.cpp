#include "tests/support/RecordingShell.h"

namespace brantock::testsupport {

RecordingShell::RecordingShell() {
    platform::Shell::setCurrent(this);
}
RecordingShell::~RecordingShell() {
    platform::Shell::setCurrent(nullptr);
}

int RecordingShell::ShellExecute(QWidget*, const QString& verb, const QString& file,
                                 const QString& parameters, const QString& directory, int show) {
    calls.push_back({verb, file, parameters, directory, show});
    return result;
}

} // namespace brantock::testsupport
