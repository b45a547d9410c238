#include "ToneSampling.h"

using modColour::Colour;

namespace {

// Red into the high lane, blue into the low one.
inline quint64 redBlueOf(QRgb pixel) { return (quint64(pixel & 0xFF0000) << 16) | (pixel & 0xFF); }

} // namespace

CellSampler::CellSampler(AxisMapping columns, AxisMapping rows)
    : m_columns(std::move(columns)), m_rows(std::move(rows)), m_cellColour(m_columns.cellCount(), m_rows.cellCount())
{
    for (int r = 0; r < m_rows.cellCount(); ++r) {
        const AxisMapping::Cell cell = m_rows.cells[r];
        for (int t = cell.tapBegin; t < cell.tapEnd; ++t)
            m_rowTaps.push_back({m_rows.taps[t].source, r, m_rows.taps[t].weight});
        m_lastSourceOfRow.push_back(m_rows.taps[cell.tapEnd - 1].source);
    }
    m_sourceRowsNeeded = m_lastSourceOfRow.empty() ? 0 : m_lastSourceOfRow.back() + 1;
    m_sourceColumnsNeeded = m_columns.taps.empty() ? 0 : m_columns.taps.back().source + 1;
}

void CellSampler::addSourceRow(const QRgb *row)
{
    const int source = m_nextSourceRow++;
    for (; m_nextTap < m_rowTaps.size() && m_rowTaps[m_nextTap].source == source; ++m_nextTap) {
        const RowTap tap = m_rowTaps[m_nextTap];
        while (m_firstOpenRow + int(m_openRows.size()) <= tap.cellRow) {
            if (m_spareRows.empty()) {
                m_openRows.push_back({std::vector<quint64>(m_sourceColumnsNeeded), std::vector<quint32>(m_sourceColumnsNeeded)});
            } else {
                m_openRows.push_back(std::move(m_spareRows.back()));
                m_spareRows.pop_back();
            }
        }
        addToColumns(row, quint32(tap.weight), m_openRows[tap.cellRow - m_firstOpenRow]);
    }
    finishRowsEndingAt(source);
}

void CellSampler::addToColumns(const QRgb *row, quint32 weight, ColumnSums &sums) const
{
    quint64 *redBlue = sums.redBlue.data();
    quint32 *green = sums.green.data();
    if (sums.empty) {
        for (int x = 0; x < m_sourceColumnsNeeded; ++x) {
            redBlue[x] = redBlueOf(row[x]) * weight;
            green[x] = ((row[x] >> 8) & 0xFF) * weight;
        }
        sums.empty = false;
        return;
    }
    for (int x = 0; x < m_sourceColumnsNeeded; ++x) {
        redBlue[x] += redBlueOf(row[x]) * weight;
        green[x] += ((row[x] >> 8) & 0xFF) * weight;
    }
}

void CellSampler::finishRowsEndingAt(int source)
{
    while (!m_openRows.empty() && m_lastSourceOfRow[m_firstOpenRow] <= source) {
        ColumnSums &sums = m_openRows.front();
        finishRow(sums, m_firstOpenRow);
        sums.empty = true;
        m_spareRows.push_back(std::move(sums));
        m_openRows.pop_front();
        ++m_firstOpenRow;
    }
}

void CellSampler::finishRow(const ColumnSums &sums, int cellRow)
{
    const modColour::RoundingDivisor pixelsPerCell(qint64(m_columns.cellLength) * m_rows.cellLength);
    for (int c = 0; c < m_columns.cellCount(); ++c) {
        const AxisMapping::Cell cell = m_columns.cells[c];
        quint64 redBlue = 0, green = 0;
        for (int t = cell.tapBegin; t < cell.tapEnd; ++t) {
            const AxisMapping::Tap tap = m_columns.taps[t];
            redBlue += sums.redBlue[tap.source] * quint64(tap.weight);
            green += quint64(sums.green[tap.source]) * quint64(tap.weight);
        }
        m_cellColour.at(c, cellRow) = modColour::meanColour(qint64(redBlue >> 32), qint64(green), qint64(redBlue & 0xFFFFFFFF), pixelsPerCell);
    }
}

void greyColumns(const CellGrid<Colour> &cellColour, int first, int end, CellGrid<quint8> &cellGrey)
{
    for (int row = 0; row < cellColour.rows; ++row) {
        for (int column = first; column < end; ++column)
            cellGrey.at(column, row) = quint8(modColour::GetRed(modColour::GreyColour(cellColour.at(column, row))));
    }
}
