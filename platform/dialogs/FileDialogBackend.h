#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace brantock::platform {

// One use of the file dialog as the common dialog sets it up.
struct FileDialogRequest {
    bool save = false;
    QString title;
    // Description and pattern pairs, patterns separated by ";" ("*.hbd;*.mdb").
    QStringList descriptions;
    QStringList patterns;
    int filterIndex = 1; // 1-based
    QString initialFolder;
    QString fileName;
    // Saving onto a file that exists asks first.
    bool overwritePrompt = false;
};

struct FileDialogChoice {
    QString fileName;
    int filterIndex = 1;
};

// The desktop's file dialog; tests put a scripted one in its place. No choice means the
// user cancelled.
class FileDialogBackend {
public:
    virtual ~FileDialogBackend() = default;
    virtual std::optional<FileDialogChoice> run(const FileDialogRequest& request) = 0;

    static FileDialogBackend& current();
    static void setCurrent(FileDialogBackend* backend);
};

} // namespace brantock::platform
