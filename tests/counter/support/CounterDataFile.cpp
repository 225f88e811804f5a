#include "tests/counter/support/CounterDataFile.h"

#include "tests/support/DataFiles.h"

#include "foundation/modbrUtilsData.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"

#include <QStringList>

#include <stdexcept>

namespace brantock::counter::testsupport {

using brantock::testsupport::DataFiles;

CounterDataFile::CounterDataFile(Format format) : path_(folder_.file(QStringLiteral("data.hbd"))) {
    if (format == Format::Full) {
        if (!DataFiles::copyTemplate(path_))
            throw std::runtime_error("the data file template could not be copied");
    } else {
        DataFiles::createFirstFormat(path_);
    }
    CachedDataPath = path_;
    if (!CheckData(path_))
        throw std::runtime_error("the test's data file is not a data file");
}

CounterDataFile::~CounterDataFile() {
    ResetData();
}

std::vector<std::string> CounterDataFile::rows(const QString& sql) const {
    platform::Connection connection;
    connection.Open(DataFiles::connectionText(path_));
    platform::Recordset set = connection.Query(sql);
    std::vector<std::string> result;
    for (; !set.IsEOF(); set.MoveNext()) {
        QStringList row;
        for (int i = 0; i < set.FieldCount(); ++i) {
            const QVariant value = set.Fields(i);
            row << (value.isValid() ? value.toString() : QStringLiteral("NULL"));
        }
        result.push_back(row.join(u'|').toStdString());
    }
    return result;
}

void CounterDataFile::execute(const QString& sql, const QVariantList& values) const {
    platform::Connection connection;
    connection.Open(DataFiles::connectionText(path_));
    connection.Execute(sql, values);
}

} // namespace brantock::counter::testsupport
