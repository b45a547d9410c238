#pragma once

#include "engine/cells/CellQuarters.h"

#include <QString>
#include <vector>

// How much of its cell a character's ink takes, 0 ... 1: the whole cell, and each quarter.
struct CharacterInk
{
    double whole = 0;
    Quarters<double> quarters{};
};

// The shades a ramp's characters make, each cell seen from where it blends into one shade.
class InkShades
{
public:
    // `coverage[i]` is the share of the cell `characters[i]`'s ink takes (InkCoverage); each
    // character once. Dark ink on white paper, or with `lightOnDark` light ink on black. Of
    // characters of equal shade, their ink placed alike, only the first is kept.
    InkShades(const std::vector<QString> &characters, const std::vector<CharacterInk> &coverage, bool lightOnDark);

    bool empty() const { return m_light.empty(); }
    int count() const { return int(m_light.size()); }
    // Linear light, 0 ... 1, of the darkest and the lightest shade; not for an empty set.
    double darkest() const { return m_light.front(); }
    double lightest() const { return m_light.back(); }

    // The shade closest to linear light `light` as the eye judges it (on CIE L*); between two
    // equally close, the darker. Not for an empty set.
    int closest(double light) const;
    // The shade that comes closest to linear light `light` over the cell and to `quarters` in its
    // quarters, so that where the picture is darker within the cell the ink lies there too.
    int closestInPlace(double light, const Quarters<double> &quarters) const;
    double lightOf(int shade) const { return m_light[std::size_t(shade)]; }
    const Quarters<double> &quartersOf(int shade) const { return m_quarters[std::size_t(shade)]; }
    const QString &characterOf(int shade) const { return m_characters[std::size_t(shade)]; }

private:
    // From the darkest.
    std::vector<double> m_light;
    std::vector<Quarters<double>> m_quarters;
    std::vector<QString> m_characters;
    // The linear light halfway in lightness between each shade and the next: the eye's
    // judgement made once, so that a choice costs no curve.
    std::vector<double> m_between;
};
