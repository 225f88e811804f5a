#include "platform/settings/HiveFile.h"

#include <QUtf8StringView>

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

// Reads the quoted text at the start of s into out, undoing the "\\" and "\"" escapes; returns
// the position after the closing quote, npos when there is none (a torn line).
template <class Out> std::size_t scanQuoted(std::string_view s, Out& out) {
    if (s.empty() || s.front() != '"')
        return std::string_view::npos;
    for (std::size_t i = 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"'))
            out.push_back(typename Out::value_type(s[++i]));
        else if (c == '"')
            return i + 1;
        else
            out.push_back(typename Out::value_type(c));
    }
    return std::string_view::npos;
}

// Reads `@` or a quoted name; pos ends after the "=" and the blanks behind it.
bool parseName(std::string_view s, std::size_t& pos, std::string& name) {
    name.clear();
    pos = !s.empty() && s.front() == '@' ? 1 : scanQuoted(s, name);
    if (pos == std::string_view::npos)
        return false;
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
    const std::size_t end = scanQuoted(s, out);
    return end != std::string_view::npos && trimmed(s.substr(end)).empty();
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

// The file's lines without their line ends, after a byte order mark.
std::vector<std::string_view> splitLines(std::string_view text) {
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
    return lines;
}

// The first line after the blank lines and the format's header line.
std::size_t firstBodyLine(const std::vector<std::string_view>& lines) {
    std::size_t i = 0;
    while (i < lines.size() && trimmed(lines[i]).empty())
        ++i;
    if (i < lines.size() && (trimmed(lines[i]) == Header || trimmed(lines[i]) == OldHeader))
        ++i;
    return i;
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
        value.type = HiveFile::Text;
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
        value.type = HiveFile::Number;
        for (int b = 0; b < 4; ++b)
            value.data.push_back(std::uint8_t((n >> (8 * b)) & 0xFF));
        return true;
    }
    if (startsWithNoCase(s, "hex:")) {
        value.type = HiveFile::Binary;
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

// Text the quoted form holds as it is: UTF-8 without control characters (a line break would
// end the line).
bool isQuotableText(const std::vector<std::uint8_t>& bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return HiveFile::isStorableName(text) && QUtf8StringView(text).isValidUtf8();
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
    if (v.type == HiveFile::Text && isQuotableText(v.data)) {
        line += quoted(std::string(v.data.begin(), v.data.end()));
    } else if (v.type == HiveFile::Number && v.data.size() == 4) {
        const std::uint32_t n = std::uint32_t(v.data[0]) | (std::uint32_t(v.data[1]) << 8) |
                                (std::uint32_t(v.data[2]) << 16) | (std::uint32_t(v.data[3]) << 24);
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", n);
        line += buf;
    } else {
        if (v.type == HiveFile::Binary) {
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
    const std::vector<std::string_view> lines = splitLines(text);
    Section section;
    for (std::size_t i = firstBodyLine(lines); i < lines.size();) {
        const std::string_view line = trimmed(lines[i]);
        if (line.empty()) {
            ++i;
        } else if (isHeader(line)) {
            section = hive.readHeader(lines[i]);
            ++i;
        } else {
            i = hive.readValue(lines, i, section);
        }
    }
    return hive;
}

HiveFile::Section HiveFile::readHeader(std::string_view raw) {
    const std::string_view line = trimmed(raw);
    const auto path =
        line[1] == '-' ? std::nullopt : normalisePath(line.substr(1, line.size() - 2));
    if (path && !path->empty()) {
        const std::size_t key = keyIndex(*path);
        return Section{key == std::string::npos ? addKey(*path) : key, true};
    }
    const Section unreadable{addUnreadableSection(), false};
    keepLine(unreadable, raw);
    return unreadable;
}

std::size_t HiveFile::readValue(const std::vector<std::string_view>& lines, std::size_t first,
                                const Section& section) {
    const std::string_view line = trimmed(lines[first]);
    std::size_t pos = 0;
    Value value;
    const bool named = section.readValues && parseName(line, pos, value.name);
    std::string logical(line);
    std::size_t last = first;
    if (named && startsWithNoCase(line.substr(pos), "hex")) {
        while (!logical.empty() && logical.back() == '\\' && last + 1 < lines.size() &&
               isHexContinuation(trimmed(lines[last + 1]))) {
            logical.pop_back();
            ++last;
            logical += trimmed(lines[last]);
        }
    }
    if (named && parseData(std::string_view(logical).substr(pos), value)) {
        putValue(section.key, std::move(value));
    } else {
        for (std::size_t k = first; k <= last; ++k)
            keepLine(section, lines[k]);
    }
    return last + 1;
}

void HiveFile::keepLine(const Section& section, std::string_view raw) {
    if (section.key == std::string::npos) {
        preamble_.emplace_back(raw);
        return;
    }
    Key& key = keys_[section.key];
    key.keptLines.push_back(KeptLine{key.values.size(), std::string(raw)});
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
