#include "platform/report/ReportDocument.h"

#include "platform/os/AtomicFile.h"
#include "platform/report/PageFile.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportFile.h"

#include <cerrno>
#include <cstring>

namespace brantock::platform {

namespace {

QString reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

void ReportDocument::Save(const QString& fileName) const {
    ReportFile::write(fileName, PageFile::encode(*this), QStringLiteral("report page file"));
}

ReportDocument ReportDocument::Load(const QString& fileName) {
    int error = 0;
    const std::string bytes = AtomicFile::read(fileName.toStdString(), error);
    if (error == ENOENT)
        throw ReportError::make(
            err::FileNotFound,
            QStringLiteral("Could not find the report page file '%1'.").arg(fileName));
    if (error != 0)
        throw ReportError::make(err::PathFileAccessError,
                                QStringLiteral("Cannot read the report page file '%1' (%2).")
                                    .arg(fileName, reason(error)));
    return PageFile::decode(QByteArray::fromStdString(bytes), fileName);
}

} // namespace brantock::platform
