#pragma once

#include <QString>

#include <optional>

namespace brantock::platform {

// What the printer dialog is asked about: the document's name and the pages it has.
struct PrintDialogRequest {
    QString title;
    int firstPage = 1;
    int lastPage = 1;
};

// What the user chose, as plain values a printer is then set up from.
struct PrintDialogChoice {
    QString printerName;    // empty: the default printer
    QString outputFileName; // set: print into this PDF file instead of onto a printer
    int fromPage = 0;       // 0 and 0: every page
    int toPage = 0;
    int copies = 1;
    bool collate = true;
    bool duplex = false;
    bool grayscale = false;
    QString paperKey; // the paper's name ("A4", "Letter"); empty: the document's own paper
};

// The printer dialog; tests put a scripted one in its place. No choice means the user
// cancelled.
class PrinterDialog {
public:
    virtual ~PrinterDialog() = default;
    virtual std::optional<PrintDialogChoice> run(const PrintDialogRequest& request) = 0;

    // The installed dialog, else one that cancels, so nothing prints unasked.
    static PrinterDialog& current();
    static void setCurrent(PrinterDialog* dialog);
};

} // namespace brantock::platform
