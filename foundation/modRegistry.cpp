#include "foundation/modRegistry.h"

#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

#include <QByteArray>

#include <cstring>
#include <vector>

namespace brantock {

using namespace platform;

namespace {

const QString FallbackMarker = QStringLiteral("DEFAULT_SETTING~TEST");
const QString Char0 = QString(QChar(0));
const QString Char1 = QString(QChar(1));

std::string bytesOf(const QString& text) {
    return text.toUtf8().toStdString();
}

RegistryApi& registry() {
    return RegistryApi::current();
}

// Closes a key handle however the block is left.
class OpenedKey {
public:
    OpenedKey() = default;
    ~OpenedKey() {
        if (handle)
            registry().RegCloseKey(handle);
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    HKEY handle = 0;
};

QString encoded(QString text) {
    text.replace(Char1, Char1 + QChar(2));
    text.replace(Char0, Char1 + QChar(3));
    return text;
}

QString decoded(QString text) {
    text.replace(Char1 + QChar(3), Char0);
    text.replace(Char1 + QChar(2), Char1);
    return text;
}

// A read value as text: texts as they are, numbers as decimal text, anything else empty.
QString asText(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Int:
        return QString::number(value.toInt());
    default:
        return QString();
    }
}

} // namespace

QString GetRegSetting(const QString& valueName, const QString& defaultValue, const QString& section,
                      bool decode, HKEY hive) {
    return withTrail("GetRegSetting&", [&] {
        const QString key = ProductKey + u'\\' + section;
        const QVariant value = Reg_QueryValue(hive, key, valueName, true);
        QString text = asText(value);
        if (decode)
            text = decoded(text);
        return text.isEmpty() ? defaultValue : text;
    });
}

QString GetRegSettingHiveFallback(const QString& valueName, const QString& defaultValue,
                                  const QString& section, bool decode) {
    return withTrail("GetRegSettingHiveFallback&", [&] {
        QString s = GetRegSetting(valueName, FallbackMarker, section, decode, HKEY_CURRENT_USER);
        if (s == FallbackMarker)
            s = GetRegSetting(valueName, defaultValue, section, decode, HKEY_LOCAL_MACHINE);
        return s;
    });
}

bool GetRegBoolean(const QString& valueName, bool defaultValue, const QString& section, HKEY hive) {
    return withTrail("GetRegBoolean&", [&] {
        const QString s =
            TrimBlanks(GetRegSetting(valueName,
                                     defaultValue ? QStringLiteral("1") : QStringLiteral("0"),
                                     section, true, hive))
                .toLower();
        static const QStringList yes = {QStringLiteral("true"),    QStringLiteral("yes"),
                                        QStringLiteral("on"),      QStringLiteral("valid"),
                                        QStringLiteral("y"),       QStringLiteral("t"),
                                        QStringLiteral("enabled"), QStringLiteral("ok")};
        if (yes.contains(s))
            return true;
        return LeadingNumber(s) != 0.0;
    });
}

std::int16_t GetRegCheckBox(const QString& valueName, std::int16_t defaultValue,
                            const QString& section, HKEY hive) {
    return withTrail("GetRegCheckBox&", [&] {
        const QString s =
            GetRegSetting(valueName, QString::number(defaultValue), section, true, hive);
        const std::int64_t n = RoundToInt32(LeadingNumber(s));
        return static_cast<std::int16_t>((n < 0 ? -n : n) % 3);
    });
}

bool SetRegSetting(QString valueName, const QString& value, const QString& section, bool encode,
                   HKEY hive) {
    return withTrail("SetRegSetting&", [&] {
        const QString text = encode ? encoded(value) : value;
        const QString key = ProductKey + u'\\' + section;
        return RegSetKeyValue(hive, key, valueName, text, REG_SZ, true) == ERROR_SUCCESS;
    });
}

bool SetRegBoolean(const QString& valueName, bool value, const QString& section, HKEY hive) {
    return withTrail("SetRegBoolean&", [&] {
        return SetRegSetting(valueName, value ? QStringLiteral("1") : QStringLiteral("0"), section,
                             true, hive);
    });
}

QString GetRegSetting(const Setting& setting, HKEY hive) {
    return GetRegSetting(setting.name, setting.defaultValue, setting.section, setting.encoded,
                         hive);
}

QString GetRegSettingHiveFallback(const Setting& setting) {
    return GetRegSettingHiveFallback(setting.name, setting.defaultValue, setting.section,
                                     setting.encoded);
}

// Boolean and check-box settings list their defaults as "1" and "0" (and "2").
bool GetRegBoolean(const Setting& setting, HKEY hive) {
    return GetRegBoolean(setting.name, setting.defaultValue == u"1", setting.section, hive);
}

std::int16_t GetRegCheckBox(const Setting& setting, HKEY hive) {
    return GetRegCheckBox(setting.name, std::int16_t(setting.defaultValue.toShort()),
                          setting.section, hive);
}

bool SetRegSetting(const Setting& setting, const QString& value, HKEY hive) {
    return SetRegSetting(setting.name, value, setting.section, setting.encoded, hive);
}

bool SetRegBoolean(const Setting& setting, bool value, HKEY hive) {
    return SetRegBoolean(setting.name, value, setting.section, hive);
}

std::int32_t RegSetKeyValue(HKEY hive, const QString& keyPath, const QString& valueName,
                            const QVariant& value, std::int32_t valueType, bool create) {
    return withTrail("RegSetKeyValue&", [&] {
        OpenedKey key;
        const std::int32_t rc =
            create
                ? registry().RegCreateKeyEx(hive, bytesOf(keyPath), KEY_WRITE_ACCESS, &key.handle)
                : registry().RegOpenKeyEx(hive, bytesOf(keyPath), KEY_WRITE_ACCESS, &key.handle);
        if (rc != ERROR_SUCCESS) {
            key.handle = 0;
            return rc;
        }
        return SetValueEx(key.handle, valueName, valueType, value);
    });
}

QVariant Reg_QueryValue(HKEY hive, const QString& keyPath, const QString& valueName, bool clean) {
    return withTrail("Reg_QueryValue&", [&] {
        OpenedKey key;
        QVariant value;
        if (registry().RegOpenKeyEx(hive, bytesOf(keyPath), KEY_READ, &key.handle) !=
            ERROR_SUCCESS) {
            key.handle = 0;
            return value;
        }
        QueryValueEx(key.handle, valueName, value);
        if (clean && value.typeId() == QMetaType::QString)
            return QVariant(Cleaned(value.toString()));
        return value;
    });
}

std::int32_t SetValueEx(HKEY key, const QString& valueName, std::int32_t valueType,
                        const QVariant& value) {
    return withTrail("SetValueEx&", [&] {
        const std::string name = bytesOf(valueName);
        auto writeText = [&](std::uint32_t type) {
            const QByteArray bytes = value.toString().toUtf8();
            return registry().RegSetValueEx(
                key, name, type, reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                static_cast<std::uint32_t>(bytes.size()));
        };
        switch (valueType) {
        case REG_SZ:
            return writeText(REG_SZ);
        case REG_DWORD: {
            const std::int32_t n = ToLong(value);
            std::uint8_t bytes[4];
            for (int i = 0; i < 4; ++i)
                bytes[i] =
                    static_cast<std::uint8_t>((static_cast<std::uint32_t>(n) >> (8 * i)) & 0xFF);
            return registry().RegSetValueEx(key, name, REG_DWORD, bytes, 4);
        }
        case REG_BINARY:
            if (value.typeId() == QMetaType::QByteArray) {
                const QByteArray bytes = value.toByteArray();
                return registry().RegSetValueEx(
                    key, name, REG_BINARY, reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                    static_cast<std::uint32_t>(bytes.size()));
            }
            return writeText(REG_BINARY);
        default:
            return std::int32_t(7);
        }
    });
}

std::int32_t QueryValueEx(HKEY key, QString valueName, QVariant& value) {
    return withTrail("QueryValueEx&", [&] {
        const std::string name = bytesOf(valueName);
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        std::int32_t rc = registry().RegQueryValueEx(key, name, &type, nullptr, &size);
        if (rc != ERROR_SUCCESS)
            return rc;
        switch (type) {
        case REG_SZ: {
            std::vector<std::uint8_t> buffer(size, 0);
            rc = registry().RegQueryValueEx(key, name, &type, buffer.data(), &size);
            if (rc == ERROR_SUCCESS)
                value = QString::fromUtf8(
                    reinterpret_cast<const char*>(buffer.data()),
                    static_cast<qsizetype>(std::min<std::size_t>(size, buffer.size())));
            else
                value = QVariant();
            return rc;
        }
        case REG_BINARY: {
            std::vector<std::uint8_t> buffer(size, 0);
            rc = registry().RegQueryValueEx(key, name, &type, buffer.data(), &size);
            if (rc == ERROR_SUCCESS)
                value =
                    QByteArray(reinterpret_cast<const char*>(buffer.data()),
                               static_cast<qsizetype>(std::min<std::size_t>(size, buffer.size())));
            else
                value = QVariant();
            return rc;
        }
        case REG_DWORD: {
            std::uint8_t bytes[4] = {0, 0, 0, 0};
            std::uint32_t four = 4;
            rc = registry().RegQueryValueEx(key, name, &type, bytes, &four);
            if (rc == ERROR_SUCCESS) {
                std::uint32_t n = 0;
                for (int i = 0; i < 4; ++i)
                    n |= std::uint32_t(bytes[i]) << (8 * i);
                value = static_cast<int>(n);
            }
            return rc;
        }
        default:
            return std::int32_t(-1);
        }
    });
}

std::int32_t Reg_DeleteValue(HKEY hive, const QString& keyPath, const QString& valueName) {
    return withTrail("Reg_DeleteValue&", [&] {
        OpenedKey key;
        const std::int32_t rc =
            registry().RegOpenKeyEx(hive, bytesOf(keyPath), KEY_WRITE_ACCESS, &key.handle);
        if (rc != ERROR_SUCCESS) {
            key.handle = 0;
            return rc;
        }
        return registry().RegDeleteValue(key.handle, bytesOf(valueName));
    });
}

bool Reg_DoesKeyExist(HKEY hive, const QString& keyPath) {
    return withTrail("Reg_DoesKeyExist&", [&] {
        OpenedKey key;
        if (registry().RegOpenKeyEx(hive, bytesOf(keyPath), KEY_READ, &key.handle) == ERROR_SUCCESS)
            return true;
        key.handle = 0;
        return false;
    });
}

QString Cleaned(QString text) {
    return withTrail("Cleaned&", [&] { return text.remove(QChar(0)); });
}

} // namespace brantock
