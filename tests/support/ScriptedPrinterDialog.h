#pragma once

#include "platform/dialogs/PrinterDialog.h"

#include <deque>
#include <optional>
#include <vector>

namespace brantock::testsupport {

// Answers the printer dialog from a script and keeps every request; installed for its
// lifetime. With the script empty the dialog is cancelled.
class ScriptedPrinterDialog : public platform::PrinterDialog {
public:
    ScriptedPrinterDialog();
    ~ScriptedPrinterDialog() override;

    void choose(const platform::PrintDialogChoice& choice) { script_.push_back(choice); }
    void cancel() { script_.push_back(std::nullopt); }
    std::optional<platform::PrintDialogChoice>
    run(const platform::PrintDialogRequest& request) override;

    const std::vector<platform::PrintDialogRequest>& requests() const { return requests_; }

private:
    std::deque<std::optional<platform::PrintDialogChoice>> script_;
    std::vector<platform::PrintDialogRequest> requests_;
};

} // namespace brantock::testsupport
