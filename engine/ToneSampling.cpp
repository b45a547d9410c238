#include "ToneSampling.h"

#include <array>

using modColour::Colour;

namespace {

struct ChannelSums
{
    qint64 red = 0;
    qint64 green = 0;
    qint64 blue = 0;
};

} // namespace

CellSampler::CellSampler(const QImage &picture, AxisMapping columns, AxisMapping rows)
    : m_picture(picture), m_columns(std::move(columns)), m_rows(std::move(rows))
{
}

void CellSampler::sampleColumns(int first, int end, CellGrid<Colour> &cellColour) const
{
    for (int row = 0; row < rowCount(); ++row) {
        if (m_columns.unitWeights)
            sampleRow<true>(first, end, row, cellColour);
        else
            sampleRow<false>(first, end, row, cellColour);
    }
}

template <bool unitColumns>
void CellSampler::sampleRow(int first, int end, int row, CellGrid<Colour> &cellColour) const
{
    // Column strips are narrow, so the sums of one strip fit a small fixed buffer.
    constexpr int maxStrip = 64;
    Q_ASSERT(end - first <= maxStrip);
    std::array<ChannelSums, maxStrip> sums{};
    qint64 pixelCount = 0;

    const AxisMapping::Cell rowCell = m_rows.cells[row];
    for (int t = rowCell.tapBegin; t < rowCell.tapEnd; ++t) {
        const AxisMapping::Tap rowTap = m_rows.taps[t];
        const auto *line = reinterpret_cast<const QRgb *>(m_picture.constScanLine(rowTap.source));
        for (int column = first; column < end; ++column) {
            const AxisMapping::Cell cell = m_columns.cells[column];
            quint32 red = 0, green = 0, blue = 0;
            if constexpr (unitColumns) {
                const QRgb *pixel = line + m_columns.taps[cell.tapBegin].source;
                const int count = cell.tapEnd - cell.tapBegin;
                for (int i = 0; i < count; ++i) {
                    red += (pixel[i] >> 16) & 0xFF;
                    green += (pixel[i] >> 8) & 0xFF;
                    blue += pixel[i] & 0xFF;
                }
            } else {
                for (int i = cell.tapBegin; i < cell.tapEnd; ++i) {
                    const AxisMapping::Tap tap = m_columns.taps[i];
                    const QRgb pixel = line[tap.source];
                    red += ((pixel >> 16) & 0xFF) * quint32(tap.weight);
                    green += ((pixel >> 8) & 0xFF) * quint32(tap.weight);
                    blue += (pixel & 0xFF) * quint32(tap.weight);
                }
            }
            ChannelSums &sum = sums[column - first];
            sum.red += qint64(red) * rowTap.weight;
            sum.green += qint64(green) * rowTap.weight;
            sum.blue += qint64(blue) * rowTap.weight;
        }
        pixelCount += rowTap.weight;
    }

    for (int column = first; column < end; ++column) {
        const AxisMapping::Cell cell = m_columns.cells[column];
        qint64 width = 0;
        for (int i = cell.tapBegin; i < cell.tapEnd; ++i)
            width += m_columns.taps[i].weight;
        const ChannelSums &sum = sums[column - first];
        cellColour.at(column, row) = modColour::meanColour(sum.red, sum.green, sum.blue, width * pixelCount);
    }
}

void greyColumns(const CellGrid<Colour> &cellColour, int first, int end, CellGrid<quint8> &cellGrey)
{
    for (int row = 0; row < cellColour.rows; ++row) {
        for (int column = first; column < end; ++column)
            cellGrey.at(column, row) = quint8(modColour::GetRed(modColour::GreyColour(cellColour.at(column, row))));
    }
}
