#include "platform/dialogs/FileDialogBackend.h"

#include "runtime/CurrentService.h"

namespace brantock::platform {

namespace {

// Until a program installs its file dialog, every dialog is cancelled.
class UnattendedFileDialog final : public FileDialogBackend {
public:
    std::optional<FileDialogChoice> run(const FileDialogRequest&) override { return {}; }
};

CurrentService<FileDialogBackend> slot;

} // namespace

FileDialogBackend& FileDialogBackend::current() {
    return slot.get([] { return std::make_unique<UnattendedFileDialog>(); });
}

void FileDialogBackend::setCurrent(FileDialogBackend* backend) {
    slot.set(backend);
}

} // namespace brantock::platform
