#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brantock::platform {

// The start-with-login values: value NAME is the desktop entry NAME.desktop in an XDG
// autostart folder, its Exec= line the value's text, so the desktop really starts it.
class AutostartFolder {
public:
    explicit AutostartFolder(std::string folder);

    const std::string& folder() const { return folder_; }
    // 0 when entries can be written there (the folder is made when missing), else 5.
    std::int32_t checkWritable() const;
    std::optional<std::string> read(std::string_view name) const;
    std::int32_t write(std::string_view name, std::string_view command);
    // 0 when removed, 2 when there was none.
    std::int32_t remove(std::string_view name);

private:
    // The existing entry for name (matched without regard to case), else the new file's path.
    std::string entryPath(std::string_view name) const;
    static bool validName(std::string_view name);

    std::string folder_;
};

} // namespace brantock::platform
