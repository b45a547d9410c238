#pragma once

#include "AxisMapping.h"
#include "CellGrid.h"
#include "modColour.h"

#include <QImage>

// Measures the mean colour of the cells of a scaled picture, reading the source picture through
// the nearest-neighbour mappings of its two axes; each cell's means are exactly those of the
// cellWidth x cellHeight pixels it covers in the scaled picture.
class CellSampler
{
public:
    // `picture` must be in Format_RGB32 and outlive the sampler.
    CellSampler(const QImage &picture, AxisMapping columns, AxisMapping rows);

    int columnCount() const { return m_columns.cellCount(); }
    int rowCount() const { return m_rows.cellCount(); }

    // Fills cellColour for the cell columns [first, end) of every cell row.
    void sampleColumns(int first, int end, CellGrid<modColour::Colour> &cellColour) const;

private:
    template <bool unitColumns>
    void sampleRow(int first, int end, int row, CellGrid<modColour::Colour> &cellColour) const;

    const QImage &m_picture;
    AxisMapping m_columns;
    AxisMapping m_rows;
};

// The grey of every cell: GreyColour of its mean colour, kept as the grey level 0 ... 255.
void greyColumns(const CellGrid<modColour::Colour> &cellColour, int first, int end, CellGrid<quint8> &cellGrey);
