#include "resources/artwork/IconArtwork.h"

#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

const QColor borderColour(0x0b, 0x0e, 0x15);
const QColor tileTop(0x34, 0x42, 0x5e);
const QColor tileBottom(0x15, 0x1b, 0x29);
const QColor markColour(0x7d, 0x93, 0xb8);
const QColor letterTop(0xff, 0xd3, 0x6b);
const QColor letterBottom(0xf0, 0x86, 0x22);

// Lightest first, as in the ramp list: the sparse end sits at the bottom right of the tile.
const QString ramp = QStringLiteral(" .:;+=xX#@");
const QString monoBoldFile = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf");

// Edges of the letter in pixels; horizontal edges sit on whole pixels so they stay crisp.
struct LetterShape {
    qreal top = 0;
    qreal bottom = 0;
    qreal left = 0;
    qreal right = 0;
    qreal apexHalfWidth = 0;
    qreal legWidth = 0; // measured along a row
    qreal barTop = 0;
    qreal barBottom = 0;
};

struct SizeStyle {
    int size = 0;
    LetterShape letter;
    qreal outline = 0;
    qreal border = 0;
    qreal radius = 0;
    int cellWidth = 0;
    int cellHeight = 0;
};

// Each size is tuned by eye on its own grid rather than scaled from another.
constexpr std::array styles{
    SizeStyle{32, {4, 28, 3, 29, 2, 5.5, 18, 21}, 1, 1, 4.5, 4, 4},
    SizeStyle{48, {5, 43, 4, 44, 3, 9.5, 28, 33}, 1.5, 1, 7, 4, 6},
    SizeStyle{64, {7, 57, 6, 58, 4, 12.5, 38, 45}, 2, 1.5, 9.5, 5, 8},
    SizeStyle{128, {14, 114, 12, 116, 9, 25, 76, 91}, 3.5, 2.5, 19, 8, 13},
};

qreal lerp(qreal a, qreal b, qreal t) { return a + (b - a) * t; }

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(float(lerp(a.redF(), b.redF(), t)), float(lerp(a.greenF(), b.greenF(), t)),
                            float(lerp(a.blueF(), b.blueF(), t)));
}

// Tone of the texture at a point: 1 for the densest character, 0 for none.
qreal density(qreal x, qreal y, int size) { return std::clamp(1.1 - (0.65 * y + 0.45 * x) / size, 0.0, 1.0); }

QPainterPath letterA(const LetterShape &s)
{
    const qreal centre = (s.left + s.right) / 2;
    const auto outerLeft = [&](qreal y) { return lerp(centre - s.apexHalfWidth, s.left, (y - s.top) / (s.bottom - s.top)); };
    const auto outerRight = [&](qreal y) { return 2 * centre - outerLeft(y); };

    QPainterPath outline;
    outline.moveTo(s.left, s.bottom);
    outline.lineTo(centre - s.apexHalfWidth, s.top);
    outline.lineTo(centre + s.apexHalfWidth, s.top);
    outline.lineTo(s.right, s.bottom);
    outline.lineTo(s.right - s.legWidth, s.bottom);
    outline.lineTo(outerRight(s.barBottom) - s.legWidth, s.barBottom);
    outline.lineTo(outerLeft(s.barBottom) + s.legWidth, s.barBottom);
    outline.lineTo(s.left + s.legWidth, s.bottom);
    outline.closeSubpath();

    // The counter is the triangle the two inner leg edges close above the bar.
    const qreal widthAtTop = 2 * s.apexHalfWidth;
    const qreal spread = (s.right - s.left) - widthAtTop;
    const qreal counterApexY = s.top + (2 * s.legWidth - widthAtTop) * (s.bottom - s.top) / spread;
    QPainterPath counter;
    counter.moveTo(centre, counterApexY);
    counter.lineTo(outerRight(s.barTop) - s.legWidth, s.barTop);
    counter.lineTo(outerLeft(s.barTop) + s.legWidth, s.barTop);
    counter.closeSubpath();
    return outline.subtracted(counter);
}

QLinearGradient letterGradient(const LetterShape &s)
{
    QLinearGradient gradient(0, s.top, 0, s.bottom);
    gradient.setColorAt(0, letterTop);
    gradient.setColorAt(1, letterBottom);
    return gradient;
}

QPainterPath tilePath(const SizeStyle &style)
{
    const qreal inset = style.border / 2;
    QPainterPath path;
    path.addRoundedRect(QRectF(inset, inset, style.size - 2 * inset, style.size - 2 * inset), style.radius, style.radius);
    return path;
}

void paintTile(QPainter &painter, const SizeStyle &style)
{
    QLinearGradient fill(0, 0, 0, style.size);
    fill.setColorAt(0, tileTop);
    fill.setColorAt(1, tileBottom);
    painter.setPen(QPen(borderColour, style.border));
    painter.setBrush(fill);
    painter.drawPath(tilePath(style));
}

// At 32 pixels a character is a few pixels, so each cell gets a mark of 0 to 9 lit pixels.
void paintCellMarks(QPainter &painter, const SizeStyle &style)
{
    static const std::array<QList<QPoint>, 5> marks{{
        {},
        {{1, 2}},
        {{1, 1}, {1, 2}},
        {{1, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 2}},
        {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}},
    }};
    painter.setPen(Qt::NoPen);
    painter.setBrush(markColour);
    for (int top = 2; top + 3 <= style.size - 2; top += style.cellHeight) {
        for (int left = 2; left + 3 <= style.size - 2; left += style.cellWidth) {
            const qreal tone = density(left + 1.5, top + 1.5, style.size);
            const auto &mark = marks[std::size_t(std::lround(tone * (marks.size() - 1)))];
            for (const QPoint &pixel : mark)
                painter.drawRect(QRect(left + pixel.x(), top + pixel.y(), 1, 1));
        }
    }
}

QFont markFont(int pixelSize)
{
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(monoBoldFile);
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QStringLiteral("monospace") : families.first();
    }();
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void paintCharacters(QPainter &painter, const SizeStyle &style)
{
    painter.setFont(markFont(style.cellHeight));
    painter.setPen(markColour);
    const int margin = int(std::ceil(style.border));
    const int columns = (style.size - 2 * margin) / style.cellWidth;
    const int rows = (style.size - 2 * margin) / style.cellHeight;
    const int left = (style.size - columns * style.cellWidth) / 2;
    const int top = (style.size - rows * style.cellHeight) / 2;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const QRect cell(left + column * style.cellWidth, top + row * style.cellHeight, style.cellWidth,
                             style.cellHeight);
            const qreal tone = density(cell.center().x(), cell.center().y(), style.size);
            const QChar mark = ramp.at(std::lround(tone * (ramp.size() - 1)));
            painter.drawText(cell, Qt::AlignCenter, QString(mark));
        }
    }
}

void paintLetter(QPainter &painter, const SizeStyle &style)
{
    const QPainterPath letter = letterA(style.letter);
    QPainterPathStroker stroker;
    stroker.setWidth(2 * style.outline);
    stroker.setJoinStyle(Qt::MiterJoin);
    painter.setPen(Qt::NoPen);
    painter.setBrush(borderColour);
    painter.drawPath(stroker.createStroke(letter).united(letter));
    painter.setBrush(letterGradient(style.letter));
    painter.drawPath(letter);
}

QImage paintStyled(const SizeStyle &style)
{
    QImage image(style.size, style.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintTile(painter, style);
    painter.save();
    painter.setClipPath(tilePath(style));
    // The texture stays behind the letter: it is a hint of character art, not the subject.
    painter.setOpacity(0.6);
    if (style.size < 48)
        paintCellMarks(painter, style);
    else
        paintCharacters(painter, style);
    painter.restore();
    paintLetter(painter, style);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// At 16 pixels every pixel is placed by hand: k border, - tile, # letter, + half letter.
const std::array<const char *, 16> pixels16{
    "..kkkkkkkkkkkk..",
    ".k------------k.",
    "k-----####-----k",
    "k----+####+----k",
    "k----######----k",
    "k----######----k",
    "k---+##++##+---k",
    "k---###--###---k",
    "k---###--###---k",
    "k--+########+--k",
    "k--##########--k",
    "k--###----###--k",
    "k-+##+----+##+-k",
    "k-###------###-k",
    ".k------------k.",
    "..kkkkkkkkkkkk..",
};

// The tile darkens in four steps, a ramp the eye can still read at this size.
QColor tileBand16(int row)
{
    static const std::array<QColor, 4> bands{QColor(0x3a, 0x49, 0x68), QColor(0x2c, 0x38, 0x52),
                                             QColor(0x21, 0x2a, 0x3e), QColor(0x18, 0x1e, 0x2d)};
    return bands[std::size_t(std::clamp((row - 1) / 4, 0, 3))];
}

QImage paint16()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y) {
        const QColor letter = mix(letterTop, letterBottom, (y - 2) / 11.0);
        for (int x = 0; x < 16; ++x) {
            QColor colour = Qt::transparent;
            switch (pixels16[std::size_t(y)][x]) {
            case 'k': colour = borderColour; break;
            case '-': colour = tileBand16(y); break;
            case '#': colour = letter; break;
            case '+': colour = mix(tileBand16(y), letter, 0.5); break;
            default: break;
            }
            image.setPixelColor(x, y, colour);
        }
    }
    return image;
}

} // namespace

namespace IconArtwork {

QImage paint(int size)
{
    if (size == 16)
        return paint16();
    for (const SizeStyle &style : styles) {
        if (style.size == size)
            return paintStyled(style);
    }
    return {};
}

} // namespace IconArtwork
