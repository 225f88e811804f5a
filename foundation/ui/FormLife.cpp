#include "foundation/ui/FormLife.h"

#include "runtime/RuntimeError.h"

namespace brantock {

void FormLife::LoadOnce(const std::function<void()>& formLoad) {
    if (loaded_ && !formLoadRan_) {
        formLoadRan_ = true;
        formLoad();
    }
    if (!loaded_)
        throw RuntimeError::of(err::ObjectUnloaded);
}

FormLife::UnloadResult FormLife::Unload(const std::function<bool()>& queryUnload,
                                        const std::function<void()>& formUnload) {
    if (!loaded_ || unloading_)
        return UnloadResult::Ignored;
    if (queryUnload && queryUnload())
        return UnloadResult::Cancelled;
    unloading_ = true;
    formUnload();
    loaded_ = false;
    return UnloadResult::Unloaded;
}

} // namespace brantock
