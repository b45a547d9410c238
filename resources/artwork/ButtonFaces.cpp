#include "resources/artwork/ButtonFaces.h"

#include <QImage>
#include <QPainter>
#include <array>
#include <cmath>
#include <numbers>

namespace {

const QColor ink(0, 90, 165);
const QColor upTop(200, 222, 246);
const QColor upBottom(255, 255, 255);
const QColor downTop(156, 148, 247);
const QColor downBottom(196, 190, 251);

constexpr int magnifier = 9;

// Rectangles in logical pixels, so each lands on whole pixels at 1x and on the 2-pixel grid at 2x.
struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// A corner mark is an L of two bars two pixels thick, drawn here for the lower left corner;
// the other corners mirror it.
constexpr int markInset = 3;
constexpr int markArm = 6;
constexpr int stroke = 2;
constexpr std::array lowerLeftMark{
    Box{markInset, ButtonFaces::side - markInset - markArm, stroke, markArm},
    Box{markInset, ButtonFaces::side - markInset - stroke, markArm, stroke},
};

// The centre square is as wide as a corner mark's arms are long plus one, so it sits on the
// middle pixel.
constexpr int squareSide = 7;
constexpr int squareAt = (ButtonFaces::side - squareSide) / 2;
constexpr std::array square{
    Box{squareAt, squareAt, squareSide, stroke},
    Box{squareAt, squareAt + squareSide - stroke, squareSide, stroke},
    Box{squareAt, squareAt, stroke, squareSide},
    Box{squareAt + squareSide - stroke, squareAt, stroke, squareSide},
};

// Chevrons: rows from the tip to the arms' ends, and the run each row fills; a run of two
// pixels keeps the diagonal unbroken and close in weight to the bars.
constexpr int chevronReach = 5;
constexpr int chevronRun = 2;

// The magnifier in logical pixels: a ring with a heavier handle going to the lower right. It
// spans the same pixels, 3 to 13, as the corner marks do between them.
constexpr qreal lensCentre = 7.0;
constexpr qreal lensOuter = 4.0;
constexpr qreal lensInner = 2.8;
constexpr qreal handleEnd = 13.6;
constexpr qreal handleHalfWidth = 1.25;

enum class Direction { Left, Right, Up, Down };

qreal lerp(qreal a, qreal b, qreal t) { return a + (b - a) * t; }

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(float(lerp(a.redF(), b.redF(), t)), float(lerp(a.greenF(), b.greenF(), t)),
                            float(lerp(a.blueF(), b.blueF(), t)));
}

// The background at a row of device pixels; every column of a row has the same shade.
QColor shade(ButtonFaces::Face face, int row, int size)
{
    const qreal t = (row + 0.5) / size;
    return face == ButtonFaces::Face::Down ? mix(downTop, downBottom, t) : mix(upTop, upBottom, t);
}

bool isCorner(int x, int y, int size, int scale)
{
    return (x < scale || x >= size - scale) && (y < scale || y >= size - scale);
}

void paintBackground(QImage &image, ButtonFaces::Face face)
{
    const int size = image.width();
    for (int y = 0; y < size; ++y) {
        const QColor colour = shade(face, y, size);
        for (int x = 0; x < size; ++x)
            image.setPixelColor(x, y, colour);
    }
}

void fillBox(QImage &image, const Box &box, int scale)
{
    QPainter painter(&image);
    painter.fillRect(QRect(box.x * scale, box.y * scale, box.width * scale, box.height * scale), ink);
}

// One logical pixel wide, rounded by leaving the corner out; at 2x the inner corner pixel is
// filled too, so the cut corner is as thick as the straight sides rather than pinched.
void paintFrame(QImage &image, int scale)
{
    const int size = image.width();
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool edge = x < scale || y < scale || x >= size - scale || y >= size - scale;
            if (edge && !isCorner(x, y, size, scale))
                image.setPixelColor(x, y, ink);
        }
    }
    if (scale == 2) {
        for (const int x : {2, size - 3}) {
            for (const int y : {2, size - 3})
                image.setPixelColor(x, y, ink);
        }
    }
}

void paintCornerMark(QImage &image, bool right, bool upper, int scale)
{
    for (Box box : lowerLeftMark) {
        if (right)
            box.x = ButtonFaces::side - box.x - box.width;
        if (upper)
            box.y = ButtonFaces::side - box.y - box.height;
        fillBox(image, box, scale);
    }
}

// Drawn for each grid: at 2x the diagonal steps one device pixel per row, so it is smoother
// than the 1x chevron doubled, while the tip and the arms' ends stay on the 2-pixel grid.
void paintChevron(QImage &image, Direction direction, int scale)
{
    const int size = image.width();
    const int reach = chevronReach * scale;
    const int run = chevronRun * scale;
    const int left = (size - reach - run) / 2;
    const qreal middle = size / 2.0;
    for (int y = 0; y < size; ++y) {
        const int step = int(std::abs(y + 0.5 - middle));
        if (step > reach)
            continue;
        for (int x = left + step; x < left + step + run; ++x) {
            switch (direction) {
            case Direction::Left: image.setPixelColor(x, y, ink); break;
            case Direction::Right: image.setPixelColor(size - 1 - x, y, ink); break;
            case Direction::Up: image.setPixelColor(y, x, ink); break;
            case Direction::Down: image.setPixelColor(y, size - 1 - x, ink); break;
            }
        }
    }
}

// At 1x the lens is placed by hand, set at (glyphAt, glyphAt): rounding a computed ring to
// whole pixels leaves a square hole, while this one has thin sides and heavier diagonals.
constexpr int glyphAt = markInset;
constexpr std::array<const char *, 11> magnifier1x{
    "..####.....",
    ".##..##....",
    "##....##...",
    "#......#...",
    "#......#...",
    "##....##...",
    ".##..###...",
    "..#######..",
    ".......###.",
    "........###",
    ".........##",
};

constexpr qreal rootHalf = std::numbers::sqrt2 / 2;

bool onMagnifier(qreal x, qreal y)
{
    const qreal fromCentre = std::hypot(x - lensCentre, y - lensCentre);
    if (fromCentre >= lensInner && fromCentre <= lensOuter)
        return true;
    // The handle starts inside the ring so the two join without a seam.
    const qreal start = lensCentre + lensInner * rootHalf;
    const qreal along = ((x - start) + (y - start)) * rootHalf;
    const qreal across = std::abs((x - start) - (y - start)) * rootHalf;
    const qreal length = (handleEnd - start) * std::numbers::sqrt2;
    return along >= 0 && along <= length && across <= handleHalfWidth;
}

// At 2x the lens is computed, each device pixel taking the share of its 4x4 samples the glyph
// covers, so the ring comes out round.
void paintMagnifier(QImage &image, int scale)
{
    if (scale == 1) {
        for (int y = 0; y < int(magnifier1x.size()); ++y) {
            for (int x = 0; magnifier1x[std::size_t(y)][x] != '\0'; ++x) {
                if (magnifier1x[std::size_t(y)][x] == '#')
                    image.setPixelColor(glyphAt + x, glyphAt + y, ink);
            }
        }
        return;
    }
    constexpr int samples = 4;
    const int size = image.width();
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx)
                    hits += onMagnifier((x + (sx + 0.5) / samples) / scale, (y + (sy + 0.5) / samples) / scale);
            }
            if (hits > 0)
                image.setPixelColor(x, y, mix(image.pixelColor(x, y), ink, qreal(hits) / (samples * samples)));
        }
    }
}

void paintGlyph(QImage &image, int index, int scale)
{
    switch (index) {
    case 0: paintCornerMark(image, false, false, scale); break;
    case 1: paintCornerMark(image, true, false, scale); break;
    case 2:
        for (const Box &box : square)
            fillBox(image, box, scale);
        break;
    case 3: paintCornerMark(image, false, true, scale); break;
    case 4: paintCornerMark(image, true, true, scale); break;
    case 5: paintChevron(image, Direction::Left, scale); break;
    case 6: paintChevron(image, Direction::Right, scale); break;
    case 7: paintChevron(image, Direction::Up, scale); break;
    case 8: paintChevron(image, Direction::Down, scale); break;
    case magnifier: paintMagnifier(image, scale); break;
    default: break;
    }
}

// The Up and Down faces let the strip show through outside the rounded frame; the Design face
// keeps the background there, a square tile that tells an untouched button from a used one.
// The magnifier has no untouched look of its own.
void paintCorners(QImage &image, ButtonFaces::Face face, int index, int scale)
{
    const bool filled = face == ButtonFaces::Face::Design && index != magnifier;
    const int size = image.width();
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (isCorner(x, y, size, scale))
                image.setPixelColor(x, y, filled ? shade(ButtonFaces::Face::Up, y, size) : QColor(Qt::transparent));
        }
    }
}

} // namespace

namespace ButtonFaces {

QImage paint(int index, Face face, int scale)
{
    if (index < 0 || index >= count || (scale != 1 && scale != 2))
        return {};
    QImage image(side * scale, side * scale, QImage::Format_ARGB32);
    paintBackground(image, face);
    paintFrame(image, scale);
    paintGlyph(image, index, scale);
    paintCorners(image, face, index, scale);
    return image;
}

} // namespace ButtonFaces
