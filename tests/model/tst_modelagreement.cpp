// The converter's files must match the reference model byte for byte, and the two must refuse the same runs.
// GLYPHSMITH_MODEL_PICTURES names a folder of pictures to convert in place of tests/data/good.
#include "tests/model/ReferenceModel.h"

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QLocale>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString converter = QStringLiteral(GLYPHSMITH_CLI);
const QString dataFolder = QStringLiteral(GLYPHSMITH_TEST_DATA);
const QStringList sizes = {u"1"_s, u"0.5"_s, u"0.37"_s, u"1.5"_s, u"2"_s, u"3"_s, u"-2"_s};
const QList<int> details = {1, 2, 9, 10, 13, 24};
const QStringList outputs = {u"art.txt"_s, u"art.rtf"_s, u"art.html"_s, u"art.htm"_s, u"art"_s, u"art.dat"_s};
// Name and text, light to dark. "classic" holds every character rich text and HTML escape; "code page" lies above 127
// yet inside Windows-1252, a byte it leaves undefined included; "outside" lies beyond it, an emoji among them.
QList<std::pair<QString, QString>> ramps = {
    {u"shipped"_s, {}}, {u"one character"_s, u"#"_s}, {u"four"_s, u" .:#"_s},
    {u"classic"_s, u" .'`^\",:;Il!i><~+_-?][}{1)(|\\/tfjrxnuvczXYUJCLQ0OZmwqpdbkhao*#MW&8%B@$"_s},
    {u"code page"_s, u" \u00b7\u00b0\u00b1\u00b2\u00bd\u20ac\u0192\u2030\u0152\u017d\u0081\u00c6\u00d8\u00df\u00ff"_s},
    {u"outside"_s, u" .\u2591:\u2592\U0001F600o\u2593#\u2588"_s}, {u"empty"_s, {}}, {u"300 characters"_s, {}},
    {u"40000 characters"_s, {}}, {u"40000 characters of a fuzzing finding"_s, {}}};
// A white picture on which that finding's ramp, past 32767 characters, once gave empty rows.
const QString white = dataFolder + u"/findings/ramp-40000-chars-white-80x26.bmp"_s;

enum class Twist {
    None, SizeJoined, FileThere, OutputIsSource, FolderMissing, GermanLocale, Unreadable, UnreadableFileThere, UsageError,
    BandsNamed // --tone bands given, which is the default
};

struct Conversion
{
    QString picture;
    QString size = u"1"_s;
    int detail = 10;
    int ramp = 0; // index into ramps
    QString output = u"art.txt"_s;
    bool reminder = true;
    Twist twist = Twist::None;
    ReferenceLook look = {};
};

// The exit code (-1 when the converter could not start, crashed or had to be killed) and the standard error.
std::pair<int, QByteArray> runConverter(const QStringList &arguments, bool germanLocale = false)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (germanLocale) // whose decimal mark is a comma
        environment.insert(u"LC_ALL"_s, u"de_DE.UTF-8"_s);
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(converter, arguments);
    // Generous: a sanitizer build enlarging a photograph threefold is slow.
    if (process.waitForFinished(600000) && process.exitStatus() == QProcess::NormalExit)
        return {process.exitCode(), process.readAllStandardError()};
    process.kill();
    process.waitForFinished();
    return {-1, {}};
}

std::optional<QByteArray> contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? std::optional(file.readAll()) : std::nullopt;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void addRow(const char *what, const Conversion &c)
{
    const QString look = (c.look.page ? u" | page"_s : QString()) + (c.look.utf8 ? u" | UTF-8"_s : QString())
                         + (c.look.cell.isEmpty() ? QString() : u" | cell %1x%2"_s.arg(c.look.cell.width()).arg(c.look.cell.height()));
    QTest::addRow("%s%s | size %s | detail %d | %s | %s%s%s", what, qPrintable(QFileInfo(c.picture).fileName()), qPrintable(c.size),
                  c.detail, qPrintable(ramps.at(c.ramp).first), qPrintable(c.output), c.reminder ? "" : " | no reminder", qPrintable(look))
        << c;
}

} // namespace

class tst_ModelAgreement : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void agreement_data();
    void agreement();

private:
    QTemporaryDir m_work;
    QStringList m_collected;
    QStringList m_made;
};

void tst_ModelAgreement::initTestCase()
{
    QVERIFY2(QFileInfo(converter).isExecutable(), qPrintable(converter));
    QVERIFY(m_work.isValid());
    const QByteArray rampList = contentsOf(QFileInfo(converter).dir().filePath(u"Formats.TXT"_s)).value_or(QByteArray());
    ramps[0].second = QString(QStringDecoder("windows-1252").decode(rampList.split('\n').first())).remove(u'\r');
    QVERIFY2(!ramps[0].second.isEmpty(), "no ramp list beside the converter");
    for (int i = 0; i < 40000; ++i)
        ramps[8].second += QChar(0x21 + i % 94);
    ramps[7].second = ramps[8].second.left(300);
    const QByteArray finding = qUncompress(contentsOf(dataFolder + u"/findings/ramp-40000-chars-Formats.TXT.qz"_s).value_or(QByteArray()));
    ramps[9].second = QString::fromLatin1(finding.left(finding.indexOf('\r')));

    const QDir collected(qEnvironmentVariable("GLYPHSMITH_MODEL_PICTURES", dataFolder + u"/good"_s));
    for (const QString &name : collected.entryList(QDir::Files, QDir::Name))
        m_collected << collected.filePath(name);
    // Every grey side by side in one row, and graded transparency.
    QImage grey(256, 2, QImage::Format_RGB32);
    QImage alpha(50, 17, QImage::Format_ARGB32);
    for (int x = 0; x < 256; ++x) {
        grey.setPixel(x, 0, qRgb(x, x, x));
        grey.setPixel(x, 1, qRgb(x, 255 - x, x / 2));
        for (int y = 0; y < 17 && x < 50; ++y)
            alpha.setPixel(x, y, qRgba((x * 37) % 256, (y * 53) % 256, (x * y) % 256, (x * 9 + y * 15) % 256));
    }
    m_made = {m_work.filePath(u"made-every-grey.png"_s), m_work.filePath(u"made-graded-alpha.png"_s)};
    QVERIFY(grey.save(m_made[0]) && alpha.save(m_made[1]));
    QVERIFY2(m_collected.size() + m_made.size() >= 6, "too few pictures for every size to meet every detail");

    // The model itself, worked out by hand: 64 greys a band, the lightest holding 191 to 255; 50 x 0.37 is 18.5 only
    // in single precision, which rounds to the even 18.
    const QByteArray bands = QByteArray(64, '#') + QByteArray(64, ':') + QByteArray(63, '.') + QByteArray(65, ' ') + '\r';
    QCOMPARE(referenceOutput(m_made[0], m_work.filePath(u"a"_s), u" .:#"_s, 1, 1, false).bytes.split('\n').first(), bands);
    QCOMPARE(referenceOutput(m_made[1], m_work.filePath(u"a"_s), u"#"_s, 0.37f, 1, false).bytes.indexOf('\r'), 18);
    // Ten cells across and two down, all of the lightest character, the first of the ramp.
    QCOMPARE(referenceOutput(white, m_work.filePath(u"a"_s), ramps[9].second, 1, 10, false).bytes.left(24),
             (QByteArray(10, ramps[9].second.front().toLatin1()) + "\r\n").repeated(2));
    // 256 columns of 1229/2048 of 20 twips are 3072.5 twips, 4 % more 3195.4: 3196 and two margins of 360.
    QVERIFY(referenceOutput(m_made[0], m_work.filePath(u"a.rtf"_s), u"#"_s, 1, 1, false).bytes.contains("\\paperw3916\\"));
}

void tst_ModelAgreement::agreement_data()
{
    QTest::addColumn<Conversion>("conversion");
    const QStringList pictures = m_collected + m_made;
    // Seven rows a picture, one per size; the other axes shift with the picture's index, so that each runs through all
    // its values within the seven rows, and with six pictures or more every size meets every detail.
    for (int i = 0; i < pictures.size(); ++i) {
        for (int j = 0; j < 7; ++j)
            addRow("", {pictures[i], sizes[j], details[(i + j) % 6], (2 * i + j) % 6, outputs[(3 * i + j) % 6],
                        (j + i / 2) % 2 == 0, i % 2 ? Twist::SizeJoined : Twist::None});
    }
    const auto area = [](const QString &path) { return QImageReader(path).size().width() * QImageReader(path).size().height(); };
    const QString big = *std::max_element(pictures.begin(), pictures.end(), [&](auto &a, auto &b) { return area(a) < area(b); });
    for (int ramp = 0; ramp < 6; ++ramp)
        addRow("every grey against the band limits: ", {m_made[0], u"1"_s, 1, ramp});
    addRow("band limits coincide: ", {m_made[0], u"1"_s, 1, 7});
    addRow("bands past 32767 characters: ", {m_made[0], u"1"_s, 1, 8});
    addRow("a white picture, bands past 32767 characters: ", {white, u"1"_s, 10, 9});
    addRow("a half in single precision: ", {m_made[1], u"0.37"_s, 1, 3});
    addRow("resampled, though barely: ", {big, u"1.0000001"_s, 1, 3});
    addRow("one row of cells: ", {big, u"3"_s, 200, 3, u"art.rtf"_s});
    addRow("largest cell: ", {big, u"3"_s, 255, 3});
    addRow("scaled to 32767 pixels: ", {m_made[0], u"127.998"_s, 10, 2});
    addRow("scaled to 32768 pixels: ", {m_made[0], u"128"_s, 10, 2});
    addRow("scaled past any integer: ", {big, u"1e10"_s, 10, 2});
    addRow("scaled to nothing: ", {big, u"0.001"_s, 10, 2});
    addRow("scaled by 0: ", {big, u"0"_s, 10, 2});
    addRow("upper-case extension: ", {big, u"1"_s, 9, 3, u"ART.RTF"_s});
    addRow("mixed-case extension: ", {big, u"1"_s, 9, 3, u"art.Html"_s});
    addRow("name ending in a dot: ", {big, u"1"_s, 9, 3, u"art."_s});
    addRow("dotted folder, bare name: ", {big, u"1"_s, 9, 3, u"my.rtf/art"_s});
    addRow("empty ramp: ", {big, u"1"_s, 10, 6});
    addRow("replaces a longer file: ", {big, u"1"_s, 9, 3, u"art.html"_s, true, Twist::FileThere});
    addRow("German locale: ", {big, u"0.5"_s, 2, 3, u"art.txt"_s, true, Twist::GermanLocale});
    addRow("bands named: ", {big, u"1"_s, 9, 0, u"art.txt"_s, true, Twist::BandsNamed});
    addRow("bands named: ", {m_made[0], u"1.5"_s, 1, 5, u"art.rtf"_s, true, Twist::BandsNamed});
    addRow("output folder missing: ", {big, u"1"_s, 10, 2, u"missing/art.txt"_s, true, Twist::FolderMissing});
    addRow("output is the source: ", {big, u"1"_s, 10, 2, u"(the source)"_s, true, Twist::OutputIsSource});
    // The looks a user may choose: a page under any name, UTF-8 text, cells of a terminal's shape.
    for (int i = 0; i < pictures.size(); ++i) {
        const QString output = outputs[i % 6];
        addRow("", {pictures[i], sizes[i % 7], details[i % 6], 3 + i % 3, output, i % 2 == 0, Twist::None, {true, false, {}}});
        addRow("", {pictures[i], sizes[(i + 3) % 7], details[(i + 2) % 6], 4 + i % 2, output, i % 2 == 1, Twist::None, {false, true, {}}});
        addRow("", {pictures[i], u"1"_s, details[(i + 4) % 6], 2 + i % 4, output, true, Twist::None, {false, i % 3 == 0, QSize(3 + i, 7 + 2 * i)}});
    }

    // Arguments the converter cannot use stop it before it writes anything.
    addRow("usage error: ", {m_made[0], u"1"_s, 0, 2, u"art.txt"_s, true, Twist::UsageError});
    addRow("usage error: ", {m_made[0], u"1"_s, 256, 2, u"art.txt"_s, true, Twist::UsageError});
    for (const QString &size : {u"abc"_s, u"1,5"_s, QString(), u"nan"_s})
        addRow("usage error: ", {m_made[0], size, 10, 2, u"art.txt"_s, true, Twist::UsageError});
    // Broken pictures, and every collected one cut short in two ways, once with and once without a file in the way.
    QStringList unreadable = QDir(dataFolder + u"/bad"_s).entryList(QDir::Files, QDir::Name);
    for (QString &name : unreadable)
        name = dataFolder + u"/bad/"_s + name;
    QStringList markerLost;
    for (const QString &path : m_collected) {
        const QByteArray whole = contentsOf(path).value_or(QByteArray());
        unreadable << m_work.filePath(u"two-thirds-of-"_s + QFileInfo(path).fileName());
        unreadable << m_work.filePath(u"last-byte-missing-"_s + QFileInfo(path).fileName());
        QVERIFY(writeFile(unreadable.at(unreadable.size() - 2), whole.left(whole.size() * 2 / 3)));
        QVERIFY(writeFile(unreadable.last(), whole.chopped(1)));
        if (whole.endsWith("\xFF\xD9") || whole.endsWith(';'))
            markerLost << unreadable.last();
    }
    // A photograph may carry data after its picture, which its last byte's loss leaves whole, and a JPEG or GIF may lose
    // its end marker or trailer; there the two need only agree. Our own pictures otherwise end with their picture.
    const bool ownPictures = !qEnvironmentVariableIsSet("GLYPHSMITH_MODEL_PICTURES");
    for (const QString &path : unreadable) {
        const bool mustRefuse = (ownPictures || path.startsWith(dataFolder)) && !markerLost.contains(path);
        addRow("unreadable: ", {path, u"1"_s, 10, 2, u"art.txt"_s, true, mustRefuse ? Twist::Unreadable : Twist::None});
        addRow("unreadable, file there: ", {path, u"1"_s, 10, 2, u"art.txt"_s, true, mustRefuse ? Twist::UnreadableFileThere : Twist::FileThere});
    }
}

void tst_ModelAgreement::agreement()
{
    QFETCH(Conversion, conversion);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QString source = conversion.picture;
    QString output = folder.filePath(conversion.output);
    if (conversion.twist == Twist::OutputIsSource) {
        // Named the long way round, so that only the canonical paths are equal.
        source = folder.filePath(QFileInfo(source).fileName());
        QVERIFY(QFile::copy(conversion.picture, source) && QDir(folder.path()).mkdir(u"sub"_s));
        output = folder.filePath(u"sub/../"_s + QFileInfo(source).fileName());
    } else if (conversion.twist != Twist::FolderMissing) {
        QVERIFY(QDir().mkpath(QFileInfo(output).absolutePath()));
    }
    const bool unreadable = conversion.twist == Twist::Unreadable || conversion.twist == Twist::UnreadableFileThere;
    if (conversion.twist == Twist::FileThere || conversion.twist == Twist::UnreadableFileThere)
        QVERIFY(writeFile(output, QByteArray(65536, 'z')));
    const std::optional<QByteArray> before = contentsOf(output);

    QStringList arguments = {u"--detail"_s, QString::number(conversion.detail)};
    if (conversion.ramp != 0)
        arguments << u"--ramp"_s << ramps[conversion.ramp].second;
    if (conversion.twist == Twist::SizeJoined)
        arguments << u"--size="_s + conversion.size;
    else
        arguments << u"--size"_s << conversion.size;
    if (!conversion.reminder)
        arguments << u"--no-reminder"_s;
    if (conversion.look.page)
        arguments << u"--format"_s << u"page"_s;
    if (conversion.look.utf8)
        arguments << u"--encoding=utf-8"_s;
    if (!conversion.look.cell.isEmpty())
        arguments << u"--cell"_s << u"%1x%2"_s.arg(conversion.look.cell.width()).arg(conversion.look.cell.height());
    if (conversion.twist == Twist::BandsNamed)
        arguments << u"--tone"_s << u"bands"_s;
    if (conversion.twist == Twist::UsageError) {
        QCOMPARE(runConverter(arguments << source << output).first, 2);
        QVERIFY(!QFileInfo::exists(output));
        return;
    }

    const ReferenceResult expected = referenceOutput(source, output, ramps[conversion.ramp].second,
                                                     QLocale::c().toFloat(conversion.size), conversion.detail, conversion.reminder, conversion.look);
    QVERIFY2(expected.refused() || !unreadable, "the model reads a picture that should be refused");
    const std::pair<int, QByteArray> run = runConverter(arguments << source << output, conversion.twist == Twist::GermanLocale);
    if (expected.refused()) { // exit 1, one line on the standard error, the output as it was
        QVERIFY2(run.first == 1 && run.second.endsWith('\n') && run.second.count('\n') == 1,
                 qPrintable(u"the model refuses (%1), the converter exits %2: %3"_s.arg(expected.refusal).arg(run.first).arg(run.second)));
        QVERIFY2(contentsOf(output) == before, "a refused run touched the output");
        return;
    }
    QVERIFY2(run.first == 0, qPrintable(u"exit %1: %2"_s.arg(run.first).arg(QString::fromLocal8Bit(run.second))));
    const QList<QByteArray> want = expected.bytes.split('\n');
    const QList<QByteArray> got = contentsOf(output).value_or(QByteArray()).split('\n');
    qsizetype line = 0;
    while (line < want.size() && line < got.size() && want[line] == got[line])
        ++line;
    if (line < want.size() || line < got.size())
        qInfo("first difference on line %lld of the model's %lld", qint64(line + 1), qint64(want.size()));
    QCOMPARE(got.value(line), want.value(line));
    QCOMPARE(got.size(), want.size());
}

QTEST_GUILESS_MAIN(tst_ModelAgreement)
#include "tst_modelagreement.moc"
