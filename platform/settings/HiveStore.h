#pragma once

#include "platform/settings/HiveFile.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace brantock::platform {

// One hive file shared by several processes. Reads take the file as it stands (an atomic
// replacement means there is never half a file to see); every change takes the hive's lock,
// reads the file afresh, applies itself and replaces the file, so concurrent writers never
// lose each other's values. The file is parsed again only when its bytes differ from those
// this store last parsed or wrote: another writer may replace it within one tick of the
// file clock, or rewrite it in place at the same size, so its times and size prove nothing.
class HiveStore {
public:
    HiveStore(std::string filePath, std::string rootName);

    const std::string& filePath() const { return filePath_; }

    // The hive as it is now; a missing or unreadable file is an empty hive.
    std::shared_ptr<const HiveFile> read() const;

    // 0 when the hive can be written (its folder made, its lock file opened, and the file,
    // if there is one, readable and writable), else 5.
    std::int32_t checkWritable() const;

    // Applies change under the lock. change returns a result code and sets changed when the
    // file must be rewritten. A hive that cannot be read whole or written gives 5 and is left
    // alone; a failed rewrite gives 5 (cannot write) or 1016. A new hive and its lock file
    // get mode 0666 less the umask.
    std::int32_t modify(const std::function<std::int32_t(HiveFile&, bool& changed)>& change);

private:
    struct Digest {
        std::size_t size = 0, hash = 0;
        bool operator==(const Digest&) const = default;
        static Digest of(std::string_view bytes);
    };
    // The parsed hive of the file's bytes, the errno of reading them in error (a missing file
    // is an empty hive). Called with mutex_ held.
    std::shared_ptr<HiveFile> current(int& error) const;
    std::int32_t checkFile() const;
    int openLock() const;
    int openWritableLock() const;

    std::string filePath_;
    std::string rootName_;
    mutable std::mutex mutex_;
    mutable std::shared_ptr<HiveFile> cached_; // handed out as const only
    mutable Digest cachedDigest_;
};

} // namespace brantock::platform
