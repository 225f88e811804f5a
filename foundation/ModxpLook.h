#pragma once

namespace brantock {

// Readies the window system's controls; the first step of each start-up. Qt needs no
// set-up of its own, so this only reports success.
bool InitXPLook();

} // namespace brantock
