#pragma once

#include <QString>

namespace brantock::platform {

// The items of a connection text such as
//   "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=/home/ann/data.hbd; Jet OLEDB:Database Password
//   = rk7m2q"
// Items are separated by ";", keys compare without regard to case and blanks around keys and
// values do not count. A value in double quotes is taken as it stands, a doubled quote inside
// standing for one. In an unquoted value a ";" stays part of it unless a "key=" follows it.
class ConnectionText {
public:
    // Raises the layer's error for a quoted value that is not closed or is followed by more
    // than blanks before the next ";".
    static ConnectionText parse(const QString& text);
    // value as it must be written after "key=": in double quotes when it holds a ";" or a
    // double quote or begins or ends with a blank, so that parse gives it back unchanged.
    static QString quote(const QString& value);

    const QString& dataSource() const { return dataSource_; }
    const QString& password() const { return password_; }
    bool hasPassword() const { return hasPassword_; }

private:
    QString dataSource_;
    QString password_;
    bool hasPassword_ = false;
};

} // namespace brantock::platform
