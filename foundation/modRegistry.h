#pragma once

#include "foundation/Setting.h"
#include "platform/settings/RegistryApi.h"
#include "runtime/ProductConfig.h"

#include <QString>
#include <QVariant>

#include <cstdint>

namespace brantock {

using platform::HKEY;
using platform::HKEY_CLASSES_ROOT;
using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;

// The hive of the program's own settings, chosen once at start.
extern HKEY& RegistryHive;

// The product key; a setting's key is this, "\" and its section.
inline const QString ProductKey = QString::fromLatin1(config::ProductKey);

// Settings: text values under the product key. None of these shows a message; run-time
// errors are raised again with the function's name in front of their source.
QString GetRegSetting(const QString& valueName, const QString& defaultValue, const QString& section,
                      bool decode, HKEY hive);
QString GetRegSettingHiveFallback(const QString& valueName, const QString& defaultValue,
                                  const QString& section, bool decode);
bool GetRegBoolean(const QString& valueName, bool defaultValue, const QString& section, HKEY hive);
std::int16_t GetRegCheckBox(const QString& valueName, std::int16_t defaultValue,
                            const QString& section, HKEY hive);
bool SetRegSetting(QString valueName, const QString& value, const QString& section, bool encode,
                   HKEY hive);
bool SetRegBoolean(const QString& valueName, bool value, const QString& section, HKEY hive);

// The same for a listed setting, with its section, default and encoding.
QString GetRegSetting(const Setting& setting, HKEY hive);
QString GetRegSettingHiveFallback(const Setting& setting);
bool GetRegBoolean(const Setting& setting, HKEY hive);
std::int16_t GetRegCheckBox(const Setting& setting, HKEY hive);
bool SetRegSetting(const Setting& setting, const QString& value, HKEY hive);
bool SetRegBoolean(const Setting& setting, bool value, HKEY hive);

// The thin layer over the registry functions; results are the registry's result codes.
std::int32_t RegSetKeyValue(HKEY hive, const QString& keyPath, const QString& valueName,
                            const QVariant& value, std::int32_t valueType, bool create);
// Text, a 32-bit integer, a byte array, or an invalid (empty) variant.
QVariant Reg_QueryValue(HKEY hive, const QString& keyPath, const QString& valueName, bool clean);
std::int32_t SetValueEx(HKEY key, const QString& valueName, std::int32_t valueType,
                        const QVariant& value);
std::int32_t QueryValueEx(HKEY key, QString valueName, QVariant& value);
std::int32_t Reg_DeleteValue(HKEY hive, const QString& keyPath, const QString& valueName);
bool Reg_DoesKeyExist(HKEY hive, const QString& keyPath);
QString Cleaned(QString text);

} // namespace brantock
