#include "tests/support/ScriptedPrinterDialog.h"

namespace brantock::testsupport {

ScriptedPrinterDialog::ScriptedPrinterDialog() {
    platform::PrinterDialog::setCurrent(this);
}

ScriptedPrinterDialog::~ScriptedPrinterDialog() {
    platform::PrinterDialog::setCurrent(nullptr);
}

std::optional<platform::PrintDialogChoice>
ScriptedPrinterDialog::run(const platform::PrintDialogRequest& request) {
    requests_.push_back(request);
    if (script_.empty())
        return std::nullopt;
    const std::optional<platform::PrintDialogChoice> next = script_.front();
    script_.pop_front();
    return next;
}

} // namespace brantock::testsupport
