#include "counter/Main.h"
#include "counter/CanberraSoundPlayer.h"
#include "counter/frmMain.h"
#include "foundation/App.h"
#include "platform/ui/QtServices.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Hidden in the tray is still running: only the main window's unload ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    brantock::platform::QtServices::install();
    brantock::App::SetTitle(QStringLiteral("Brantock"));
    brantock::counter::CanberraSoundPlayer sounds;
    brantock::counter::SoundPlayer::setCurrent(&sounds);
    int result = 0;
    if (brantock::counter::Main()) {
        auto* window = brantock::counter::LoadedMainWindow();
        QObject::connect(window, &brantock::counter::frmMain::unloaded, &app,
                         &QCoreApplication::quit, Qt::QueuedConnection);
        result = app.exec();
    }
    brantock::counter::ReleaseMainWindow();
    brantock::counter::SoundPlayer::setCurrent(nullptr);
    return result;
}
