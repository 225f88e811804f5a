#include "platform/serial/SimProtocol.h"

#include <QList>

namespace brantock::platform {

namespace {

QByteArray flag(bool on) {
    return on ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
}

// Reads the named "name=0|1" fields, in any order: each exactly once and nothing else, since
// the levels of a damaged line are a guess.
bool readFlags(const QList<QByteArray>& words,
               std::initializer_list<std::pair<const char*, bool*>> fields) {
    if (words.size() != static_cast<qsizetype>(fields.size()) + 1)
        return false;
    for (const auto& [name, target] : fields) {
        int seen = 0;
        for (qsizetype i = 1; i < words.size(); ++i) {
            const QByteArray& w = words[i];
            const qsizetype eq = w.indexOf('=');
            if (eq < 0 || w.left(eq) != name)
                continue;
            const QByteArray value = w.mid(eq + 1);
            if (value != "0" && value != "1")
                return false;
            *target = value == "1";
            ++seen;
        }
        if (seen != 1)
            return false;
    }
    return true;
}

} // namespace

QByteArray SimProtocol::levelsLine(const ModemLines& levels) {
    return "L dsr=" + flag(levels.dsr) + " cts=" + flag(levels.cts) + " cd=" + flag(levels.cd) +
           "\n";
}

QByteArray SimProtocol::outputsLine(bool dtr, bool rts) {
    return "O dtr=" + flag(dtr) + " rts=" + flag(rts) + "\n";
}

QByteArray SimProtocol::dataLine(const QByteArray& bytes) {
    QByteArray lines;
    for (qsizetype at = 0; at < bytes.size(); at += MaxDataPerLine)
        lines += "D " + bytes.mid(at, MaxDataPerLine).toHex() + "\n";
    return lines;
}

QByteArray SimProtocol::ackLine() {
    return QByteArrayLiteral("K\n");
}

QByteArray SimProtocol::busyLine() {
    return QByteArrayLiteral("E busy\n");
}

std::optional<SimProtocol::Message> SimProtocol::parse(const QByteArray& line) {
    const QList<QByteArray> words = line.trimmed().split(' ');
    if (words.isEmpty() || words[0].size() != 1)
        return std::nullopt;
    Message m;
    m.kind = words[0][0];
    switch (m.kind) {
    case 'L':
        if (!readFlags(words,
                       {{"dsr", &m.levels.dsr}, {"cts", &m.levels.cts}, {"cd", &m.levels.cd}}))
            return std::nullopt;
        return m;
    case 'O':
        if (!readFlags(words, {{"dtr", &m.dtr}, {"rts", &m.rts}}))
            return std::nullopt;
        return m;
    case 'D': {
        if (words.size() != 2)
            return std::nullopt;
        const QByteArray& hex = words[1];
        if (hex.isEmpty() || hex.size() % 2 != 0)
            return std::nullopt;
        m.bytes = QByteArray::fromHex(hex);
        if (m.bytes.toHex() != hex.toLower())
            return std::nullopt;
        return m;
    }
    case 'K':
        return words.size() == 1 ? std::optional(m) : std::nullopt;
    case 'E':
        return words.size() == 2 && words[1] == "busy" ? std::optional(m) : std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<std::vector<QByteArray>> SimProtocol::takeLines(QByteArray& buffer) {
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype end = buffer.indexOf('\n'); end >= 0; end = buffer.indexOf('\n', start)) {
        if (end - start > MaxLineLength)
            return std::nullopt;
        lines.push_back(buffer.mid(start, end - start));
        start = end + 1;
    }
    // Bounding the unfinished rest also bounds the rescanning of it as more arrives.
    if (buffer.size() - start > MaxLineLength)
        return std::nullopt;
    buffer.remove(0, start);
    return lines;
}

} // namespace brantock::platform
