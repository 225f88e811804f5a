#include "tests/support/TestRunner.h"

#include "counter/core/CounterState.h"

// The counter's tests start each test from the counter's state of a new process.
int main(int argc, char** argv) {
    return brantock::testsupport::runTests(argc, argv, &brantock::counter::CounterState::Reset);
}
