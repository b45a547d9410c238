#include "CommandLine.h"

#include <QLocale>
#include <QTest>

namespace {

const QStringList files{QStringLiteral("in.png"), QStringLiteral("out.txt")};
const QString shippedRamp = QStringLiteral("(shipped ramp)");

CliParse parse(const QStringList &arguments) { return parseCommandLine(QStringList{QStringLiteral("glyphsmith-cli")} + arguments); }

QString switchesOf(const CliRequest &request)
{
    const QString on = QStringLiteral("%1 %2 %3").arg(request.parameters.fontReminder ? "" : "no-reminder",
                                                      request.open ? "open" : "", request.quiet ? "quiet" : "");
    return on.simplified();
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    // A comma locale, so that a factor read the user's way instead of the C way shows up.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void accepts_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<float>("size");
        QTest::addColumn<int>("detail");
        QTest::addColumn<QString>("ramp");
        QTest::addColumn<QString>("switches");
        // Values given either way for --size, --detail and --ramp are the model comparison's too.
        QTest::newRow("defaults") << files << 1.0f << 10 << shippedRamp << QString();
        // A negative factor is a value, not an option, whichever way it is attached.
        QTest::newRow("--size -2") << QStringList{"--size", "-2"} + files << -2.0f << 10 << shippedRamp << QString();
        QTest::newRow("--size=-2") << QStringList{"--size=-2"} + files << -2.0f << 10 << shippedRamp << QString();
        QTest::newRow("point is never grouping") << QStringList{"--size", "1.000"} + files << 1.0f << 10 << shippedRamp << QString();
        QTest::newRow("--detail=value") << QStringList{"--detail=255"} + files << 1.0f << 255 << shippedRamp << QString();
        // Given but empty is the user's choice, refused by the run, not replaced by the shipped ramp.
        QTest::newRow("--ramp= empty") << QStringList{"--ramp="} + files << 1.0f << 10 << "" << QString();
        QTest::newRow("--open") << QStringList{"--open"} + files << 1.0f << 10 << shippedRamp << "open";
        QTest::newRow("--quiet between the files") << QStringList{"in.png", "--quiet", "out.txt"} << 1.0f << 10 << shippedRamp << "quiet";
        QTest::newRow("all switches after the files")
            << files + QStringList{"--quiet", "--no-reminder", "--open"} << 1.0f << 10 << shippedRamp << "no-reminder open quiet";
    }
    void accepts()
    {
        QFETCH(QStringList, arguments);
        QFETCH(float, size);
        QFETCH(int, detail);
        QFETCH(QString, ramp);
        QFETCH(QString, switches);
        const CliParse result = parse(arguments);
        QVERIFY2(result.request, qPrintable(result.text));
        const CliRequest &request = *result.request;
        QCOMPARE(request.parameters.sourcePath, files[0]);
        QCOMPARE(request.parameters.outputPath, files[1]);
        QCOMPARE(request.parameters.sizeFactor, size);
        QCOMPARE(int(request.parameters.detail), detail);
        QCOMPARE(request.rampGiven ? request.parameters.ramp : shippedRamp, ramp);
        QCOMPARE(switchesOf(request), switches);
    }

    void refuses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        // Details 0 and 256, a decimal comma and "nan" are among the model comparison's usage errors.
        // Read with grouping, "1,500" meant as one and a half would be fifteen hundred.
        QTest::newRow("size with a thousands comma") << QStringList{"--size", "1,500"} + files;
        QTest::newRow("size not a number") << QStringList{"--size", "big"} + files;
        QTest::newRow("size inf") << QStringList{"--size=inf"} + files;
        QTest::newRow("size beyond a float") << QStringList{"--size", "1e39"} + files;
        QTest::newRow("detail in words") << QStringList{"--detail", "ten"} + files;
        QTest::newRow("detail with a fraction") << QStringList{"--detail", "10.5"} + files;
        QTest::newRow("only the source") << QStringList{"in.png"};
        QTest::newRow("three file names") << files + QStringList{"extra.txt"};
        QTest::newRow("unknown option") << QStringList{"--colour"} + files;
        QTest::newRow("ramp with LF") << QStringList{"--ramp", " .\n:#"} + files;
        QTest::newRow("ramp with CR") << QStringList{"--ramp= .:#\r"} + files;
        QTest::newRow("several sources without a folder") << files + QStringList{"more.png"};
        QTest::newRow("--columns and --size") << QStringList{"--columns", "80", "--size", "2"} + files;
        QTest::newRow("--columns 0") << QStringList{"--columns", "0"} + files;
        // 4096 cells of 8 pixels pass the 32767 a side may have.
        QTest::newRow("--columns wider than a side") << QStringList{"--columns", "4096"} + files;
        QTest::newRow("--format of no kind") << QStringList{"--format", "pdf"} + files;
        QTest::newRow("--jobs 0") << QStringList{"--jobs", "0", "--output-dir", "art"} + files;
        QTest::newRow("--open on standard output") << QStringList{"--open", "in.png", "-"};
    }
    void refuses()
    {
        QFETCH(QStringList, arguments);
        const CliParse result = parse(arguments);
        QVERIFY(!result.request);
        QCOMPARE(result.exitCode, CliExit::usage);
        QVERIFY2(result.text.startsWith(QStringLiteral("glyphsmith-cli: ")), qPrintable(result.text));
        QVERIFY2(result.text.contains(QStringLiteral("--help")), qPrintable(result.text));
    }

    void help_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("--help") << QStringLiteral("--help");
        QTest::newRow("--help-all") << QStringLiteral("--help-all");
    }
    void help()
    {
        QFETCH(QString, option);
        const CliParse result = parse({option});
        QVERIFY(!result.request);
        QCOMPARE(result.exitCode, CliExit::success);
        const QString text = result.text.simplified();
        for (const char *expected : {"SOURCE", "OUTPUT", "--ramp <TEXT>", "--size <FACTOR>", "--detail <POINTS>", "--no-reminder",
                                     "--open", "--quiet", "--version", "0 written", "1 refused", "2 wrong arguments",
                                     "ends by that same signal", "/dev/stdout", "--columns <N>",
                                     "--invert", "--format <KIND>", "--output-dir <DIR>", "--jobs <N>", "- for standard output"})
            QVERIFY2(text.contains(QLatin1String(expected)), expected);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
