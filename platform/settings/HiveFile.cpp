#include "HiveFile.h"

#include <algorithm>
#include <cstdio>

namespace brantock::platform {

namespace {

constexpr std::string_view Header = "Windows Registry Editor Version 5.00";
constexpr std::string_view OldHeader = "REGEDIT4";

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

std::string_view trimmed(std::string_view s) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = lowerAscii(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Reads `@` or a quoted name; pos ends after the "=" and the blanks behind it.
bool parseName(std::string_view s, std::size_t& pos, std::string& name) {
    pos = 0;
    name.clear();
    if (s.empty())
        return false;
    if (s[0] == '@') {
        pos = 1;
    } else if (s[0] == '"') {
        std::size_t i = 1;
        bool closed = false;
        while (i < s.size()) {
            const char c = s[i];
            if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
                name += s[i + 1];
                i += 2;
            } else if (c == '"') {
                closed = true;
                ++i;
                break;
            } else {
                name += c;
                ++i;
            }
        }
        if (!closed)
            return false;
        pos = i;
    } else {
        return false;
    }
    while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t'))
        ++pos;
    if (pos >= s.size() || s[pos] != '=')
        return false;
    ++pos;
    while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t'))
        ++pos;
    return true;
}

bool parseQuoted(std::string_view s, std::vector<std::uint8_t>& out) {
    if (s.size() < 2 || s.front() != '"')
        return false;
    std::size_t i = 1;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
            out.push_back(std::uint8_t(s[i + 1]));
            i += 2;
        } else if (c == '"') {
            return trimmed(s.substr(i + 1)).empty();
        } else {
            out.push_back(std::uint8_t(c));
            ++i;
        }
    }
    return false; // no closing quote: a torn line
}

bool parseHexBytes(std::string_view s, std::vector<std::uint8_t>& out) {
    std::size_t i = 0;
    bool expectByte = true;
    while (i < s.size()) {
        const char c = s[i];
        if (c == ' ' || c == '\t') {
            ++i;
        } else if (c == ',') {
            if (expectByte)
                return false;
            expectByte = true;
            ++i;
        } else {
            if (!expectByte || i + 1 >= s.size())
                return false;
            const int hi = hexDigit(s[i]);
            const int lo = hexDigit(s[i + 1]);
            if (hi < 0 || lo < 0)
                return false;
            out.push_back(std::uint8_t(hi * 16 + lo));
            expectByte = false;
            i += 2;
        }
    }
    return !expectByte || out.empty();
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lowerAscii(s[i]) != lowerAscii(prefix[i]))
            return false;
    return true;
}

bool parseData(std::string_view s, HiveFile::Value& value) {
    value.data.clear();
    if (!s.empty() && s.front() == '"') {
        value.type = 1;
        return parseQuoted(s, value.data);
    }
    if (startsWithNoCase(s, "dword:")) {
        const std::string_view digits = trimmed(s.substr(6));
        if (digits.empty() || digits.size() > 8)
            return false;
        std::uint32_t n = 0;
        for (const char c : digits) {
            const int d = hexDigit(c);
            if (d < 0)
                return false;
            n = n * 16 + std::uint32_t(d);
        }
        value.type = 4;
        for (int b = 0; b < 4; ++b)
            value.data.push_back(std::uint8_t((n >> (8 * b)) & 0xFF));
        return true;
    }
    if (startsWithNoCase(s, "hex:")) {
        value.type = 3;
        return parseHexBytes(s.substr(4), value.data);
    }
    if (startsWithNoCase(s, "hex(")) {
        const std::size_t close = s.find("):");
        if (close == std::string_view::npos || close == 4 || close > 12)
            return false;
        std::uint32_t type = 0;
        for (const char c : s.substr(4, close - 4)) {
            const int d = hexDigit(c);
            if (d < 0)
                return false;
            type = type * 16 + std::uint32_t(d);
        }
        value.type = type;
        return parseHexBytes(s.substr(close + 2), value.data);
    }
    return false;
}

bool isValidUtf8Text(const std::vector<std::uint8_t>& bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::uint8_t c = bytes[i];
        if (c < 0x20 || c == 0x7F)
            return false;
        int follow = 0;
        if (c < 0x80)
            follow = 0;
        else if ((c & 0xE0) == 0xC0 && c >= 0xC2)
            follow = 1;
        else if ((c & 0xF0) == 0xE0)
            follow = 2;
        else if ((c & 0xF8) == 0xF0 && c <= 0xF4)
            follow = 3;
        else
            return false;
        if (i + follow >= bytes.size())
            return false;
        for (int k = 1; k <= follow; ++k)
            if ((bytes[i + k] & 0xC0) != 0x80)
                return false;
        i += follow + 1;
    }
    return true;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

void appendHex(std::string& line, const std::vector<std::uint8_t>& data) {
    char buf[4];
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02x", data[i]);
        line += buf;
        if (i + 1 < data.size()) {
            line += ',';
            const std::size_t lineStart = line.rfind('\n');
            const std::size_t width =
                line.size() - (lineStart == std::string::npos ? 0 : lineStart + 1);
            if (width > 76)
                line += "\\\n  ";
        }
    }
}

std::string serializeValue(const HiveFile::Value& v) {
    std::string line = v.name.empty() ? "@" : quoted(v.name);
    line += '=';
    if (v.type == 1 && isValidUtf8Text(v.data)) {
        line += quoted(std::string(v.data.begin(), v.data.end()));
    } else if (v.type == 4 && v.data.size() == 4) {
        const std::uint32_t n = std::uint32_t(v.data[0]) | (std::uint32_t(v.data[1]) << 8) |
                                (std::uint32_t(v.data[2]) << 16) | (std::uint32_t(v.data[3]) << 24);
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", n);
        line += buf;
    } else {
        if (v.type == 3) {
            line += "hex:";
        } else {
            char buf[24];
            std::snprintf(buf, sizeof buf, "hex(%x):", v.type);
            line += buf;
        }
        appendHex(line, v.data);
    }
    return line;
}

} // namespace

HiveFile::HiveFile(std::string rootName) : rootName_(std::move(rootName)) {}

bool HiveFile::sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

std::optional<std::string> HiveFile::normalisePath(std::string_view path) {
    while (!path.empty() && path.front() == '\\')
        path.remove_prefix(1);
    while (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    if (path.find("\\\\") != std::string_view::npos)
        return std::nullopt;
    return std::string(path);
}

std::string HiveFile::fullPath(std::string_view path) const {
    return path.empty() ? rootName_ : rootName_ + "\\" + std::string(path);
}

HiveFile::Key* HiveFile::findKey(std::string_view full) {
    for (Key& k : keys_)
        if (sameName(k.path, full))
            return &k;
    return nullptr;
}

const HiveFile::Key* HiveFile::findKey(std::string_view full) const {
    return const_cast<HiveFile*>(this)->findKey(full);
}

bool HiveFile::keyExists(std::string_view path) const {
    if (path.empty())
        return true;
    const std::string full = fullPath(path);
    for (const Key& k : keys_) {
        if (sameName(k.path, full))
            return true;
        if (k.path.size() > full.size() && k.path[full.size()] == '\\' &&
            sameName(std::string_view(k.path).substr(0, full.size()), full))
            return true;
    }
    return false;
}

const HiveFile::Value* HiveFile::findValue(std::string_view path, std::string_view name) const {
    const Key* key = findKey(fullPath(path));
    if (!key)
        return nullptr;
    for (const Value& v : key->values)
        if (sameName(v.name, name))
            return &v;
    return nullptr;
}

HiveFile::Key& HiveFile::ensureKey(std::string_view path) {
    const std::string full = fullPath(path);
    if (Key* k = findKey(full))
        return *k;
    keys_.push_back(Key{full, {}, {}});
    return keys_.back();
}

void HiveFile::setValue(std::string_view path, Value value) {
    Key& key = ensureKey(path);
    for (Value& v : key.values) {
        if (sameName(v.name, value.name)) {
            v.type = value.type;
            v.data = std::move(value.data);
            return;
        }
    }
    key.values.push_back(std::move(value));
}

bool HiveFile::deleteValue(std::string_view path, std::string_view name) {
    Key* key = findKey(fullPath(path));
    if (!key)
        return false;
    const auto it = std::find_if(key->values.begin(), key->values.end(),
                                 [&](const Value& v) { return sameName(v.name, name); });
    if (it == key->values.end())
        return false;
    key->values.erase(it);
    return true;
}

std::size_t HiveFile::keptLineCount() const {
    std::size_t n = preamble_.size();
    for (const Key& k : keys_)
        n += k.keptLines.size();
    return n;
}

HiveFile HiveFile::parse(std::string_view text, std::string rootName) {
    HiveFile hive(std::move(rootName));
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);

    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (nl == std::string_view::npos)
            break;
        text.remove_prefix(nl + 1);
    }

    std::size_t i = 0;
    while (i < lines.size() && trimmed(lines[i]).empty())
        ++i;
    if (i < lines.size() && (trimmed(lines[i]) == Header || trimmed(lines[i]) == OldHeader))
        ++i;

    Key* current = nullptr;
    std::size_t currentIndex = 0;
    auto keep = [&](std::string_view raw) {
        if (current)
            hive.keys_[currentIndex].keptLines.emplace_back(raw);
        else
            hive.preamble_.emplace_back(raw);
    };

    while (i < lines.size()) {
        const std::string_view raw = lines[i];
        const std::string_view line = trimmed(raw);
        if (line.empty()) {
            ++i;
            continue;
        }
        if (line.front() == '[' && line.back() == ']' && line.size() > 2 && line[1] != '-') {
            if (auto path = normalisePath(line.substr(1, line.size() - 2));
                path && !path->empty()) {
                Key* existing = hive.findKey(*path);
                if (!existing) {
                    hive.keys_.push_back(Key{*path, {}, {}});
                    existing = &hive.keys_.back();
                }
                currentIndex = std::size_t(existing - hive.keys_.data());
                current = existing;
            } else {
                keep(raw);
            }
            ++i;
            continue;
        }

        std::size_t pos = 0;
        Value value;
        const bool named = parseName(line, pos, value.name);
        std::string logical(line);
        std::size_t last = i;
        if (named && startsWithNoCase(line.substr(pos), "hex")) {
            while (!logical.empty() && logical.back() == '\\' && last + 1 < lines.size()) {
                logical.pop_back();
                ++last;
                logical += trimmed(lines[last]);
            }
        }
        if (named && parseData(std::string_view(logical).substr(pos), value) && current) {
            hive.keys_[currentIndex].values.erase(
                std::remove_if(hive.keys_[currentIndex].values.begin(),
                               hive.keys_[currentIndex].values.end(),
                               [&](const Value& v) { return sameName(v.name, value.name); }),
                hive.keys_[currentIndex].values.end());
            hive.keys_[currentIndex].values.push_back(std::move(value));
        } else {
            for (std::size_t k = i; k <= last; ++k)
                keep(lines[k]);
        }
        i = last + 1;
    }
    return hive;
}

std::string HiveFile::serialize() const {
    std::string out(Header);
    out += "\n\n";
    for (const std::string& line : preamble_) {
        out += line;
        out += '\n';
    }
    if (!preamble_.empty())
        out += '\n';
    for (const Key& key : keys_) {
        out += '[';
        out += key.path;
        out += "]\n";
        for (const Value& v : key.values) {
            out += serializeValue(v);
            out += '\n';
        }
        for (const std::string& line : key.keptLines) {
            out += line;
            out += '\n';
        }
        out += '\n';
    }
    return out;
}

} // namespace brantock::platform
