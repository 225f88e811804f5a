#include "benchmarks/support/LargeDataFile.h"

#include "tests/support/DataFiles.h"
#include "tools/datagen/TriggerDataGenerator.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

namespace brantock::benchmarks {

QString LargeDataFile::ensure(const QString& path) {
    if (QFileInfo::exists(path))
        return QString();
    datagen::TriggerDataGenerator::Options options;
    options.templatePath = testsupport::DataFiles::templatePath();
    options.outPath = path;
    options.days = int(options.firstDay.daysTo(options.firstDay.addYears(10)));
    std::fprintf(stderr, "generating %s ...\n", path.toLocal8Bit().constData());
    QElapsedTimer timer;
    timer.start();
    const auto result = datagen::TriggerDataGenerator::generate(options);
    std::fprintf(stderr, "%lld rows\n", static_cast<long long>(result.triggers));
    return QStringLiteral("It was generated for this run in %1 s.")
        .arg(double(timer.elapsed()) / 1000.0, 0, 'f', 1);
}

} // namespace brantock::benchmarks
