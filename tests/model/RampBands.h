#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The grey bands of a light-to-dark ramp: band k, from limits[k] up to (not including) limits[k + 1],
// gets characters[k]; band 0 is the darkest. A surrogate pair counts as one character.
class RampBands
{
public:
    explicit RampBands(const QString &lightToDark);

    int length() const { return int(m_characters.size()); }
    // The character of the first band holding `grey`; empty when no band holds it.
    QString characterFor(int grey) const;

private:
    QStringList m_characters;
    std::vector<int> m_limits;
};
