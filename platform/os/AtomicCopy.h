#pragma once

#include <QString>

namespace brantock::platform {

// Copies a file over another so that the target is either the old file or the whole copy,
// never a half-written one: the copy goes to a temporary file beside the target, is flushed
// and renamed over it. A failure raises "Path/File access error" (75).
class AtomicCopy {
public:
    static void copy(const QString& from, const QString& to);
};

} // namespace brantock::platform
