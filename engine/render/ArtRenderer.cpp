#include "engine/render/ArtRenderer.h"

#include "engine/render/internal/GlyphCells.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// The output font's advance, 1229/2048 em, which the cells are cut to.
constexpr double cellAdvance = 1229.0 / 2048.0;
// QImage holds at most this many bytes; a larger art is not drawn.
constexpr qint64 largestPicture = qint64(2047) * 1024 * 1024;

QString measuredFamily()
{
    QString best = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    double bestDistance = 1e9;
    for (const QString &family : QFontDatabase::families()) {
        if (!QFontDatabase::isFixedPitch(family) || QFontDatabase::isPrivateFamily(family))
            continue;
        QFont font(family);
        font.setPixelSize(2048);
        const double advance = QFontMetricsF(font).horizontalAdvance(u'M') / 2048.0;
        // Ties keep the first family in the database's order, so the choice does not wander.
        if (const double distance = std::abs(advance - cellAdvance); distance < bestDistance) {
            best = family;
            bestDistance = distance;
        }
    }
    return best;
}

// A character's coverage (0 ink ... 255 paper, as GlyphCells draws) mixed from `ink` onto `ground`.
void drawInColour(const QImage &glyph, QRgb ink, QRgb ground, QImage &art, int left, int top)
{
    for (int y = 0; y < glyph.height(); ++y) {
        const uchar *coverage = glyph.constScanLine(y);
        QRgb *pixels = reinterpret_cast<QRgb *>(art.scanLine(top + y)) + left;
        for (int x = 0; x < glyph.width(); ++x) {
            const int paper = coverage[x];
            const auto mix = [&](int i, int g) { return (i * (255 - paper) + g * paper + 127) / 255; };
            pixels[x] = qRgb(mix(qRed(ink), qRed(ground)), mix(qGreen(ink), qGreen(ground)), mix(qBlue(ink), qBlue(ground)));
        }
    }
}

QRgb rgbOf(modColour::Colour colour) { return qRgb(modColour::GetRed(colour), int(modColour::GetGreen(colour)), int(modColour::GetBlue(colour))); }

} // namespace

QString ArtRenderer::fontFamily() { return measuredFamily(); }

namespace {

// Where each character of `rows` goes: the cell of `detail` at `scale`, and the picture's size.
struct Layout {
    CellSize cell;
    QList<QList<uint>> characters;
    int width = 0;
    int height = 0;
};

std::optional<Layout> layoutOf(const QStringList &rows, quint8 detail, qreal scale, int bytesPerPixel)
{
    if (!(scale > 0) || scale > 64)
        return std::nullopt;
    const CellSize unscaled = cellSizeFor(detail);
    Layout layout{{int(std::lround(unscaled.width * scale)), int(std::lround(unscaled.height * scale))}, {}};
    // A character outside the 16-bit range is one character in one cell.
    qsizetype columns = 0;
    for (const QString &row : rows) {
        layout.characters.append(row.toUcs4());
        columns = std::max(columns, layout.characters.last().size());
    }
    const qint64 width = qint64(columns) * layout.cell.width;
    const qint64 height = qint64(rows.size()) * layout.cell.height;
    if (width == 0 || height == 0 || width * height * bytesPerPixel > largestPicture)
        return std::nullopt;
    layout.width = int(width);
    layout.height = int(height);
    return layout;
}

} // namespace

QImage ArtRenderer::render(const QStringList &rows, quint8 detail, qreal scale)
{
    const std::optional<Layout> layout = layoutOf(rows, detail, scale, 1);
    if (!layout)
        return {};
    const CellSize cell = layout->cell;
    QImage art(layout->width, layout->height, QImage::Format_Grayscale8);
    if (art.isNull())
        return {};
    art.fill(Qt::white);
    const GlyphCells glyphCells(cell);
    QHash<char32_t, QImage> glyphs;
    const QList<QList<uint>> &characters = layout->characters;
    for (qsizetype r = 0; r < characters.size(); ++r) {
        for (qsizetype c = 0; c < characters[r].size(); ++c) {
            const char32_t ch = characters[r][c];
            if (ch == U' ')
                continue;
            auto glyph = glyphs.find(ch);
            if (glyph == glyphs.end())
                glyph = glyphs.insert(ch, glyphCells.draw(QString::fromUcs4(&ch, 1)));
            for (int y = 0; y < cell.height; ++y) {
                std::copy_n(glyph->constScanLine(y), cell.width,
                            art.scanLine(int(r) * cell.height + y) + c * cell.width);
            }
        }
    }
    art.setDevicePixelRatio(scale);
    return art;
}

QImage ArtRenderer::render(const QStringList &rows, quint8 detail, const ArtColours &colours, bool darkGround, qreal scale)
{
    if (colours.empty())
        return render(rows, detail, scale);
    const std::optional<Layout> layout = layoutOf(rows, detail, scale, 4);
    if (!layout)
        return {};
    const CellSize cell = layout->cell;
    QImage art(layout->width, layout->height, QImage::Format_RGB32);
    if (art.isNull())
        return {};
    const QRgb ground = darkGround ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    art.fill(ground);
    const GlyphCells glyphCells(cell);
    QHash<char32_t, QImage> glyphs;
    const QList<QList<uint>> &characters = layout->characters;
    for (qsizetype r = 0; r < characters.size(); ++r) {
        for (qsizetype c = 0; c < characters[r].size(); ++c) {
            const bool coloured = r < colours.cells.rows && c < colours.cells.columns;
            const modColour::Colour colour = coloured ? colours.cells.at(int(c), int(r)) : modColour::RGB(0, 0, 0);
            const bool filled = coloured && colours.look == ColourLook::fills;
            const char32_t ch = characters[r][c];
            if (ch == U' ' && !filled)
                continue;
            auto glyph = glyphs.find(ch);
            if (glyph == glyphs.end())
                glyph = glyphs.insert(ch, glyphCells.draw(QString::fromUcs4(&ch, 1)));
            const QRgb ink = rgbOf(characterColourOf(colour, colours.look, colours.depth));
            drawInColour(*glyph, ink, filled ? rgbOf(colour) : ground, art, int(c) * cell.width, int(r) * cell.height);
        }
    }
    art.setDevicePixelRatio(scale);
    return art;
}
