#include "cli/CommandLine.h"
#include "cli/TerminalColour.h"
#include "engine/text/OutputKind.h"
#include "engine/text/OutputKinds.h"
#include "tests/TestFiles.h"

#include <QDir>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <pty.h>
#include <sys/stat.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

namespace {

// Generous for a sanitizer build on a busy machine; the runs here take well under a second or two.
constexpr int timeLimitMs = 60000;
const QString cli = QStringLiteral(GLYPHSMITH_CLI);
const char *const noExfat = "No exFAT volume: it needs root, a loop device, mkfs.exfat and mount.exfat-fuse";
// At detail 10 a cell is 8 x 13 pixels, so this picture is 10 x 4 cells, white on the left half.
const QSize halves(80, 52);

// The exit code, or -1 when the program did not start, crashed or outlived the time limit.
int run(QProcess &process, const QStringList &arguments, const QString &program = cli)
{
    process.start(program, arguments);
    if (!process.waitForFinished(timeLimitMs))
        process.kill();
    process.waitForFinished();
    return process.exitStatus() == QProcess::NormalExit && process.error() != QProcess::FailedToStart ? process.exitCode() : -1;
}

bool writeHalvesPicture(const QString &path, const QSize &size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::black);
    for (int y = 0; y < size.height(); ++y)
        std::fill_n(reinterpret_cast<QRgb *>(picture.scanLine(y)), size.width() / 2, qRgb(255, 255, 255));
    return picture.save(path);
}

// Every entry with a digest of its bytes: comparing two shows a file written, changed, lost or left behind.
QStringList folderState(const QString &folder)
{
    QStringList state;
    for (const QFileInfo &entry : QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        state << entry.fileName() + u' ' + QString::number(qHash(contentsOf(entry.filePath())));
    return state;
}

// While reading: whether the process has its own handlers for SIGINT, SIGTERM and SIGHUP yet. While writing:
// whether it holds a file open in `folder`, the art, unnamed or temporary until it is complete.
bool reached(bool writing, qint64 pid, const QString &folder)
{
    if (!writing) {
        const QByteArray status = contentsOf(QStringLiteral("/proc/%1/status").arg(pid));
        const qulonglong caught = status.mid(status.indexOf("SigCgt:") + 7, 17).trimmed().toULongLong(nullptr, 16);
        const qulonglong wanted = (1ULL << (SIGINT - 1)) | (1ULL << (SIGTERM - 1)) | (1ULL << (SIGHUP - 1));
        return (caught & wanted) == wanted;
    }
    // Qt's own listing leaves out links to deleted files, which an unnamed file is.
    const std::string prefix = QFile::encodeName(folder + u'/').toStdString();
    std::error_code error;
    for (const auto &fd : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        if (std::filesystem::read_symlink(fd.path(), error).native().starts_with(prefix))
            return true;
    }
    return false;
}

const QStringList files{QStringLiteral("in.png"), QStringLiteral("out.txt")};
const QString shippedRamp = QStringLiteral("(shipped ramp)");

CliParse parse(const QStringList &arguments) { return parseCommandLine(QStringList{QStringLiteral("glyphsmith-cli")} + arguments); }

} // namespace

// The command-line converter: its arguments as parsed, and the built converter run as a process.
class TestConverter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // At detail 1 every pixel is a cell: 24 million cells keep a run going for a good second.
        QVERIFY(writeHalvesPicture(m_shared.filePath("big.jpg"), QSize(6000, 4000)));
        // 32767 x 32767 grey pixels that take seconds to decode, 13 MB once uncompressed.
        QVERIFY(writeFile(m_shared.filePath("slow.png"), qUncompress(contentsOf(GLYPHSMITH_TEST_DATA "/large/slow.png.qz"))));
        // The converter alone, without a Formats.TXT beside it, nor the user's or an installed one.
        QVERIFY(QDir(m_shared.path()).mkdir("bare") && QFile::copy(cli, m_shared.filePath("bare/glyphsmith-cli")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_shared.filePath("data-home")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_shared.filePath("data-dir")));
        QVERIFY(writeFile(m_shared.filePath("cut.jpg"), contentsOf(m_shared.filePath("big.jpg")).left(2000)));
        QVERIFY(mkfifo(QFile::encodeName(m_shared.filePath("fifo.png")).constData(), 0600) == 0);
        // Started in the background, the suite would hand its ignored SIGINT on to every run.
        std::signal(SIGINT, SIG_DFL);
        m_exfat = mountExfat();
        // A comma locale, so that a factor read the user's way instead of the C way shows up.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    void cleanupTestCase()
    {
        QProcess process;
        if (!m_exfat.isEmpty())
            run(process, {m_exfat}, "umount");
        if (!m_loopDevice.isEmpty())
            run(process, {"-d", m_loopDevice}, "losetup");
    }

    void accepts_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<float>("size");
        QTest::addColumn<int>("detail");
        QTest::addColumn<QString>("ramp");
        // Values given either way for --size, --detail and --ramp are the model comparison's too.
        QTest::newRow("defaults") << files << 1.0f << 10 << shippedRamp;
        // A negative factor is a value, not an option, whichever way it is attached.
        QTest::newRow("--size -2") << QStringList{"--size", "-2"} + files << -2.0f << 10 << shippedRamp;
        QTest::newRow("--size=-2") << QStringList{"--size=-2"} + files << -2.0f << 10 << shippedRamp;
        QTest::newRow("point is never grouping") << QStringList{"--size", "1.000"} + files << 1.0f << 10 << shippedRamp;
        QTest::newRow("--detail=value") << QStringList{"--detail=255"} + files << 1.0f << 255 << shippedRamp;
        // Given but empty is the user's choice, refused by the run, not replaced by the shipped ramp.
        QTest::newRow("--ramp= empty") << QStringList{"--ramp="} + files << 1.0f << 10 << "";
        QTest::newRow("--quiet between the files") << QStringList{"in.png", "--quiet", "out.txt"} << 1.0f << 10 << shippedRamp;
        QTest::newRow("all switches after the files")
            << files + QStringList{"--quiet", "--no-reminder", "--open"} << 1.0f << 10 << shippedRamp;
    }
    void accepts()
    {
        QFETCH(QStringList, arguments);
        QFETCH(float, size);
        QFETCH(int, detail);
        QFETCH(QString, ramp);
        const CliParse result = parse(arguments);
        QVERIFY2(result.request, qPrintable(result.text));
        const CliRequest &request = *result.request;
        QCOMPARE(request.parameters.sourcePath, files[0]);
        QCOMPARE(request.parameters.outputPath, files[1]);
        QCOMPARE(request.parameters.sizeFactor, size);
        QCOMPARE(int(request.parameters.detail), detail);
        QCOMPARE(request.rampGiven ? request.parameters.ramp : shippedRamp, ramp);
        QCOMPARE(request.open, arguments.contains("--open"));
        QCOMPARE(request.quiet, arguments.contains("--quiet"));
        QCOMPARE(request.parameters.fontReminder, !arguments.contains("--no-reminder"));
    }

    void refuses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        // Details 0 and 256, a decimal comma and "nan" are among the model comparison's usage errors.
        // Read with grouping, "1,500" meant as one and a half would be fifteen hundred.
        QTest::newRow("size with a thousands comma") << QStringList{"--size", "1,500"} + files;
        QTest::newRow("size inf") << QStringList{"--size=inf"} + files;
        QTest::newRow("size beyond a float") << QStringList{"--size", "1e39"} + files;
        QTest::newRow("detail in words") << QStringList{"--detail", "ten"} + files;
        QTest::newRow("detail with a fraction") << QStringList{"--detail", "10.5"} + files;
        QTest::newRow("only the source") << QStringList{"in.png"};
        QTest::newRow("three file names") << files + QStringList{"extra.txt"};
        QTest::newRow("unknown option") << QStringList{"--colours"} + files;
        QTest::newRow("--colour of no depth") << QStringList{"--colour", "8"} + files;
        QTest::newRow("--colour for a plain text file") << QStringList{"--colour", "256"} + files;
        QTest::newRow("--colour for plain text in a folder") << QStringList{"--colour=16", "--output-dir", "art", "in.png"};
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
        QTest::newRow("--max-memory 0") << QStringList{"--max-memory", "0"} + files;
        QTest::newRow("--max-memory of no unit") << QStringList{"--max-memory=2Q"} + files;
        QTest::newRow("--max-memory past 64 bits") << QStringList{"--max-memory", "9000000T"} + files;
        QTest::newRow("--tone of no mapping") << QStringList{"--tone", "dots"} + files;
        QTest::newRow("--levels for the bands") << QStringList{"--levels", "off"} + files;
        QTest::newRow("--dither of no kind") << QStringList{"--tone", "ink", "--dither", "atkinson"} + files;
        QTest::newRow("--render-scale without --render") << QStringList{"--render-scale", "2"} + files;
        QTest::newRow("--render-scale 0") << QStringList{"--render", "a.png", "--render-scale", "0"} + files;
        QTest::newRow("--render-scale of a fraction") << QStringList{"--render", "a.png", "--render-scale=1.5"} + files;
        QTest::newRow("--render-scale past 8") << QStringList{"--render", "a.png", "--render-scale", "9"} + files;
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

    // Colour where the kind writes it, text on standard output included; auto is for terminals.
    void colourChosen_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("depth"); // ColourDepth
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<bool>("fill");
        QTest::newRow("none given") << QStringList{"in.png", "-"} << int(ColourDepth::none) << true << false;
        QTest::newRow("256 on standard output") << QStringList{"--colour", "256", "in.png", "-"} << int(ColourDepth::palette256) << false << false;
        QTest::newRow("truecolour filled page") << QStringList{"--colour=truecolour", "--colour-fill", "in.png", "out.rtf"}
                                                << int(ColourDepth::truecolour) << false << true;
        QTest::newRow("none for a text file") << QStringList{"--colour", "none"} + files << int(ColourDepth::none) << false << false;
        QTest::newRow("auto for a text file") << QStringList{"--colour", "auto"} + files << int(ColourDepth::none) << true << false;
    }
    void colourChosen()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, depth);
        QFETCH(bool, automatic);
        QFETCH(bool, fill);
        const CliParse result = parse(arguments);
        QVERIFY2(result.request, qPrintable(result.text));
        QCOMPARE(int(result.request->parameters.colour), depth);
        QCOMPARE(result.request->colourAuto, automatic);
        QCOMPARE(result.request->parameters.colourLook == ColourLook::fills, fill);
    }

    void autoColour_data()
    {
        QTest::addColumn<QByteArray>("noColour");
        QTest::addColumn<QByteArray>("colorTerm");
        QTest::addColumn<QByteArray>("term");
        QTest::addColumn<int>("depth");
        QTest::newRow("COLORTERM truecolor") << QByteArray() << QByteArray("truecolor") << QByteArray("xterm") << int(ColourDepth::truecolour);
        QTest::newRow("COLORTERM 24bit") << QByteArray() << QByteArray("24bit") << QByteArray("xterm-256color") << int(ColourDepth::truecolour);
        QTest::newRow("TERM of 256 colours") << QByteArray() << QByteArray() << QByteArray("screen-256color") << int(ColourDepth::palette256);
        QTest::newRow("COLORTERM of no depth") << QByteArray() << QByteArray("yes") << QByteArray("xterm") << int(ColourDepth::palette16);
        QTest::newRow("NO_COLOR wins") << QByteArray("1") << QByteArray("truecolor") << QByteArray("xterm-256color") << int(ColourDepth::none);
        QTest::newRow("NO_COLOR empty is not set") << QByteArray("") << QByteArray() << QByteArray("linux") << int(ColourDepth::palette16);
    }
    void autoColour()
    {
        QFETCH(QByteArray, noColour);
        QFETCH(QByteArray, colorTerm);
        QFETCH(QByteArray, term);
        QFETCH(int, depth);
        QCOMPARE(int(autoColourDepth(noColour, colorTerm, term)), depth);
    }

    // The manual page and the README name exactly the kind table's --format names, and the exit codes.
    void documentsNameKindsAndExitCodes_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("format");    // --format with the list of its kinds as the first group
        QTest::addColumn<QString>("exitCodes"); // the text listing the exit codes
        QTest::addColumn<QString>("exitCode");  // one exit code in that text, as the first group
        QTest::newRow("manual page") << "docs/man/glyphsmith-cli.1" << R"re(\\-\\-format " (\w+(?:\|\w+)+)")re" << R"re(\.SH EXIT STATUS\n(.*?)\n\.SH)re"
                                     << R"re(^\.B (\d+)$)re";
        QTest::newRow("README") << "README.md" << R"re(--format (\w+(?:\|\w+)+))re" << R"re(Exit codes: (.*?)\n\n)re" << R"re((?:^|; )(\d+)\s)re";
    }
    void documentsNameKindsAndExitCodes()
    {
        QFETCH(QString, document);
        QFETCH(QString, format);
        QFETCH(QString, exitCodes);
        QFETCH(QString, exitCode);
        const QString text = QString::fromUtf8(contentsOf(QStringLiteral(GLYPHSMITH_SOURCE_DIR "/") + document));
        QStringList kinds;
        for (const OutputKind *kind : outputKinds())
            kinds << kind->formatName();
        QRegularExpressionMatchIterator formats = QRegularExpression(format).globalMatch(text);
        QVERIFY(formats.hasNext());
        while (formats.hasNext())
            QCOMPARE(formats.next().captured(1).split(u'|'), kinds);
        const QString codes = QRegularExpression(exitCodes, QRegularExpression::DotMatchesEverythingOption).match(text).captured(1);
        QList<int> named;
        for (QRegularExpressionMatchIterator it = QRegularExpression(exitCode, QRegularExpression::MultilineOption).globalMatch(codes); it.hasNext();)
            named << it.next().captured(1).toInt();
        QCOMPARE(named, (QList<int>{CliExit::success, CliExit::refused, CliExit::usage}));
    }

    // The ramp list beside the converter and --ramp are the model comparison's; --render draws the
    // art as well, and the ink measures the ramp's characters as drawn: both need fonts, and so a
    // GUI application without a display.
    void drawsWithFonts_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("row"); // of the art on standard output, for a white left half
        QTest::newRow("--render") << QStringList{"--render", "art.png"} << QByteArray("     @@@@@");
        QTest::newRow("--render-scale 2") << QStringList{"--render", "art.png", "--render-scale", "2"} << QByteArray("     @@@@@");
        QTest::newRow("--tone ink") << QStringList{"--tone", "ink"} << QByteArray("     @@@@@");
        QTest::newRow("--tone=ink --invert: white is the densest") << QStringList{"--tone=ink", "--invert"} << QByteArray("@@@@@     ");
    }
    void drawsWithFonts()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, row);
        QTemporaryDir dir;
        QVERIFY(writeHalvesPicture(dir.filePath("pic.png"), halves));
        QProcess process;
        process.setWorkingDirectory(dir.path());
        QCOMPARE(run(process, options + QStringList{"--no-reminder", "--ramp", " .:@", "pic.png", "-"}), 0);
        QCOMPARE(process.readAllStandardError(), QByteArray());
        QCOMPARE(process.readAllStandardOutput().split('\r').first(), row);
        if (options.contains("--render")) // ten by four characters at detail 10: cells of 8 x 13 pixels
            QCOMPARE(QImage(dir.filePath("art.png")).size(), halves * (options.contains("--render-scale") ? 2 : 1));
    }

    // The exact words of each refusal with its cause, and refusals the model comparison does not
    // reach, and wrong arguments. Each is typed as in a shell, "$0" standing for the converter and "$1" for the
    // shared folder.
    void refusesAndWritesNothing_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("exfat");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message"); // the whole line of a refusal, the start of a usage error
        const QString isSource = "The ASCII Picture Cannot Replace The Source Picture";
        QTest::newRow("output is a hard link to the source") << "ln -f pic.png \"$1/hard\" && \"$0\" pic.png \"$1/hard\"" << false << 1
                                                             << isSource;
        QTest::newRow("output is a symbolic link to the source") << "ln -sf \"$PWD/pic.png\" \"$1/soft\" && \"$0\" pic.png \"$1/soft\""
                                                                 << false << 1 << isSource;
        QTest::newRow("output is the source in capitals on exFAT") << "\"$0\" pic.png PIC.PNG" << true << 1 << isSource;
        QTest::newRow("output is a folder") << "\"$0\" pic.png sub" << false << 1 << "The ASCII Picture Could Not Be Saved: sub: not a regular file";
        // The drawn art is checked before anything is written, so neither file is touched.
        QTest::newRow("--render onto the source") << "\"$0\" --render pic.png pic.png art.txt" << false << 1 << isSource;
        QTest::newRow("--render into a missing folder") << "\"$0\" --render nowhere/art.png pic.png art.txt" << false << 1
                                                        << "The ASCII Picture Could Not Be Saved: nowhere/art.png: No such folder";
        QTest::newRow("--render onto a folder") << "\"$0\" --render sub pic.png art.txt" << false << 1
                                                << "The ASCII Picture Could Not Be Saved: sub: not a regular file";
        QTest::newRow("source missing") << "\"$0\" gone.png art.txt" << false << 1 << "The Source Picture Could Not Be Loaded: gone.png: No such file";
        // Opened, a FIFO would block the run until something wrote to it.
        QTest::newRow("source is a FIFO") << "exec \"$0\" \"$1/fifo.png\" art.txt" << false << 1
                                          << "The Source Picture Could Not Be Loaded: $1/fifo.png: not a regular file";
        QTest::newRow("source cut short") << "\"$0\" \"$1/cut.jpg\" art.txt" << false << 1
                                          << "The Source Picture Could Not Be Loaded: $1/cut.jpg: the picture data stops early";
        QTest::newRow("too large") << "\"$0\" --size 1e30 pic.png art.txt" << false << 1
                                   << "The Picture Is Too Large At This Size (32767 Pixels Per Side At Most)";
        QTest::newRow("smaller than a cell") << "\"$0\" tiny.png art.txt" << false << 1
                                             << "The Picture Is Smaller Than One Character At This Size And Detail";
        QTest::newRow("no Formats.TXT, no --ramp") << "\"$1/bare/glyphsmith-cli\" pic.png art.txt" << false << 1
                                                   << "No characters to draw with: Formats.TXT was not found in $1/bare, "
                                                      "$1/data-home/glyphsmith, $1/data-dir/glyphsmith or $1/share/glyphsmith; give them with --ramp TEXT";
        const QString noMemory = "There Is Not Enough Memory For This Picture At This Size";
        // 24000 x 15600 cells of a picture 80 x 52 pixels enlarged 300 times.
        QTest::newRow("cells beyond the memory limit") << "prlimit --as=1500000000 \"$0\" --detail 1 --size 300 pic.png art.txt" << false
                                                       << 1 << noMemory;
        // Within the budget it is given, the picture itself no longer fits; or it would not fit that budget.
        QTest::newRow("picture beyond the memory limit while decoding")
            << "prlimit --as=1000000000 \"$0\" --max-memory 8G \"$1/slow.png\" art.txt" << false << 1 << noMemory;
        QTest::newRow("picture beyond the memory budget") << "\"$0\" --max-memory 512M \"$1/slow.png\" art.txt" << false << 1
                                                          << noMemory + ": $1/slow.png: decoding it takes 5120 MiB, more than the 512 MiB allowed";
        QTest::newRow("wrong argument") << "\"$0\" --detail 0 pic.png art.txt" << false << 2 << "--detail needs";
        QTest::newRow("two sources, one output name") << "\"$0\" --output-dir out pic.png sub/pic.jpg" << false << 2
                                                      << "'pic.png' and 'sub/pic.jpg' would both be written to out/pic.txt";
        QTest::newRow("empty output") << "\"$0\" pic.png ''" << false << 2 << "SOURCE and OUTPUT must not be empty";
        // A name that is not UTF-8 is shown by its bytes.
        QTest::newRow("source not UTF-8, missing") << "\"$0\" \"$(printf 'gone\\351.png')\" art.txt" << false << 1
                                                   << "The Source Picture Could Not Be Loaded: gone\\xe9.png: No such file";
    }
    void refusesAndWritesNothing()
    {
        QFETCH(QString, script);
        QFETCH(bool, exfat);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        message.replace("$1", m_shared.path());
#if defined(__SANITIZE_ADDRESS__)
        if (script.startsWith("prlimit"))
            QSKIP("AddressSanitizer reserves far more address space than the limit");
#endif
        if (exfat && m_exfat.isEmpty())
            QSKIP(noExfat);
        const QTemporaryDir dir(exfat ? m_exfat + "/XXXXXX" : QString());
        QVERIFY(writeHalvesPicture(dir.filePath("pic.png"), halves) && writeHalvesPicture(dir.filePath("tiny.png"), QSize(5, 5)));
        QVERIFY(QDir(dir.path()).mkdir("sub") && writeFile(dir.filePath("art.txt"), "an earlier picture\r\n"));
        const auto before = folderState(dir.path());
        QProcess process;
        process.setWorkingDirectory(dir.path());
        QCOMPARE(run(process, {"-c", script, cli, m_shared.path()}, "/bin/sh"), exitCode);
        QCOMPARE(process.readAllStandardOutput(), QByteArray());
        const QByteArray err = process.readAllStandardError();
        // A refusal is exactly one line; a wrong argument adds a hint.
        QVERIFY2(exitCode == 1 ? err == "glyphsmith-cli: " + message.toUtf8() + '\n' : err.startsWith("glyphsmith-cli: " + message.toUtf8()),
                 err.constData());
        QCOMPARE(folderState(dir.path()), before);
    }

    // Standard output and devices are written straight through: renamed over, the file that the
    // shell opened for the output would be lost. "-" is the file's bytes, of the kind --format
    // names; "--invert" is the ramp given reversed. "ART" stands for the file `reference` writes.
    void streamsAreTheFile_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("reference");
        QTest::addColumn<QByteArray>("log");
        const QStringList txt{"art.txt"};
        QTest::newRow("/dev/stdout appended to a file") << "seq 3 > log; \"$0\" pic.png /dev/stdout >> log" << txt << QByteArray("1\n2\n3\nART");
        QTest::newRow("/dev/fd/1 between two lines") << "{ echo BEFORE; \"$0\" pic.png /dev/fd/1; echo AFTER; } > log" << txt
                                                     << QByteArray("BEFORE\nARTAFTER\n");
        QTest::newRow("/proc/self/fd/2") << "echo BEFORE > log; \"$0\" pic.png /proc/self/fd/2 2>> log" << txt << QByteArray("BEFORE\nART");
        QTest::newRow("/dev/null") << "\"$0\" pic.png /dev/null > log" << txt << QByteArray();
        QTest::newRow("- is text") << "\"$0\" pic.png - > log" << txt << QByteArray("ART");
        QTest::newRow("- into a pipe") << "\"$0\" pic.png - | cat > log" << txt << QByteArray("ART");
        QTest::newRow("- as rtf") << "\"$0\" --format rtf pic.png - > log" << QStringList{"art.rtf"} << QByteArray("ART");
        QTest::newRow("- as html") << "\"$0\" --format=html pic.png - > log" << QStringList{"art.html"} << QByteArray("ART");
        QTest::newRow("--format over the extension") << "\"$0\" --format rtf pic.png - > log" << QStringList{"--format", "rtf", "art.txt"}
                                                     << QByteArray("ART");
        QTest::newRow("--invert") << "\"$0\" --invert --ramp a.:# pic.png - > log" << QStringList{"--ramp", "#:.a", "art.txt"} << QByteArray("ART");
    }
    void streamsAreTheFile()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, reference);
        QFETCH(QByteArray, log);
        QTemporaryDir dir;
        QVERIFY(writeHalvesPicture(dir.filePath("pic.png"), halves));
        QProcess process;
        process.setWorkingDirectory(dir.path());
        QCOMPARE(run(process, QStringList{"pic.png"} + reference), 0);
        QCOMPARE(run(process, {"-c", script, cli}, "/bin/sh"), 0);
        QCOMPARE(process.readAllStandardError(), QByteArray());
        QCOMPARE(contentsOf(dir.filePath("log")), log.replace("ART", contentsOf(dir.filePath(reference.last()))));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({reference.last(), "log", "pic.png"}));
    }

    // On a terminal the art is the rows alone, in UTF-8 with LF line ends, as wide as the terminal
    // and cut into cells of its shape: the picture's white left half in spaces, its black right
    // half in full blocks. At detail 10 a cell is 8 pixels wide, so 1 : 2 is 8 x 16.
    void terminalGetsRowsOnly_data()
    {
        QTest::addColumn<QList<int>>("window"); // columns, rows, width and height in pixels
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QByteArray>("colorTerm"); // with NO_COLOR unset when given, set otherwise
        // 20 cells of 8 pixels: the picture doubled, 104 pixels high, 6 cells of 16.
        QTest::newRow("cells of 1 : 2") << QList<int>{20, 10, 0, 0} << QStringList() << 20 << 6 << QByteArray();
        // Cells of 10 x 25 pixels: enlarged 2.5 times, 130 pixels high.
        QTest::newRow("cells the terminal reports") << QList<int>{20, 10, 200, 250} << QStringList() << 20 << 5 << QByteArray();
        QTest::newRow("no size reported: $COLUMNS") << QList<int>{0, 0, 0, 0} << QStringList() << 40 << 13 << QByteArray();
        QTest::newRow("--columns") << QList<int>{20, 10, 0, 0} << QStringList{"--quiet", "--columns", "10"} << 10 << 3 << QByteArray();
        QTest::newRow("--cell") << QList<int>{20, 10, 0, 0} << QStringList{"--cell", "8x13"} << 20 << 8 << QByteArray();
        QTest::newRow("truecolour by COLORTERM") << QList<int>{20, 10, 0, 0} << QStringList() << 20 << 6 << QByteArray("truecolor");
        QTest::newRow("--colour 16 whatever NO_COLOR says") << QList<int>{20, 10, 0, 0} << QStringList{"--colour", "16"} << 20 << 6 << QByteArray();
    }
    void terminalGetsRowsOnly()
    {
        QFETCH(QList<int>, window);
        QFETCH(QStringList, arguments);
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(QByteArray, colorTerm);
        QTemporaryDir dir;
        QVERIFY(writeHalvesPicture(dir.filePath("pic.png"), halves));
        const QScopeGuard restore([] {
            qunsetenv("NO_COLOR");
            qunsetenv("COLORTERM");
        });
        if (colorTerm.isEmpty())
            qputenv("NO_COLOR", "1");
        qputenv("COLORTERM", colorTerm);
        int terminal = -1, device = -1;
        termios raw = {};
        cfmakeraw(&raw); // what the converter writes, without the terminal's LF to CR LF
        winsize size{ushort(window[1]), ushort(window[0]), ushort(window[2]), ushort(window[3])};
        QVERIFY(openpty(&terminal, &device, nullptr, &raw, &size) == 0);
        QProcess process;
        process.setStandardOutputFile(QString::fromLocal8Bit(ttyname(device)));
        qputenv("COLUMNS", "40");
        QCOMPARE(run(process, arguments + QStringList{"--ramp", QStringLiteral(" \u2591\u2592\u2593\u2588"), dir.filePath("pic.png"), "-"}), 0);
        QByteArray shown(65536, 0);
        shown.resize(std::max<ssize_t>(::read(terminal, shown.data(), shown.size()), 0));
        ::close(terminal);
        ::close(device);
        const QByteArray white = QString(columns / 2, u' ').toUtf8(), black = QString(columns / 2, QChar(0x2588)).toUtf8();
        QByteArray row = white + black + '\n';
        // One sequence where the colour changes, and a reset at the row's end.
        if (colorTerm == "truecolor")
            row = "\x1b[38;2;255;255;255m" + white + "\x1b[38;2;0;0;0m" + black + "\x1b[0m\n";
        else if (arguments.contains("16"))
            row = "\x1b[97m" + white + "\x1b[30m" + black + "\x1b[0m\n";
        QCOMPARE(shown, row.repeated(rows));
        QCOMPARE(process.readAllStandardError(), QByteArray());
    }

    // The quotient as a float scales a hair short or long of the wanted width; rounded to the
    // nearest pixel, as the run does, it still gives it.
    void columnsAreExact_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("columns");
        QTest::newRow("enlarged, a hair short") << 97 << 100;
        QTest::newRow("enlarged, a hair long") << 45 << 100;
        QTest::newRow("shrunk, a hair short") << 133 << 10;
        QTest::newRow("shrunk, a hair long") << 150 << 10;
    }
    void columnsAreExact()
    {
        QFETCH(int, width);
        QFETCH(int, columns);
        QTemporaryDir dir;
        QVERIFY(writeHalvesPicture(dir.filePath("pic.png"), QSize(width, 52)));
        QProcess process;
        process.setWorkingDirectory(dir.path());
        QCOMPARE(run(process, {"--no-reminder", "--columns", QString::number(columns), "pic.png", "-"}), 0);
        const QByteArray art = process.readAllStandardOutput();
        // The white half is drawn in spaces, which are characters of the row too.
        const QList<QByteArray> rows = art.left(art.indexOf("\r\n\r\n")).split('\n');
        for (const QByteArray &row : rows)
            QCOMPARE(row.size(), columns + int(row.endsWith('\r')));
        // The factor shown is the one used, written so that --size reads it back.
        const QByteArray note = process.readAllStandardError();
        const QByteArray shown = QByteArray("glyphsmith-cli: pic.png: ") + QByteArray::number(columns) + " columns with --size ";
        QVERIFY2(note.startsWith(shown), note.constData());
        QCOMPARE(run(process, {"--no-reminder", "--size", note.mid(shown.size()).trimmed(), "pic.png", "-"}), 0);
        QCOMPARE(process.readAllStandardOutput(), art);
    }

    // A refusal names its source and the others are still written, each as a run of its own writes it.
    void batchGoesOnPastARefusal()
    {
        QTemporaryDir dir;
        QVERIFY(writeHalvesPicture(dir.filePath("a.png"), halves) && writeHalvesPicture(dir.filePath("b.jpg"), halves));
        QVERIFY(writeFile(dir.filePath("bad.png"), "not a picture"));
        QProcess process;
        process.setWorkingDirectory(dir.path());
        QCOMPARE(run(process, {"--output-dir", "out", "--jobs", "2", "a.png", "bad.png", "b.jpg"}), 1);
        QCOMPARE(process.readAllStandardError(),
                 "glyphsmith-cli: bad.png: The Source Picture Could Not Be Loaded: bad.png: not a picture of a known kind\n");
        QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList({"a.txt", "b.txt"}));
        for (const QString name : {"a.png", "b.jpg"}) {
            QCOMPARE(run(process, {name, "-"}), 0);
            QCOMPARE(process.readAllStandardOutput(), contentsOf(dir.filePath("out/" + name.left(1) + ".txt")));
        }
    }

    // Names whose bytes are not UTF-8 are read and written under exactly those bytes, in a batch
    // beside an ordinary name and alone, each as the same picture under a name of text would be.
    void namesAsBytes()
    {
        QTemporaryDir dir;
        QVERIFY(writeHalvesPicture(dir.filePath("a.png"), halves) && writeHalvesPicture(dir.filePath("b.png"), QSize(64, 39)));
        QProcess process;
        process.setWorkingDirectory(dir.path());
        const QString script = "cp a.png \"$(printf 'lat\\351.png')\" && \"$0\" --output-dir out \"$(printf 'lat\\351.png')\" b.png"
                               " && \"$0\" \"$(printf 'lat\\351.png')\" \"$(printf 'art\\351.txt')\"";
        const std::filesystem::path folder = QFile::encodeName(dir.path()).toStdString();
        // Qt cannot remove what it cannot name.
        const auto removeAll = qScopeGuard([&] { std::filesystem::remove_all(folder); });
        QCOMPARE(run(process, {"-c", script, cli}, "/bin/sh"), 0);
        QCOMPARE(process.readAllStandardError(), QByteArray());
        std::set<std::string> written;
        for (const auto &entry : std::filesystem::directory_iterator(folder / "out"))
            written.insert(entry.path().filename().native());
        QCOMPARE(written, (std::set<std::string>{"b.txt", "lat\xe9.txt"}));
        const auto contentsAt = [](const std::filesystem::path &path) {
            std::ifstream in(path, std::ios::binary);
            return QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(in), {}));
        };
        for (const auto &[picture, art] : {std::pair{"a.png", folder / "out/lat\xe9.txt"}, {"a.png", folder / "art\xe9.txt"},
                                            {"b.png", folder / "out/b.txt"}}) {
            QCOMPARE(run(process, {picture, "-"}), 0);
            QCOMPARE(contentsAt(art), process.readAllStandardOutput());
        }
    }

    // Stopped, the converter removes what it began and dies of the signal, so that a shell loop
    // around it stops too.
    void interruptWritesNothing_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("writing");
        QTest::addColumn<bool>("earlierFile");
        QTest::addColumn<bool>("exfat");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<bool>("batch"); // two copies of the picture into the folder, both at once
        QTest::newRow("SIGINT while reading") << SIGINT << false << false << false << "big.jpg" << false;
        QTest::newRow("SIGTERM while reading, over an earlier file") << SIGTERM << false << true << false << "big.jpg" << false;
        QTest::newRow("SIGINT while writing, over an earlier file") << SIGINT << true << true << false << "big.jpg" << false;
        QTest::newRow("SIGTERM while writing") << SIGTERM << true << false << false << "big.jpg" << false;
        // A terminal closing; the file being written there has a name until it is complete.
        QTest::newRow("SIGHUP while writing on exFAT, over an earlier file") << SIGHUP << true << true << true << "big.jpg" << false;
        QTest::newRow("SIGINT while decoding a large PNG") << SIGINT << false << false << false << "slow.png" << false;
        QTest::newRow("SIGTERM while writing a batch") << SIGTERM << true << false << false << "big.jpg" << true;
    }
    void interruptWritesNothing()
    {
        QFETCH(int, signal);
        QFETCH(bool, writing);
        QFETCH(bool, earlierFile);
        QFETCH(bool, exfat);
        QFETCH(QString, picture);
        QFETCH(bool, batch);
        if (exfat && m_exfat.isEmpty())
            QSKIP(noExfat);
        const QTemporaryDir dir(exfat ? m_exfat + "/XXXXXX" : QString());
        const QString folder = QFileInfo(dir.path()).canonicalFilePath();
        QVERIFY(!earlierFile || writeFile(folder + "/art.txt", "an earlier picture\r\n"));
        const auto before = folderState(folder);
        QProcess process;
        const QStringList files{m_shared.filePath(picture), batch ? m_shared.filePath("big-copy.jpg") : folder + "/art.txt"};
        QVERIFY(!batch || QFile::exists(files[1]) || QFile::copy(files[0], files[1]));
        // A budget the large PNG fits in, so that it is decoded for long enough to be interrupted.
        process.start(cli, QStringList{"--detail", "1", "--jobs", "2", "--max-memory", "8G"} + (batch ? QStringList{"--output-dir", folder} : QStringList())
                               + files);
        QVERIFY(process.waitForStarted());
        const qint64 pid = process.processId();
        const QDeadlineTimer deadline(timeLimitMs);
        // Polled rather than slept, so the signal lands as early in the moment as the machine allows.
        while (!reached(writing, pid, folder)) {
            QVERIFY2(!process.waitForFinished(0) && !deadline.hasExpired(), "the run ended before the moment to interrupt it");
            QThread::usleep(200);
        }
        // Held still, so that the run cannot finish between the check and the signal.
        ::kill(pid_t(pid), SIGSTOP);
        QVERIFY2(reached(writing, pid, folder), "the run was past the moment to interrupt it");
        ::kill(pid_t(pid), signal);
        QElapsedTimer sinceSignal;
        sinceSignal.start();
        ::kill(pid_t(pid), SIGCONT);
        QVERIFY(process.waitForFinished(timeLimitMs));
        // Generous: decoding the large PNG alone takes several times as long.
        QVERIFY2(sinceSignal.elapsed() < 2000, qPrintable(QString::number(sinceSignal.elapsed())));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        QCOMPARE(process.exitCode(), signal);
        QCOMPARE(folderState(folder), before);
    }

private:
    // exFAT through FUSE on a loop device, as root: a file system that ignores letter case,
    // numbers a file anew for each spelling and has no unnamed temporary files. Empty without it.
    QString mountExfat()
    {
        QFile image(m_shared.filePath("exfat.img"));
        QProcess process;
        if (!image.open(QIODevice::WriteOnly) || !image.resize(16 << 20) || run(process, {image.fileName()}, "mkfs.exfat") != 0
            || run(process, {"-f", "--show", image.fileName()}, "losetup") != 0)
            return {};
        m_loopDevice = QString::fromLocal8Bit(process.readAllStandardOutput().trimmed());
        const QString mountPoint = m_shared.filePath("exfat");
        return QDir().mkdir(mountPoint) && run(process, {m_loopDevice, mountPoint}, "mount.exfat-fuse") == 0 ? mountPoint : QString();
    }

    QTemporaryDir m_shared;
    QString m_exfat;
    QString m_loopDevice;
};

QTEST_GUILESS_MAIN(TestConverter)
#include "tst_converter.moc"
