#pragma once

#include "platform/serial/ModemLines.h"

#include <QByteArray>

#include <optional>
#include <vector>

namespace brantock::platform {

// The text lines the simulated port and its peer exchange over a Unix stream socket.
//   peer to port: "L dsr=0 cts=1 cd=0" the input levels (on connecting and after each change),
//                 "D <hex>" bytes for the port to receive, "K" the answer to an "O" line,
//                 "E busy" another port is connected (the peer then hangs up);
//   port to peer: "O dtr=1 rts=0" the output lines (on opening and after each change),
//                 "D <hex>" bytes the port sends.
class SimProtocol {
public:
    struct Message {
        char kind = 0; // 'L', 'O', 'D', 'K' or 'E'
        ModemLines levels;
        bool dtr = false;
        bool rts = false;
        QByteArray bytes;
    };

    // Data goes in lines of at most MaxDataPerLine bytes, so no line is longer than
    // MaxLineLength (its line end not counted); a longer one is a broken peer.
    static constexpr qsizetype MaxDataPerLine = 4096;
    static constexpr qsizetype MaxLineLength = 2 + 2 * MaxDataPerLine;

    static QByteArray levelsLine(const ModemLines& levels);
    static QByteArray outputsLine(bool dtr, bool rts);
    // As many "D" lines as the bytes need.
    static QByteArray dataLine(const QByteArray& bytes);
    static QByteArray ackLine();
    static QByteArray busyLine();

    // Nothing for a line that is not, whole, one of the above.
    static std::optional<Message> parse(const QByteArray& line);
    // Removes the complete lines from the front of buffer, without their line ends; nothing
    // once a line, complete or not, is longer than MaxLineLength.
    static std::optional<std::vector<QByteArray>> takeLines(QByteArray& buffer);
};

} // namespace brantock::platform
