#include "engine/decode/internal/ReadAheadRing.h"

ReadAheadRing::ReadAheadRing(int width, Producer produce, const StopToken &stop)
    : m_produce(std::move(produce)), m_ring(std::size_t(width), ringRows), m_stop(stop), m_thread([this] { makeRows(); })
{
}

ReadAheadRing::~ReadAheadRing()
{
    m_stop.request();
    m_thread.join();
}

const QRgb *ReadAheadRing::next()
{
    const int wanted = m_reading + 1;
    std::unique_lock lock(m_mutex);
    m_reading = wanted; // the row handed out before is free again
    if (wanted % batchRows == 0)
        m_roomFreed.notify_one();
    if (!m_rowsReady.wait(lock, m_stop.token(), [&] { return m_made > wanted || m_ended; }))
        return nullptr;
    if (m_made > wanted)
        return rowAt(wanted);
    if (m_failure)
        std::rethrow_exception(m_failure);
    return nullptr;
}

void ReadAheadRing::finish()
{
    std::unique_lock lock(m_mutex);
    m_draining = true;
    m_roomFreed.notify_one();
    m_rowsReady.wait(lock, [&] { return m_ended; });
    if (m_failure)
        std::rethrow_exception(m_failure);
}

void ReadAheadRing::makeRows()
{
    std::exception_ptr failure;
    for (int first = 0; !failure; first += batchRows) {
        {
            std::unique_lock lock(m_mutex);
            // The row the reader holds, and those after it, must stay.
            m_roomFreed.wait(lock, m_stop.token(), [&] { return m_draining || first + batchRows <= m_reading + ringRows; });
            if (m_stop.requested())
                break;
        }
        int good = 0;
        try {
            while (good < batchRows && m_produce(rowAt(first + good)))
                ++good;
        } catch (...) {
            failure = std::current_exception(); // after the rows made before it
        }
        {
            const std::lock_guard lock(m_mutex);
            m_made = first + good;
        }
        m_rowsReady.notify_one();
        if (good < batchRows)
            break;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_failure = failure;
        m_ended = true;
    }
    m_rowsReady.notify_one();
}
