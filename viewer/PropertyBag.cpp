#include "viewer/PropertyBag.h"

#include <QDataStream>
#include <QIODevice>
#include <QImage>

namespace {

constexpr quint32 bagMagic = 0x50424147; // "PBAG"
constexpr quint16 bagVersion = 1;

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Int: case QMetaType::UInt:
    case QMetaType::Long: case QMetaType::ULong: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Float: case QMetaType::Double: case QMetaType::Char: case QMetaType::UChar:
    case QMetaType::SChar:
        return true;
    default:
        return false;
    }
}

// A stored 1.5 and a default of 2 differ, a stored 2.0 and a default of 2 do not: numbers
// compare by value whatever width they are held in.
bool sameValue(const QVariant &a, const QVariant &b)
{
    if (isNumber(a) && isNumber(b))
        return a.toDouble() == b.toDouble();
    if (a.typeId() == QMetaType::QImage || b.typeId() == QMetaType::QImage)
        return a.value<QImage>() == b.value<QImage>();
    return a == b;
}

} // namespace

qsizetype PropertyBag::indexOf(const QString &key) const
{
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        if (m_values[i].first.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant PropertyBag::ReadProperty(const QString &key, const QVariant &defaultValue) const
{
    const qsizetype i = indexOf(key);
    return i < 0 ? defaultValue : m_values[i].second;
}

void PropertyBag::WriteProperty(const QString &key, const QVariant &value, const QVariant &defaultValue)
{
    const qsizetype i = indexOf(key);
    if (sameValue(value, defaultValue)) {
        if (i >= 0)
            m_values.removeAt(i);
    } else if (i >= 0) {
        m_values[i].second = value;
    } else {
        m_values.append({key, value});
    }
}

bool PropertyBag::contains(const QString &key) const { return indexOf(key) >= 0; }

QStringList PropertyBag::keys() const
{
    QStringList names;
    for (const auto &[key, value] : m_values)
        names << key;
    return names;
}

QByteArray PropertyBag::save() const
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << bagMagic << bagVersion << qint32(m_values.size());
    for (const auto &[key, value] : m_values)
        out << key << value;
    return data;
}

std::optional<PropertyBag> PropertyBag::restore(const QByteArray &data)
{
    QDataStream in(data);
    quint32 magic = 0;
    quint16 version = 0;
    qint32 count = 0;
    in >> magic >> version >> count;
    if (in.status() != QDataStream::Ok || magic != bagMagic || version != bagVersion || count < 0)
        return std::nullopt;
    PropertyBag bag;
    for (qint32 i = 0; i < count; ++i) {
        QString key;
        QVariant value;
        in >> key >> value;
        if (in.status() != QDataStream::Ok)
            return std::nullopt;
        bag.m_values.append({key, value});
    }
    return bag;
}
