#pragma once

#include <string>
#include <string_view>

namespace brantock::platform {

// Whole-file replacement that a crash or a power cut cannot tear: the content goes to a
// temporary file beside the target, is flushed to disk and renamed over it, and the folder
// entry is flushed too. Readers see the old file or the new one, never a mixture. The
// temporary file is "<target>.tmp-XXXXXX" (six letters or digits).
class AtomicFile {
public:
    // Returns 0 or the errno of the step that failed (the target is then unchanged). A new
    // file gets mode less the umask; a replaced one keeps its mode (and its owner, when root
    // replaces it). A path that is a link replaces the file the link leads to.
    static int write(const std::string& path, std::string_view content, unsigned mode = 0644);
    // Removes the temporary files of writes to path that never finished. Only for a caller
    // that knows no write to path is under way (one holding the file's lock).
    static void removeTemporaries(const std::string& path);
    // The file's bytes; the errno in error (0 on success, ENOENT for a missing file, EISDIR
    // or EINVAL for a folder, pipe or device in its place, which is never read).
    static std::string read(const std::string& path, int& error);
    // Creates every missing folder of path; 0 or the errno.
    static int makeFolders(const std::string& path);
    static std::string folderOf(const std::string& path);
    // The file a link leads to; any other path as it is.
    static std::string resolved(const std::string& path);
};

} // namespace brantock::platform
