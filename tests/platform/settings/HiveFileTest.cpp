#include "platform/settings/HiveFile.h"

#include <gtest/gtest.h>

using brantock::platform::HiveFile;

namespace {

std::string textOf(const HiveFile::Value* v) {
    return v ? std::string(v->data.begin(), v->data.end()) : std::string("<missing>");
}

const char* const Product = "Software\\Halvern\\Brantock";

} // namespace

TEST(HiveFile, ReadsEveryValueForm) {
    const HiveFile hive = HiveFile::parse("Windows Registry Editor Version 5.00\r\n"
                                          "\r\n"
                                          "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock]\r\n"
                                          "\"Path\"=\"C:\\\\x \\\"q\\\"\"\r\n"
                                          "\"Count\"=dword:000001f4\r\n"
                                          "\"Raw\"=hex:01,02,\\\r\n"
                                          "  03\r\n"
                                          "\"Expand\"=hex(2):41,00\r\n"
                                          "@=\"default\"\r\n",
                                          "HKEY_CURRENT_USER");
    EXPECT_EQ(textOf(hive.findValue(Product, "path")), "C:\\x \"q\"");
    const auto* count = hive.findValue(Product, "COUNT");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->type, 4u);
    EXPECT_EQ(count->data, (std::vector<std::uint8_t>{0xf4, 0x01, 0, 0}));
    EXPECT_EQ(hive.findValue(Product, "Raw")->data, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(hive.findValue(Product, "Expand")->type, 2u);
    EXPECT_EQ(textOf(hive.findValue(Product, "")), "default");
    EXPECT_EQ(hive.keptLineCount(), 0u);
}

TEST(HiveFile, WritesWhatItReads) {
    HiveFile hive("HKEY_LOCAL_MACHINE");
    hive.setValue("Software\\Halvern\\Brantock\\MultiPortStub",
                  {"Port1Tag", 1, {'D', 'o', 'o', 'r'}});
    hive.setValue(Product, {"Control", 1, {1, 2, 3, 'x'}});
    hive.setValue(Product, {"Terminated", 1, {'a', 0}});
    hive.setValue(Product, {"Long", 3, std::vector<std::uint8_t>(100, 0xab)});
    hive.setValue(Product, {"Number", 4, {1, 0, 0, 0}});
    hive.setValue(Product, {"Odd", 0x1f, {9}});

    const std::string text = hive.serialize();
    EXPECT_NE(text.find("\"Port1Tag\"=\"Door\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"Control\"=hex(1):01,02,03,78"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Number\"=dword:00000001"), std::string::npos) << text;

    const HiveFile again = HiveFile::parse(text, "HKEY_LOCAL_MACHINE");
    EXPECT_EQ(again.serialize(), text);
    EXPECT_EQ(again.findValue(Product, "Long")->data.size(), 100u);
    EXPECT_EQ(again.findValue(Product, "Terminated")->data, (std::vector<std::uint8_t>{'a', 0}));
    EXPECT_EQ(again.findValue(Product, "Odd")->type, 0x1fu);
}

TEST(HiveFile, KeepsDamagedLinesAndReadsTheRest) {
    const std::string damaged = "Windows Registry Editor Version 5.00\n"
                                "garbage before any key\n"
                                "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock]\n"
                                "\"Good\"=\"1\"\n"
                                "\"Bad\"=dword:xyz\n"
                                "\"Strange\"=qword:12\n"
                                "\x01\x02 binary junk\n"
                                "\"AlsoGood\"=\"2\"\n"
                                "\"Torn\"=\"C:\\\\da";
    const HiveFile hive = HiveFile::parse(damaged, "HKEY_CURRENT_USER");
    EXPECT_EQ(textOf(hive.findValue(Product, "Good")), "1");
    EXPECT_EQ(textOf(hive.findValue(Product, "AlsoGood")), "2");
    EXPECT_EQ(hive.findValue(Product, "Bad"), nullptr);
    EXPECT_EQ(hive.findValue(Product, "Torn"), nullptr);
    EXPECT_EQ(hive.keptLineCount(), 5u);

    HiveFile changed = hive;
    changed.setValue(Product, {"New", 1, {'n'}});
    const std::string rewritten = changed.serialize();
    for (const char* kept : {"garbage before any key", "\"Bad\"=dword:xyz", "\"Strange\"=qword:12",
                             "\"Torn\"=\"C:\\\\da", "binary junk"})
        EXPECT_NE(rewritten.find(kept), std::string::npos) << kept;
    const HiveFile reread = HiveFile::parse(rewritten, "HKEY_CURRENT_USER");
    EXPECT_EQ(textOf(reread.findValue(Product, "Good")), "1");
    EXPECT_EQ(textOf(reread.findValue(Product, "New")), "n");
    EXPECT_EQ(reread.keptLineCount(), 5u);
}

TEST(HiveFile, QuotesOnlyTextThatIsUtf8) {
    // Bytes that are not UTF-8 go out as hex(1), so an editor cannot mangle them, and come
    // back as they were.
    const struct {
        const char* bytes;
        bool quoted;
    } cases[] = {
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E", true},
        {"caf\xE9", false},          // Latin-1
        {"\xC3", false},             // cut short
        {"\xC0\xAF", false},         // overlong
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xF4\x90\x80\x80", false}, // beyond the last code point
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const std::string bytes = c.bytes;
        HiveFile hive("HKEY_CURRENT_USER");
        hive.setValue(Product, {"Name", HiveFile::Text, {bytes.begin(), bytes.end()}});
        const std::string text = hive.serialize();
        EXPECT_EQ(text.find("\"Name\"=\"" + bytes + "\"") != std::string::npos, c.quoted) << text;
        EXPECT_EQ(text.find("\"Name\"=hex(1):") != std::string::npos, !c.quoted) << text;
        const HiveFile again = HiveFile::parse(text, "HKEY_CURRENT_USER");
        EXPECT_EQ(again.findValue(Product, "Name")->type, std::uint32_t(HiveFile::Text));
        EXPECT_EQ(textOf(again.findValue(Product, "Name")), bytes);
    }
}

TEST(HiveFile, KeysExistWithTheirParentsAndMatchWithoutCase) {
    const HiveFile hive = HiveFile::parse(
        "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock\\MultiPortStub]\n", "HKEY_CURRENT_USER");
    EXPECT_TRUE(hive.keyExists("software\\halvern\\brantock\\multiportstub"));
    EXPECT_TRUE(hive.keyExists("Software\\Halvern"));
    EXPECT_TRUE(hive.keyExists(""));
    EXPECT_FALSE(hive.keyExists("Software\\Halvern\\Brant"));
    EXPECT_FALSE(hive.keyExists("Software\\Other"));

    HiveFile added = hive;
    added.ensureKey("Software\\Other\\Deep");
    EXPECT_TRUE(added.keyExists("SOFTWARE\\OTHER"));
    EXPECT_FALSE(added.keyExists("Software\\Oth"));
}

TEST(HiveFile, NormalisesKeyPaths) {
    EXPECT_EQ(HiveFile::normalisePath("\\Software\\Halvern\\Brantock\\"),
              "Software\\Halvern\\Brantock");
    EXPECT_EQ(HiveFile::normalisePath(""), "");
    EXPECT_FALSE(HiveFile::normalisePath("Software\\\\Halvern").has_value());
}

TEST(HiveFile, ContinuationJoinsOnlyHexLines) {
    // A hex list cut after its trailing "\" must not take in what follows it.
    const struct {
        const char* next;
        const char* path;
        const char* name;
    } cases[] = {
        {"[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock\\Ports]\n\"Port1\"=\"COM1\"",
         "Software\\Halvern\\Brantock\\Ports", "Port1"},
        {"\"Port1\"=\"COM1\"", Product, "Port1"},
        {"@=\"COM1\"", Product, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.next);
        const std::string text = std::string("[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock]\n"
                                             "\"Raw\"=hex:01,02,\\\n") +
                                 c.next + "\n";
        const HiveFile hive = HiveFile::parse(text, "HKEY_CURRENT_USER");
        EXPECT_EQ(textOf(hive.findValue(c.path, c.name)), "COM1");
        EXPECT_EQ(hive.findValue(Product, "Raw"), nullptr);
        EXPECT_EQ(hive.keptLineCount(), 1u);
        // Nor on the next read, once rewritten.
        const HiveFile again = HiveFile::parse(hive.serialize(), "HKEY_CURRENT_USER");
        EXPECT_EQ(textOf(again.findValue(c.path, c.name)), "COM1");
        EXPECT_EQ(again.serialize(), hive.serialize());
    }
}

TEST(HiveFile, WritesDamagedLinesBackWhereTheyStood) {
    const std::string text = "Windows Registry Editor Version 5.00\n\n"
                             "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock]\n"
                             "\"First\"=\"1\"\n"
                             "garbage between\n"
                             "\"Second\"=\"2\"\n"
                             "\"Bad\"=dword:xyz\n"
                             "\"Third\"=\"3\"\n\n"
                             "[HKEY_CURRENT_USER\\Software\\\\Broken]\n"
                             "\"Stray\"=\"?\"\n\n"
                             "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock\\Ports]\n"
                             "\"Port1\"=\"COM1\"\n\n";
    HiveFile hive = HiveFile::parse(text, "HKEY_CURRENT_USER");
    EXPECT_EQ(hive.serialize(), text);
    // Values under a header that cannot be read belong to no key read before it.
    EXPECT_EQ(hive.findValue(Product, "Stray"), nullptr);
    EXPECT_EQ(hive.keptLineCount(), 4u);

    EXPECT_TRUE(hive.deleteValue(Product, "first"));
    hive.setValue(Product, {"SECOND", 1, {'b'}});
    hive.setValue(Product, {"Fourth", 1, {'4'}});
    EXPECT_EQ(textOf(hive.findValue(Product, "third")), "3");
    EXPECT_EQ(textOf(hive.findValue(Product, "second")), "b");
    EXPECT_EQ(hive.serialize(), "Windows Registry Editor Version 5.00\n\n"
                                "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock]\n"
                                "garbage between\n"
                                "\"Second\"=\"b\"\n"
                                "\"Bad\"=dword:xyz\n"
                                "\"Third\"=\"3\"\n"
                                "\"Fourth\"=\"4\"\n\n"
                                "[HKEY_CURRENT_USER\\Software\\\\Broken]\n"
                                "\"Stray\"=\"?\"\n\n"
                                "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock\\Ports]\n"
                                "\"Port1\"=\"COM1\"\n\n");
}
