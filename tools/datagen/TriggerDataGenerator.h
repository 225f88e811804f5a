#pragma once

#include <QDate>
#include <QString>

#include <cstdint>

namespace brantock::datagen {

// Fills a copy of the data file template with days of counting as a busy site sees it: most
// triggers by day, few at night, fewer and later at weekends, a little busier in summer;
// sensors 1 to 3, mostly counting up. Each day the counter ran is an AppActivity period (two
// when it was stopped for a while that day, with no triggers meanwhile), and the site has its
// Sites row. The same options and seed give the same rows.
class TriggerDataGenerator {
public:
    struct Options {
        QString templatePath;
        QString outPath;
        QDate firstDay = QDate(2016, 1, 1);
        int days = 0;
        std::uint64_t seed = 1;
    };
    struct Result {
        qint64 triggers = 0;
        qint64 activityPeriods = 0;
    };

    static constexpr int SiteID = 1;
    static inline const QString SiteName = QStringLiteral("Main entrance");
    static inline const QString MachineName = QStringLiteral("COUNTER1");
    static inline const QString InterfaceName = QStringLiteral("1");

    // Writes the file beside outPath first and moves it into place when it is complete, so an
    // interrupted run leaves no half-filled file under outPath. Raises a RuntimeError on
    // failure.
    static Result generate(const Options& options);
};

} // namespace brantock::datagen
