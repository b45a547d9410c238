#pragma once

#include "engine/cells/CellMetrics.h"

#include <QFont>
#include <QImage>
#include <QString>

// Single characters drawn as the art is drawn: black on white, each centred across in a cell of
// its own by its advance, on the baseline that centres the font's inked band in the cell, and
// clipped to the cell. Needs a QGuiApplication, as every use of fonts does.
class GlyphCells
{
public:
    // The font is the one ArtRenderer::fontFamily() names, at a pixel size of the cell's height.
    explicit GlyphCells(CellSize cell);

    CellSize cell() const { return m_cell; }
    // One character, a surrogate pair or other, in a cell.width x cell.height Format_Grayscale8 picture.
    QImage draw(const QString &character) const;

private:
    CellSize m_cell;
    QFont m_font;
    double m_baseline = 0;
};
