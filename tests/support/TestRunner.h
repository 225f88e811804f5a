#pragma once

namespace brantock::testsupport {

// Runs every test of the binary headless, in throw-away folders, with a pinned locale, and
// calls resetState before each test so that every test starts from a new process's state.
int runTests(int argc, char** argv, void (*resetState)());

} // namespace brantock::testsupport
