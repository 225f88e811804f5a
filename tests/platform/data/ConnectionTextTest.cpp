#include "platform/data/ConnectionText.h"
#include "platform/data/DataError.h"

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
        TextCase{"", "", nullptr},
        TextCase{"Provider=Microsoft.Jet.OLEDB.4.0; Data Source=\"/a; Backup=1/data.hbd\"; Jet "
                 "OLEDB:Database Password = rk7m2q",
                 "/a; Backup=1/data.hbd", "rk7m2q"},
        TextCase{"Data Source = \"/q/\"\"x\"\" y.hbd\" ;Jet OLEDB:Database Password=\"a;b\"",
                 "/q/\"x\" y.hbd", "a;b"},
        TextCase{"Data Source=\" /lead and trail \"", " /lead and trail ", nullptr},
        TextCase{"junk; Data Source=\"\"", "", nullptr}));

// Every path the programs may be given comes back whole from the text they build.
TEST(ConnectionTextQuote, AnyPathSurvivesTheText) {
    const char* const paths[] = {"/home/ann/data.hbd",
                                 "/a; Backup=1/data.hbd",
                                 "/a;b=c;/d.hbd",
                                 "/x/semi;colon.hbd",
                                 "/say \"hi\"/\"data.hbd",
                                 "\"/starts with a quote.hbd",
                                 " /blank around ",
                                 "/x/a=b.hbd",
                                 "/x/Jet OLEDB:Database Password=oops;.hbd",
                                 ""};
    for (const char* raw : paths) {
        const QString path = QString::fromUtf8(raw);
        const ConnectionText text = ConnectionText::parse(
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") +
            ConnectionText::quote(path) + QStringLiteral("; Jet OLEDB:Database Password = rk7m2q"));
        EXPECT_EQ(text.dataSource(), path) << raw;
        EXPECT_EQ(text.password(), QStringLiteral("rk7m2q")) << raw;
    }
    // A path that needs no quotes is written as it stands.
    EXPECT_EQ(ConnectionText::quote(QStringLiteral("/home/ann/my data.hbd")),
              QStringLiteral("/home/ann/my data.hbd"));
}

TEST(ConnectionTextQuote, BrokenQuotesAreRefused) {
    for (const char* raw : {"Data Source=\"/never closed; Jet OLEDB:Database Password = x",
                            "Data Source=\"/a\"b; Jet OLEDB:Database Password = x"}) {
        try {
            ConnectionText::parse(QString::fromUtf8(raw));
            ADD_FAILURE() << raw;
        } catch (const brantock::RuntimeError& e) {
            EXPECT_EQ(e.number(), brantock::platform::dataErr::BadConnectionText) << raw;
        }
    }
}
