#pragma once

#include "engine/RunObserver.h"

#include <QStringList>

// Keeps the rows of a run, as assembled, and passes every call on to `next`.
class RowCollector : public RunObserver
{
public:
    explicit RowCollector(RunObserver &next) : m_next(next) {}

    const QStringList &rows() const { return m_rows; }

    void progress(const ProgressUpdate &update) override { m_next.progress(update); }
    void drawingBegins() override { m_next.drawingBegins(); }
    void coloursMeasured(const ArtColours &colours) override
    {
        m_colours = colours;
        m_next.coloursMeasured(colours);
    }
    const ArtColours &colours() const { return m_colours; }
    void rowAssembled(const QString &rowText) override
    {
        m_rows << rowText;
        m_next.rowAssembled(rowText);
    }
    bool yield() override { return m_next.yield(); }
    void runEnded(const RunOutcome &outcome) override { m_next.runEnded(outcome); }

private:
    RunObserver &m_next;
    QStringList m_rows;
    ArtColours m_colours;
};

// Draws `rows` at the cell of `detail`, `scale` times its pixels a side, in `colours` when there
// are any, and writes the picture to `path` as PNG, beside the target first and moved over it only
// when whole; false, leaving `path` as it was, otherwise.
bool saveRenderedArt(const QString &path, const QStringList &rows, quint8 detail, const ArtColours &colours, bool darkGround,
                     int scale = 1);
