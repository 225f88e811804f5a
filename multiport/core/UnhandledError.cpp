#include "multiport/core/UnhandledError.h"

#include "foundation/App.h"
#include "multiport/core/MultiPortState.h"
#include "platform/dialogs/MessageBoxService.h"
#include "runtime/RuntimeError.h"

#include <QCoreApplication>

#include <new>

namespace brantock::multiport {

namespace {

void end(int number, const QString& description) {
    // An error met while the program is already ending is not shown again.
    if (MultiPortState::Current().ProgramEnded)
        return;
    MultiPortState::Current().ProgramEnded = true;
    platform::MessageBoxService::current().show(
        {UnhandledError::Text(number, description), platform::style::Critical, App::Title()});
    QCoreApplication::exit(UnhandledError::ExitCode);
}

} // namespace

QString UnhandledError::Text(int number, const QString& description) {
    return QStringLiteral("Run-time error '%1':").arg(number) + QStringLiteral("\n\n") +
           description;
}

bool UnhandledError::Run(const std::function<void()>& procedure) {
    if (Ended())
        return false;
    try {
        procedure();
    } catch (const RuntimeError& e) {
        end(e.number(), e.description());
    } catch (const std::bad_alloc&) {
        end(err::OutOfMemory, RuntimeError::standardDescription(err::OutOfMemory));
    } catch (const std::exception& e) {
        end(err::InternalError, QString::fromUtf8(e.what()));
    }
    return !Ended();
}

bool UnhandledError::Ended() {
    return MultiPortState::Current().ProgramEnded;
}

} // namespace brantock::multiport
