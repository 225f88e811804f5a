#pragma once

#include "platform/dialogs/FileDialogBackend.h"

namespace brantock::platform {

// Qt's file dialog. Opening accepts a name that does not exist yet, so a new data file can
// be named there.
class QtFileDialogBackend : public FileDialogBackend {
public:
    std::optional<FileDialogChoice> run(const FileDialogRequest& request) override;
};

} // namespace brantock::platform
