#include "engine/ArtRows.h"

#include "engine/cells/CharacterMapping.h"
#include "engine/cells/InkDiffusion.h"

ArtRows::ArtRows(const RunParameters &p, const CellTones &tones, const std::vector<CharacterInk> &coverage) : m_tones(tones)
{
    if (p.tone == ToneMapping::bands) {
        m_bands = std::make_unique<RampTables>(buildRampTables(p.invert ? reversedRamp(p.ramp) : p.ramp));
        m_characterCount = int(m_bands->rampChar.size());
        return;
    }
    // The ramp's order says nothing here: the shades come from the ink each character takes.
    const std::vector<QString> characters = distinctCharacters(p.ramp);
    m_characterCount = int(characters.size());
    if (characters.empty())
        return;
    InkShades shades(characters, coverage, p.invert);
    m_ink = std::make_unique<InkDiffusion>(std::move(shades), tones.light, &tones.lightQuarters, samplingCellOf(p),
                                           p.levels ? levelsOf(tones.light) : Levels{}, p.diffusion);
}

ArtRows::~ArtRows() = default;

QString ArtRows::next()
{
    const int row = m_row++;
    if (m_bands)
        return assembleRow(m_tones.grey.row(row), *m_bands);
    return m_ink ? m_ink->nextRow() : QString();
}
