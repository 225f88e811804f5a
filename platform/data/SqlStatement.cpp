#include "platform/data/SqlStatement.h"

#include "platform/data/DataError.h"

#include <sqlite3.h>

#include <limits>

namespace brantock::platform {

SqlStatement::SqlStatement(sqlite3* db, const QString& sql, const QString& path)
    : db_(db), path_(path) {
    const QByteArray text = sql.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &stmt_, &tail);
    DataError::check(rc, db_, path_);
    const bool moreStatements =
        tail && !QString::fromUtf8(tail, text.constData() + text.size() - tail).trimmed().isEmpty();
    if (!stmt_ || moreStatements) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw DataError::make(dataErr::SqlError,
                              moreStatements
                                  ? QStringLiteral("Only one statement can be run at a time.")
                                  : QStringLiteral("The statement is empty."));
    }
}

SqlStatement::~SqlStatement() {
    sqlite3_finalize(stmt_);
}

void SqlStatement::bind(const QVariantList& values) {
    const int wanted = sqlite3_bind_parameter_count(stmt_);
    if (values.size() != wanted)
        throw DataError::make(dataErr::SqlError,
                              QStringLiteral("The statement takes %1 values but %2 were given.")
                                  .arg(wanted)
                                  .arg(values.size()));
    sqlite3_reset(stmt_);
    for (int i = 0; i < wanted; ++i)
        bindOne(i + 1, values.at(i));
}

void SqlStatement::bindOne(int position, const QVariant& value) {
    int rc = SQLITE_OK;
    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
        rc = sqlite3_bind_null(stmt_, position);
        break;
    case QMetaType::Bool:
        rc = sqlite3_bind_int64(stmt_, position, value.toBool() ? 1 : 0);
        break;
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        rc = sqlite3_bind_int64(stmt_, position, value.toLongLong());
        break;
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong v = value.toULongLong();
        if (v > qulonglong(std::numeric_limits<qint64>::max()))
            throw RuntimeError::of(err::Overflow, DataError::Source);
        rc = sqlite3_bind_int64(stmt_, position, qint64(v));
        break;
    }
    case QMetaType::Float:
    case QMetaType::Double:
        rc = sqlite3_bind_double(stmt_, position, value.toDouble());
        break;
    case QMetaType::QString:
    case QMetaType::QChar: {
        const QByteArray text = value.toString().toUtf8();
        rc = sqlite3_bind_text(stmt_, position, text.constData(), int(text.size()),
                               SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        rc = sqlite3_bind_blob(stmt_, position, bytes.constData(), int(bytes.size()),
                               SQLITE_TRANSIENT);
        break;
    }
    default:
        throw RuntimeError::of(err::TypeMismatch, DataError::Source);
    }
    DataError::check(rc, db_, path_);
}

bool SqlStatement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // Opening fails at a statement only for the journal, which lives beside the file.
    RuntimeError error =
        (rc & 0xff) == SQLITE_CANTOPEN
            ? DataError::make(dataErr::ReadOnly,
                              QStringLiteral("The data file '%1' cannot be changed: no journal can "
                                             "be made beside it (is its folder read-only?).")
                                  .arg(path_))
            : DataError::fromSqlite(rc, db_, path_);
    sqlite3_reset(stmt_);
    throw error;
}

bool SqlStatement::isYesNoColumn(int index) const {
    const char* table = sqlite3_column_table_name(stmt_, index);
    const char* column = sqlite3_column_origin_name(stmt_, index);
    return table && column &&
           QLatin1String(table).compare(QLatin1String("Triggers"), Qt::CaseInsensitive) == 0 &&
           QLatin1String(column).compare(QLatin1String("CountUp"), Qt::CaseInsensitive) == 0;
}

int SqlStatement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

QString SqlStatement::columnName(int index) const {
    return QString::fromUtf8(sqlite3_column_name(stmt_, index));
}

QStringList SqlStatement::columnNames() const {
    QStringList names;
    for (int i = 0; i < columnCount(); ++i)
        names << columnName(i);
    return names;
}

QVariant SqlStatement::value(int index) const {
    switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(stmt_, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, index));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
        const QString read = QString::fromUtf8(text, sqlite3_column_bytes(stmt_, index));
        if (isYesNoColumn(index)) {
            // Files made before Yes/No columns held numbers keep the words True and False.
            if (read.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
                return QVariant(qint64(1));
            if (read.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
                return QVariant(qint64(0));
        }
        return QVariant(read);
    }
    case SQLITE_BLOB: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt_, index));
        return QVariant(QByteArray(bytes, sqlite3_column_bytes(stmt_, index)));
    }
    default:
        return QVariant();
    }
}

QVariantList SqlStatement::rowValues() const {
    QVariantList row;
    for (int i = 0; i < columnCount(); ++i)
        row << value(i);
    return row;
}

} // namespace brantock::platform
