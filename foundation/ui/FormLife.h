#pragma once

#include <functional>

namespace brantock {

// The life of a program's main window from its making to its unload: it is loaded once made,
// its Form_Load runs once, at its first showing, and it unloads once however often that is
// asked for, also from code its own unload runs. The window keeps its event procedures and
// passes them in.
class FormLife {
public:
    enum class UnloadResult {
        Unloaded,  // this request unloaded the window
        Cancelled, // the query cancelled it; the window stays loaded
        Ignored,   // the window was unloaded or unloading already
    };

    bool Loaded() const { return loaded_; }

    // Runs formLoad the first time a loaded window is shown; raises err::ObjectUnloaded when
    // the window is unloaded then, by its load or before.
    void LoadOnce(const std::function<void()>& formLoad);

    // Asks queryUnload (when given) whether to cancel, then runs formUnload with the window
    // unloading, and leaves it unloaded.
    UnloadResult Unload(const std::function<bool()>& queryUnload,
                        const std::function<void()>& formUnload);

private:
    bool loaded_ = true;
    bool formLoadRan_ = false;
    bool unloading_ = false;
};

} // namespace brantock
