#include "AgreementCase.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLocale>
#include <algorithm>
#include <set>
#include <utility>

namespace {

const QStringList sizes = {QStringLiteral("1"), QStringLiteral("0.5"), QStringLiteral("0.37"), QStringLiteral("1.5"),
                           QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("-2")};
const std::vector<quint8> details = {1, 2, 9, 10, 13, 24};
const QStringList outputNames = {QStringLiteral("art.txt"), QStringLiteral("art.rtf"), QStringLiteral("art.html"),
                                 QStringLiteral("art.htm"), QStringLiteral("art"),     QStringLiteral("art.dat")};

struct NamedRamp
{
    QString name;
    std::optional<QString> text;
};

const std::vector<NamedRamp> &ramps()
{
    static const std::vector<NamedRamp> all = {
        {QStringLiteral("default"), std::nullopt},
        {QStringLiteral("one character"), QStringLiteral("#")},
        {QStringLiteral("four"), QStringLiteral(" .:#")},
        // Light to dark; holds every character that rich text and HTML must escape.
        {QStringLiteral("classic"),
         QStringLiteral(" .'`^\",:;Il!i><~+_-?][}{1)(|\\/tfjrxnuvczXYUJCLQ0OZmwqpdbkhao*#MW&8%B@$")},
        // Above 127 yet inside Windows-1252, including a byte the code page leaves undefined.
        {QStringLiteral("code page"), QStringLiteral(" \u00b7\u00b0\u00b1\u00b2\u00bd\u20ac\u0192\u2030\u0152\u017d")
                                          + QChar(0x81) + QStringLiteral("\u00c6\u00d8\u00df\u00ff")},
        // Outside it; the emoji is one character though two UTF-16 units.
        {QStringLiteral("outside"), QStringLiteral(" .\u2591:\u2592\U0001F600o\u2593#\u2588")},
    };
    return all;
}

qint64 areaOf(const QString &picture)
{
    const QSize size = QImageReader(picture).size();
    return qint64(size.width()) * size.height();
}

QString rowName(const AgreementCase &testCase)
{
    return QStringLiteral("%1 | size %2 | detail %3 | %4 | %5 | %6")
        .arg(QFileInfo(testCase.picture).fileName(), testCase.sizeText, QString::number(testCase.detail), testCase.rampName,
             testCase.outputName, testCase.reminder ? QStringLiteral("reminder") : QStringLiteral("no reminder"));
}

AgreementCase matrixCase(const QString &picture, int sizeIndex, int detailIndex, int rampIndex, int outputIndex, bool reminder)
{
    AgreementCase testCase;
    testCase.picture = picture;
    testCase.sizeText = sizes.at(sizeIndex);
    testCase.detail = details.at(detailIndex);
    testCase.rampName = ramps().at(rampIndex).name;
    testCase.ramp = ramps().at(rampIndex).text;
    testCase.outputName = outputNames.at(outputIndex);
    testCase.reminder = reminder;
    testCase.name = rowName(testCase);
    return testCase;
}

// Seven rows a picture, one for each size; the other axes are shifted by the picture's index so that
// each runs through all its values within the seven rows, and pictures differ in their pairings.
void addCoveringRows(std::vector<AgreementCase> &cases, const QStringList &pictures)
{
    for (int i = 0; i < int(pictures.size()); ++i) {
        for (int j = 0; j < int(sizes.size()); ++j) {
            AgreementCase testCase = matrixCase(pictures.at(i), j, (i + j) % 6, (2 * i + j) % 6, (3 * i + j) % 6, (j + i / 2) % 2 == 0);
            testCase.sizeJoined = i % 2 == 1;
            cases.push_back(testCase);
        }
    }
}

void addMissingSizeDetailPairs(std::vector<AgreementCase> &cases, const QString &picture)
{
    std::set<std::pair<QString, int>> met;
    for (const AgreementCase &testCase : cases)
        met.insert({testCase.sizeText, testCase.detail});
    int rotation = 0;
    for (int s = 0; s < int(sizes.size()); ++s) {
        for (int d = 0; d < int(details.size()); ++d) {
            if (met.count({sizes.at(s), details.at(d)}) == 0) {
                cases.push_back(matrixCase(picture, s, d, rotation % 6, rotation % 6, rotation % 2 == 0));
                ++rotation;
            }
        }
    }
}

AgreementCase edgeCase(const QString &what, const QString &picture, const QString &sizeText, quint8 detail, int rampIndex,
                       const QString &outputName)
{
    AgreementCase testCase;
    testCase.picture = picture;
    testCase.sizeText = sizeText;
    testCase.detail = detail;
    testCase.rampName = ramps().at(rampIndex).name;
    testCase.ramp = ramps().at(rampIndex).text;
    testCase.outputName = outputName;
    testCase.name = QStringLiteral("edge: ") + what + QStringLiteral(" | ") + rowName(testCase);
    return testCase;
}

void renameEdge(AgreementCase &testCase, const QString &what)
{
    testCase.name = QStringLiteral("edge: ") + what + QStringLiteral(" | ") + rowName(testCase);
}

void addEdgeRows(std::vector<AgreementCase> &cases, const QStringList &pictures, const QStringList &madePictures)
{
    const auto byArea = [](const QString &a, const QString &b) { return areaOf(a) < areaOf(b); };
    const QString smallest = *std::min_element(pictures.begin(), pictures.end(), byArea);
    const QString largest = *std::max_element(pictures.begin(), pictures.end(), byArea);
    const QString &everyGrey = madePictures.at(0);

    // One-pixel cells put every grey level 0..255 against the band limits of each ramp.
    for (int r = 0; r < int(ramps().size()); ++r)
        cases.push_back(edgeCase(QStringLiteral("every grey, one-pixel cells"), everyGrey, QStringLiteral("1"), 1, r,
                                 QStringLiteral("art.txt")));

    // 50 x 0.37 is 18.5 only after rounding the product to single precision.
    cases.push_back(edgeCase(QStringLiteral("single-precision half"), madePictures.at(2), QStringLiteral("0.37"), 1, 3,
                             QStringLiteral("art.txt")));
    cases.push_back(edgeCase(QStringLiteral("smallest picture, one-pixel cells, tripled"), smallest, QStringLiteral("3"), 1, 2,
                             QStringLiteral("art.txt")));
    cases.push_back(edgeCase(QStringLiteral("smallest picture, big cells, shrunk"), smallest, QStringLiteral("0.37"), 24, 2,
                             QStringLiteral("art.txt")));
    cases.push_back(edgeCase(QStringLiteral("one row of cells"), largest, QStringLiteral("3"), 200, 3, QStringLiteral("art.rtf")));
    cases.push_back(edgeCase(QStringLiteral("largest cell"), largest, QStringLiteral("3"), 255, 3, QStringLiteral("art.txt")));
    cases.push_back(edgeCase(QStringLiteral("scaled past 32767 pixels"), smallest, QStringLiteral("40000"), 10, 2,
                             QStringLiteral("art.txt")));
    cases.push_back(edgeCase(QStringLiteral("scaled past any integer"), largest, QStringLiteral("1e10"), 10, 2,
                             QStringLiteral("art.txt")));
    // Not exactly 1, so the picture is resampled: from column 10 on, x / 1.0000001 falls just below x.
    cases.push_back(edgeCase(QStringLiteral("size just above 1"), largest, QStringLiteral("1.0000001"), 1, 3,
                             QStringLiteral("art.txt")));
    cases.push_back(edgeCase(QStringLiteral("scaled to nothing"), largest, QStringLiteral("0.001"), 10, 2, QStringLiteral("art.txt")));
    cases.push_back(edgeCase(QStringLiteral("size 0"), largest, QStringLiteral("0"), 10, 2, QStringLiteral("art.txt")));
    cases.push_back(edgeCase(QStringLiteral("upper-case extension"), largest, QStringLiteral("1"), 9, 3, QStringLiteral("ART.RTF")));
    cases.push_back(edgeCase(QStringLiteral("mixed-case extension"), largest, QStringLiteral("1"), 9, 3, QStringLiteral("art.Html")));
    cases.push_back(edgeCase(QStringLiteral("name ending in a dot"), largest, QStringLiteral("1"), 9, 3, QStringLiteral("art.")));
    cases.push_back(edgeCase(QStringLiteral("dotted folder, bare name"), largest, QStringLiteral("1"), 9, 3,
                             QStringLiteral("my.rtf/art")));

    // 300 characters: several band limits coincide and some characters are never used.
    AgreementCase longRamp = edgeCase(QStringLiteral("ramp longer than the grey levels"), everyGrey, QStringLiteral("1"), 1, 0,
                                      QStringLiteral("art.txt"));
    longRamp.ramp = QString();
    for (int i = 0; i < 300; ++i)
        longRamp.ramp->append(QChar(0x21 + i % 94));
    longRamp.rampName = QStringLiteral("300 characters");
    renameEdge(longRamp, QStringLiteral("ramp longer than the grey levels"));
    cases.push_back(longRamp);

    AgreementCase overwrite = edgeCase(QStringLiteral("replaces a longer file"), largest, QStringLiteral("1"), 9, 3,
                                       QStringLiteral("art.html"));
    overwrite.existingOutput = QByteArray(65536, 'z');
    cases.push_back(overwrite);

    AgreementCase emptyRamp = edgeCase(QStringLiteral("empty ramp"), largest, QStringLiteral("1"), 10, 2, QStringLiteral("art.txt"));
    emptyRamp.ramp = QString();
    emptyRamp.rampName = QStringLiteral("empty");
    renameEdge(emptyRamp, QStringLiteral("empty ramp"));
    cases.push_back(emptyRamp);

    AgreementCase joined = edgeCase(QStringLiteral("negative size joined to its option"), largest, QStringLiteral("-2"), 9, 0,
                                    QStringLiteral("art.txt"));
    joined.sizeJoined = true;
    cases.push_back(joined);

    // The size is read the same way whatever the user's language, whose decimal mark may be a comma.
    AgreementCase german = edgeCase(QStringLiteral("German locale"), largest, QStringLiteral("0.5"), 2, 3, QStringLiteral("art.txt"));
    german.environment = {QStringLiteral("LC_ALL=de_DE.UTF-8"), QStringLiteral("LANG=de_DE.UTF-8")};
    cases.push_back(german);

    AgreementCase missingFolder = edgeCase(QStringLiteral("output folder missing"), largest, QStringLiteral("1"), 10, 2,
                                           QStringLiteral("no-such-folder/art.txt"));
    missingFolder.outputFolderExists = false;
    cases.push_back(missingFolder);

    AgreementCase same = edgeCase(QStringLiteral("output is the source"), largest, QStringLiteral("1"), 10, 2, QString());
    same.outputIsSource = true;
    cases.push_back(same);
}

} // namespace

float AgreementCase::size() const
{
    return QLocale::c().toFloat(sizeText);
}

QStringList AgreementCase::converterArguments(const QString &source, const QString &output) const
{
    QStringList arguments;
    if (ramp)
        arguments << QStringLiteral("--ramp") << *ramp;
    if (sizeJoined)
        arguments << QStringLiteral("--size=") + sizeText;
    else
        arguments << QStringLiteral("--size") << sizeText;
    arguments << QStringLiteral("--detail") << QString::number(detail);
    if (!reminder)
        arguments << QStringLiteral("--no-reminder");
    arguments << source << output;
    return arguments;
}

std::vector<AgreementCase> agreementCases(const QStringList &pictures, const QStringList &madePictures)
{
    std::vector<AgreementCase> cases;
    addCoveringRows(cases, pictures);
    const QString largest = *std::max_element(pictures.begin(), pictures.end(),
                                              [](const QString &a, const QString &b) { return areaOf(a) < areaOf(b); });
    addMissingSizeDetailPairs(cases, largest);
    addEdgeRows(cases, pictures, madePictures);
    return cases;
}
