#pragma once

#include <QString>

namespace brantock::platform {

// The items of a connection text such as
//   "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=/home/ann/data.hbd; Jet OLEDB:Database Password
//   = rk7m2q"
// Items are separated by ";", keys compare without regard to case and blanks around keys and
// values do not count. A ";" inside a path stays part of it unless a "key=" follows it.
class ConnectionText {
public:
    static ConnectionText parse(const QString& text);

    const QString& dataSource() const { return dataSource_; }
    const QString& password() const { return password_; }
    bool hasPassword() const { return hasPassword_; }

private:
    QString dataSource_;
    QString password_;
    bool hasPassword_ = false;
};

} // namespace brantock::platform
