#include "CliProcess.h"
#include "FolderState.h"
#include "PseudoTerminal.h"
#include "TestPicture.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSize>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString notLoaded = QStringLiteral("The Source Picture Could Not Be Loaded");
const QString replacesSource = QStringLiteral("The ASCII Picture Cannot Replace The Source Picture");
const QString notSaved = QStringLiteral("The ASCII Picture Could Not Be Saved");
const QString tooSmall = QStringLiteral("The Picture Is Smaller Than One Character At This Size And Detail");
const QString tooLarge = QStringLiteral("The Picture Is Too Large At This Size (32767 Pixels Per Side At Most)");
const QString emptyRamp = QStringLiteral("Select The Characters For Your ASCII Art First");

const QByteArray precious("an earlier picture, not to be lost\r\n");

// At detail 10 a cell is 8 x 13 pixels, so this picture is 10 x 4 cells, split in the middle.
const QSize halves(80, 52);
const QByteArray halvesRow("aaaaabbbbb");

QByteArray errorLine(const QString &message) { return "glyphsmith-cli: " + message.toUtf8() + '\n'; }

bool writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The lines of plain-text art written without the reminder: the rows, then an empty line.
QList<QByteArray> artRows(const QByteArray &file)
{
    const QList<QByteArray> lines = file.split('\n');
    QList<QByteArray> rows;
    for (const QByteArray &line : lines) {
        if (line == "\r" || !line.endsWith('\r'))
            break;
        rows << line.chopped(1);
    }
    return rows;
}

// The source pictures and other entries the refusal cases point at, all in one folder.
bool makeFixture(const QString &folder)
{
    const QDir dir(folder);
    if (!writeHalvesPicture(dir.filePath("pic.png"), halves) || !writeHalvesPicture(dir.filePath("whole.jpg"), halves))
        return false;
    const QByteArray jpeg = contentsOf(dir.filePath("whole.jpg"));
    const qsizetype scan = jpeg.indexOf("\xFF\xDA"); // start of the picture data
    return scan > 0 && writeFile(dir.filePath("cut-header.jpg"), jpeg.left(scan / 2))
        && writeFile(dir.filePath("cut-data.jpg"), jpeg.left(scan + (jpeg.size() - scan) / 2))
        && writeFile(dir.filePath("cut.png"), contentsOf(dir.filePath("pic.png")).chopped(20))
        && writeHalvesPicture(dir.filePath("tiny.png"), QSize(5, 5))
        && writeHalvesPicture(dir.filePath("narrow.png"), QSize(7, 100))
        && writeHalvesPicture(dir.filePath("wide.png"), QSize(200, 200))
        && writeFile(dir.filePath("empty.png"), QByteArray())
        && writeFile(dir.filePath("notes.jpg"), "not a picture at all\r\n")
        && dir.mkdir("sub") && dir.mkdir("folder.txt")
        && QFile::link(QStringLiteral("pic.png"), dir.filePath("link.txt"));
}

QStringList withFolder(QStringList arguments, const QString &folder)
{
    arguments.replaceInStrings(QStringLiteral("{dir}"), folder);
    return arguments;
}

} // namespace

class TestCliProcess : public QObject
{
    Q_OBJECT

private slots:
    void writesTheArt_data()
    {
        QTest::addColumn<QSize>("pictureSize");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<int>("rows");
        const QStringList ab{"--ramp", "ab"};
        QTest::newRow("whole cells") << halves << ab << halvesRow << 4;
        // 85 x 60 holds 10 x 4 whole cells; the rest is trimmed away.
        QTest::newRow("partial cells trimmed") << QSize(85, 60) << ab << halvesRow << 4;
        QTest::newRow("detail 20, 16 x 27 cells") << QSize(64, 54) << ab + QStringList{"--detail", "20"} << QByteArray("aabb") << 2;
        QTest::newRow("detail 1, one pixel a cell") << QSize(6, 3) << ab + QStringList{"--detail", "1"} << QByteArray("aaabbb") << 3;
        QTest::newRow("detail 255, one row of 204 x 340 cells")
            << QSize(408, 340) << ab + QStringList{"--detail", "255"} << QByteArray("ab") << 1;
        QTest::newRow("size 2") << QSize(40, 26) << ab + QStringList{"--size", "2"} << halvesRow << 4;
        QTest::newRow("size 0.5") << QSize(160, 104) << ab + QStringList{"--size=0.5"} << halvesRow << 4;
        QTest::newRow("negative size leaves it unscaled") << halves << ab + QStringList{"--size", "-2"} << halvesRow << 4;
        QTest::newRow("ramp in Windows-1252")
            << halves << QStringList{"--ramp", QStringLiteral("\u00B7\u20AC")} << QByteArray("\xB7\xB7\xB7\xB7\xB7\x80\x80\x80\x80\x80") << 4;
    }
    void writesTheArt()
    {
        QFETCH(QSize, pictureSize);
        QFETCH(QStringList, options);
        QFETCH(QByteArray, row);
        QFETCH(int, rows);
        QTemporaryDir dir;
        const QString source = dir.filePath("pic.png"), output = dir.filePath("art.txt");
        QVERIFY(writeHalvesPicture(source, pictureSize));

        const CliRun run = runCli(options + QStringList{"--no-reminder", source, output});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.standardOutput, QByteArray());
        // stderr is a pipe here, not a terminal, so no progress either.
        QCOMPARE(run.standardError, QByteArray());
        QCOMPARE(artRows(contentsOf(output)), QList<QByteArray>(rows, row));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({"art.txt", "pic.png"}));
    }

    void reminder_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("reminded");
        QTest::newRow("text by default") << QStringLiteral("art.txt") << QStringList() << true;
        QTest::newRow("HTML by default") << QStringLiteral("art.htm") << QStringList() << true;
        QTest::newRow("text with --no-reminder") << QStringLiteral("art.txt") << QStringList{"--no-reminder"} << false;
        QTest::newRow("HTML with --no-reminder") << QStringLiteral("art.html") << QStringList{"--no-reminder"} << false;
        QTest::newRow("never in rich text") << QStringLiteral("art.rtf") << QStringList() << false;
    }
    void reminder()
    {
        QFETCH(QString, output);
        QFETCH(QStringList, options);
        QFETCH(bool, reminded);
        QTemporaryDir dir;
        QVERIFY(writeHalvesPicture(dir.filePath("pic.png"), halves));
        const CliRun run = runCli(options + QStringList{"--ramp", "ab", dir.filePath("pic.png"), dir.filePath(output)});
        QCOMPARE(run.exitCode, 0);
        const QByteArray art = contentsOf(dir.filePath(output));
        // The reminder names the font and the size the art needs, before the first row.
        const qsizetype firstRow = art.indexOf("aaaaabbbbb");
        QVERIFY(firstRow >= 0);
        QCOMPARE(art.left(firstRow).contains("size to 10"), reminded);
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing source") << QStringList{"missing.png", "out.txt"} << notLoaded;
        QTest::newRow("empty source") << QStringList{"empty.png", "out.txt"} << notLoaded;
        QTest::newRow("text named as a JPEG") << QStringList{"notes.jpg", "out.txt"} << notLoaded;
        QTest::newRow("JPEG cut in its header") << QStringList{"cut-header.jpg", "out.txt"} << notLoaded;
        QTest::newRow("JPEG cut in its picture data") << QStringList{"cut-data.jpg", "out.txt"} << notLoaded;
        QTest::newRow("PNG cut short") << QStringList{"cut.png", "out.txt"} << notLoaded;
        QTest::newRow("source is a folder") << QStringList{"sub", "out.txt"} << notLoaded;
        QTest::newRow("output is the source") << QStringList{"pic.png", "pic.png"} << replacesSource;
        QTest::newRow("output through dir/..") << QStringList{"pic.png", "sub/../pic.png"} << replacesSource;
        QTest::newRow("output through ./") << QStringList{"pic.png", "./pic.png"} << replacesSource;
        QTest::newRow("output by its full path") << QStringList{"pic.png", "{dir}/pic.png"} << replacesSource;
        QTest::newRow("output links to the source") << QStringList{"pic.png", "link.txt"} << replacesSource;
        QTest::newRow("output folder missing") << QStringList{"pic.png", "nowhere/out.txt"} << notSaved;
        QTest::newRow("output is a folder") << QStringList{"pic.png", "folder.txt"} << notSaved;
        QTest::newRow("size 0") << QStringList{"--size", "0", "pic.png", "out.txt"} << tooSmall;
        QTest::newRow("picture smaller than a cell") << QStringList{"tiny.png", "out.txt"} << tooSmall;
        QTest::newRow("narrower than a cell") << QStringList{"narrow.png", "out.txt"} << tooSmall;
        QTest::newRow("shrunk below a cell") << QStringList{"--size", "0.05", "pic.png", "out.txt"} << tooSmall;
        QTest::newRow("a cell larger than the picture") << QStringList{"--detail", "60", "pic.png", "out.txt"} << tooSmall;
        QTest::newRow("200 pixels at size 200") << QStringList{"--size", "200", "wide.png", "out.txt"} << tooLarge;
        QTest::newRow("size 1e30") << QStringList{"--size", "1e30", "pic.png", "out.txt"} << tooLarge;
        QTest::newRow("empty ramp") << QStringList{"--ramp", "", "pic.png", "out.txt"} << emptyRamp;
        QTest::newRow("empty attached ramp") << QStringList{"--ramp=", "pic.png", "out.txt"} << emptyRamp;
    }
    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        // Each case runs once with no output yet and, where a file can stand there, once over an earlier one.
        for (const bool outputExists : {false, true}) {
            QTemporaryDir dir;
            QVERIFY(makeFixture(dir.path()));
            const QFileInfo output(QDir(dir.path()).filePath(withFolder(arguments, dir.path()).last()));
            if (outputExists) {
                if (output.exists() || !output.dir().exists())
                    continue;
                QVERIFY(writeFile(output.filePath(), precious));
            }
            const FolderState before(dir.path());
            CliLaunch launch;
            launch.workingDirectory = dir.path();
            const CliRun run = runCli(withFolder(arguments, dir.path()), launch);
            QVERIFY(run.finished);
            QCOMPARE(run.exitCode, 1);
            QCOMPARE(run.standardError, errorLine(message));
            QCOMPARE(run.standardOutput, QByteArray());
            const FolderState after(dir.path());
            QVERIFY2(after == before, qPrintable(after.differencesFrom(before)));
            QVERIFY(QDir(dir.filePath("sub")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
        }
    }

    void readOnlyOutput_data()
    {
        QTest::addColumn<bool>("outputExists");
        QTest::newRow("new file in a read-only folder") << false;
        QTest::newRow("read-only file in a read-only folder") << true;
    }
    void readOnlyOutput()
    {
        QFETCH(bool, outputExists);
        QTemporaryDir dir;
        QVERIFY(writeHalvesPicture(dir.filePath("pic.png"), halves));
        const QString folder = dir.filePath("locked");
        QVERIFY(QDir(dir.path()).mkdir("locked"));
        const QString output = folder + "/out.txt";
        if (outputExists) {
            QVERIFY(writeFile(output, precious));
            QVERIFY(QFile::setPermissions(output, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        }
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup));
        const auto unlock = qScopeGuard([&] { QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
        if (writeFile(folder + "/probe", "x"))
            QSKIP("Running as root, for whom folder permissions are not enforced, so nothing is refused");

        const FolderState before(folder);
        const CliRun run = runCli({dir.filePath("pic.png"), output});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.standardError, errorLine(notSaved));
        const FolderState after(folder);
        QVERIFY2(after == before, qPrintable(after.differencesFrom(before)));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("locale");
        QTest::newRow("detail 0") << QStringList{"--detail", "0", "pic.png", "out.txt"} << QString();
        QTest::newRow("detail 256") << QStringList{"--detail=256", "pic.png", "out.txt"} << QString();
        QTest::newRow("size nan") << QStringList{"--size", "nan", "pic.png", "out.txt"} << QString();
        QTest::newRow("size inf") << QStringList{"--size=inf", "pic.png", "out.txt"} << QString();
        QTest::newRow("comma size in a comma locale") << QStringList{"--size", "0,5", "pic.png", "out.txt"}
                                                      << QStringLiteral("de_DE.UTF-8");
        QTest::newRow("output missing") << QStringList{"pic.png"} << QString();
        QTest::newRow("extra file name") << QStringList{"pic.png", "out.txt", "more.txt"} << QString();
        QTest::newRow("unknown option") << QStringList{"--colour", "pic.png", "out.txt"} << QString();
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, locale);
        for (const bool outputExists : {false, true}) {
            QTemporaryDir dir;
            QVERIFY(writeHalvesPicture(dir.filePath("pic.png"), halves));
            if (outputExists)
                QVERIFY(writeFile(dir.filePath("out.txt"), precious));
            const FolderState before(dir.path());
            CliLaunch launch;
            launch.workingDirectory = dir.path();
            if (!locale.isEmpty()) {
                launch.environment.insert("LC_ALL", locale);
                launch.environment.insert("LANG", locale);
            }
            const CliRun run = runCli(arguments, launch);
            QVERIFY(run.finished);
            QCOMPARE(run.exitCode, 2);
            QCOMPARE(run.standardOutput, QByteArray());
            QVERIFY2(run.standardError.startsWith("glyphsmith-cli: "), run.standardError.constData());
            const FolderState after(dir.path());
            QVERIFY2(after == before, qPrintable(after.differencesFrom(before)));
        }
    }

    void helpAndVersion()
    {
        const CliRun help = runCli({"--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.standardOutput.contains("--detail <POINTS>"));
        QCOMPARE(help.standardError, QByteArray());

        const CliRun version = runCli({"--version"});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.standardOutput, QByteArray("glyphsmith-cli " GLYPHSMITH_VERSION "\n"));
    }

    // The default ramp is read from the program's own folder, so a copy of the program is run
    // beside a ramp file of the test's making.
    void defaultRamp_data()
    {
        QTest::addColumn<QByteArray>("formats");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("first line") << QByteArray("ab\r\nXY\r\n") << QStringList() << halvesRow << QString();
        QTest::newRow("only line, no line end") << QByteArray("ab") << QStringList() << halvesRow << QString();
        QTest::newRow("Windows-1252 line") << QByteArray("\xB7\x80\r\n") << QStringList()
                                           << QByteArray("\xB7\xB7\xB7\xB7\xB7\x80\x80\x80\x80\x80") << QString();
        QTest::newRow("--ramp wins") << QByteArray("ab\r\n") << QStringList{"--ramp", "XY"} << QByteArray("XXXXXYYYYY")
                                     << QString();
        QTest::newRow("first line empty") << QByteArray("\r\nab\r\n") << QStringList() << QByteArray() << emptyRamp;
        QTest::newRow("no ramp file") << QByteArray() << QStringList() << QByteArray() << emptyRamp;
    }
    void defaultRamp()
    {
        QFETCH(QByteArray, formats);
        QFETCH(QStringList, options);
        QFETCH(QByteArray, row);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        CliLaunch launch;
        launch.program = dir.filePath("glyphsmith-cli");
        QVERIFY(QFile::copy(cliProgram(), launch.program));
        if (!formats.isEmpty())
            QVERIFY(writeFile(dir.filePath("Formats.TXT"), formats));
        QVERIFY(writeHalvesPicture(dir.filePath("pic.png"), halves));

        const CliRun run = runCli(options + QStringList{"--no-reminder", dir.filePath("pic.png"), dir.filePath("art.txt")}, launch);
        if (!refusal.isEmpty()) {
            QCOMPARE(run.exitCode, 1);
            QCOMPARE(run.standardError, errorLine(refusal));
            QVERIFY(!QFile::exists(dir.filePath("art.txt")));
            return;
        }
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(artRows(contentsOf(dir.filePath("art.txt"))), QList<QByteArray>(4, row));
    }

    void shippedRampIsBesideTheProgram()
    {
        const QByteArray formats = contentsOf(QFileInfo(cliProgram()).dir().filePath("Formats.TXT"));
        const QByteArray ramp = formats.left(formats.indexOf("\r\n"));
        QVERIFY2(ramp.size() >= 2, "the build puts Formats.TXT beside the program");
        QTemporaryDir dir;
        QVERIFY(writeHalvesPicture(dir.filePath("pic.png"), halves));
        const CliRun run = runCli({"--no-reminder", dir.filePath("pic.png"), dir.filePath("art.txt")});
        QCOMPARE(run.exitCode, 0);
        const QByteArray row = QByteArray(5, ramp.front()) + QByteArray(5, ramp.back());
        QCOMPARE(artRows(contentsOf(dir.filePath("art.txt"))), QList<QByteArray>(4, row));
    }

    void progressOnlyOnATerminal_data()
    {
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<bool>("quiet");
        QTest::newRow("terminal") << true << false;
        QTest::newRow("terminal, --quiet") << true << true;
        QTest::newRow("pipe") << false << false;
    }
    void progressOnlyOnATerminal()
    {
        QFETCH(bool, terminal);
        QFETCH(bool, quiet);
        QTemporaryDir dir;
        QVERIFY(writeGradientPicture(dir.filePath("pic.png"), QSize(800, 520)));
        PseudoTerminal tty;
        CliLaunch launch;
        if (terminal) {
            if (!tty.isOpen())
                QSKIP("This machine gives out no pseudo-terminal");
            launch.standardErrorFile = tty.devicePath();
        }
        const QStringList options = quiet ? QStringList{"--quiet"} : QStringList();
        const CliRun run = runCli(options + QStringList{dir.filePath("pic.png"), dir.filePath("art.txt")}, launch);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.standardError, QByteArray());
        const QByteArray shown = tty.readAvailable();
        if (terminal && !quiet) {
            QVERIFY2(shown.contains('%'), shown.constData());
            // The line is rubbed out at the end so the shell prompt starts clean.
            QVERIFY2(shown.endsWith("\r\033[K"), shown.constData());
        } else {
            QCOMPARE(shown, QByteArray());
        }
    }
};

QTEST_GUILESS_MAIN(TestCliProcess)
#include "tst_cliprocess.moc"
