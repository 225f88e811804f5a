#pragma once

namespace brantock::platform {

// Puts the Qt message boxes, file dialog and error prompt in place of the unattended ones.
// Each program's main calls it once, after making its application object.
class QtServices {
public:
    static void install();
};

} // namespace brantock::platform
