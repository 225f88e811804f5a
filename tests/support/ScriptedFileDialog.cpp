#include "tests/support/ScriptedFileDialog.h"

namespace brantock::testsupport {

ScriptedFileDialog::ScriptedFileDialog() {
    platform::FileDialogBackend::setCurrent(this);
}
ScriptedFileDialog::~ScriptedFileDialog() {
    platform::FileDialogBackend::setCurrent(nullptr);
}

std::optional<platform::FileDialogChoice>
ScriptedFileDialog::run(const platform::FileDialogRequest& request) {
    requests_.push_back(request);
    if (script_.empty())
        return std::nullopt;
    const std::optional<QString> next = script_.front();
    script_.pop_front();
    if (!next)
        return std::nullopt;
    return platform::FileDialogChoice{*next, request.filterIndex};
}

} // namespace brantock::testsupport
