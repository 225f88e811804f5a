#include "platform/settings/HiveFile.h"

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

bool isHeader(std::string_view line) {
    return line.size() > 2 && line.front() == '[' && line.back() == ']';
}

// What a hex list may carry on into the next line: bytes, commas and perhaps another "\".
bool isHexContinuation(std::string_view line) {
    if (!line.empty() && line.back() == '\\')
        line.remove_suffix(1);
    return !line.empty() && std::all_of(line.begin(), line.end(), [](char c) {
        return hexDigit(c) >= 0 || c == ',' || c == ' ' || c == '\t';
    });
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
    constexpr char Digits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < data.size(); ++i) {
        line += Digits[data[i] >> 4];
        line += Digits[data[i] & 0xF];
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

std::string HiveFile::folded(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        c = lowerAscii(c);
    return out;
}

bool HiveFile::isStorableName(std::string_view name) {
    return std::none_of(name.begin(), name.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
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

std::size_t HiveFile::keyIndex(std::string_view full) const {
    const auto it = keyIndex_.find(folded(full));
    return it == keyIndex_.end() ? std::string::npos : it->second;
}

std::size_t HiveFile::addKey(std::string full) {
    std::string name = folded(full);
    for (std::size_t slash = name.find('\\'); slash != std::string::npos;
         slash = name.find('\\', slash + 1))
        parents_.insert(name.substr(0, slash));
    keyIndex_.emplace(std::move(name), keys_.size());
    keys_.push_back(Key{std::move(full), {}, {}});
    valueIndex_.emplace_back();
    return keys_.size() - 1;
}

std::size_t HiveFile::addUnreadableSection() {
    keys_.push_back(Key{});
    valueIndex_.emplace_back();
    return keys_.size() - 1;
}

bool HiveFile::keyExists(std::string_view path) const {
    if (path.empty())
        return true;
    const std::string full = folded(fullPath(path));
    return keyIndex_.count(full) != 0 || parents_.count(full) != 0;
}

const HiveFile::Value* HiveFile::findValue(std::string_view path, std::string_view name) const {
    const std::size_t key = keyIndex(fullPath(path));
    if (key == std::string::npos)
        return nullptr;
    const auto it = valueIndex_[key].find(folded(name));
    return it == valueIndex_[key].end() ? nullptr : &keys_[key].values[it->second];
}

std::size_t HiveFile::ensureKeyIndex(std::string_view path) {
    std::string full = fullPath(path);
    const std::size_t key = keyIndex(full);
    return key == std::string::npos ? addKey(std::move(full)) : key;
}

HiveFile::Key& HiveFile::ensureKey(std::string_view path) {
    return keys_[ensureKeyIndex(path)];
}

void HiveFile::putValue(std::size_t key, Value value) {
    std::vector<Value>& values = keys_[key].values;
    const auto [it, added] = valueIndex_[key].emplace(folded(value.name), values.size());
    if (added) {
        values.push_back(std::move(value));
        return;
    }
    values[it->second].type = value.type;
    values[it->second].data = std::move(value.data);
}

void HiveFile::setValue(std::string_view path, Value value) {
    putValue(ensureKeyIndex(path), std::move(value));
}

bool HiveFile::deleteValue(std::string_view path, std::string_view name) {
    const std::size_t key = keyIndex(fullPath(path));
    if (key == std::string::npos)
        return false;
    NameIndex& index = valueIndex_[key];
    const auto it = index.find(folded(name));
    if (it == index.end())
        return false;
    const std::size_t gone = it->second;
    index.erase(it);
    Key& k = keys_[key];
    k.values.erase(k.values.begin() + std::ptrdiff_t(gone));
    for (auto& [_, position] : index)
        if (position > gone)
            --position;
    for (KeptLine& line : k.keptLines)
        if (line.position > gone)
            --line.position;
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

    // The section lines are kept in (npos: before the first one), and whether its values
    // are read: not under a header that cannot be read, whose values belong to no known key.
    std::size_t section = std::string::npos;
    bool readValues = false;
    auto keep = [&](std::string_view raw) {
        if (section == std::string::npos) {
            hive.preamble_.emplace_back(raw);
            return;
        }
        Key& key = hive.keys_[section];
        key.keptLines.push_back(KeptLine{key.values.size(), std::string(raw)});
    };

    while (i < lines.size()) {
        const std::string_view raw = lines[i];
        const std::string_view line = trimmed(raw);
        if (line.empty()) {
            ++i;
            continue;
        }
        if (isHeader(line)) {
            const auto path =
                line[1] == '-' ? std::nullopt : normalisePath(line.substr(1, line.size() - 2));
            if (path && !path->empty()) {
                section = hive.keyIndex(*path);
                if (section == std::string::npos)
                    section = hive.addKey(*path);
                readValues = true;
            } else {
                section = hive.addUnreadableSection();
                readValues = false;
                keep(raw);
            }
            ++i;
            continue;
        }

        std::size_t pos = 0;
        Value value;
        const bool named = readValues && parseName(line, pos, value.name);
        std::string logical(line);
        std::size_t last = i;
        if (named && startsWithNoCase(line.substr(pos), "hex")) {
            while (!logical.empty() && logical.back() == '\\' && last + 1 < lines.size() &&
                   isHexContinuation(trimmed(lines[last + 1]))) {
                logical.pop_back();
                ++last;
                logical += trimmed(lines[last]);
            }
        }
        if (named && parseData(std::string_view(logical).substr(pos), value)) {
            hive.putValue(section, std::move(value));
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
        if (!key.path.empty()) {
            out += '[';
            out += key.path;
            out += "]\n";
        }
        auto kept = key.keptLines.begin();
        for (std::size_t v = 0; v <= key.values.size(); ++v) {
            for (; kept != key.keptLines.end() && kept->position <= v; ++kept) {
                out += kept->text;
                out += '\n';
            }
            if (v < key.values.size()) {
                out += serializeValue(key.values[v]);
                out += '\n';
            }
        }
        out += '\n';
    }
    return out;
}

} // namespace brantock::platform
