#include "platform/ui/QtServices.h"

#include "platform/ui/DialogErrorPrompt.h"
#include "platform/ui/QtFileDialogBackend.h"
#include "platform/ui/QtMessageBoxService.h"

namespace brantock::platform {

void QtServices::install() {
    static QtMessageBoxService messages;
    static QtFileDialogBackend fileDialog;
    static DialogErrorPrompt errorPrompt;
    MessageBoxService::setCurrent(&messages);
    FileDialogBackend::setCurrent(&fileDialog);
    ErrorPrompt::setCurrent(&errorPrompt);
}

} // namespace brantock::platform
