#include "multiport/loader/modMultiPortStub.h"

#include "foundation/App.h"
#include "multiport/core/UnhandledError.h"
#include "platform/ui/QtServices.h"

#include <QApplication>

// The launcher shows no window of its own, only its message boxes.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    brantock::platform::QtServices::install();
    brantock::App::SetTitle(QStringLiteral("BrantockMultiPortLoader"));
    using brantock::multiport::UnhandledError;
    return UnhandledError::Run(&brantock::multiport::Main) ? 0 : UnhandledError::ExitCode;
}
