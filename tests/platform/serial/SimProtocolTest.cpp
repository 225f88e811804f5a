#include "platform/serial/SimProtocol.h"

#include <gtest/gtest.h>

using namespace brantock::platform;

namespace {

// Lines as a damaged or confused peer might send them: none of them may be acted on, since
// the levels of a damaged line are a guess.
const char* const DamagedLines[] = {
    "L dsr=1 cts=0 cd=0 \xc3\xa9",
    "L dsr=1 cts=0 cd=0 x=1",
    "L dsr=1 cts=0 cd=0 cd=1",
    "L dsr=1 dsr=0 cts=0 cd=0",
    "L dsr=1 cts=0",
    "L dsr=1  cts=0 cd=0",
    "L dsr=1 cts=0 cd=",
    "L dsr=1 cts=0 cd=01",
    "L dsr=1 cts=0 cd=0=1",
    "L dsr=1 cts=0 cd=\xc3\xa9",
    "L dsr=1 cts=0 cd=0\x01",
    "L\tdsr=1 cts=0 cd=0",
    "Lx dsr=1 cts=0 cd=0",
    "l dsr=1 cts=0 cd=0",
    "L",
    "",
    "O dtr=1 rts=0 \xc3\xa9",
    "O dtr=1",
    "O dtr=1 rts=0 rts=1",
    "D",
    "D 4",
    "D 4g",
    "D 41 42",
    "D 41 \xc3\xa9",
    "K x",
    "K K",
    "E",
    "E busy now",
    "E idle",
    "X",
};

TEST(SimProtocol, ALineIsReadOnlyWhenItParsesWhole) {
    for (const char* line : DamagedLines)
        EXPECT_FALSE(SimProtocol::parse(QByteArray(line)).has_value()) << '"' << line << '"';
}

TEST(SimProtocol, TheLinesItWritesReadBack) {
    for (const ModemLines levels :
         {ModemLines{}, ModemLines{true, false, true}, ModemLines{false, true, false}}) {
        QByteArray line = SimProtocol::levelsLine(levels);
        ASSERT_TRUE(line.endsWith('\n'));
        line.chop(1);
        const auto m = SimProtocol::parse(line);
        ASSERT_TRUE(m.has_value()) << line.constData();
        EXPECT_EQ(m->kind, 'L');
        EXPECT_EQ(m->levels, levels);
    }
    const auto outputs = SimProtocol::parse(SimProtocol::outputsLine(true, false).trimmed());
    ASSERT_TRUE(outputs.has_value());
    EXPECT_EQ(outputs->kind, 'O');
    EXPECT_TRUE(outputs->dtr);
    EXPECT_FALSE(outputs->rts);
    const auto data = SimProtocol::parse(SimProtocol::dataLine("Test").trimmed());
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(data->bytes, "Test");
    EXPECT_EQ(SimProtocol::parse(SimProtocol::ackLine().trimmed())->kind, 'K');
    EXPECT_EQ(SimProtocol::parse(SimProtocol::busyLine().trimmed())->kind, 'E');
}

TEST(SimProtocol, FieldsMayComeInAnyOrderAndALineMayEndInACarriageReturn) {
    const auto m = SimProtocol::parse("L cd=1 dsr=0 cts=1\r");
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->levels, (ModemLines{false, true, true}));
    const auto d = SimProtocol::parse("D 4A6b");
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->bytes, QByteArray("\x4a\x6b"));
}

} // namespace
