#include "CommandLine.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTest>

namespace {

const QStringList files{QStringLiteral("in.png"), QStringLiteral("out.txt")};

CliParse parse(const QStringList &arguments)
{
    return parseCommandLine(QStringList{QStringLiteral("glyphsmith-cli")} + arguments);
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void defaults()
    {
        const CliParse result = parse(files);
        QVERIFY(result.request);
        QCOMPARE(result.exitCode, CliExit::success);
        const CliRequest &request = *result.request;
        QCOMPARE(request.parameters.sourcePath, QStringLiteral("in.png"));
        QCOMPARE(request.parameters.outputPath, QStringLiteral("out.txt"));
        QCOMPARE(request.parameters.sizeFactor, 1.0f);
        QCOMPARE(int(request.parameters.detail), 10);
        QVERIFY(request.parameters.fontReminder);
        QVERIFY(!request.rampGiven);
        QVERIFY(!request.open);
        QVERIFY(!request.quiet);
    }

    void numbers_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<float>("size");
        QTest::addColumn<int>("detail");
        QTest::newRow("--size value") << QStringList{"--size", "2.5"} + files << 2.5f << 10;
        QTest::newRow("--size=value") << QStringList{"--size=2.5"} + files << 2.5f << 10;
        // A negative factor is a value, not an option, whichever way it is attached.
        QTest::newRow("--size -2") << QStringList{"--size", "-2"} + files << -2.0f << 10;
        QTest::newRow("--size=-2") << QStringList{"--size=-2"} + files << -2.0f << 10;
        QTest::newRow("point decimal") << QStringList{"--size", "0.5"} + files << 0.5f << 10;
        QTest::newRow("leading point") << QStringList{"--size", ".25"} + files << 0.25f << 10;
        QTest::newRow("exponent") << QStringList{"--size", "1e2"} + files << 100.0f << 10;
        QTest::newRow("zero is left to the engine") << QStringList{"--size", "0"} + files << 0.0f << 10;
        QTest::newRow("--detail value") << QStringList{"--detail", "12"} + files << 1.0f << 12;
        QTest::newRow("--detail=value") << QStringList{"--detail=12"} + files << 1.0f << 12;
        QTest::newRow("smallest detail") << QStringList{"--detail", "1"} + files << 1.0f << 1;
        QTest::newRow("largest detail") << QStringList{"--detail", "255"} + files << 1.0f << 255;
        QTest::newRow("leading zero detail") << QStringList{"--detail", "08"} + files << 1.0f << 8;
        QTest::newRow("both after the files") << files + QStringList{"--detail", "3", "--size", "4"} << 4.0f << 3;
    }
    void numbers()
    {
        QFETCH(QStringList, arguments);
        QFETCH(float, size);
        QFETCH(int, detail);
        const CliParse result = parse(arguments);
        QVERIFY2(result.request, qPrintable(result.text));
        QCOMPARE(result.request->parameters.sizeFactor, size);
        QCOMPARE(int(result.request->parameters.detail), detail);
    }

    void ramp_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("given");
        QTest::addColumn<QString>("ramp");
        QTest::newRow("not given") << QStringList() << false << QString();
        QTest::newRow("separate value") << QStringList{"--ramp", " .:#"} << true << QStringLiteral(" .:#");
        QTest::newRow("attached value") << QStringList{"--ramp= .:#"} << true << QStringLiteral(" .:#");
        // Given but empty is the user's choice, refused later by the run, not replaced by the default.
        QTest::newRow("empty separate value") << QStringList{"--ramp", ""} << true << QString();
        QTest::newRow("empty attached value") << QStringList{"--ramp="} << true << QString();
        QTest::newRow("starts with a dash") << QStringList{"--ramp=-+#"} << true << QStringLiteral("-+#");
        QTest::newRow("non-ASCII characters") << QStringList{"--ramp", QStringLiteral(" \u00B7\u20AC")} << true
                                              << QStringLiteral(" \u00B7\u20AC");
    }
    void ramp()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, given);
        QFETCH(QString, ramp);
        const CliParse result = parse(options + files);
        QVERIFY2(result.request, qPrintable(result.text));
        QCOMPARE(result.request->rampGiven, given);
        if (given)
            QCOMPARE(result.request->parameters.ramp, ramp);
    }

    void switches_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("reminder");
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("quiet");
        QTest::newRow("none") << QStringList() << true << false << false;
        QTest::newRow("--no-reminder") << QStringList{"--no-reminder"} << false << false << false;
        QTest::newRow("--open") << QStringList{"--open"} << true << true << false;
        QTest::newRow("--quiet") << QStringList{"--quiet"} << true << false << true;
        QTest::newRow("all three") << QStringList{"--quiet", "--open", "--no-reminder"} << false << true << true;
    }
    void switches()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, reminder);
        QFETCH(bool, open);
        QFETCH(bool, quiet);
        const CliParse result = parse(options + files);
        QVERIFY2(result.request, qPrintable(result.text));
        QCOMPARE(result.request->parameters.fontReminder, reminder);
        QCOMPARE(result.request->open, open);
        QCOMPARE(result.request->quiet, quiet);
    }

    void fileNames_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("output");
        QTest::newRow("source first") << QStringList{"b.png", "a.txt"} << QStringLiteral("b.png") << QStringLiteral("a.txt");
        QTest::newRow("options between") << QStringList{"b.png", "--quiet", "a.txt"} << QStringLiteral("b.png")
                                         << QStringLiteral("a.txt");
        QTest::newRow("names with dashes after --") << QStringList{"--", "-b.png", "--a.txt"} << QStringLiteral("-b.png")
                                                    << QStringLiteral("--a.txt");
        QTest::newRow("spaces kept") << QStringList{"my picture.png", "my art.txt"} << QStringLiteral("my picture.png")
                                     << QStringLiteral("my art.txt");
    }
    void fileNames()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, source);
        QFETCH(QString, output);
        const CliParse result = parse(arguments);
        QVERIFY2(result.request, qPrintable(result.text));
        QCOMPARE(result.request->parameters.sourcePath, source);
        QCOMPARE(result.request->parameters.outputPath, output);
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addRow("size with a comma") << QStringList{"--size", "0,5"} + files;
        // With grouping allowed, "1,500" meant as one and a half would be read as fifteen hundred.
        QTest::addRow("size with a thousands comma") << QStringList{"--size", "1,500"} + files;
        QTest::addRow("size not a number") << QStringList{"--size", "big"} + files;
        QTest::addRow("size empty") << QStringList{"--size="} + files;
        QTest::addRow("size nan") << QStringList{"--size", "nan"} + files;
        QTest::addRow("size inf") << QStringList{"--size", "inf"} + files;
        QTest::addRow("size -inf") << QStringList{"--size=-inf"} + files;
        QTest::addRow("size beyond a float") << QStringList{"--size", "1e39"} + files;
        QTest::addRow("size hexadecimal") << QStringList{"--size", "0x2"} + files;
        QTest::addRow("size two points") << QStringList{"--size", "1.5.2"} + files;
        QTest::addRow("size value missing") << files + QStringList{"--size"};
        QTest::addRow("detail 0") << QStringList{"--detail", "0"} + files;
        QTest::addRow("detail 256") << QStringList{"--detail", "256"} + files;
        QTest::addRow("detail negative") << QStringList{"--detail=-1"} + files;
        QTest::addRow("detail in words") << QStringList{"--detail", "ten"} + files;
        QTest::addRow("detail with a fraction") << QStringList{"--detail", "10.5"} + files;
        QTest::addRow("detail hexadecimal") << QStringList{"--detail", "0x10"} + files;
        QTest::addRow("detail empty") << QStringList{"--detail="} + files;
        QTest::addRow("no file names") << QStringList();
        QTest::addRow("only the source") << QStringList{"in.png"};
        QTest::addRow("three file names") << files + QStringList{"extra.txt"};
        QTest::addRow("unknown option") << QStringList{"--colour"} + files;
        QTest::addRow("switch with a value") << QStringList{"--quiet=yes"} + files;
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        const CliParse result = parse(arguments);
        QVERIFY(!result.request);
        QCOMPARE(result.exitCode, CliExit::usage);
        QVERIFY2(result.text.startsWith(QStringLiteral("glyphsmith-cli: ")), qPrintable(result.text));
        QVERIFY2(result.text.contains(QStringLiteral("--help")), qPrintable(result.text));
    }

    // The factor is read the same way whatever the user's locale, so scripts behave alike everywhere.
    void sizeIgnoresTheLocale_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<float>("factor");
        QTest::newRow("point decimal") << QStringLiteral("0.5") << true << 0.5f;
        QTest::newRow("point is not grouping") << QStringLiteral("1.000") << true << 1.0f;
        QTest::newRow("comma decimal") << QStringLiteral("0,5") << false << 0.0f;
    }
    void sizeIgnoresTheLocale()
    {
        QFETCH(QString, size);
        QFETCH(bool, accepted);
        QFETCH(float, factor);
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const CliParse result = parse(QStringList{"--size", size} + files);
        QLocale::setDefault(previous);
        QCOMPARE(bool(result.request), accepted);
        if (accepted)
            QCOMPARE(result.request->parameters.sizeFactor, factor);
        else
            QCOMPARE(result.exitCode, CliExit::usage);
    }

    void help_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("--help") << QStringLiteral("--help");
        QTest::newRow("-h") << QStringLiteral("-h");
        QTest::newRow("--help-all") << QStringLiteral("--help-all");
    }
    void help()
    {
        QFETCH(QString, option);
        const CliParse result = parse({option});
        QCOMPARE(result.exitCode, CliExit::success);
        QVERIFY(!result.request);
        QVERIFY(result.text.contains(QStringLiteral("SOURCE")));
    }

    void helpDocumentsEveryOption_data()
    {
        QTest::addColumn<QString>("pattern");
        for (const char *option : {"--ramp <TEXT>", "--size <FACTOR>", "--detail <POINTS>", "--no-reminder", "--open",
                                   "--quiet", "--help", "--version"})
            QTest::newRow(option) << QRegularExpression::escape(QLatin1String(option));
        QTest::newRow("exit 0") << QStringLiteral("\\b0 written");
        QTest::newRow("exit 1") << QStringLiteral("\\b1 refused");
        QTest::newRow("exit 2") << QStringLiteral("\\b2 wrong arguments");
        QTest::newRow("exit 3") << QStringLiteral("\\b3 interrupted");
        QTest::newRow("default detail") << QStringLiteral("default: 10");
        QTest::newRow("default size") << QStringLiteral("default: 1\\)");
        QTest::newRow("default ramp") << QStringLiteral("Formats\\.TXT");
    }
    void helpDocumentsEveryOption()
    {
        QFETCH(QString, pattern);
        const QString help = parse({QStringLiteral("--help")}).text.simplified();
        QVERIFY2(help.contains(QRegularExpression(pattern)), qPrintable(help));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
