#pragma once

#include "engine/cells/CellTones.h"
#include "engine/cells/InkShades.h"
#include "engine/RunParameters.h"

#include <QString>
#include <memory>
#include <vector>

struct RampTables;
class InkDiffusion;

// The rows of a run's art, top to bottom: each cell's character by the tone mapping the run's
// parameters choose, the grey bands or the measured ink.
class ArtRows
{
public:
    // `tones` must outlive this and hold the light when the ink is chosen; `coverage` is then
    // inkCoverageOf() the ramp's distinctCharacters(), and is not used for the bands.
    ArtRows(const RunParameters &parameters, const CellTones &tones, const std::vector<CharacterInk> &coverage);
    ~ArtRows();

    // The characters the mapping chooses among; a run yields once for each as it builds them.
    int characterCount() const { return m_characterCount; }
    // The next row's characters, left to right.
    QString next();

private:
    const CellTones &m_tones;
    int m_row = 0;
    int m_characterCount = 0;
    std::unique_ptr<RampTables> m_bands;
    std::unique_ptr<InkDiffusion> m_ink;
};
