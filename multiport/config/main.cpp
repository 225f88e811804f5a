#include "multiport/config/frmConfig.h"

#include "foundation/App.h"
#include "multiport/core/UnhandledError.h"
#include "platform/ui/QtServices.h"

#include <QApplication>

#include <memory>

// The window is the whole program: it ends when the window closes, or when a run-time error
// has ended it.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    brantock::platform::QtServices::install();
    brantock::App::SetTitle(QStringLiteral("BrantockMultiPortConfig"));
    using brantock::multiport::UnhandledError;
    std::unique_ptr<brantock::multiport::frmConfig> form;
    UnhandledError::Run([&] {
        form = std::make_unique<brantock::multiport::frmConfig>();
        form->show();
    });
    if (UnhandledError::Ended())
        return UnhandledError::ExitCode;
    return app.exec();
}
