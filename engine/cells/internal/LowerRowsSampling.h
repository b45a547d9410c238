#pragma once

#include "engine/cells/AxisMapping.h"
#include "engine/cells/CellGrid.h"
#include "engine/cells/internal/ToneSampling.h"
#include "engine/decode/internal/PictureRows.h"
#include "engine/StopToken.h"

#include <QtGlobal>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <optional>

// The lower cell rows of a picture measured on a thread of their own, by a second reader of the
// picture, while the caller's reader takes the rows above. On two cores a photo of one scan is
// then measured in about two thirds of the time its decoding takes alone: the second decoder
// only skims the compressed data above its rows, which is about half the work of decoding it. A
// picture decoded whole is measured in halves.
class LowerRowsSampling
{
public:
    // Null when the picture cannot be read in two parts, has fewer than two rows of cells, or no
    // thread can be had. Otherwise the lower part is being measured, and `picture` is to be read
    // for the cell rows above firstCellRow() only. The thread stops before its next row once `stop`
    // is requested. `keep` is greys, or greys and light.
    static std::unique_ptr<LowerRowsSampling> start(PictureRows &picture, const AxisMapping &columns, const AxisMapping &rows,
                                                    CellSampler::Keep keep, const StopToken &stop);
    ~LowerRowsSampling(); // stops the thread and waits for it

    int firstCellRow() const { return m_firstCellRow; }
    int sourceRowsNeeded() const { return m_sampler.sourceRowsNeeded(); }
    int sourceRowsAdded() const { return m_added.load(std::memory_order_relaxed); }

    // Waits up to `timeout` for the lower part to be measured, with the picture read to its end.
    bool waitFor(std::chrono::milliseconds timeout) const;
    // Once measured: the tones of the lower cell rows; nothing when the picture turned out to be
    // damaged there. Rethrows what stopped the thread (running out of memory).
    std::optional<CellTones> takeTones();
    // After a failure: whether the file stops early, rather than holding damaged data.
    bool stoppedEarly() const { return m_rows->stoppedEarly(); }

private:
    LowerRowsSampling(std::unique_ptr<PictureRows> rows, CellSampler sampler, int firstCellRow, const StopToken &stop);
    std::optional<CellTones> sample();

    std::unique_ptr<PictureRows> m_rows;
    CellSampler m_sampler;
    int m_firstCellRow;
    std::atomic_int m_added = 0;
    LinkedStop m_stop;
    std::future<std::optional<CellTones>> m_result; // last: the thread starts when all else is ready
};
