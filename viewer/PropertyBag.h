#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>
#include <utility>

// The property set a host keeps for one control: named values, keys matched without regard to
// case, in the order they were written.
class PropertyBag
{
public:
    // The stored value, or `defaultValue` when the key is missing.
    QVariant ReadProperty(const QString &key, const QVariant &defaultValue) const;
    // Stores `value`, or removes the key when `value` equals `defaultValue`, so that a reader
    // gets the default back.
    void WriteProperty(const QString &key, const QVariant &value, const QVariant &defaultValue);

    bool contains(const QString &key) const;
    QStringList keys() const;

    QByteArray save() const;
    // Nothing when `data` is not a saved bag.
    static std::optional<PropertyBag> restore(const QByteArray &data);

private:
    qsizetype indexOf(const QString &key) const;

    QList<std::pair<QString, QVariant>> m_values;
};
