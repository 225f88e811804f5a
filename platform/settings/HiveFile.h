#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace brantock::platform {

// One hive in the registry editor's export format:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Halvern\Brantock]
//   "DatabasePath"="/home/ann/Documents/Brantock/data.hbd"
//   "Limit"=dword:000001f4
//   "Raw"=hex:01,02
//   "Expand"=hex(2):25,48,4f,4d,45,25,00
//
// Text is UTF-8 (the bytes of hex(N) forms too). Lines that cannot be read (garbage, a torn
// last line, a form this reader does not know) are kept as they are and written back in
// place, so a rewrite never drops anything a person or another tool put there. Keys and
// values are found by name through hash maps beside the ordered lists, so reading and
// writing a hive take time in proportion to its size.
class HiveFile {
public:
    // The value types written in a form of their own; any other type is written as hex(N).
    enum ValueType : std::uint32_t { Text = 1, Binary = 3, Number = 4 };

    struct Value {
        std::string name;       // "" is the key's default value ("@")
        std::uint32_t type = 0; // a ValueType or any other
        std::vector<std::uint8_t> data;
    };
    struct KeptLine {
        std::size_t position; // how many of the section's values stand before it
        std::string text;
    };
    struct Key {
        // Full path, root name first; "" for a header that cannot be read, kept with the
        // lines below it as they stand.
        std::string path;
        std::vector<Value> values;
        std::vector<KeptLine> keptLines; // unreadable lines met inside this section
    };

    explicit HiveFile(std::string rootName);

    static HiveFile parse(std::string_view text, std::string rootName);
    std::string serialize() const;

    const std::string& rootName() const { return rootName_; }
    // Paths below are relative to the root ("Software\Halvern\Brantock", "" for the root).
    bool keyExists(std::string_view path) const;
    const Value* findValue(std::string_view path, std::string_view name) const;
    // Creates the key and its parents when missing.
    Key& ensureKey(std::string_view path);
    void setValue(std::string_view path, Value value);
    // True when the value was there.
    bool deleteValue(std::string_view path, std::string_view name);

    const std::vector<Key>& keys() const { return keys_; }
    std::size_t keptLineCount() const;

    // Case-insensitive (ASCII) comparison as registry names use.
    static bool sameName(std::string_view a, std::string_view b);
    // Names that the file can hold as they are: no control characters (a line break would
    // end the line and start another key's).
    static bool isStorableName(std::string_view name);
    // Drops leading and trailing "\"; empty inner parts make the path invalid.
    static std::optional<std::string> normalisePath(std::string_view path);

private:
    using NameIndex = std::unordered_map<std::string, std::size_t>; // folded name -> position

    // Where parse() stands: the section whose lines it keeps (npos: before the first one), and
    // whether its values are read; not under a header that cannot be read, whose values
    // belong to no known key.
    struct Section {
        std::size_t key = std::string::npos;
        bool readValues = false;
    };
    Section readHeader(std::string_view raw);
    // Reads the value starting at lines[first] (with the lines a hex list carries on into)
    // or keeps its lines; returns the index of the line after it.
    std::size_t readValue(const std::vector<std::string_view>& lines, std::size_t first,
                          const Section& section);
    void keepLine(const Section& section, std::string_view raw);

    static std::string folded(std::string_view name);
    std::string fullPath(std::string_view path) const;
    std::size_t keyIndex(std::string_view fullPath) const; // npos when missing
    std::size_t addKey(std::string fullPath);
    std::size_t ensureKeyIndex(std::string_view path);
    std::size_t addUnreadableSection();
    void putValue(std::size_t key, Value value);

    std::string rootName_;
    std::vector<std::string> preamble_; // kept lines before the first section
    std::vector<Key> keys_;
    NameIndex keyIndex_;
    std::vector<NameIndex> valueIndex_;       // one per key, beside keys_
    std::unordered_set<std::string> parents_; // folded paths of every key's parents
};

} // namespace brantock::platform
