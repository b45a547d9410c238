#include "engine/cells/internal/ToneSampling.h"

#include "engine/cells/Lightness.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <new>

using modColour::Colour;

namespace {

// Which byte of a QRgb in memory holds the channel at `shift`.
constexpr int byteOf(int shift) { return Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? shift / 8 : 3 - shift / 8; }
constexpr int RedByte = byteOf(16);
constexpr int GreenByte = byteOf(8);
constexpr int BlueByte = byteOf(0);

// Sums start on a cache line and fill whole ones, so vector loads of them never split a line.
constexpr std::size_t SumAlignment = 64;

// Plain loops over bytes into 32-bit sums, which the compiler turns into vector code; weight 1,
// every row at sizes up to 1, needs no multiplication at all.
void storeBytes(const quint8 *__restrict bytes, quint32 *__restrict sums, std::size_t count, quint32 weight)
{
    for (std::size_t i = 0; i < count; ++i)
        sums[i] = bytes[i] * weight;
}

void addBytes(const quint8 *__restrict bytes, quint32 *__restrict sums, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        sums[i] += bytes[i];
}

void addBytes(const quint8 *__restrict bytes, quint32 *__restrict sums, std::size_t count, quint32 weight)
{
    for (std::size_t i = 0; i < count; ++i)
        sums[i] += bytes[i] * weight;
}

// A pixel's relative luminance in whole units, so that sums are exact whatever order they are
// taken in: 2^20 units make white, and a column of the tallest cell (340 pixels) stays within 32 bits.
struct LuminanceTables
{
    std::array<quint32, 256> red{}, green{}, blue{};
    quint32 white = 0;
};

const LuminanceTables &luminanceTables()
{
    static const LuminanceTables tables = [] {
        constexpr double units = 1 << 20;
        LuminanceTables t;
        for (std::size_t level = 0; level < 256; ++level) {
            const double linear = Lightness::linearOfLevel()[level] * units;
            t.red[level] = quint32(std::lround(Lightness::redWeight * linear));
            t.green[level] = quint32(std::lround(Lightness::greenWeight * linear));
            t.blue[level] = quint32(std::lround(Lightness::blueWeight * linear));
        }
        t.white = t.red[255] + t.green[255] + t.blue[255];
        return t;
    }();
    return tables;
}

} // namespace

void CellSampler::ColumnSums::AlignedFree::operator()(quint32 *sums) const
{
    ::operator delete[](sums, std::align_val_t(SumAlignment));
}

CellSampler::CellSampler(AxisMapping columns, AxisMapping rows, Keep keep)
    : CellSampler(std::move(columns), std::move(rows), keep, 0, std::numeric_limits<int>::max())
{
}

CellSampler::CellSampler(AxisMapping columns, AxisMapping rows, Keep keep, int firstCellRow, int endCellRow)
    : m_columns(std::move(columns)), m_rows(std::move(rows))
{
    const int first = std::clamp(firstCellRow, 0, m_rows.cellCount());
    const int end = std::clamp(endCellRow, first, m_rows.cellCount());
    const int top = quarterSplitOf({m_columns.cellLength, m_rows.cellLength}).top;
    for (int r = first; r < end; ++r) {
        const AxisMapping::Cell cell = m_rows.cells[r];
        int row = 0; // of the scaled picture, within the cell
        for (int t = cell.tapBegin; t < cell.tapEnd; ++t) {
            const AxisMapping::Tap tap = m_rows.taps[t];
            m_rowTaps.push_back({tap.source, r - first, tap.weight, std::clamp(top - row, 0, tap.weight)});
            row += tap.weight;
        }
        m_lastSourceOfRow.push_back(m_rows.taps[cell.tapEnd - 1].source);
    }
    m_firstSourceRow = m_rowTaps.empty() ? 0 : m_rowTaps.front().source;
    m_endSourceRow = m_lastSourceOfRow.empty() ? 0 : m_lastSourceOfRow.back() + 1;
    m_nextSourceRow = m_firstSourceRow;
    m_sourceColumnsNeeded = m_columns.taps.empty() ? 0 : m_columns.taps.back().source + 1;
    m_tones.grey = CellGrid<quint8>(m_columns.cellCount(), end - first);
    if (keep == Keep::coloursAndGreys || keep == Keep::coloursGreysAndLight)
        m_tones.colour = CellGrid<Colour>(m_columns.cellCount(), end - first);
    m_keepLight = keep == Keep::greysAndLight || keep == Keep::coloursGreysAndLight;
    if (m_keepLight) {
        m_tones.light = CellGrid<float>(m_columns.cellCount(), end - first);
        m_tones.lightQuarters = CellGrid<Quarters<float>>(m_columns.cellCount(), end - first);
    }
}

void CellSampler::addSourceRow(const QRgb *row)
{
    const int source = m_nextSourceRow++;
    for (; m_nextTap < m_rowTaps.size() && m_rowTaps[m_nextTap].source == source; ++m_nextTap) {
        const RowTap tap = m_rowTaps[m_nextTap];
        while (m_firstOpenRow + int(m_openRows.size()) <= tap.cellRow) {
            if (m_spareRows.empty()) {
                m_openRows.push_back(newColumnSums());
            } else {
                m_openRows.push_back(std::move(m_spareRows.back()));
                m_spareRows.pop_back();
            }
        }
        ColumnSums &sums = m_openRows[tap.cellRow - m_firstOpenRow];
        if (m_keepLight)
            addLight(row, tap, sums);
        addToColumns(row, quint32(tap.weight), sums);
    }
    finishRowsEndingAt(source);
}

CellSampler::ColumnSums CellSampler::newColumnSums() const
{
    const std::size_t perLine = SumAlignment / sizeof(quint32);
    const std::size_t count = (std::size_t(m_sourceColumnsNeeded) * 4 + perLine - 1) / perLine * perLine;
    auto *sums = static_cast<quint32 *>(::operator new[](count * sizeof(quint32), std::align_val_t(SumAlignment)));
    return {std::unique_ptr<quint32[], ColumnSums::AlignedFree>(sums), std::vector<quint32>(m_keepLight ? 2 * std::size_t(m_sourceColumnsNeeded) : 0), true};
}

void CellSampler::addLight(const QRgb *row, RowTap tap, ColumnSums &sums) const
{
    // A row counted in two cell rows (enlarged, across their border) is looked up twice: that
    // costs less than keeping its luminance apart for every row.
    const LuminanceTables &units = luminanceTables();
    const auto *bytes = reinterpret_cast<const quint8 *>(row);
    const std::size_t columns = std::size_t(m_sourceColumnsNeeded);
    quint32 *top = sums.lightSums.data();
    quint32 *bottom = top + columns;
    if (sums.empty)
        std::fill(sums.lightSums.begin(), sums.lightSums.end(), 0);
    const auto upper = quint32(tap.topWeight), lower = quint32(tap.weight - tap.topWeight);
    const auto lightAt = [&](std::size_t x) {
        const quint8 *pixel = bytes + 4 * x;
        return units.red[pixel[RedByte]] + units.green[pixel[GreenByte]] + units.blue[pixel[BlueByte]];
    };
    // Most rows lie wholly in one half: those cost what a row did before the halves were kept.
    if (lower == 0 || upper == 0) {
        quint32 *half = lower == 0 ? top : bottom;
        const quint32 weight = lower == 0 ? upper : lower;
        for (std::size_t x = 0; x < columns; ++x)
            half[x] += lightAt(x) * weight;
        return;
    }
    for (std::size_t x = 0; x < columns; ++x) {
        const quint32 light = lightAt(x);
        top[x] += light * upper;
        bottom[x] += light * lower;
    }
}

void CellSampler::addToColumns(const QRgb *row, quint32 weight, ColumnSums &sums) const
{
    const auto *bytes = reinterpret_cast<const quint8 *>(row);
    const std::size_t count = std::size_t(m_sourceColumnsNeeded) * 4;
    if (sums.empty)
        storeBytes(bytes, sums.byteSums.get(), count, weight);
    else if (weight == 1)
        addBytes(bytes, sums.byteSums.get(), count);
    else
        addBytes(bytes, sums.byteSums.get(), count, weight);
    sums.empty = false;
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
        quint64 red = 0, green = 0, blue = 0;
        for (int t = cell.tapBegin; t < cell.tapEnd; ++t) {
            const AxisMapping::Tap tap = m_columns.taps[t];
            const quint32 *pixel = sums.byteSums.get() + std::size_t(tap.source) * 4;
            red += quint64(pixel[RedByte]) * quint64(tap.weight);
            green += quint64(pixel[GreenByte]) * quint64(tap.weight);
            blue += quint64(pixel[BlueByte]) * quint64(tap.weight);
        }
        const Colour mean = modColour::meanColour(qint64(red), qint64(green), qint64(blue), pixelsPerCell);
        if (!m_tones.colour.cells.empty())
            m_tones.colour.at(c, cellRow) = mean;
        m_tones.grey.at(c, cellRow) = quint8(modColour::GetRed(modColour::GreyColour(mean)));
        if (m_keepLight)
            measureLight(sums, c, cellRow);
    }
}

void CellSampler::measureLight(const ColumnSums &sums, int column, int cellRow)
{
    const AxisMapping::Cell cell = m_columns.cells[column];
    const QuarterSplit split = quarterSplitOf({m_columns.cellLength, m_rows.cellLength});
    const std::size_t bottom = std::size_t(m_sourceColumnsNeeded);
    Quarters<quint64> light{};
    int x = 0; // of the scaled picture, within the cell
    for (int t = cell.tapBegin; t < cell.tapEnd; ++t) {
        const AxisMapping::Tap tap = m_columns.taps[t];
        const auto left = quint64(std::clamp(split.left - x, 0, tap.weight)), right = quint64(tap.weight) - left;
        const quint64 upper = sums.lightSums[std::size_t(tap.source)], lower = sums.lightSums[bottom + std::size_t(tap.source)];
        light[0] += upper * left;
        light[1] += upper * right;
        light[2] += lower * left;
        light[3] += lower * right;
        x += tap.weight;
    }
    const double white = luminanceTables().white;
    const double whole = double(light[0] + light[1] + light[2] + light[3]) / (white * m_columns.cellLength * m_rows.cellLength);
    m_tones.light.at(column, cellRow) = float(std::min(1.0, whole));
    const int widths[2] = {split.left, m_columns.cellLength - split.left};
    const int heights[2] = {split.top, m_rows.cellLength - split.top};
    Quarters<float> &quarters = m_tones.lightQuarters.at(column, cellRow);
    for (std::size_t q = 0; q < 4; ++q) {
        const double pixels = double(widths[q % 2]) * heights[q / 2];
        quarters[q] = float(pixels > 0 ? std::min(1.0, double(light[q]) / (white * pixels)) : std::min(1.0, whole));
    }
}
