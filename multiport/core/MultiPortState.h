#pragma once

namespace brantock::multiport {

// The process-wide values of the two-port programs, kept together like FoundationState;
// Reset() puts them, and the shared modules' values, back as a new process has them.
struct MultiPortState {
    // A run-time error has ended the program: nothing more of it runs.
    bool ProgramEnded = false;

    static MultiPortState& Current();
    static void Reset();
};

} // namespace brantock::multiport
