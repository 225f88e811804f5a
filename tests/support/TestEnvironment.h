#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace brantock::testsupport {

// A process-wide scratch folder: the test main points HOME, every XDG folder and the serial
// lock folder into it before any test runs, so no test can reach the user's own settings or
// data, nor the machine's lock files.
class TestEnvironment {
public:
    static void setUp();
    static QString root();
};

// A fresh folder for one test, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    QString path() const { return dir_.path(); }
    std::string stdPath() const { return dir_.path().toStdString(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

} // namespace brantock::testsupport
