// The converter's files must match the reference model byte for byte, and the two must refuse the same runs.
#include "AgreementCase.h"
#include "ConverterRun.h"
#include "ReferenceModel.h"
#include "SamplePictures.h"
#include "ShippedRamp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString converter = QStringLiteral(GLYPHSMITH_CLI);
const QString dataFolder = QStringLiteral(GLYPHSMITH_TEST_DATA);

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Printable ASCII as it is, everything else as \xHH, cut short for the log.
QString readable(const QByteArray &line)
{
    QString text;
    for (const char byte : line.left(160)) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 0x20 && value < 0x7F && value != '\\')
            text += QLatin1Char(byte);
        else
            text += QStringLiteral("\\x%1").arg(value, 2, 16, QLatin1Char('0'));
    }
    return line.size() > 160 ? text + QStringLiteral("...") : text;
}

QString firstDifference(const QByteArray &expected, const QByteArray &actual)
{
    const QList<QByteArray> expectedLines = expected.split('\n');
    const QList<QByteArray> actualLines = actual.split('\n');
    for (qsizetype at = 0; at < std::max(expectedLines.size(), actualLines.size()); ++at) {
        const QByteArray want = expectedLines.value(at);
        const QByteArray got = actualLines.value(at);
        if (want != got || at >= expectedLines.size() || at >= actualLines.size()) {
            return QStringLiteral("first difference on line %1 (model %2 bytes in %3 lines, converter %4 bytes in %5 lines)\n"
                                  "  model:     %6\n  converter: %7")
                .arg(at + 1)
                .arg(expected.size())
                .arg(expectedLines.size())
                .arg(actual.size())
                .arg(actualLines.size())
                .arg(at < expectedLines.size() ? readable(want) : QStringLiteral("<no line>"),
                     at < actualLines.size() ? readable(got) : QStringLiteral("<no line>"));
        }
    }
    return QStringLiteral("no difference");
}

// A refusal is one line on the standard error, and nothing else there.
bool isOneRefusalLine(const QByteArray &standardError)
{
    return standardError.startsWith("glyphsmith-cli: ") && standardError.endsWith('\n') && standardError.count('\n') == 1;
}

QStringList picturesIn(const QString &folder)
{
    QStringList pictures;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        pictures.append(dir.filePath(name));
    return pictures;
}

} // namespace

class tst_ModelAgreement : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void agreement_data();
    void agreement();
    void unreadableSource_data();
    void unreadableSource();
    void usageError_data();
    void usageError();
    void cleanupTestCase();

private:
    int m_filesCompared = 0;
    int m_refusalsShared = 0;
    QTemporaryDir m_madeFolder;
    QString m_shippedRamp;
    QStringList m_pictures;
    std::vector<AgreementCase> m_cases;
};

void tst_ModelAgreement::initTestCase()
{
    QVERIFY2(QFileInfo(converter).isExecutable(), qPrintable(converter));
    QVERIFY2(QStringEncoder("windows-1252").isValid(), "this Qt has no Windows-1252 converter");
    m_shippedRamp = firstRampIn(QFileInfo(converter).dir().filePath(QStringLiteral("Formats.TXT")));
    QVERIFY2(!m_shippedRamp.isEmpty(), "no ramp list beside the converter");

    QVERIFY(m_madeFolder.isValid());
    const QStringList made = writeSamplePictures(m_madeFolder.path());
    QVERIFY(!made.contains(QString()));
    const QStringList collected = picturesIn(dataFolder + QStringLiteral("/good"));
    if (collected.isEmpty())
        qWarning("no pictures in %s/good; only made-up ones are converted", qPrintable(dataFolder));
    m_pictures = collected + made;
    m_cases = agreementCases(m_pictures, made);
    qInfo("%d pictures, %d conversions", int(m_pictures.size()), int(m_cases.size()));
}

void tst_ModelAgreement::agreement_data()
{
    QTest::addColumn<int>("caseIndex");
    for (int index = 0; index < int(m_cases.size()); ++index)
        QTest::addRow("%d: %s", index, qPrintable(m_cases.at(index).name)) << index;
}

void tst_ModelAgreement::agreement()
{
    QFETCH(int, caseIndex);
    const AgreementCase &testCase = m_cases.at(caseIndex);
    QTemporaryDir runFolder;
    QVERIFY(runFolder.isValid());

    QString source = testCase.picture;
    QString output = runFolder.filePath(testCase.outputName);
    if (testCase.outputIsSource) {
        // Named the long way round, so only the canonical paths are equal.
        QVERIFY(QDir(runFolder.path()).mkpath(QStringLiteral("sub")));
        source = runFolder.filePath(QFileInfo(testCase.picture).fileName());
        QVERIFY(QFile::copy(testCase.picture, source));
        output = runFolder.filePath(QStringLiteral("sub/../") + QFileInfo(testCase.picture).fileName());
    } else if (testCase.outputFolderExists) {
        QVERIFY(QDir().mkpath(QFileInfo(output).absolutePath()));
    }
    if (!testCase.existingOutput.isEmpty())
        QVERIFY(writeFile(output, testCase.existingOutput));
    const bool outputExisted = QFileInfo::exists(output);
    const QByteArray before = contentsOf(output);

    const ReferenceResult expected = referenceOutput(source, output, testCase.ramp.value_or(m_shippedRamp), testCase.size(),
                                                     testCase.detail, testCase.reminder);
    QVERIFY2(expected.fault.isEmpty(), qPrintable(QStringLiteral("the model failed: ") + expected.fault));

    const ConverterRun run = runConverter(converter, testCase.converterArguments(source, output), testCase.environment);
    QVERIFY2(run.finished, "the converter did not finish");

    if (expected.refused()) {
        QVERIFY2(run.exitCode == 1, qPrintable(QStringLiteral("the model refuses (%1) but the converter exited %2: %3")
                                                   .arg(expected.refusal)
                                                   .arg(run.exitCode)
                                                   .arg(QString::fromLocal8Bit(run.standardError))));
        QVERIFY2(isOneRefusalLine(run.standardError), run.standardError.constData());
        if (outputExisted)
            QVERIFY2(contentsOf(output) == before, "a refused run changed the file already there");
        else
            QVERIFY2(!QFileInfo::exists(output), "a refused run left a file");
        ++m_refusalsShared;
        return;
    }

    QVERIFY2(run.exitCode == 0, qPrintable(QStringLiteral("the converter exited %1 where the model writes a file: %2")
                                               .arg(run.exitCode)
                                               .arg(QString::fromLocal8Bit(run.standardError))));
    const QByteArray actual = contentsOf(output);
    QVERIFY2(actual == expected.bytes, qPrintable(firstDifference(expected.bytes, actual)));
    ++m_filesCompared;
}

// The collected broken pictures, and every good one cut short in two ways.
void tst_ModelAgreement::unreadableSource_data()
{
    QTest::addColumn<QString>("source");
    for (const QString &path : picturesIn(dataFolder + QStringLiteral("/bad")))
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;

    const QDir cut(m_madeFolder.filePath(QStringLiteral("cut")));
    QVERIFY(cut.mkpath(QStringLiteral(".")));
    for (const QString &path : picturesIn(dataFolder + QStringLiteral("/good"))) {
        const QByteArray whole = contentsOf(path);
        const QString name = QFileInfo(path).fileName();
        const QString twoThirds = cut.filePath(QStringLiteral("two-thirds-of-") + name);
        const QString lastByteMissing = cut.filePath(QStringLiteral("last-byte-missing-") + name);
        QVERIFY(writeFile(twoThirds, whole.left(whole.size() * 2 / 3)));
        QVERIFY(writeFile(lastByteMissing, whole.chopped(1)));
        QTest::addRow("%s cut to two thirds", qPrintable(name)) << twoThirds;
        QTest::addRow("%s without its last byte", qPrintable(name)) << lastByteMissing;
    }
}

void tst_ModelAgreement::unreadableSource()
{
    QFETCH(QString, source);
    QTemporaryDir runFolder;
    QVERIFY(runFolder.isValid());
    const QString output = runFolder.filePath(QStringLiteral("art.txt"));

    const ReferenceResult expected = referenceOutput(source, output, QStringLiteral(" .:#"), 1.0f, 10, true);
    QVERIFY2(expected.refused(), "the model reads a picture that should be refused");

    const QStringList arguments = {QStringLiteral("--ramp"), QStringLiteral(" .:#"), source, output};
    const ConverterRun fresh = runConverter(converter, arguments);
    QVERIFY(fresh.finished);
    QVERIFY2(fresh.exitCode == 1 && isOneRefusalLine(fresh.standardError) && !QFileInfo::exists(output),
             qPrintable(QStringLiteral("exit %1, %2 bytes written, stderr: %3")
                            .arg(fresh.exitCode)
                            .arg(QFileInfo(output).size())
                            .arg(QString::fromLocal8Bit(fresh.standardError))));

    // A refused run must not truncate art the user already has under that name.
    const QByteArray earlierArt = QByteArrayLiteral("earlier art\r\n");
    QVERIFY(writeFile(output, earlierArt));
    const ConverterRun over = runConverter(converter, arguments);
    QVERIFY(over.finished);
    QCOMPARE(over.exitCode, 1);
    QVERIFY2(isOneRefusalLine(over.standardError), over.standardError.constData());
    QCOMPARE(contentsOf(output), earlierArt);
}

void tst_ModelAgreement::usageError_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::newRow("detail 0") << QStringList{QStringLiteral("--detail"), QStringLiteral("0")};
    QTest::newRow("size not a number") << QStringList{QStringLiteral("--size"), QStringLiteral("abc")};
    QTest::newRow("size with a decimal comma") << QStringList{QStringLiteral("--size"), QStringLiteral("1,5")};
    QTest::newRow("size empty") << QStringList{QStringLiteral("--size=")};
    QTest::newRow("size nan") << QStringList{QStringLiteral("--size"), QStringLiteral("nan")};
}

// Arguments the converter cannot use stop it before it reads or writes anything.
void tst_ModelAgreement::usageError()
{
    QFETCH(QStringList, options);
    QTemporaryDir runFolder;
    QVERIFY(runFolder.isValid());
    const QString output = runFolder.filePath(QStringLiteral("art.txt"));
    const ConverterRun run = runConverter(converter, options + QStringList{m_pictures.first(), output});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(!QFileInfo::exists(output));
}

void tst_ModelAgreement::cleanupTestCase()
{
    qInfo("%d files equal byte for byte, %d runs refused by both", m_filesCompared, m_refusalsShared);
}

QTEST_GUILESS_MAIN(tst_ModelAgreement)
#include "tst_modelagreement.moc"
