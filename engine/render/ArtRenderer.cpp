#include "engine/render/ArtRenderer.h"

#include "engine/render/internal/GlyphCells.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <algorithm>
#include <cmath>

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

} // namespace

QString ArtRenderer::fontFamily() { return measuredFamily(); }

QImage ArtRenderer::render(const QStringList &rows, quint8 detail, qreal scale)
{
    if (!(scale > 0) || scale > 64)
        return {};
    const CellSize unscaled = cellSizeFor(detail);
    const CellSize cell{int(std::lround(unscaled.width * scale)), int(std::lround(unscaled.height * scale))};
    // A character outside the 16-bit range is one character in one cell.
    QList<QList<uint>> characters;
    qsizetype columns = 0;
    for (const QString &row : rows) {
        characters.append(row.toUcs4());
        columns = std::max(columns, characters.last().size());
    }
    const qint64 width = qint64(columns) * cell.width;
    const qint64 height = qint64(rows.size()) * cell.height;
    if (width == 0 || height == 0 || width * height > largestPicture)
        return {};
    QImage art(int(width), int(height), QImage::Format_Grayscale8);
    if (art.isNull())
        return {};
    art.fill(Qt::white);
    const GlyphCells glyphCells(cell);
    QHash<char32_t, QImage> glyphs;
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
