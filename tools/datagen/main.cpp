// Writes a data file with years of generated counting, for tests and benchmarks.
// Usage: brantock-datagen (--years N | --days N) --out FILE [--seed N] [--from YYYY-MM-DD]
//                         [--template FILE]
#include "tools/datagen/TriggerDataGenerator.h"

#include "runtime/RuntimeError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>

using brantock::datagen::TriggerDataGenerator;

namespace {

int usage(const char* problem) {
    std::fprintf(stderr,
                 "brantock-datagen: %s\n"
                 "usage: brantock-datagen (--years N | --days N) --out FILE [--seed N]\n"
                 "                        [--from YYYY-MM-DD] [--template FILE]\n"
                 "  about 5,000 triggers a day from --from (default 2016-01-01); the template\n"
                 "  defaults to empty.hbt beside the program; the same seed gives the same file\n",
                 problem);
    return 2;
}

bool positive(const QString& text, qint64& value) {
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok && value > 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    TriggerDataGenerator::Options options;
    options.templatePath = QCoreApplication::applicationDirPath() + QStringLiteral("/empty.hbt");
    qint64 years = 0, days = 0;
    for (qsizetype i = 1; i < args.size(); i += 2) {
        const QString& name = args[i];
        if (i + 1 >= args.size())
            return usage("an option has no value");
        const QString& value = args[i + 1];
        if (name == u"--years") {
            if (!positive(value, years) || years > 200)
                return usage("--years takes a whole number from 1 to 200");
        } else if (name == u"--days") {
            if (!positive(value, days) || days > 73000)
                return usage("--days takes a whole number from 1 to 73000");
        } else if (name == u"--seed") {
            bool ok = false;
            options.seed = value.toULongLong(&ok);
            if (!ok)
                return usage("--seed takes a whole number");
        } else if (name == u"--from") {
            options.firstDay = QDate::fromString(value, Qt::ISODate);
            if (!options.firstDay.isValid())
                return usage("--from takes a date as YYYY-MM-DD");
        } else if (name == u"--out") {
            options.outPath = value;
        } else if (name == u"--template") {
            options.templatePath = value;
        } else {
            return usage("unknown option");
        }
    }
    if ((years > 0) == (days > 0))
        return usage("give either --years or --days");
    if (options.outPath.isEmpty())
        return usage("--out is missing");
    options.days =
        years > 0 ? int(options.firstDay.daysTo(options.firstDay.addYears(int(years)))) : int(days);

    QElapsedTimer timer;
    timer.start();
    try {
        const TriggerDataGenerator::Result result = TriggerDataGenerator::generate(options);
        std::printf("%lld triggers, %lld activity periods, 1 site over %d days in %.1f s: %s\n",
                    static_cast<long long>(result.triggers),
                    static_cast<long long>(result.activityPeriods), options.days,
                    double(timer.elapsed()) / 1000.0, options.outPath.toLocal8Bit().constData());
    } catch (const brantock::RuntimeError& e) {
        std::fprintf(stderr, "brantock-datagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
