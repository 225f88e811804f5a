#include "platform/settings/AutostartFolder.h"

#include "platform/os/AtomicFile.h"
#include "platform/settings/HiveFile.h"
#include "platform/settings/RegistryApi.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace brantock::platform {

namespace {

constexpr std::string_view Suffix = ".desktop";

std::string escape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case ' ':
            out += (i == 0) ? "\\s" : " ";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char n = text[++i];
        switch (n) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            out += n;
        }
    }
    return out;
}

// The key that keeps a value's own text beside the command the desktop runs, so a value
// reads back exactly as it was written.
constexpr std::string_view ValueKey = "X-Brantock-Value=";

// The arguments of a command line: apart at blanks, a double-quoted stretch one argument
// with its blanks. A value's command line has no escapes; an Exec line (desktopRules) also
// parts at tabs, takes the character after a \ inside quotes as it is, and %% as %.
std::vector<std::string> splitArguments(std::string_view text, bool desktopRules) {
    std::vector<std::string> args;
    std::string arg;
    bool quoted = false;
    bool any = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool next = i + 1 < text.size();
        if (desktopRules && quoted && c == '\\' && next) {
            arg += text[++i];
        } else if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (desktopRules && c == '%' && next && text[i + 1] == '%') {
            arg += '%';
            ++i;
            any = true;
        } else if ((c == ' ' || (desktopRules && c == '\t')) && !quoted) {
            if (any)
                args.push_back(arg);
            arg.clear();
            any = false;
        } else {
            arg += c;
            any = true;
        }
    }
    if (any)
        args.push_back(arg);
    return args;
}

// One argument of an Exec line: a % doubled everywhere (a field code otherwise), and, where
// the argument holds a character the line reserves, in double quotes with \, ", ` and $
// escaped.
std::string execArgument(std::string_view arg) {
    static constexpr std::string_view Reserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string out;
    for (const char c : arg)
        out += c == '%' ? std::string("%%") : std::string(1, c);
    if (!out.empty() && out.find_first_of(Reserved) == std::string::npos)
        return out;
    std::string quoted = "\"";
    for (const char c : out) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

// The command a value names: a value that begins with a quote is a command line; any other
// is the path of one program, blanks and all.
std::string execLine(std::string_view value) {
    if (value.empty() || value.front() != '"')
        return execArgument(value);
    std::string line;
    for (const std::string& arg : splitArguments(value, false))
        line += (line.empty() ? "" : " ") + execArgument(arg);
    return line;
}

// An Exec line back into its arguments, joined with blanks: how an entry written by hand
// reads.
std::string commandOf(std::string_view exec) {
    std::string joined;
    for (const std::string& arg : splitArguments(exec, true))
        joined += (joined.empty() ? "" : " ") + arg;
    return joined;
}

std::int32_t failureCode(int error) {
    return (error == EACCES || error == EPERM || error == EROFS || error == ENOTDIR ||
            error == ENOENT)
               ? ERROR_ACCESS_DENIED
               : ERROR_REGISTRY_IO_FAILED;
}

} // namespace

AutostartFolder::AutostartFolder(std::string folder) : folder_(std::move(folder)) {}

bool AutostartFolder::validName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

std::string AutostartFolder::entryPath(std::string_view name) const {
    const std::string wanted = std::string(name) + std::string(Suffix);
    if (DIR* dir = ::opendir(folder_.c_str())) {
        std::string found;
        while (const dirent* entry = ::readdir(dir)) {
            if (HiveFile::sameName(entry->d_name, wanted)) {
                found = entry->d_name;
                break;
            }
        }
        ::closedir(dir);
        if (!found.empty())
            return folder_ + "/" + found;
    }
    return folder_ + "/" + wanted;
}

std::int32_t AutostartFolder::checkWritable() const {
    if (const int rc = AtomicFile::makeFolders(folder_); rc != 0)
        return ERROR_ACCESS_DENIED;
    const std::string probe = folder_ + "/.brantock-write-check";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return ERROR_ACCESS_DENIED;
    ::close(fd);
    ::unlink(probe.c_str());
    return ERROR_SUCCESS;
}

std::optional<std::string> AutostartFolder::read(std::string_view name) const {
    if (!validName(name))
        return std::nullopt;
    int error = 0;
    const std::string text = AtomicFile::read(entryPath(name), error);
    if (error != 0)
        return std::nullopt;
    bool inEntry = false;
    std::optional<std::string> exec;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t nl = text.find('\n', pos);
        if (nl == std::string::npos)
            nl = text.size();
        std::string_view line(text.data() + pos, nl - pos);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty() && line.front() == '[')
            inEntry = line == "[Desktop Entry]";
        else if (inEntry && line.substr(0, ValueKey.size()) == ValueKey)
            return unescape(line.substr(ValueKey.size()));
        else if (inEntry && !exec && line.substr(0, 5) == "Exec=")
            exec = commandOf(unescape(line.substr(5)));
        pos = nl + 1;
    }
    return exec.value_or(std::string()); // an entry without Exec= holds the empty text
}

std::int32_t AutostartFolder::write(std::string_view name, std::string_view command) {
    if (!validName(name))
        return ERROR_INVALID_PARAMETER;
    if (const int rc = AtomicFile::makeFolders(folder_); rc != 0)
        return failureCode(rc);
    std::string content = "[Desktop Entry]\nType=Application\nName=";
    content += escape(name);
    content += "\nExec=";
    content += escape(execLine(command));
    content += "\n";
    content += ValueKey;
    content += escape(command);
    content += "\n";
    const int rc = AtomicFile::write(entryPath(name), content);
    return rc == 0 ? ERROR_SUCCESS : failureCode(rc);
}

std::int32_t AutostartFolder::remove(std::string_view name) {
    if (!validName(name))
        return ERROR_FILE_NOT_FOUND;
    if (::unlink(entryPath(name).c_str()) == 0)
        return ERROR_SUCCESS;
    return errno == ENOENT ? ERROR_FILE_NOT_FOUND : failureCode(errno);
}

} // namespace brantock::platform
