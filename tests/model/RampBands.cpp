#include "RampBands.h"

#include <cmath>

namespace {

QStringList charactersOf(const QString &text)
{
    QStringList characters;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()) {
            characters.append(text.mid(at, 2));
            ++at;
        } else {
            characters.append(text.mid(at, 1));
        }
    }
    return characters;
}

} // namespace

RampBands::RampBands(const QString &lightToDark)
{
    const QStringList forward = charactersOf(lightToDark);
    for (qsizetype at = forward.size() - 1; at >= 0; --at)
        m_characters.append(forward.at(at));

    const int count = length();
    m_limits.assign(std::size_t(count) + 1, 0);
    for (int i = 1; i < count; ++i)
        m_limits[i] = int(std::nearbyint((255.0 / count) * i));
    if (count > 0)
        m_limits[count] = 256;
}

QString RampBands::characterFor(int grey) const
{
    for (int k = 0; k < length(); ++k) {
        if (m_limits[k] <= grey && grey < m_limits[k + 1])
            return m_characters.at(k);
    }
    return {};
}
