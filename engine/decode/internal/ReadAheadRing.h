#pragma once

#include "engine/decode/internal/RowBuffers.h"
#include "engine/StopToken.h"

#include <QRgb>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

// Rows made on a thread of their own into a ring of batches a little ahead of the reader, which
// takes them in order; on two cores, whatever the reader does with a row then costs next to
// nothing beside making it. A batch is handed over whole, so the threads meet once every few
// rows rather than at every row.
class ReadAheadRing
{
public:
    // Writes the next row into `row`; false when there is none or the picture turns out damaged.
    // It may throw; the reader gets the exception.
    using Producer = std::function<bool(QRgb *row)>;

    // Fewer or smaller batches were measured slower on two cores: waking a thread costs tens of
    // microseconds, and the producer must never have to wait for room.
    static constexpr int batchRows = 8;
    static constexpr int batches = 3;
    static constexpr int ringRows = batchRows * batches;

    // Starts the producing thread, which stops at the first batch after `stop` is requested.
    // Throws std::system_error when no thread can be had.
    ReadAheadRing(int width, Producer produce, const StopToken &stop);
    ~ReadAheadRing(); // stops the producing thread and waits for it

    // The next row, valid until the next call; null when the producer had no more or a stop was
    // requested. Rethrows what the producer threw.
    const QRgb *next();
    // Lets the producer run to its end without handing out rows, and waits for it. Rethrows what
    // the producer threw.
    void finish();

private:
    QRgb *rowAt(int row) const { return m_ring.row(row % ringRows); }
    void makeRows();

    Producer m_produce;
    const RowBuffers m_ring;
    LinkedStop m_stop;

    std::mutex m_mutex;
    std::condition_variable_any m_roomFreed; // the producing thread waits on it
    std::condition_variable_any m_rowsReady; // the reader waits on it
    int m_made = 0;     // rows written to the ring and handed over
    int m_reading = -1; // the row the reader holds
    bool m_ended = false; // the producer will be called no more
    bool m_draining = false;
    std::exception_ptr m_failure;
    std::thread m_thread; // last: it starts when everything else is ready
};
