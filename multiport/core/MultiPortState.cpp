#include "multiport/core/MultiPortState.h"

#include "foundation/FoundationState.h"

namespace brantock::multiport {

namespace {
MultiPortState state;
}

MultiPortState& MultiPortState::Current() {
    return state;
}

void MultiPortState::Reset() {
    state = MultiPortState{};
    FoundationState::Reset();
}

} // namespace brantock::multiport
