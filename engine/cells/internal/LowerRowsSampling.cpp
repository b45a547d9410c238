#include "engine/cells/internal/LowerRowsSampling.h"

#include <system_error>
#include <thread>

namespace {

// Where the lower part starts, as a share of the source rows. Both threads read and measure their
// own rows, and the lower one also passes over the rows above its first at `skipCost` of the cost
// of reading them: the two finish together when the upper part holds 1 / (2 - skipCost) of the rows.
double upperShareOf(double skipCost) { return 1 / (2 - skipCost); }

int firstSourceOf(const AxisMapping &rows, int cellRow) { return rows.taps[rows.cells[cellRow].tapBegin].source; }

// The first cell row whose first source row lies at or past the share of the rows, leaving at
// least one cell row above.
int splitRowOf(const AxisMapping &rows, double upperShare)
{
    const int last = rows.cellCount() - 1;
    const double target = upperShare * (rows.taps[rows.cells[last].tapEnd - 1].source + 1);
    int row = 1;
    while (row < last && firstSourceOf(rows, row) < target)
        ++row;
    return row;
}

} // namespace

std::unique_ptr<LowerRowsSampling> LowerRowsSampling::start(PictureRows &picture, const AxisMapping &columns, const AxisMapping &rows,
                                                            CellSampler::Keep keep, const StopToken &stop)
{
    // On a single core the second reader would only add its skimming to the work.
    if (rows.cellCount() < 2 || std::thread::hardware_concurrency() < 2)
        return nullptr;
    const int splitRow = splitRowOf(rows, upperShareOf(picture.skipCost()));
    std::unique_ptr<PictureRows> lowerRows = picture.rowsFrom(firstSourceOf(rows, splitRow));
    if (!lowerRows)
        return nullptr;
    CellSampler sampler(columns, rows, keep, splitRow, rows.cellCount());
    std::unique_ptr<LowerRowsSampling> lower(new LowerRowsSampling(std::move(lowerRows), std::move(sampler), splitRow, stop));
    try {
        lower->m_result = std::async(std::launch::async, [part = lower.get()] { return part->sample(); });
    } catch (const std::system_error &) {
        return nullptr; // the picture is still whole for the caller to read alone
    }
    return lower;
}

LowerRowsSampling::LowerRowsSampling(std::unique_ptr<PictureRows> rows, CellSampler sampler, int firstCellRow, const StopToken &stop)
    : m_rows(std::move(rows)), m_sampler(std::move(sampler)), m_firstCellRow(firstCellRow), m_stop(stop)
{
}

LowerRowsSampling::~LowerRowsSampling()
{
    m_stop.request();
    if (m_result.valid())
        m_result.wait();
}

std::optional<CellTones> LowerRowsSampling::sample()
{
    while (!m_sampler.complete()) {
        if (m_stop.requested())
            return std::nullopt;
        const QRgb *row = m_rows->nextRow();
        if (!row)
            return std::nullopt;
        m_sampler.addSourceRow(row);
        m_added.store(m_sampler.sourceRowsAdded(), std::memory_order_relaxed);
    }
    if (!m_rows->finish())
        return std::nullopt;
    return m_sampler.takeCellTones();
}

bool LowerRowsSampling::waitFor(std::chrono::milliseconds timeout) const
{
    return m_result.wait_for(timeout) == std::future_status::ready;
}

std::optional<CellTones> LowerRowsSampling::takeTones() { return m_result.get(); }
