#include "platform/os/DirectoryListing.h"

#include "runtime/RuntimeError.h"

#include <QByteArray>
#include <QDir>

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

namespace brantock::platform {

namespace {

bool isFolder(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool wanted(const QByteArray& path, int attributes) {
    return (attributes & DirectoryListing::Folder) != 0 || !isFolder(path);
}

} // namespace

QString DirectoryListing::first(const QString& path, int attributes) {
    if (path.contains(QChar(0)))
        throw RuntimeError::of(err::BadFileName);
    const qsizetype slash = path.lastIndexOf(u'/');
    QString folder = slash < 0 ? QStringLiteral(".") : path.left(slash);
    if (slash == 0)
        folder = QStringLiteral("/");
    QString pattern = path.mid(slash + 1);
    if (pattern.isEmpty())
        pattern = QStringLiteral("*");
    const QByteArray folderBytes = QFile::encodeName(folder);
    if (!isFolder(folderBytes))
        throw RuntimeError::of(err::FileNotFound);

    const bool wildcard = pattern.contains(u'*') || pattern.contains(u'?');
    if (!wildcard) {
        const QByteArray full = QFile::encodeName(folder + u'/' + pattern);
        struct stat st {};
        if (::stat(full.constData(), &st) != 0)
            throw RuntimeError::of(err::FileNotFound);
        return wanted(full, attributes) ? pattern : QString();
    }

    DIR* dir = ::opendir(folderBytes.constData());
    if (!dir)
        throw RuntimeError::of(err::FileNotFound);
    const QByteArray patternBytes = QFile::encodeName(pattern);
    QString found;
    // The folder's own entry comes first, as a listing of a folder's content shows it.
    if ((attributes & Folder) && path.endsWith(u'/'))
        found = QStringLiteral(".");
    while (found.isEmpty()) {
        const dirent* entry = ::readdir(dir);
        if (!entry)
            break;
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        if (::fnmatch(patternBytes.constData(), name.constData(), 0) != 0)
            continue;
        if (wanted(folderBytes + '/' + name, attributes))
            found = QFile::decodeName(name);
    }
    ::closedir(dir);
    return found;
}

bool DirectoryListing::finds(QString path, int attributes, bool* badPath) {
    bool retried = false;
    for (;;) {
        try {
            return !first(path, attributes).isEmpty();
        } catch (const RuntimeError& e) {
            if (e.number() != err::BadFileName && e.number() != err::FileNotFound)
                throw;
            if (attributes == Folder && !path.endsWith(u'/') && !retried) {
                path += u'/';
                retried = true;
                continue;
            }
            if (badPath)
                *badPath = true;
            return false;
        }
    }
}

} // namespace brantock::platform
