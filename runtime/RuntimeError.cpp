#include "runtime/RuntimeError.h"

namespace brantock {

RuntimeError::RuntimeError(int number, QString description, QString source)
    : number_(number), description_(std::move(description)), source_(std::move(source)) {
    updateWhat();
}

RuntimeError RuntimeError::of(int number, QString source) {
    return RuntimeError(number, standardDescription(number), std::move(source));
}

QString RuntimeError::standardDescription(int number) {
    switch (number) {
    case err::InvalidProcedureCall:
        return QStringLiteral("Invalid procedure call or argument");
    case err::Overflow:
        return QStringLiteral("Overflow");
    case err::OutOfMemory:
        return QStringLiteral("Out of memory");
    case err::SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case err::DivisionByZero:
        return QStringLiteral("Division by zero");
    case err::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case err::InternalError:
        return QStringLiteral("Internal error");
    case err::BadFileName:
        return QStringLiteral("Bad file name or number");
    case err::FileNotFound:
        return QStringLiteral("File not found");
    case err::PermissionDenied:
        return QStringLiteral("Permission denied");
    case err::PathFileAccessError:
        return QStringLiteral("Path/File access error");
    case err::PathNotFound:
        return QStringLiteral("Path not found");
    case err::ObjectNotSet:
        return QStringLiteral("Object variable not set");
    case err::ObjectUnloaded:
        return QStringLiteral("Object was unloaded");
    case err::InvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

void RuntimeError::prependSource(const QString& trailPiece) {
    source_ = trailPiece + source_;
    updateWhat();
}

void RuntimeError::updateWhat() {
    what_ = QStringLiteral("%1 (%2) in %3")
                .arg(description_, QString::number(number_), source_)
                .toStdString();
}

} // namespace brantock
