#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;

namespace brantock::platform {

// One prepared SQLite statement with its bound values. Values go in and come out as
// QVariant: null, integers (read back as qint64), doubles, texts, byte arrays; a boolean is
// bound as 1 or 0, what a Yes/No column holds. The Yes/No column Triggers.CountUp of an older
// file may hold the texts "True" and "False": they are read as 1 and 0.
class SqlStatement {
public:
    // path names the file in error descriptions.
    SqlStatement(sqlite3* db, const QString& sql, const QString& path);
    ~SqlStatement();
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    // Binds one value per "?" of the statement, in order.
    void bind(const QVariantList& values);
    // Runs to the next row: true when there is one, false when done.
    bool step();

    int columnCount() const;
    QString columnName(int index) const;
    QStringList columnNames() const;
    QVariant value(int index) const;
    QVariantList rowValues() const;

private:
    void bindOne(int position, const QVariant& value);
    bool isYesNoColumn(int index) const;

    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    QString path_;
};

} // namespace brantock::platform
