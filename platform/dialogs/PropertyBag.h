#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

namespace brantock::platform {

// The saved property values a host window keeps for its user controls: read back by name
// with a default when absent, written with the value left out when it equals its default.
class PropertyBag {
public:
    PropertyBag() = default;
    explicit PropertyBag(QVariantMap values) : values_(std::move(values)) {}

    QVariant ReadProperty(const QString& name, const QVariant& defaultValue) const {
        return values_.value(name, defaultValue);
    }
    void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue) {
        if (value == defaultValue)
            values_.remove(name);
        else
            values_.insert(name, value);
    }
    const QVariantMap& values() const { return values_; }

private:
    QVariantMap values_;
};

} // namespace brantock::platform
