// Scores how much character art looks like its photo, seen from where each cell blends into one
// shade (bench/README.md says how and why); bench/art-likeness.sh builds it and runs it:
//   art_likeness [--size FACTOR | --columns N] [--detail POINTS] [--plain-text] PHOTO ART
//   art_likeness --check [--size FACTOR | --columns N] [--detail POINTS] PHOTO ART OTHER_PHOTO
//   art_likeness --cut FILE.png [--size FACTOR | --columns N] [--detail POINTS] PHOTO
// Prints the grid and one line of figures per channel compared ("grey: tone T detail D
// contrast C"). --check scores drawings whose likeness is known instead; --cut writes the part
// of the photo the cells read, for another converter to fit to the same grid.
// Exit status: 0 scored (with --check: every check held), 1 a check failed, 2 could not score.

#include "bench/likeness/ArtPicture.h"
#include "bench/likeness/LikenessScore.h"
#include "bench/likeness/PhotoReference.h"
#include "bench/likeness/SoundnessChecks.h"
#include "engine/cells/AxisMapping.h"
#include "engine/decode/PictureLoader.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

[[noreturn]] void fail(const QString &why)
{
    std::fprintf(stderr, "art_likeness: %s\n", qPrintable(why));
    std::exit(2);
}

QImage loadPhoto(const QString &path)
{
    QString whyNot;
    std::optional<QImage> photo = PictureLoader::load(path, &whyNot);
    if (!photo)
        fail(QStringLiteral("%1: %2").arg(path, whyNot));
    return *photo;
}

// The detail asked for, else the one the art file records, else the program's default.
quint8 detailFor(const QCommandLineParser &parser, const ArtFile &art)
{
    if (!parser.isSet(QStringLiteral("detail")))
        return art.detail.value_or(10);
    bool ok = false;
    const int detail = parser.value(QStringLiteral("detail")).toInt(&ok);
    if (!ok || detail < 1 || detail > 255)
        fail(QStringLiteral("--detail takes 1 to 255"));
    if (art.detail && *art.detail != detail)
        fail(QStringLiteral("the art records detail %1, not %2").arg(*art.detail).arg(detail));
    return quint8(detail);
}

// The size factor of --size, or the one --columns makes, as glyphsmith-cli finds it.
float sizeFactorFor(const QCommandLineParser &parser, int photoWidth, CellSize cell)
{
    if (parser.isSet(QStringLiteral("columns"))) {
        const std::optional<float> factor = sizeFactorForCells(photoWidth, parser.value(QStringLiteral("columns")).toInt(), cell.width);
        if (!factor)
            fail(QStringLiteral("no size factor cuts the photo's %1 pixels into %2 columns").arg(photoWidth).arg(parser.value(QStringLiteral("columns"))));
        return *factor;
    }
    if (!parser.isSet(QStringLiteral("size")))
        return 1.0f;
    bool ok = false;
    const float factor = parser.value(QStringLiteral("size")).toFloat(&ok);
    if (!ok || factor == 0.0f)
        fail(QStringLiteral("--size takes a factor other than 0"));
    return factor;
}

void printGrid(int columns, int rows, CellSize cell, float factor)
{
    std::printf("grid: %d x %d cells of %d x %d pixels, size factor %.9g\n", columns, rows, cell.width, cell.height, double(factor));
}

Plane photoCutTo(const QImage &photo, float factor, CellSize cell, int columns, int rows, const QString &name)
{
    std::optional<Plane> plane = photoLuminance(photo, factor, cell, columns, rows);
    if (!plane) {
        const QSize cells = cellsOf(photo.size(), factor, cell).value_or(QSize());
        fail(QStringLiteral("the art has %1 x %2 cells, %3 at size %4 only %5 x %6")
                 .arg(columns).arg(rows).arg(name).arg(double(factor)).arg(cells.width()).arg(cells.height()));
    }
    return *plane;
}

// Writes the part of `photo` the cells read to `path` and prints the grid.
int writeCoveredPart(const QCommandLineParser &parser, const QImage &photo, const QString &path)
{
    const quint8 detail = detailFor(parser, ArtFile());
    const CellSize cell = cellSizeFor(detail);
    const float factor = sizeFactorFor(parser, photo.width(), cell);
    const QRect part = coveredPart(photo.size(), factor, cell);
    if (part.isEmpty())
        fail(QStringLiteral("no cells at size %1").arg(double(factor)));
    if (!photo.copy(part).save(path, "PNG"))
        fail(QStringLiteral("%1: could not be written").arg(path));
    const QSize cells = *cellsOf(photo.size(), factor, cell);
    printGrid(cells.width(), cells.height(), cell, factor);
    return 0;
}

// Another photo cut into `columns` at the factor that makes them, all its rows of cells.
Plane otherPhotoCutTo(const QString &path, int columns, CellSize cell)
{
    const QImage other = loadPhoto(path);
    const std::optional<float> factor = sizeFactorForCells(other.width(), columns, cell.width);
    const std::optional<QSize> cells = factor ? cellsOf(other.size(), *factor, cell) : std::nullopt;
    if (!cells)
        fail(QStringLiteral("%1 cannot be cut into %2 columns").arg(path).arg(columns));
    return photoCutTo(other, *factor, cell, columns, cells->height(), path);
}

// Scores the art in files[1] against `photo`, or with `checking` runs the checks, another photo
// being files[2].
int scoreArt(const QCommandLineParser &parser, const QStringList &files, const QImage &photo, bool checking)
{
    const std::optional<ArtFile> art = readArt(files[1], parser.isSet(QStringLiteral("plain-text")));
    if (!art)
        fail(QStringLiteral("%1: no character art in it").arg(files[1]));
    const quint8 detail = detailFor(parser, *art);
    const CellSize cell = cellSizeFor(detail);
    const float factor = sizeFactorFor(parser, photo.width(), cell);
    const int columns = columnsOf(art->rows);
    const int rows = int(art->rows.size());
    const Plane photoPlane = photoCutTo(photo, factor, cell, columns, rows, files[0]);
    const Plane artPlane = drawnLuminance(art->rows, detail);
    if (artPlane.width != photoPlane.width || artPlane.height != photoPlane.height)
        fail(QStringLiteral("%1: the art could not be drawn").arg(files[1]));

    printGrid(columns, rows, cell, factor);
    if (checking)
        return checkSoundness(photoPlane, artPlane, otherPhotoCutTo(files[2], columns, cell), cell) ? 0 : 1;
    if (art->colours.empty()) {
        const Likeness likeness = scoreLikeness(artPlane, photoPlane, cell);
        std::printf("grey: tone %.4f detail %.4f contrast %.4f\n", likeness.tone, likeness.detail, likeness.contrast);
        return 0;
    }
    // Colour art: each channel blurred and compared in linear light, as the luminance is.
    static const std::array<const char *, 3> names{"red", "green", "blue"};
    for (int channel = 0; channel < 3; ++channel) {
        const std::optional<Plane> photoPart = photoChannel(photo, factor, cell, columns, rows, channel);
        const Likeness likeness = scoreLikeness(drawnChannel(*art, detail, channel), *photoPart, cell);
        std::printf("%s: tone %.4f detail %.4f contrast %.4f\n", names[std::size_t(channel)], likeness.tone, likeness.detail, likeness.contrast);
    }
    return 0;
}

void addOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {QStringLiteral("size"), QStringLiteral("The run's size factor (default 1)."), QStringLiteral("FACTOR")},
        {QStringLiteral("columns"), QStringLiteral("The size factor that makes N columns, as glyphsmith-cli --columns."), QStringLiteral("N")},
        {QStringLiteral("detail"), QStringLiteral("The detail (default: the art's own, else 10)."), QStringLiteral("POINTS")},
        {QStringLiteral("plain-text"), QStringLiteral("ART is another converter's UTF-8 text, one row a line.")},
        {QStringLiteral("check"), QStringLiteral("Score drawings of known likeness made from PHOTO, ART and OTHER_PHOTO.")},
        {QStringLiteral("cut"), QStringLiteral("Write the part of PHOTO the cells read, unscaled, as PNG; no ART."), QStringLiteral("FILE")},
    });
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("PHOTO"), QStringLiteral("The photo the art was made from."));
    parser.addPositionalArgument(QStringLiteral("ART"), QStringLiteral("The art."));
}

} // namespace

int main(int argc, char *argv[])
{
    // The art is drawn with the program's font, which needs a GUI application but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    addOptions(parser);
    parser.process(app);
    const bool checking = parser.isSet(QStringLiteral("check"));
    const bool cutting = parser.isSet(QStringLiteral("cut"));
    const QStringList files = parser.positionalArguments();
    if (checking && cutting)
        fail(QStringLiteral("give --check or --cut, not both"));
    if (files.size() != (checking ? 3 : cutting ? 1 : 2))
        fail(QStringLiteral("give the files that usage names; see --help"));
    if (parser.isSet(QStringLiteral("size")) && parser.isSet(QStringLiteral("columns")))
        fail(QStringLiteral("give --size or --columns, not both"));

    const QImage photo = loadPhoto(files[0]);
    if (cutting)
        return writeCoveredPart(parser, photo, parser.value(QStringLiteral("cut")));
    return scoreArt(parser, files, photo, checking);
}
