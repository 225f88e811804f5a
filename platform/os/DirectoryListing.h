#pragma once

#include <QString>

namespace brantock::platform {

// The existence test by directory listing: the first name that a path (its last part may
// hold the wildcards * and ?) lists with the given attributes, or the empty text.
// Attributes 0 list files only; 16 (Folder) lists folders and files. A path ending in "/"
// lists the folder's content. A name that lists nothing raises "File not found" (53), a
// path with a zero character "Bad file name or number" (52).
class DirectoryListing {
public:
    static constexpr int Folder = 16;
    static QString first(const QString& path, int attributes);

    // True when the listing finds a name. A listing that fails with 52 or 53 is no: when
    // folders are asked for and the path does not end in "/", it is tried once more with
    // "/" appended first; a final failure sets badPath. Other errors pass on.
    static bool finds(QString path, int attributes, bool* badPath = nullptr);
};

} // namespace brantock::platform
