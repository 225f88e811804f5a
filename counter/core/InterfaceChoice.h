#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace brantock::platform {
class CommControl;
}

namespace brantock::counter {

// The rules of the port dialog that need no window: the scan of the ports on which the
// sensor interface answers, reading a port from the text the user typed or chose, and what
// OK and Cancel do. The dialog shows the results and unloads as they say.
class InterfaceChoice {
public:
    // The list's last entry, and the port setting of manual triggering.
    static inline const QString ManualEntry = QStringLiteral("Manual");

    struct PortScan {
        // "Com n" of every port that opens and passes the interface check, then "Manual".
        QStringList entries;
        // The preselected text and the message line.
        QString text;
        QString message;
        // An error still recorded at the end of the scan (0: none), for the error handler.
        int errorNumber = 0;
        QString errorDescription;
    };

    // Opens, checks and closes each port from 1 to 16 on comPort, which is left closed;
    // setting is the port setting text the preselection follows.
    static PortScan ScanPorts(platform::CommControl& comPort, const QString& setting);

    // The leading decimal number of a text, rounded (halves to even); 0 when there is none
    // or it lies beyond a 16-bit number, which names no port either.
    static std::int16_t PortNumber(const QString& text);
    // The port of the dialog's text: "Com" (any letter case) and blanks removed first, so
    // "Com 3", "com3" and "3" all give 3.
    static std::int16_t PortNum(const QString& text);
    // The text a choice in the list is shown as: "Com n" for a port, else unchanged.
    static QString ClickedText(const QString& text);

    struct OkChoice {
        enum class Kind { Manual, Port, Refused };
        Kind kind = Kind::Refused;
        std::int16_t port = 0;
        // The message line of a refused text.
        QString message;
    };
    static OkChoice ChooseOK(const QString& text);

    struct CancelChoice {
        enum class Kind { StayManual, Reopened, Failed };
        Kind kind = Kind::Failed;
        // The reopened port.
        std::int16_t port = 0;
    };
    // In manual mode nothing is opened; otherwise the stored port is opened again.
    static CancelChoice ChooseCancel(platform::CommControl& comPort);
};

} // namespace brantock::counter
