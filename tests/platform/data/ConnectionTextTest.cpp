#include "data/ConnectionText.h"

#include <gtest/gtest.h>

using brantock::platform::ConnectionText;

namespace {

struct TextCase {
    const char* text;
    const char* dataSource;
    const char* password; // nullptr: no password item
};

class ConnectionTextParse : public ::testing::TestWithParam<TextCase> {};

} // namespace

TEST_P(ConnectionTextParse, FindsTheFileAndThePassword) {
    const TextCase& c = GetParam();
    const ConnectionText text = ConnectionText::parse(QString::fromUtf8(c.text));
    EXPECT_EQ(text.dataSource(), QString::fromUtf8(c.dataSource));
    EXPECT_EQ(text.hasPassword(), c.password != nullptr);
    if (c.password) {
        EXPECT_EQ(text.password(), QString::fromUtf8(c.password));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ConnectionTextParse,
    ::testing::Values(
        TextCase{"Provider=Microsoft.Jet.OLEDB.4.0; Data Source=/home/ann/data.hbd; Jet "
                 "OLEDB:Database Password = rk7m2q",
                 "/home/ann/data.hbd", "rk7m2q"},
        TextCase{"data source = /a b/c.hbd ;JET OLEDB:DATABASE PASSWORD=x", "/a b/c.hbd", "x"},
        TextCase{"Provider=Microsoft.Jet.OLEDB.4.0; Data Source=/x/semi;colon.hbd; Jet "
                 "OLEDB:Database Password = rk7m2q",
                 "/x/semi;colon.hbd", "rk7m2q"},
        TextCase{"Data Source=/x/a=b.hbd", "/x/a=b.hbd", nullptr},
        TextCase{"Provider=Microsoft.Jet.OLEDB.4.0; Data Source=; Jet OLEDB:Database Password = ",
                 "", ""},
        TextCase{"", "", nullptr}));
