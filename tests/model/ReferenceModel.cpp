#include "tests/model/ReferenceModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QStringEncoder>
#include <QStringList>
#include <QSet>
#include <algorithm>
#include <bit>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

unsigned byteAt(const QByteArray &data, qint64 at)
{
    return at < data.size() ? quint8(data.at(at)) : 0u; // past the end reads as 0
}

quint32 littleEndian(const QByteArray &data, qint64 at, int bytes)
{
    return bytes == 0 ? 0u : byteAt(data, at) | littleEndian(data, at + 1, bytes - 1) << 8;
}

// Segment by segment up to the end marker; what follows it is not the picture's. A file may stop in place of the end
// marker when its decoder did not run short (it would have warned) and its scans were all the picture has: one scan of
// every component, or progressive scans bringing every coefficient of every component to full precision (Al 0).
bool jpegRunsToEnd(const QByteArray &data, bool decoderWarned)
{
    // A scan's coded data runs to the next marker: FF 00 is a data byte, FF FF fill, FF D0 to FF D7 restarts.
    const QByteArray stillData = QByteArray::fromHex("00FFD0D1D2D3D4D5D6D7");
    unsigned components = 0;
    bool progressive = false, oneScan = false;
    QSet<unsigned> refined; // component id x 64 + coefficient
    qint64 at = 2;
    while (at + 1 < data.size() && byteAt(data, at) == 0xFF) {
        const unsigned marker = byteAt(data, at + 1);
        if (marker == 0xD9)
            return true;
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            components = byteAt(data, at + 9);
            progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
        }
        if (marker == 0xDA) {
            const unsigned inScan = byteAt(data, at + 4), spectrum = at + 5 + 2 * inScan;
            oneScan |= !progressive && inScan == components;
            for (unsigned i = 0; progressive && (byteAt(data, spectrum + 2) & 15) == 0 && i < inScan; ++i) {
                for (unsigned k = byteAt(data, spectrum); k <= byteAt(data, spectrum + 1) && k < 64; ++k)
                    refined.insert(byteAt(data, at + 5 + 2 * i) * 64 + k);
            }
        }
        const bool alone = marker == 0xFF || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
        at += alone ? (marker == 0xFF ? 1 : 2) : 2 + byteAt(data, at + 2) * 256 + byteAt(data, at + 3);
        while (marker == 0xDA && at + 1 < data.size() && (byteAt(data, at) != 0xFF || stillData.contains(data.at(at + 1))))
            ++at;
    }
    return at + 1 >= data.size() && !decoderWarned && (oneScan || (progressive && refined.size() == components * 64));
}

// Blocks up to the trailer: extensions and images, each closed by an empty sub-block. The file may stop in place of
// the trailer once an image and every block before it are whole.
bool gifRunsToEnd(const QByteArray &data)
{
    const auto table = [&](qint64 flagsAt) { return byteAt(data, flagsAt) & 0x80 ? 3 << ((byteAt(data, flagsAt) & 7) + 1) : 0; };
    qint64 at = 13 + table(10);
    bool image = false;
    while (at < data.size() && byteAt(data, at) != ';') {
        if (byteAt(data, at) != '!' && byteAt(data, at) != ',')
            return false;
        image |= byteAt(data, at) == ',';
        at += byteAt(data, at) == '!' ? 2 : 11 + table(at + 9); // label; or descriptor, colour table, code size
        while (at < data.size() && byteAt(data, at) != 0)
            at += 1 + byteAt(data, at);
        if (at++ >= data.size())
            return false;
    }
    return at < data.size() || image;
}

// Every image an icon or cursor file lists lies inside the file.
bool iconRunsToEnd(const QByteArray &data)
{
    for (qint64 entry = 6; entry < 6 + 16 * qint64(littleEndian(data, 4, 2)); entry += 16) {
        if (entry + 16 > data.size() || qint64(littleEndian(data, entry + 12, 4)) + littleEndian(data, entry + 8, 4) > data.size())
            return false;
    }
    return data.size() >= 6;
}

// Whether the file reaches the end its own structure announces: a decoder may make something of a cut-short copy.
bool runsToEnd(const QByteArray &data, const QByteArray &format, bool decoderWarned)
{
    if (format == "jpeg" || format == "jpg")
        return jpegRunsToEnd(data, decoderWarned);
    if (format == "png")
        return data.contains(QByteArray::fromHex("0000000049454E44AE426082"));
    if (format == "gif")
        return gifRunsToEnd(data);
    if (format == "bmp")
        return littleEndian(data, 2, 4) <= data.size();
    return format == "ico" || format == "cur" ? iconRunsToEnd(data) : true;
}

// The image of largest area in an icon or cursor file, the first of a tie; null when any image is unreadable.
QImage largestImage(const QString &path)
{
    QImage largest;
    for (int index = 0; index < QImageReader(path).imageCount(); ++index) {
        QImageReader reader(path);
        const QImage image = reader.jumpToImage(index) ? reader.read() : QImage();
        if (image.isNull())
            return {};
        if (qint64(image.width()) * image.height() > qint64(largest.width()) * largest.height())
            largest = image;
    }
    return largest;
}

// The picture upright as its EXIF orientation says, first GIF frame, laid over white; null when unreadable.
QImage loadPicture(const QString &path)
{
    // Photographs of several thousand pixels a side need more than the reader's default allowance.
    QImageReader::setAllocationLimit(4200);
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    static bool decoderWarned;
    decoderWarned = false;
    const QtMessageHandler before = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) { decoderWarned = true; });
    QImage picture = format == "ico" || format == "cur" ? largestImage(path) : reader.read();
    qInstallMessageHandler(before);
    QFile file(path);
    const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (picture.isNull() || !runsToEnd(data, format, decoderWarned))
        return {};
    picture.convertTo(QImage::Format_ARGB32);
    // A bitmap channel of w < 8 bits, v in its top bits (Qt shifts it there), is worth round(v x 255 / (2^w - 1)).
    const bool infoHeader = format == "bmp" && littleEndian(data, 14, 4) >= 40, bitFields = infoHeader && littleEndian(data, 30, 4) == 3;
    const bool sixteenBits = infoHeader && littleEndian(data, 30, 4) == 0 && littleEndian(data, 28, 2) == 16;
    int widths[3] = {8, 8, 8};
    for (int i = 0; i < 3 && (sixteenBits || bitFields); ++i)
        widths[i] = sixteenBits ? 5 : std::popcount(littleEndian(data, 54 + 4 * i, 4));
    const auto widened = [&](int channel, int i) {
        return widths[i] > 0 && widths[i] < 8 ? int(std::nearbyint((channel >> (8 - widths[i])) * 255.0 / ((1 << widths[i]) - 1))) : channel;
    };
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            const int alpha = qAlpha(pixel);
            const auto over = [&](int channel, int i) { return (widened(channel, i) * alpha + 255 * (255 - alpha) + 127) / 255; };
            picture.setPixel(x, y, qRgb(over(qRed(pixel), 0), over(qGreen(pixel), 1), over(qBlue(pixel), 2)));
        }
    }
    return picture;
}

// The grey of a whole cell of the picture scaled by `factor`, whose pixel (x, y) is source pixel
// (floor(x / factor), floor(y / factor)): each channel's mean in double, rounded half to even, then the three alike.
int cellGrey(const QImage &source, double factor, int cellWidth, int cellHeight, int column, int row)
{
    int sums[3] = {};
    for (int y = row * cellHeight; y < (row + 1) * cellHeight; ++y) {
        for (int x = column * cellWidth; x < (column + 1) * cellWidth; ++x) {
            const QRgb colour = source.pixel(int(std::floor(x / factor)), int(std::floor(y / factor)));
            sums[0] += qRed(colour);
            sums[1] += qGreen(colour);
            sums[2] += qBlue(colour);
        }
    }
    const auto mean = [&](int channel) { return int(std::nearbyint(sums[channel] / (double(cellWidth) * cellHeight))); };
    return int(std::nearbyint((mean(0) + mean(1) + mean(2)) / 3.0));
}

// A surrogate pair is one character.
QStringList charactersOf(const QString &text)
{
    QStringList characters;
    for (const char32_t point : text.toUcs4())
        characters << QString::fromUcs4(&point, 1);
    return characters;
}

// The character of each grey 0..255: band k, from limit(k) up to limit(k + 1), gets the k-th character from the
// dark end. Bands whose limits coincide hold no grey.
QStringList characterOfGrey(const QString &lightToDark)
{
    QStringList characters = charactersOf(lightToDark);
    std::reverse(characters.begin(), characters.end());
    const qsizetype count = characters.size();
    const auto limit = [count](qsizetype k) { return k == count ? 256 : int(std::nearbyint(255.0 / double(count) * double(k))); };
    QStringList table(256);
    for (int grey = 0; grey < 256; ++grey) {
        for (qsizetype k = 0; k < count; ++k) {
            if (limit(k) <= grey && grey < limit(k + 1))
                table[grey] = characters.at(k);
        }
    }
    return table;
}

enum class Kind { Text, RichText, Html, Page };

// The one Windows-1252 byte of a character; empty when the code page lacks it.
QByteArray windows1252(const QString &character)
{
    static QHash<QString, QByteArray> encoded;
    if (!encoded.contains(character)) {
        QStringEncoder encoder("windows-1252");
        const QByteArray one = encoder.encode(character);
        encoded.insert(character, encoder.hasError() || one.size() != 1 ? QByteArray() : one);
    }
    return encoded.value(character);
}

// Characters Windows-1252 lacks (or all but ASCII) as numbers: HTML's code point, RTF's UTF-16 units as signed
// 16-bit, each then "?".
QString numbered(const QString &row, Kind kind, bool asciiOnly = false)
{
    QString out;
    for (const QString &character : charactersOf(row)) {
        if (asciiOnly ? character.at(0).unicode() < 128 : !windows1252(character).isEmpty())
            out += character;
        else if (kind == Kind::Html)
            out += u"&#%1;"_s.arg(character.toUcs4().first());
        for (int i = 0; kind == Kind::RichText && windows1252(character).isEmpty() && i < character.size(); ++i)
            out += u"\\u%1?"_s.arg(qint16(character[i].unicode()));
    }
    return out;
}

// The paper of an RTF file: its margins of a quarter inch (360 twips) each, and the widest row of `columns`
// characters, each 1229/2048 of `detail` points (20 twips a point) wide, and four per cent more, in whole twips.
qint64 paperWidth(qint64 columns, int detail)
{
    const qint64 hundredths = columns * detail * 20 * 1229 * 104, whole = 2048 * 100;
    return 2 * 360 + hundredths / whole + (hundredths % whole ? 1 : 0);
}

QStringList pageLines(const QString &sourceName, int cellHeight, const QStringList &rows)
{
    const auto escape = [](QString text) { return text.replace(u'&', u"&amp;"_s).replace(u'<', u"&lt;"_s).replace(u'>', u"&gt;"_s); };
    QStringList lines{u"<!DOCTYPE html>"_s, u"<html>"_s, u"<head>"_s, u"<meta charset=\"utf-8\">"_s,
                      u"<meta name=\"generator\" content=\"Glyphsmith\">"_s, u"<title>"_s + escape(sourceName) + u"</title>"_s,
                      u"<style>"_s,
                      u"pre { font-family: \"Lucida Console\", \"Liberation Mono\", \"DejaVu Sans Mono\", monospace; font-size: %1px; "
                      "line-height: %1px; letter-spacing: 0; word-spacing: 0; font-kerning: none; font-variant-ligatures: none; "
                      "white-space: pre; margin: 0; }"_s.arg(cellHeight),
                      u"</style>"_s, u"</head>"_s, u"<body>"_s, u"<pre>"_s};
    for (const QString &row : rows)
        lines << escape(row);
    return lines << u"</pre>"_s << u"</body>"_s << u"</html>"_s;
}

QStringList documentLines(Kind kind, int detail, bool reminder, bool utf8, const QStringList &rows)
{
    QStringList lines;
    if (kind == Kind::RichText) {
        lines << QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Lucida Console;}}")
              << QStringLiteral("\\paperw%1\\margl360\\margr360\\viewkind4\\uc1\\pard\\sl-%2\\slmult0\\f0\\fs%3")
                     .arg(paperWidth(charactersOf(rows.first()).size(), detail)).arg(detail * 20).arg(detail * 2);
    } else if (reminder) {
        lines << u"Friendly Reminder: This is a ASCII Artwork! To properly view this picture, set the font to "
                 "'Lucida Console' and size to %1."_s.arg(detail)
              << QStringLiteral("Or you can choose another font where the following lines appear the same length:")
              << QStringLiteral("|abcdefABCDEFG|") << QStringLiteral("|!%@%^#$%&^()'|") << QString() << QString() << QString();
    }
    for (QString row : rows) {
        if (kind == Kind::RichText) {
            // Two spaces side by side are kept apart by an empty group.
            row = numbered(row.replace(u'\\', u"\\\\"_s).replace(u'{', u"\\{"_s).replace(u'}', u"\\}"_s), kind);
            while (row.contains(u"  "_s))
                row.replace(u"  "_s, u" {} "_s);
            lines << row + u"\\par"_s;
        } else if (kind == Kind::Html)
            lines << numbered(row.replace(u'&', u"&amp;"_s).replace(u'<', u"&lt;"_s).replace(u'>', u"&gt;"_s), kind, utf8) + u"<BR>"_s;
        else
            lines << row;
    }
    if (kind == Kind::RichText)
        lines << QStringLiteral("}");
    return lines << QString() << QString() << QStringLiteral("Generated by Glyphsmith");
}

// Each line followed by CR LF; in Windows-1252 a character the code page cannot hold becomes one "?".
QByteArray fileLines(const QStringList &lines, bool utf8)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        for (const QString &character : charactersOf(line))
            bytes += utf8 ? character.toUtf8() : windows1252(character).isEmpty() ? QByteArray("?") : windows1252(character);
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace

ReferenceResult referenceOutput(const QString &source, const QString &outputName, const QString &ramp, float size,
                                int detail, bool reminder, const ReferenceLook &look)
{
    if (size == 0.0f)
        return {{}, u"size 0 leaves no picture"_s};
    if (ramp.isEmpty())
        return {{}, u"empty ramp"_s};
    const QString canonicalOutput = QFileInfo(outputName).canonicalFilePath();
    if (!canonicalOutput.isEmpty() && canonicalOutput == QFileInfo(source).canonicalFilePath())
        return {{}, u"output is the source"_s};
    if (!QFileInfo(outputName).absoluteDir().exists())
        return {{}, u"output folder missing"_s};

    const QImage picture = loadPicture(source);
    if (picture.isNull())
        return {{}, u"source not loaded"_s};
    // The conversion's loop counters are 16-bit.
    if (picture.width() > 32767 || picture.height() > 32767)
        return {{}, u"source over 32767 pixels on a side"_s};
    // The single-precision product rounded half to even, kept in double: a huge factor gives a length no integer holds.
    const bool scaling = size > 0.0f && size != 1.0f;
    const double width = scaling ? std::nearbyint(float(picture.width()) * size) : picture.width();
    const double height = scaling ? std::nearbyint(float(picture.height()) * size) : picture.height();
    if (width > 32767 || height > 32767)
        return {{}, u"scaled picture over 32767 pixels on a side"_s};

    // Pixels per em at 96 dots per inch; a glyph is as tall as the em and 1229/2048 of it wide.
    const int glyphHeight = int(std::nearbyint(detail * 96.0 / 72.0));
    const int cellHeight = look.cell.isEmpty() ? glyphHeight : look.cell.height();
    const int cellWidth = look.cell.isEmpty() ? int(std::nearbyint(glyphHeight * 1229.0 / 2048.0)) : look.cell.width();
    const int columns = int(width) / cellWidth;
    const int rows = int(height) / cellHeight;
    if (columns == 0 || rows == 0)
        return {{}, u"no whole cell"_s};

    const QStringList characters = characterOfGrey(ramp);
    QStringList rowTexts(rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            rowTexts[row] += characters.at(cellGrey(picture, scaling ? size : 1.0, cellWidth, cellHeight, column, row));
    }
    // By the upper-cased text after the last "." of the file name.
    const QString extension = QFileInfo(outputName).suffix().toUpper();
    const Kind kind = look.page ? Kind::Page : extension == u"RTF"_s ? Kind::RichText : extension == u"HTM"_s || extension == u"HTML"_s ? Kind::Html : Kind::Text;
    if (kind == Kind::Page) // always UTF-8, its font set by its style, so no reminder and no generated-by line
        return {fileLines(pageLines(QFileInfo(source).fileName(), glyphHeight, rowTexts), true), {}};
    return {fileLines(documentLines(kind, detail, reminder, look.utf8, rowTexts), look.utf8 && kind == Kind::Text), {}};
}
