// The reference model is only worth holding the converter against if its own steps are right; these
// cases are worked out by hand.
#include "CellBox.h"
#include "CellGreys.h"
#include "DocumentLines.h"
#include "FileEnd.h"
#include "ModelColour.h"
#include "OutputKind.h"
#include "PictureFile.h"
#include "PixelArray.h"
#include "RampBands.h"
#include "ReferenceModel.h"
#include "ScaledPicture.h"
#include "Windows1252Lines.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace ModelColour;

namespace {

const QString dataFolder = QStringLiteral(GLYPHSMITH_TEST_DATA);

PixelArray filled(int width, int height, qint32 colour)
{
    PixelArray pixels(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.set(x, y, colour);
    return pixels;
}

QByteArray jpegBytes()
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(qRgb(90, 140, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

} // namespace

class tst_ReferenceModel : public QObject
{
    Q_OBJECT

private slots:
    void cellBox_data();
    void cellBox();
    void scaledLength_data();
    void scaledLength();
    void scalingRepeatsAndSkipsPixels();
    void cellGrey_data();
    void cellGrey();
    void trimmingDropsPartialCells();
    void bands_data();
    void bands();
    void outputKind_data();
    void outputKind();
    void windows1252_data();
    void windows1252();
    void richTextLayout();
    void htmlAndTextLayout();
    void jpegEnd();
    void fileEnd_data();
    void fileEnd();
    void pictureFiles_data();
    void pictureFiles();
    void transparencyOverWhite();
    void refusals_data();
    void refusals();
};

void tst_ReferenceModel::cellBox_data()
{
    QTest::addColumn<int>("detail");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("1 point") << 1 << 1 << 1;
    QTest::newRow("2 points: 2.67 px em") << 2 << 2 << 3;
    QTest::newRow("9 points") << 9 << 7 << 12;
    QTest::newRow("10 points") << 10 << 8 << 13;
    QTest::newRow("13 points: 17.33 px em") << 13 << 10 << 17;
    QTest::newRow("24 points") << 24 << 19 << 32;
    QTest::newRow("255 points") << 255 << 204 << 340;
}

void tst_ReferenceModel::cellBox()
{
    QFETCH(int, detail);
    QFETCH(int, width);
    QFETCH(int, height);
    const CellBox box = cellBoxForDetail(quint8(detail));
    QCOMPARE(box.width, width);
    QCOMPARE(box.height, height);
}

void tst_ReferenceModel::scaledLength_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<float>("factor");
    QTest::addColumn<double>("scaled");
    QTest::newRow("doubled") << 3 << 2.0f << 6.0;
    QTest::newRow("halved, even") << 4 << 0.5f << 2.0;
    QTest::newRow("1.5 rounds down to even") << 3 << 0.5f << 2.0;
    QTest::newRow("2.5 rounds down to even") << 5 << 0.5f << 2.0;
    QTest::newRow("4.5 rounds down to even") << 3 << 1.5f << 4.0;
    QTest::newRow("7.5 rounds up to even") << 5 << 1.5f << 8.0;
    QTest::newRow("0.37 of 7 is 2.59") << 7 << 0.37f << 3.0;
    QTest::newRow("0.37 of 150 is 55.5 in single precision") << 150 << 0.37f << 56.0;
    // In double the product is 18.50000024 and would round up to 19.
    QTest::newRow("0.37 of 50 is 18.5 in single precision") << 50 << 0.37f << 18.0;
    QTest::newRow("far beyond any integer") << 3 << 4294967296.0f << 12884901888.0;
}

void tst_ReferenceModel::scaledLength()
{
    QFETCH(int, length);
    QFETCH(float, factor);
    QFETCH(double, scaled);
    QCOMPARE(::scaledLength(length, factor), scaled);
}

void tst_ReferenceModel::scalingRepeatsAndSkipsPixels()
{
    PixelArray abc(3, 1);
    abc.set(0, 0, 1);
    abc.set(1, 0, 2);
    abc.set(2, 0, 3);
    const PixelArray doubled = scaledPicture(abc, 2.0f);
    QCOMPARE(doubled.width(), 6);
    QCOMPARE(doubled.height(), 2);
    for (int y = 0; y < 2; ++y) {
        const QList<qint32> row = {doubled.at(0, y), doubled.at(1, y), doubled.at(2, y),
                                   doubled.at(3, y), doubled.at(4, y), doubled.at(5, y)};
        QCOMPARE(row, (QList<qint32>{1, 1, 2, 2, 3, 3}));
    }

    PixelArray abcd(4, 1);
    for (int x = 0; x < 4; ++x)
        abcd.set(x, 0, 10 + x);
    const PixelArray halved = scaledPicture(abcd, 0.5f);
    QCOMPARE(halved.width(), 2);
    QCOMPARE(halved.height(), 0); // 1 x 0.5 = 0.5 rounds to 0
}

void tst_ReferenceModel::cellGrey_data()
{
    QTest::addColumn<qint32>("first");
    QTest::addColumn<qint32>("second");
    QTest::addColumn<int>("grey");
    QTest::newRow("white") << rgb(255, 255, 255) << rgb(255, 255, 255) << 255;
    QTest::newRow("black") << rgb(0, 0, 0) << rgb(0, 0, 0) << 0;
    QTest::newRow("pure red weighs a third") << rgb(255, 0, 0) << rgb(255, 0, 0) << 85;
    QTest::newRow("means of 0.5 round to 0") << rgb(0, 0, 0) << rgb(1, 1, 1) << 0;
    QTest::newRow("means of 1.5 round to 2") << rgb(1, 1, 1) << rgb(2, 2, 2) << 2;
    QTest::newRow("means of 2.5 round to 2") << rgb(2, 2, 2) << rgb(3, 3, 3) << 2;
    QTest::newRow("channels rounded before the grey") << rgb(0, 0, 0) << rgb(1, 1, 2) << 0; // means 0, 0, 1: 1/3
    QTest::newRow("grey 2/3 rounds up") << rgb(0, 0, 0) << rgb(1, 3, 1) << 1;             // means 0, 2, 0: 2/3
}

void tst_ReferenceModel::cellGrey()
{
    QFETCH(qint32, first);
    QFETCH(qint32, second);
    QFETCH(int, grey);
    // A 1 x 1 cell box over a 2 x 1 picture would make two cells; a 2 x 2 picture at detail 2 (2 x 3 cells) has none,
    // so the two colours fill the left and right halves of one 2 x 3 cell.
    PixelArray picture(2, 3);
    for (int y = 0; y < 3; ++y) {
        picture.set(0, y, first);
        picture.set(1, y, second);
    }
    const GreyRows greys = cellGreys(picture, cellBoxForDetail(2));
    QCOMPARE(greys, (GreyRows{{grey}}));
}

void tst_ReferenceModel::trimmingDropsPartialCells()
{
    PixelArray picture = filled(100, 50, rgb(255, 255, 255));
    for (int y = 0; y < 50; ++y)
        for (int x = 98; x < 100; ++x)
            picture.set(x, y, rgb(0, 0, 0)); // only in the cut-off columns
    const GreyRows greys = cellGreys(picture, cellBoxForDetail(9));
    QCOMPARE(int(greys.size()), 4);
    QCOMPARE(int(greys.front().size()), 14);
    for (const std::vector<int> &row : greys)
        for (const int grey : row)
            QCOMPARE(grey, 255);
}

void tst_ReferenceModel::bands_data()
{
    QTest::addColumn<QString>("ramp");
    QTest::addColumn<int>("grey");
    QTest::addColumn<QString>("character");
    const QString four = QStringLiteral(" .:#");
    QTest::newRow("four: 0") << four << 0 << QStringLiteral("#");
    QTest::newRow("four: 63") << four << 63 << QStringLiteral("#");
    QTest::newRow("four: 64") << four << 64 << QStringLiteral(":");
    QTest::newRow("four: 127") << four << 127 << QStringLiteral(":");
    QTest::newRow("four: 128") << four << 128 << QStringLiteral(".");
    QTest::newRow("four: 190") << four << 190 << QStringLiteral(".");
    QTest::newRow("four: 191") << four << 191 << QStringLiteral(" ");
    QTest::newRow("four: 255") << four << 255 << QStringLiteral(" ");
    QTest::newRow("one character: 0") << QStringLiteral("#") << 0 << QStringLiteral("#");
    QTest::newRow("one character: 255") << QStringLiteral("#") << 255 << QStringLiteral("#");
    // Ten: limits 0, 26, 51, 76, 102, 128, 153, 178, 204, 230, 256 (25.5 -> 26, 76.5 -> 76, 127.5 -> 128).
    const QString ten = QStringLiteral("0123456789");
    QTest::newRow("ten: 25") << ten << 25 << QStringLiteral("9");
    QTest::newRow("ten: 26") << ten << 26 << QStringLiteral("8");
    QTest::newRow("ten: 76") << ten << 76 << QStringLiteral("6");
    QTest::newRow("ten: 127") << ten << 127 << QStringLiteral("5");
    QTest::newRow("ten: 128") << ten << 128 << QStringLiteral("4");
    QTest::newRow("ten: 229") << ten << 229 << QStringLiteral("1");
    QTest::newRow("ten: 230") << ten << 230 << QStringLiteral("0");
    // The emoji is one character, so there are three bands: 0, 85, 170, 256.
    const QString surrogates = QStringLiteral("a\U0001F600b");
    QTest::newRow("surrogate pair: 84") << surrogates << 84 << QStringLiteral("b");
    QTest::newRow("surrogate pair: 85") << surrogates << 85 << QStringLiteral("\U0001F600");
    QTest::newRow("surrogate pair: 170") << surrogates << 170 << QStringLiteral("a");
    // 300 characters: the limits start 0, 1, 2, 3, 3, so the fourth band from the dark end is empty.
    QString many(300, u'x');
    many[300 - 4] = u'E';
    many[300 - 5] = u'F';
    QTest::newRow("300 characters: grey 3 skips the empty band") << many << 3 << QStringLiteral("F");
}

void tst_ReferenceModel::bands()
{
    QFETCH(QString, ramp);
    QFETCH(int, grey);
    QFETCH(QString, character);
    QCOMPARE(RampBands(ramp).characterFor(grey), character);
}

void tst_ReferenceModel::outputKind_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<OutputKind>("kind");
    QTest::newRow("txt") << QStringLiteral("C:\\Art\\cat.txt") << OutputKind::Text;
    QTest::newRow("Rtf") << QStringLiteral("C:\\Art\\cat.Rtf") << OutputKind::RichText;
    QTest::newRow("html") << QStringLiteral("/art/cat.html") << OutputKind::Html;
    QTest::newRow("HTM") << QStringLiteral("cat.HTM") << OutputKind::Html;
    QTest::newRow("no extension") << QStringLiteral("cat") << OutputKind::Text;
    QTest::newRow("dat") << QStringLiteral("cat.dat") << OutputKind::Text;
    QTest::newRow("trailing dot") << QStringLiteral("cat.") << OutputKind::Text;
    QTest::newRow("dotted folder, backslash") << QStringLiteral("C:\\my.rtf\\cat") << OutputKind::Text;
    QTest::newRow("dotted folder, slash") << QStringLiteral("/my.html/cat") << OutputKind::Text;
    QTest::newRow("two dots") << QStringLiteral("cat.txt.rtf") << OutputKind::RichText;
}

void tst_ReferenceModel::outputKind()
{
    QFETCH(QString, name);
    QFETCH(OutputKind, kind);
    QCOMPARE(outputKindFor(name), kind);
}

void tst_ReferenceModel::windows1252_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ASCII") << QStringLiteral("a #") << QByteArray("a #\r\n");
    QTest::newRow("empty line") << QString() << QByteArray("\r\n");
    QTest::newRow("euro and e acute") << QStringLiteral("\u20ac\u00e9") << QByteArray("\x80\xe9\r\n");
    QTest::newRow("undefined bytes keep their C1 code points")
        << (QString(QChar(0x81)) + QChar(0x8D) + QChar(0x8F) + QChar(0x90) + QChar(0x9D)) << QByteArray("\x81\x8d\x8f\x90\x9d\r\n");
    QTest::newRow("U+0080 is not the euro") << QString(QChar(0x80)) << QByteArray("?\r\n");
    QTest::newRow("shade blocks") << QStringLiteral("\u2591\u2588") << QByteArray("??\r\n");
    QTest::newRow("emoji is one question mark") << QStringLiteral("a\U0001F600b") << QByteArray("a?b\r\n");
}

void tst_ReferenceModel::windows1252()
{
    QFETCH(QString, line);
    QFETCH(QByteArray, bytes);
    QCOMPARE(windows1252Lines({line}), bytes);
}

void tst_ReferenceModel::richTextLayout()
{
    const QStringList lines = documentLines(OutputKind::RichText, 8, true, {QStringLiteral("a\\b{c}"), QStringLiteral("<&>")});
    const QStringList expected = {
        QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Lucida Console;}}"),
        QStringLiteral("\\viewkind4\\uc1\\pard\\f0\\fs16"),
        QStringLiteral("a\\\\b\\{c\\}\\par"),
        QStringLiteral("<&>\\par"),
        QStringLiteral("}"),
        QString(),
        QString(),
        QStringLiteral("Generated by Glyphsmith")};
    QCOMPARE(lines, expected);
}

void tst_ReferenceModel::htmlAndTextLayout()
{
    const QStringList html = documentLines(OutputKind::Html, 10, true, {QStringLiteral("a<b>&{\\}")});
    QCOMPARE(html.size(), 7 + 1 + 3);
    QCOMPARE(html.at(0), QStringLiteral("Friendly Reminder: This is a ASCII Artwork! To properly view this picture, set the "
                                        "font to 'Lucida Console' and size to 10."));
    QCOMPARE(html.at(3), QStringLiteral("|!%@%^#$%&^()'|"));
    QCOMPARE(html.at(7), QStringLiteral("a&lt;b&gt;&amp;{\\}<BR>"));

    const QStringList text = documentLines(OutputKind::Text, 10, false, {QStringLiteral("a<b>"), QString()});
    QCOMPARE(text, (QStringList{QStringLiteral("a<b>"), QString(), QString(), QString(), QStringLiteral("Generated by Glyphsmith")}));
}

void tst_ReferenceModel::jpegEnd()
{
    const QByteArray whole = jpegBytes();
    QVERIFY(jpegReachesEnd(whole));
    QVERIFY(jpegReachesEnd(whole + QByteArray("trailing bytes")));
    QVERIFY(!jpegReachesEnd(whole.left(whole.size() - 2)));
    QVERIFY(!jpegReachesEnd(whole.left(whole.size() / 2)));
    QVERIFY(!jpegReachesEnd(QByteArray()));

    // An end marker inside a segment (an embedded thumbnail) does not end the picture.
    const QByteArray segment = QByteArray::fromHex("FFE1000AFFD8FFD9FFD90000");
    const QByteArray withThumbnail = whole.left(2) + segment + whole.mid(2);
    QVERIFY(jpegReachesEnd(withThumbnail));
    QVERIFY(!jpegReachesEnd(withThumbnail.left(2 + segment.size() + 40)));
}

void tst_ReferenceModel::fileEnd_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("PNG") << QStringLiteral("photo.png") << QByteArray("png");
    QTest::newRow("GIF, two frames") << QStringLiteral("photo.gif") << QByteArray("gif");
    QTest::newRow("BMP") << QStringLiteral("photo.bmp") << QByteArray("bmp");
    QTest::newRow("ICO, three images") << QStringLiteral("icon.ico") << QByteArray("ico");
    QTest::newRow("CUR, two images") << QStringLiteral("cursor.cur") << QByteArray("cur");
    QTest::newRow("progressive JPEG") << QStringLiteral("photo-progressive.jpg") << QByteArray("jpeg");
}

// The whole file reaches its end; without its last byte, or cut to two thirds, it does not.
void tst_ReferenceModel::fileEnd()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFile file(dataFolder + QStringLiteral("/good/") + name);
    if (!file.open(QIODevice::ReadOnly))
        QSKIP("picture not collected yet");
    const QByteArray whole = file.readAll();
    QVERIFY(fileReachesEnd(whole, format));
    QVERIFY(!fileReachesEnd(whole.chopped(1), format));
    QVERIFY(!fileReachesEnd(whole.left(whole.size() * 2 / 3), format));
}

void tst_ReferenceModel::pictureFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    // Sizes as an independent image tool lists them; the icon files hold several images.
    QTest::newRow("icon: largest of 32, 64 and 16") << QStringLiteral("icon.ico") << 64 << 64;
    QTest::newRow("cursor: largest of 32 and 48") << QStringLiteral("cursor.cur") << 48 << 48;
    QTest::newRow("animated GIF: first frame") << QStringLiteral("photo.gif") << 113 << 74;
    QTest::newRow("EXIF orientation 6 turns 90 x 60 upright") << QStringLiteral("rotated.jpg") << 60 << 90;
    QTest::newRow("grey JPEG") << QStringLiteral("photo-grey.jpg") << 137 << 89;
}

void tst_ReferenceModel::pictureFiles()
{
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(int, height);
    const QString path = dataFolder + QStringLiteral("/good/") + name;
    if (!QFileInfo::exists(path))
        QSKIP("picture not collected yet");
    const std::optional<PixelArray> picture = readPictureFile(path);
    QVERIFY(picture);
    QCOMPARE(picture->width(), width);
    QCOMPARE(picture->height(), height);
}

void tst_ReferenceModel::transparencyOverWhite()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QImage image(3, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(200, 100, 0, 128));
    image.setPixel(1, 0, qRgba(10, 20, 30, 0));
    image.setPixel(2, 0, qRgba(10, 20, 30, 255));
    const QString path = folder.filePath(QStringLiteral("alpha.png"));
    QVERIFY(image.save(path));

    const std::optional<PixelArray> picture = readPictureFile(path);
    QVERIFY(picture);
    QCOMPARE(picture->at(0, 0), rgb(227, 177, 127)); // (200*128 + 255*127 + 127) / 255 = 227, ...
    QCOMPARE(picture->at(1, 0), rgb(255, 255, 255));
    QCOMPARE(picture->at(2, 0), rgb(10, 20, 30));
}

void tst_ReferenceModel::refusals_data()
{
    QTest::addColumn<QString>("ramp");
    QTest::addColumn<float>("size");
    QTest::addColumn<int>("detail");
    QTest::addColumn<bool>("refused");
    QTest::newRow("goes through") << QStringLiteral("#") << 1.0f << 1 << false;
    QTest::newRow("negative size is unscaled") << QStringLiteral("#") << -2.0f << 1 << false;
    QTest::newRow("size 0") << QStringLiteral("#") << 0.0f << 1 << true;
    QTest::newRow("empty ramp") << QString() << 1.0f << 1 << true;
    QTest::newRow("cell taller than the picture") << QStringLiteral("#") << 1.0f << 2 << true;
    QTest::newRow("scaled past 32767") << QStringLiteral("#") << 11000.0f << 1 << true;
}

void tst_ReferenceModel::refusals()
{
    QFETCH(QString, ramp);
    QFETCH(float, size);
    QFETCH(int, detail);
    QFETCH(bool, refused);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString source = folder.filePath(QStringLiteral("line.png"));
    QImage line(3, 1, QImage::Format_RGB32);
    line.fill(Qt::black);
    QVERIFY(line.save(source));

    const ReferenceResult result = referenceOutput(source, folder.filePath(QStringLiteral("art.txt")), ramp, size, quint8(detail), false);
    QVERIFY(result.fault.isEmpty());
    QCOMPARE(result.refused(), refused);
    if (!refused)
        QCOMPARE(result.bytes, QByteArray("###\r\n\r\n\r\nGenerated by Glyphsmith\r\n"));
}

QTEST_GUILESS_MAIN(tst_ReferenceModel)
#include "tst_referencemodel.moc"
