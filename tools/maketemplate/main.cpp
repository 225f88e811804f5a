// Builds the empty data file that new data files are copied from.
// Usage: maketemplate <schema.sql> <output> <password>
#include "platform/data/DataFileCreator.h"
#include "runtime/RuntimeError.h"

#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: maketemplate <schema.sql> <output> <password>\n");
        return 2;
    }
    QFile schema(QString::fromLocal8Bit(argv[1]));
    if (!schema.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "maketemplate: cannot read %s\n", argv[1]);
        return 1;
    }
    try {
        brantock::platform::DataFileCreator::create(QString::fromLocal8Bit(argv[2]),
                                                    QString::fromUtf8(schema.readAll()),
                                                    QString::fromLocal8Bit(argv[3]));
    } catch (const brantock::RuntimeError& e) {
        std::fprintf(stderr, "maketemplate: %s\n", e.what());
        return 1;
    }
    return 0;
}
