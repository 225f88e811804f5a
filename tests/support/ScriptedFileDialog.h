#pragma once

#include "platform/dialogs/FileDialogBackend.h"

#include <deque>
#include <optional>
#include <vector>

namespace brantock::testsupport {

// Chooses files or cancels from a script and keeps every request; installed for its
// lifetime. With the script empty the dialog is cancelled.
class ScriptedFileDialog : public platform::FileDialogBackend {
public:
    ScriptedFileDialog();
    ~ScriptedFileDialog() override;

    void choose(const QString& fileName) { script_.push_back(fileName); }
    void cancel() { script_.push_back(std::nullopt); }
    std::optional<platform::FileDialogChoice>
    run(const platform::FileDialogRequest& request) override;

    const std::vector<platform::FileDialogRequest>& requests() const { return requests_; }

private:
    std::deque<std::optional<QString>> script_;
    std::vector<platform::FileDialogRequest> requests_;
};

} // namespace brantock::testsupport
