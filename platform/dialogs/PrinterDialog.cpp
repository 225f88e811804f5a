#include "platform/dialogs/PrinterDialog.h"

#include "runtime/CurrentService.h"

namespace brantock::platform {

namespace {

// Until a program installs its printer dialog, every dialog is cancelled.
class UnattendedPrinterDialog final : public PrinterDialog {
public:
    std::optional<PrintDialogChoice> run(const PrintDialogRequest&) override { return {}; }
};

CurrentService<PrinterDialog> slot;

} // namespace

PrinterDialog& PrinterDialog::current() {
    return slot.get([] { return std::make_unique<UnattendedPrinterDialog>(); });
}

void PrinterDialog::setCurrent(PrinterDialog* dialog) {
    slot.set(dialog);
}

} // namespace brantock::platform
