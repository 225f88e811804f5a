#include "tests/support/StandInProgram.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <algorithm>

namespace brantock::testsupport {

StandInProgram::StandInProgram(const QString& folder, const QString& name)
    : path_(QDir(folder).filePath(name)) {
    // One file per start, named by the process, written whole before it appears; the
    // script needs no search path, which tests set as they please.
    const QString script = QStringLiteral("#!/bin/sh\n"
                                          "PATH=/usr/bin:/bin\n"
                                          "out='%1'/$$\n"
                                          "{ pwd -P; for a in \"$@\"; do printf '%s\\n' \"$a\"; "
                                          "done; } > \"$out.tmp\" && mv \"$out.tmp\" \"$out\"\n")
                               .arg(records_.path());
    QFile file(path_);
    if (file.open(QIODevice::WriteOnly))
        file.write(script.toUtf8());
    file.close();
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

std::vector<StandInProgram::Start> StandInProgram::starts() const {
    std::vector<Start> found;
    const QDir records(records_.path());
    for (const QString& name : records.entryList(QDir::Files)) {
        if (name.endsWith(QStringLiteral(".tmp")))
            continue;
        QFile file(records.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        lines.removeLast(); // after the last line feed
        if (lines.isEmpty())
            continue;
        Start start;
        start.folder = lines.takeFirst();
        start.arguments = lines;
        found.push_back(start);
    }
    std::sort(found.begin(), found.end(),
              [](const Start& a, const Start& b) { return a.arguments < b.arguments; });
    return found;
}

std::vector<StandInProgram::Start> StandInProgram::waitForStarts(int count) const {
    (void)QTest::qWaitFor([&] { return starts().size() >= std::size_t(count); }, 10000);
    return starts();
}

} // namespace brantock::testsupport
