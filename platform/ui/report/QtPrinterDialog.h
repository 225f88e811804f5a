#pragma once

#include "platform/dialogs/PrinterDialog.h"

namespace brantock::platform {

// Qt's printer dialog. Without a screen to show it on (the offscreen and minimal platforms)
// it is cancelled at once, so nothing waits for a click that cannot come.
class QtPrinterDialog : public PrinterDialog {
public:
    std::optional<PrintDialogChoice> run(const PrintDialogRequest& request) override;

    // Puts it in place of the unattended dialog; the reports program's main calls it once,
    // beside QtServices::install().
    static void install();
};

} // namespace brantock::platform
