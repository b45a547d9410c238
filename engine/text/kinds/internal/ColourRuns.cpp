#include "engine/text/kinds/internal/ColourRuns.h"

std::vector<ColourRun> colourRunsOf(const QString &rowText, std::span<const modColour::Colour> colours)
{
    std::vector<ColourRun> runs;
    if (colours.empty())
        return runs;
    qsizetype start = 0;
    std::size_t cell = 0;
    for (qsizetype i = 0; i < rowText.size(); ++cell) {
        const qsizetype length = rowText[i].isHighSurrogate() && i + 1 < rowText.size() && rowText[i + 1].isLowSurrogate() ? 2 : 1;
        const modColour::Colour colour = colours[std::min(cell, colours.size() - 1)];
        if (runs.empty() || runs.back().colour != colour) {
            if (!runs.empty())
                runs.back().text = QStringView(rowText).sliced(start, i - start);
            runs.push_back({{}, colour});
            start = i;
        }
        i += length;
    }
    if (!runs.empty())
        runs.back().text = QStringView(rowText).sliced(start);
    return runs;
}
