#pragma once

#include <QString>

namespace brantock {

// The rules of the data-file dialog, free of its window: which typed paths may be applied,
// storing a choice, and making a new data file from the template. Each tells the user what
// went wrong in a message box, as the dialog does.
class DataFileChoice {
public:
    static inline const QString DataFileFilter =
        QStringLiteral("All Files (*.*)|*.*|Brantock Data Files(*.hbd)|*.hbd|All Data "
                       "Files(*.hbd;*.mdb)|*.hbd;*.mdb|");

    // The template "empty.hbt" in the program folder.
    static QString TemplatePath();

    // Apply and OK are offered for an absolute path that exists. Linux has no separate network
    // form: a "//" path is an absolute path like any other.
    static bool IsUsablePath(const QString& path);

    // Validates the file and stores it as the data file; an invalid one is refused with a
    // warning. True when stored. Errors go to the error handler under trail.
    static bool Apply(const QString& path, const char* trail);

    // Makes a new data file from the template at the typed path (".hbd" added unless it ends
    // in ".hbd" or ".mdb"), asking before it overwrites a file or makes a folder. The path of
    // the new file, or the empty text when none was made. Errors go to the error handler under
    // trail.
    static QString MakeNewDataFile(const QString& typedPath, const char* trail);
};

} // namespace brantock
