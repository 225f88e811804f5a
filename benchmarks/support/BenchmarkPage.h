#pragma once

#include <QString>

#include <functional>

namespace brantock::benchmarks {

// docs/benchmarks.md as the benchmark programs write it: one "## Heading" section each.
class BenchmarkPage {
public:
    // Puts section (which begins with its own "## Heading" line) into the page at path in
    // place of the section of that heading, or at the end when the page has none. False when
    // the page cannot be written.
    static bool replaceSection(const QString& path, const QString& section);
    // The build type these programs were built as ("Release", "RelWithDebInfo", "Debug"...),
    // or "no build type" when none was given.
    static QString buildType();
    // The processor's model name, as /proc/cpuinfo gives it ("unknown CPU" without one).
    static QString cpuModel();
    // The value after "name value" among the program's arguments, or fallback.
    static QString option(int argc, char** argv, const char* name,
                          const QString& fallback = QString());
    // The process's peak resident size so far, VmHWM of /proc/self/status, in MB.
    static double peakMemoryMB();
    // Lets the window thread handle events until done() or the time is up; done() at the end.
    static bool runUntil(const std::function<bool()>& done, int timeoutMs);
};

} // namespace brantock::benchmarks
