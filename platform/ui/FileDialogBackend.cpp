#include "FileDialogBackend.h"

#include "CurrentService.h"
#include "QtFileDialogBackend.h"

namespace brantock::platform {

namespace {
CurrentService<FileDialogBackend> slot;
}

FileDialogBackend& FileDialogBackend::current() {
    return slot.get([] { return std::make_unique<QtFileDialogBackend>(); });
}

void FileDialogBackend::setCurrent(FileDialogBackend* backend) {
    slot.set(backend);
}

} // namespace brantock::platform
