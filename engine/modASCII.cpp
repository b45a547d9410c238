#include "engine/modASCII.h"

#include "engine/ArtRows.h"
#include "engine/cells/AxisMapping.h"
#include "engine/cells/CellMetrics.h"
#include "engine/cells/CharacterMapping.h"
#include "engine/cells/ColourPalettes.h"
#include "engine/cells/ColourTable.h"
#include "engine/cells/internal/LowerRowsSampling.h"
#include "engine/cells/internal/ToneSampling.h"
#include "engine/decode/internal/JpegRows.h"
#include "engine/decode/internal/PictureRows.h"
#include "engine/decode/MemoryBudget.h"
#include "engine/decode/PictureLoader.h"
#include "engine/decode/SourceFile.h"
#include "engine/render/InkCoverage.h"
#include "engine/RunRefusals.h"
#include "engine/text/internal/OutputFile.h"
#include "engine/text/OutputKind.h"
#include "engine/text/OutputKinds.h"

#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <future>
#include <new>

namespace {

// n of a progress update: index x 100 (integer) / count / divisor + offset, rounded halves to even.
int progressPercent(int index, double count, double divisor, double offset = 0)
{
    return int(std::nearbyint(double(index * 100) / count / divisor + offset));
}

struct Stopped
{
};

// Forwards to the observer. A stop the observer asks for is requested on the source, for every
// thread reading it, and unwinds the run.
class Reporter
{
public:
    Reporter(RunObserver &observer, const SourceFile &source) : m_observer(observer), m_source(source) {}

    void yield()
    {
        if (!m_observer.yield())
            m_source.requestStop();
        stopIfRequested();
    }
    // Called where a reader failed, which may be the stop.
    void stopIfRequested() const
    {
        if (m_source.stopRequested())
            throw Stopped{};
    }
    void progress(RunPhase phase, std::optional<int> percent) { m_observer.progress({phase, percent}); }
    void drawingBegins() { m_observer.drawingBegins(); }
    void rowAssembled(const QString &rowText) { m_observer.rowAssembled(rowText); }
    void coloursMeasured(const ArtColours &colours) { m_observer.coloursMeasured(colours); }

private:
    RunObserver &m_observer;
    const SourceFile &m_source;
};

// The resizing phase reads and writes nothing: cells read the source picture through their
// mappings. Its reports still follow the columns it stands for.
void reportResizing(Reporter &reporter, int width, int scaledWidth, int writeColumns)
{
    for (int x = 0; x < width; ++x) {
        reporter.yield();
        reporter.progress(RunPhase::Resizing, progressPercent(x, width, 2));
    }
    for (int x = 0; x < writeColumns; ++x) {
        reporter.yield();
        reporter.progress(RunPhase::Resizing, progressPercent(x, scaledWidth, 4, 50));
    }
}

// A JPEG photo is decoded as its rows are read. Anything else is decoded whole first, beside the
// run, so that the caller keeps answering (and may stop the run) meanwhile. Null, with the
// reason in `whyNot`, when the picture does not load.
std::unique_ptr<PictureRows> openPicture(Reporter &reporter, const SourceFile &source, const MemoryBudget &budget, QString &whyNot)
{
    if (auto rows = JpegRows::open(source, budget)) {
        if (!rows->stoppedEarly())
            return rows;
        whyNot = PictureLoader::cutShort;
        return nullptr;
    }
    auto decoding = std::async(std::launch::async, [&] { return PictureLoader::load(source, &whyNot, budget); });
    // A stop unwinds through the future, which waits for the decoder: its next read of the source fails.
    while (decoding.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        reporter.yield();
    std::optional<QImage> picture = decoding.get();
    return picture ? std::make_unique<ImageRows>(std::move(*picture)) : nullptr;
}

// Counts the sampling reports, which stand for columns of cells, as they fall due: they keep pace
// with the share of source rows read.
class SamplingReports
{
public:
    SamplingReports(Reporter &reporter, int columns, qint64 rowsNeeded) : m_reporter(reporter), m_columns(columns), m_rowsNeeded(rowsNeeded) {}

    void rowsRead(qint64 rows)
    {
        const int due = int(m_columns * rows / std::max<qint64>(m_rowsNeeded, 1));
        for (; m_reported < due; ++m_reported) {
            m_reporter.yield();
            m_reporter.progress(RunPhase::Sampling, progressPercent(m_reported, m_columns, 2));
        }
    }

private:
    Reporter &m_reporter;
    int m_columns;
    qint64 m_rowsNeeded;
    int m_reported = 0;
};

// Rows are read as the decoder delivers them, and a photo's lower rows meanwhile by a second
// decoder of their own, while the caller keeps answering. The tones of the cells, `keep` saying
// which; nothing, with the reason in `whyNot`, when the picture turns out to be damaged.
std::optional<CellTones> sampleTones(Reporter &reporter, PictureRows &picture, const AxisMapping &columns, const AxisMapping &rows,
                                     CellSampler::Keep keep, bool splitRows, const StopToken &stop, QString &whyNot)
{
    const std::unique_ptr<LowerRowsSampling> lower = splitRows ? LowerRowsSampling::start(picture, columns, rows, keep, stop) : nullptr;
    CellSampler sampler(columns, rows, keep, 0, lower ? lower->firstCellRow() : rows.cellCount());
    const auto rowsRead = [&] { return qint64(sampler.sourceRowsAdded()) + (lower ? lower->sourceRowsAdded() : 0); };
    SamplingReports reports(reporter, sampler.columnCount(), qint64(sampler.sourceRowsNeeded()) + (lower ? lower->sourceRowsNeeded() : 0));
    const auto failed = [&](const auto &reader) {
        reporter.stopIfRequested();
        whyNot = reader.stoppedEarly() ? PictureLoader::cutShort : PictureLoader::damaged;
        return std::nullopt;
    };
    while (!sampler.complete()) {
        const QRgb *row = picture.nextRow();
        if (!row)
            return failed(picture);
        sampler.addSourceRow(row);
        reporter.yield();
        reports.rowsRead(rowsRead());
    }
    if (!lower)
        return picture.finish() ? std::optional(sampler.takeCellTones()) : failed(picture);
    while (!lower->waitFor(std::chrono::milliseconds(10))) {
        reporter.yield();
        reports.rowsRead(rowsRead());
    }
    std::optional<CellTones> below = lower->takeTones();
    if (!below)
        return failed(*lower);
    reports.rowsRead(rowsRead());
    CellTones tones = sampler.takeCellTones();
    tones.append(*below);
    return tones;
}

// The sampler took each cell's grey as its row of cells was finished, while the decoder was busy
// with the rows below; the greying phase's reports still follow the columns they stand for.
void reportGreying(Reporter &reporter, int columns)
{
    for (int c = 0; c < columns; ++c) {
        reporter.yield();
        reporter.progress(RunPhase::Greying, progressPercent(c, columns, 2, 50));
    }
}

// The ink of the ramp's characters, for the ink mapping, measured beside the decoding: for most
// of a photo its decoder keeps one core busy on its own. Nothing to measure for the bands.
std::future<std::vector<CharacterInk>> measureInk(const RunParameters &p, CellSize cell)
{
    if (p.tone != ToneMapping::ink)
        return std::async(std::launch::deferred, [] { return std::vector<CharacterInk>(); });
    // Deferred to the first get() should no thread be had.
    return std::async(std::launch::async | std::launch::deferred, [ramp = p.ramp, cell] { return inkCoverageOf(distinctCharacters(ramp), cell); });
}

const OutputKind &kindOf(const RunParameters &p) { return p.outputKind ? *p.outputKind : outputKindOf(p.outputPath); }

bool inColour(const RunParameters &p) { return p.colour != ColourDepth::none && kindOf(p).takesColour(); }

// The cells' mean colours at the depth asked for, taken over from the tones.
ArtColours artColoursOf(const RunParameters &p, CellTones &tones)
{
    ArtColours colours{std::move(tones.colour), p.colour, p.colourLook, nullptr};
    if (p.invert && p.colourLook == ColourLook::characters) {
        for (modColour::Colour &colour : colours.cells.cells)
            colour = colourOnDark(colour);
    }
    if (p.colour != ColourDepth::truecolour) {
        for (modColour::Colour &colour : colours.cells.cells)
            colour = ColourPalettes::reduced(colour, p.colour);
    }
    if (kindOf(p).tablesColours())
        colours.table = std::make_shared<const ColourTable>(colourTableOf(colours));
    return colours;
}

RunOutcome drawAndWrite(Reporter &reporter, const RunParameters &p, CellTones &tones, std::future<std::vector<CharacterInk>> &ink)
{
    reporter.yield();
    const OutputKind &kind = kindOf(p);
    const ArtColours colours = inColour(p) ? artColoursOf(p, tones) : ArtColours{};
    const KindContext context{p.detail, cellSizeFor(p.detail), tones.grey.columns, p.fontReminder, p.encoding,
                              QFileInfo(p.sourcePath).fileName(), colours.empty() ? nullptr : &colours, p.invert};
    LineFormat format = kind.lineFormat(p.encoding);
    if (p.rowsOnly)
        format.lineEnd = QByteArrayLiteral("\n");
    OutputFile output(p.outputPath, format);
    const auto notSaved = [&] { return RunOutcome::concerning(RunResult::OutputNotSaved, p.outputPath, output.errorString()); };
    if (!output.open())
        return notSaved();
    if (!p.rowsOnly)
        output.writeLines(kind.header(context));

    ArtRows art(p, tones, ink.get());
    for (int k = 0; k < art.characterCount(); ++k)
        reporter.yield();

    if (!colours.empty())
        reporter.coloursMeasured(colours);
    reporter.drawingBegins();
    const int rows = tones.grey.rows;
    for (int r = 0; r < rows; ++r) {
        const QString rowText = art.next();
        reporter.rowAssembled(rowText);
        reporter.yield();
        reporter.progress(RunPhase::Drawing, rows > 1 ? std::optional(progressPercent(r, rows - 1, 1)) : std::nullopt);
        output.writeLine(colours.empty() ? kind.row(rowText, context) : kind.colouredRow(rowText, colours.cells.row(r), context));
    }
    if (!p.rowsOnly)
        output.writeLines(kind.trailer());
    return output.commit() ? RunOutcome{} : notSaved();
}

RunOutcome convert(const SourceFile &source, const RunParameters &p, Reporter &reporter)
{
    const CellSize cell = samplingCellOf(p);
    if (const auto refusal = refusalBeforeLoading(p, cell, source))
        return *refusal;
    std::future<std::vector<CharacterInk>> ink = measureInk(p, cell);
    QString whyNot;
    const MemoryBudget budget = p.memoryBudget ? MemoryBudget(*p.memoryBudget) : MemoryBudget::standard();
    const std::unique_ptr<PictureRows> picture = openPicture(reporter, source, budget, whyNot);
    if (!picture) {
        reporter.stopIfRequested();
        return RunOutcome::concerning(RunResult::SourceNotLoaded, p.sourcePath, whyNot);
    }
    // The header may have promised another size than the decoder delivers.
    const QSize size = picture->size();
    if (const auto refusal = refusalOfGeometry(size, p.sizeFactor, cell))
        return RunOutcome{*refusal};

    const AxisMapping columns = mapAxis(size.width(), p.sizeFactor, cell.width);
    const AxisMapping rows = mapAxis(size.height(), p.sizeFactor, cell.height);
    // A negative factor still reads every column, but the picture keeps its size: nothing is written.
    if (p.sizeFactor != 1.0f)
        reportResizing(reporter, size.width(), columns.scaledLength, p.sizeFactor < 0 ? 0 : resizingWriteColumns(size.width(), p.sizeFactor));
    const CellSampler::Keep keep = p.tone == ToneMapping::ink ? (inColour(p) ? CellSampler::Keep::coloursGreysAndLight : CellSampler::Keep::greysAndLight)
                                                              : (inColour(p) ? CellSampler::Keep::coloursAndGreys : CellSampler::Keep::greys);
    std::optional<CellTones> tones = sampleTones(reporter, *picture, columns, rows, keep, p.splitRows, source.stopToken(), whyNot);
    if (!tones)
        return RunOutcome::concerning(RunResult::SourceNotLoaded, p.sourcePath, whyNot);
    reportGreying(reporter, tones->grey.columns);
    return drawAndWrite(reporter, p, *tones, ink);
}

} // namespace

RunOutcome MakeASCIIPicture(const RunParameters &parameters, RunObserver &observer)
{
    return MakeASCIIPicture(SourceFile(parameters.sourcePath), parameters, observer);
}

RunOutcome MakeASCIIPicture(const SourceFile &source, const RunParameters &parameters, RunObserver &observer)
{
    Reporter reporter(observer, source);
    RunOutcome outcome;
    try {
        outcome = convert(source, parameters, reporter);
    } catch (const Stopped &) {
        outcome.result = RunResult::Stopped;
    } catch (const MemoryBudget::Exceeded &exceeded) {
        outcome = RunOutcome::concerning(RunResult::NotEnoughMemory, parameters.sourcePath, exceeded.cause());
    } catch (const std::bad_alloc &) {
        // Everything the run held is released by now, the unfinished output with it.
        outcome.result = RunResult::NotEnoughMemory;
    }
    observer.runEnded(outcome);
    return outcome;
}
