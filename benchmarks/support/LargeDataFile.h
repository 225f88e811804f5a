#pragma once

#include <QString>

namespace brantock::benchmarks {

// The benchmarks' large data file: ten years of generated counting (seed 1, from 1 January
// 2016), made with the generator when missing and kept for the next run.
class LargeDataFile {
public:
    static inline const QString DefaultPath = QStringLiteral("/tmp/brantock-bench-10years.hbd");

    // Makes the file at path when it is missing. Returns a sentence for the benchmark's
    // section saying how long that took, or nothing when the file was there.
    static QString ensure(const QString& path);
};

} // namespace brantock::benchmarks
