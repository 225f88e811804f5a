#include "tests/support/TestRunner.h"

#include "foundation/FoundationState.h"

// The shared layers' tests start each test from the shared modules' state of a new process.
int main(int argc, char** argv) {
    return brantock::testsupport::runTests(argc, argv, &brantock::FoundationState::Reset);
}
