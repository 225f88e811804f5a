#include "tests/support/TestRunner.h"

#include "multiport/core/MultiPortState.h"

// The two-port programs' tests start each test from their state of a new process.
int main(int argc, char** argv) {
    return brantock::testsupport::runTests(argc, argv, &brantock::multiport::MultiPortState::Reset);
}
