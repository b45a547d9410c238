#include "ToneSampling.h"

#include <cstring>

using modColour::Colour;

namespace {

// Channel sums of `count` consecutive pixels, two pixels at a time: the masked halves of a 64-bit
// word hold red and blue (or green and alpha) of both pixels in 16-bit lanes, which cannot
// overflow for the at most 512 pixels of a cell row.
void sumRun(const QRgb *pixel, int count, quint32 &red, quint32 &green, quint32 &blue)
{
    constexpr quint64 lowBytes = 0x00FF00FF00FF00FFull;
    quint64 redBlue = 0, greenAlpha = 0;
    int i = 0;
    for (; i + 1 < count; i += 2) {
        quint64 two;
        std::memcpy(&two, pixel + i, sizeof two);
        redBlue += two & lowBytes;
        greenAlpha += (two >> 8) & lowBytes;
    }
    red = quint32(((redBlue >> 16) & 0xFFFF) + (redBlue >> 48));
    blue = quint32((redBlue & 0xFFFF) + ((redBlue >> 32) & 0xFFFF));
    green = quint32((greenAlpha & 0xFFFF) + ((greenAlpha >> 32) & 0xFFFF));
    if (i < count) {
        red += (pixel[i] >> 16) & 0xFF;
        green += (pixel[i] >> 8) & 0xFF;
        blue += pixel[i] & 0xFF;
    }
}

} // namespace

CellSampler::CellSampler(AxisMapping columns, AxisMapping rows)
    : m_columns(std::move(columns)), m_rows(std::move(rows)), m_rowSums(m_columns.cells.size()),
      m_cellColour(m_columns.cellCount(), m_rows.cellCount())
{
    for (int r = 0; r < m_rows.cellCount(); ++r) {
        const AxisMapping::Cell cell = m_rows.cells[r];
        for (int t = cell.tapBegin; t < cell.tapEnd; ++t)
            m_rowTaps.push_back({m_rows.taps[t].source, r, m_rows.taps[t].weight});
        m_lastSourceOfRow.push_back(m_rows.taps[cell.tapEnd - 1].source);
    }
    m_sourceRowsNeeded = m_lastSourceOfRow.empty() ? 0 : m_lastSourceOfRow.back() + 1;
}

void CellSampler::addSourceRow(const QRgb *row)
{
    const int source = m_nextSourceRow++;
    if (m_nextTap < m_rowTaps.size() && m_rowTaps[m_nextTap].source == source)
        sumAlongRow(row);
    for (; m_nextTap < m_rowTaps.size() && m_rowTaps[m_nextTap].source == source; ++m_nextTap) {
        const RowTap tap = m_rowTaps[m_nextTap];
        while (m_firstOpenRow + int(m_openRows.size()) <= tap.cellRow)
            m_openRows.emplace_back(m_rowSums.size());
        std::vector<Sums> &open = m_openRows[tap.cellRow - m_firstOpenRow];
        const auto weight = quint64(tap.weight);
        for (std::size_t c = 0; c < open.size(); ++c) {
            open[c].red += m_rowSums[c].red * weight;
            open[c].green += m_rowSums[c].green * weight;
            open[c].blue += m_rowSums[c].blue * weight;
        }
    }
    finishRowsEndingAt(source);
}

void CellSampler::sumAlongRow(const QRgb *row)
{
    for (int c = 0; c < m_columns.cellCount(); ++c) {
        const AxisMapping::Cell cell = m_columns.cells[c];
        quint32 red = 0, green = 0, blue = 0;
        if (m_columns.unitWeights) {
            sumRun(row + m_columns.taps[cell.tapBegin].source, cell.tapEnd - cell.tapBegin, red, green, blue);
        } else {
            for (int i = cell.tapBegin; i < cell.tapEnd; ++i) {
                const AxisMapping::Tap tap = m_columns.taps[i];
                const QRgb pixel = row[tap.source];
                red += ((pixel >> 16) & 0xFF) * quint32(tap.weight);
                green += ((pixel >> 8) & 0xFF) * quint32(tap.weight);
                blue += (pixel & 0xFF) * quint32(tap.weight);
            }
        }
        m_rowSums[c] = {red, green, blue};
    }
}

void CellSampler::finishRowsEndingAt(int source)
{
    const qint64 pixelsPerCell = qint64(m_columns.cellLength) * m_rows.cellLength;
    while (!m_openRows.empty() && m_lastSourceOfRow[m_firstOpenRow] <= source) {
        const std::vector<Sums> &sums = m_openRows.front();
        for (int c = 0; c < int(sums.size()); ++c) {
            m_cellColour.at(c, m_firstOpenRow) =
                modColour::meanColour(qint64(sums[c].red), qint64(sums[c].green), qint64(sums[c].blue), pixelsPerCell);
        }
        m_openRows.pop_front();
        ++m_firstOpenRow;
    }
}

void greyColumns(const CellGrid<Colour> &cellColour, int first, int end, CellGrid<quint8> &cellGrey)
{
    for (int row = 0; row < cellColour.rows; ++row) {
        for (int column = first; column < end; ++column)
            cellGrey.at(column, row) = quint8(modColour::GetRed(modColour::GreyColour(cellColour.at(column, row))));
    }
}
