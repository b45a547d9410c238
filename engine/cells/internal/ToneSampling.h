#pragma once

#include "engine/cells/AxisMapping.h"
#include "engine/cells/CellGrid.h"
#include "engine/cells/CellTones.h"
#include "engine/cells/modColour.h"

#include <QImage>
#include <deque>
#include <memory>
#include <vector>

// Measures the mean colour of the cells of a scaled picture from the source picture's rows, taken
// in order from the top, through the nearest-neighbour mappings of its two axes. Each cell's means
// are exactly those of the cellWidth x cellHeight pixels it covers in the scaled picture. Only
// the rows of cells still being summed are kept, so rows can come straight from a decoder.
class CellSampler
{
public:
    // A run of the bands needs the greys only, one of the ink the mean light too, which costs a
    // lookup per pixel; the grid of colours, as large again as four grids of greys, is kept only
    // for art in colour.
    enum class Keep { coloursAndGreys, greys, greysAndLight, coloursGreysAndLight };

    CellSampler(AxisMapping columns, AxisMapping rows, Keep keep = Keep::coloursAndGreys);
    // Measures only the cell rows from `firstCellRow` up to `endCellRow` (or the last), so that two
    // samplers can take the upper and the lower part of a picture at once. Its grids hold just
    // those rows.
    CellSampler(AxisMapping columns, AxisMapping rows, Keep keep, int firstCellRow, int endCellRow);

    int columnCount() const { return m_columns.cellCount(); }
    int rowCount() const { return m_tones.grey.rows; }
    // Source rows firstSourceRow() ... firstSourceRow() + sourceRowsNeeded() - 1 are read; those
    // above belong to other cell rows, those below to others too or are cut away by trimming.
    int firstSourceRow() const { return m_firstSourceRow; }
    int sourceRowsNeeded() const { return m_endSourceRow - m_firstSourceRow; }
    int sourceRowsAdded() const { return m_nextSourceRow - m_firstSourceRow; }

    // Adds the next source row: sourceWidth pixels of 0xFFRRGGBB.
    void addSourceRow(const QRgb *row);
    bool complete() const { return m_nextSourceRow == m_endSourceRow; }

    // The mean colours (an empty grid unless kept), and their greys (GreyColour of the mean, as
    // the level 0 ... 255); rows of cells are filled as their last source row is added, so the
    // greys cost nothing beside a decoder still busy with the rows below.
    const CellGrid<modColour::Colour> &cellColour() const { return m_tones.colour; }
    CellGrid<quint8> takeCellGrey() { return std::move(m_tones.grey); }
    // The greys and, when kept, each cell's relative luminance averaged in linear light and its colour.
    CellTones takeCellTones() { return std::move(m_tones); }

private:
    // Channel sums down the source columns of one cell row, each source row counted as often as
    // the scaled picture repeats it: one 32-bit sum per byte of the row (alpha included), so a row
    // is added as a single stream of bytes into a single stream of sums, and where the buffers
    // land does not decide how fast that goes. No sum can overflow, since a cell holds at most
    // 204 x 340 pixels of at most 255.
    struct ColumnSums
    {
        struct AlignedFree
        {
            void operator()(quint32 *sums) const;
        };
        std::unique_ptr<quint32[], AlignedFree> byteSums;
        // Luminance down each source column, in units of which white has about 2^20, over the top
        // half of the cell row and then over its bottom half; when light is kept.
        std::vector<quint32> lightSums;
        bool empty = true; // the first row added is stored, not added, so nothing needs clearing
    };
    // Source row `source` adds `weight` copies of itself to cell row `cellRow`.
    struct RowTap
    {
        int source;
        int cellRow;
        int weight;
        int topWeight; // of those copies, the ones in the top half of the cell row
    };

    ColumnSums newColumnSums() const;
    void addToColumns(const QRgb *row, quint32 weight, ColumnSums &sums) const;
    void addLight(const QRgb *row, RowTap tap, ColumnSums &sums) const;
    void finishRowsEndingAt(int source);
    void finishRow(const ColumnSums &sums, int cellRow);
    // The mean light of the cell and of its quarters.
    void measureLight(const ColumnSums &sums, int column, int cellRow);

    AxisMapping m_columns;
    AxisMapping m_rows;
    // Cell rows are counted from the first this sampler measures.
    std::vector<RowTap> m_rowTaps; // in source order
    std::vector<int> m_lastSourceOfRow;
    int m_sourceColumnsNeeded = 0;
    int m_firstSourceRow = 0;
    int m_endSourceRow = 0;
    int m_nextSourceRow = 0;
    std::size_t m_nextTap = 0;

    std::deque<ColumnSums> m_openRows; // cell rows still being summed, from m_firstOpenRow on
    std::vector<ColumnSums> m_spareRows;
    int m_firstOpenRow = 0;
    CellTones m_tones;
    bool m_keepLight = false;
};
