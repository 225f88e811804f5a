#include "foundation/ModxpLook.h"

namespace brantock {

bool InitXPLook() {
    return true;
}

} // namespace brantock
