#include "engine/render/internal/GlyphCells.h"

#include "engine/render/ArtRenderer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// Where the baseline goes in a cell: the band the font inks, from the top of its tallest
// printable character to the bottom of its lowest, is centred in the cell. Text lands on whole
// pixels, so the baseline is rounded up the cell: a band a pixel taller than the cell loses the
// top row of its tallest marks rather than a whole underscore.
double baselineIn(const QFont &font, CellSize cell)
{
    const QFontMetricsF metrics(font);
    double top = 0;
    double bottom = 0;
    for (char16_t c = u'!'; c <= u'~'; ++c) {
        const QRectF ink = metrics.tightBoundingRect(QString(QChar(c)));
        top = std::min(top, ink.top());
        bottom = std::max(bottom, ink.bottom());
    }
    return std::floor((cell.height - (bottom - top)) / 2 - top);
}

} // namespace

GlyphCells::GlyphCells(CellSize cell) : m_cell(cell), m_font(ArtRenderer::fontFamily())
{
    m_font.setPixelSize(std::max(cell.height, 1));
    m_baseline = baselineIn(m_font, cell);
}

QImage GlyphCells::draw(const QString &character) const
{
    QImage image(m_cell.width, m_cell.height, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF((m_cell.width - QFontMetricsF(m_font).horizontalAdvance(character)) / 2, m_baseline), character);
    return image;
}
