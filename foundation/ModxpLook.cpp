#include "ModxpLook.h"

namespace brantock {

bool InitXPLook() {
    return true;
}

} // namespace brantock
