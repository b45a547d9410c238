#include <QDir>
#include <QDeadlineTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUrl>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

// Generous for a sanitizer build on a busy machine; the runs here take well under a second or two.
constexpr int timeLimitMs = 60000;
const QString cli = QStringLiteral(GLYPHSMITH_CLI);
// At detail 10 a cell is 8 x 13 pixels, so this picture is 10 x 4 cells, white on the left half.
const QSize halves(80, 52);

// The exit code, or -1 when the run crashed or outlived the time limit.
int run(QProcess &process, const QStringList &arguments, const QString &program = cli)
{
    process.start(program, arguments);
    if (!process.waitForFinished(timeLimitMs))
        process.kill();
    process.waitForFinished();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

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

// While reading: whether the process has its own handlers for SIGINT and SIGTERM yet. While writing:
// whether it holds a file open in `folder`, the art, unnamed or temporary until it is complete.
bool reached(bool writing, qint64 pid, const QString &folder)
{
    if (!writing) {
        const QByteArray status = contentsOf(QStringLiteral("/proc/%1/status").arg(pid));
        const qulonglong caught = status.mid(status.indexOf("SigCgt:") + 7, 17).trimmed().toULongLong(nullptr, 16);
        const qulonglong wanted = (1ULL << (SIGINT - 1)) | (1ULL << (SIGTERM - 1));
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

} // namespace

class TestCliProcess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // At detail 1 every pixel is a cell: 24 million cells keep a run going for a good second.
        QVERIFY(writeHalvesPicture(m_shared.filePath("big.jpg"), QSize(6000, 4000)));
        // PATH for --open holds only this stand-in opener, which writes down its argument.
        QVERIFY(writeFile(m_shared.filePath("xdg-open"), "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"${0%/*}/opened\"\n"));
        QVERIFY(QFile::setPermissions(m_shared.filePath("xdg-open"), QFile::ReadOwner | QFile::ExeOwner));
    }

    // The ramp comes from --ramp, or else from the first line of Formats.TXT beside the program.
    void convertsTheArt_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("row");
        QTest::newRow("first line of Formats.TXT") << QStringList() << QByteArray("XXXXXYYYYY");
        QTest::newRow("--ramp wins") << QStringList{"--ramp", "ab"} << QByteArray("aaaaabbbbb");
    }
    void convertsTheArt()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, row);
        QTemporaryDir dir;
        // Run from another folder, so that a ramp file found through the working folder would be missed.
        QVERIFY(QDir(dir.path()).mkdir("bin") && QFile::copy(cli, dir.filePath("bin/glyphsmith-cli")));
        QVERIFY(writeFile(dir.filePath("bin/Formats.TXT"), "XY\r\nab\r\n"));
        QVERIFY(writeHalvesPicture(dir.filePath("pic.png"), halves));
        QProcess process;
        process.setWorkingDirectory(dir.path());
        QCOMPARE(run(process, options + QStringList{"--no-reminder", "pic.png", "art.txt"}, dir.filePath("bin/glyphsmith-cli")), 0);
        QCOMPARE(process.readAllStandardOutput() + process.readAllStandardError(), QByteArray());
        // Four rows, then the two empty lines before the closing line.
        const QByteArray art = contentsOf(dir.filePath("art.txt"));
        QVERIFY2(art.startsWith((row + "\r\n").repeated(4) + "\r\n\r\n"), art.constData());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 QStringList({"art.txt", "bin", "pic.png"}));
    }

    // Refusals the picture-by-picture comparison elsewhere does not reach, and a wrong argument.
    void refusesAndWritesNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("output is the source through sub/..") << QStringList{"pic.png", "sub/../pic.png"} << 1
                                                             << "The ASCII Picture Cannot Replace The Source Picture";
        QTest::newRow("output folder missing") << QStringList{"pic.png", "nowhere/art.txt"} << 1 << "The ASCII Picture Could Not Be Saved";
        QTest::newRow("too large") << QStringList{"--size", "1e30", "pic.png", "art.txt"} << 1
                                   << "The Picture Is Too Large At This Size (32767 Pixels Per Side At Most)";
        QTest::newRow("size 0") << QStringList{"--size", "0", "pic.png", "art.txt"} << 1
                                << "The Picture Is Smaller Than One Character At This Size And Detail";
        QTest::newRow("smaller than a cell") << QStringList{"tiny.png", "art.txt"} << 1
                                             << "The Picture Is Smaller Than One Character At This Size And Detail";
        QTest::newRow("empty ramp") << QStringList{"--ramp=", "pic.png", "art.txt"} << 1 << "Select The Characters For Your ASCII Art First";
        QTest::newRow("wrong argument") << QStringList{"--detail", "0", "pic.png", "art.txt"} << 2 << QString();
    }
    void refusesAndWritesNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QVERIFY(writeHalvesPicture(dir.filePath("pic.png"), halves) && writeHalvesPicture(dir.filePath("tiny.png"), QSize(5, 5)));
        QVERIFY(QDir(dir.path()).mkdir("sub") && writeFile(dir.filePath("art.txt"), "an earlier picture\r\n"));
        const auto before = folderState(dir.path());
        QProcess process;
        process.setWorkingDirectory(dir.path());
        QCOMPARE(run(process, arguments), exitCode);
        QCOMPARE(process.readAllStandardOutput(), QByteArray());
        const QByteArray err = process.readAllStandardError();
        // A refusal is exactly one line; a wrong argument adds a hint.
        QVERIFY2(exitCode == 1 ? err == "glyphsmith-cli: " + message.toUtf8() + '\n' : err.startsWith("glyphsmith-cli: "), err.constData());
        QCOMPARE(folderState(dir.path()), before);
    }

    void opensOnlySafeKinds_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("opened");
        QTest::newRow("txt") << QStringList{"art.txt"} << 0 << true;
        QTest::newRow("rtf") << QStringList{"art.rtf"} << 0 << true;
        QTest::newRow("htm") << QStringList{"art.htm"} << 0 << true;
        QTest::newRow("html, a space and a hash in the name") << QStringList{"my art #1.html"} << 0 << true;
        QTest::newRow("shell script") << QStringList{"art.sh"} << 0 << false;
        QTest::newRow("desktop entry") << QStringList{"art.desktop"} << 0 << false;
        QTest::newRow("no extension") << QStringList{"art"} << 0 << false;
        QTest::newRow("refused run") << QStringList{"--size", "0", "art.txt"} << 1 << false;
    }
    void opensOnlySafeKinds()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(bool, opened);
        QTemporaryDir dir;
        QVERIFY(writeHalvesPicture(dir.filePath("pic.png"), halves));
        QProcess process;
        process.setWorkingDirectory(dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PATH", m_shared.path());
        process.setProcessEnvironment(environment);
        const QString output = arguments.takeLast();
        // A relative output still reaches the opener as a full file URL.
        QCOMPARE(run(process, QStringList{"--open"} + arguments + QStringList{"pic.png", output}), exitCode);
        // The art is still written, and the user hears why it was not opened.
        QCOMPARE(process.readAllStandardError().contains("not opened"), exitCode == 0 && !opened);
        // An opener started by that run has had its turn by the time the witness's opener has written.
        QCOMPARE(run(process, {"--open", "pic.png", "witness.txt"}), 0);
        const QString record = m_shared.filePath("opened");
        const auto forget = qScopeGuard([&] { QFile::remove(record); });
        QTRY_VERIFY_WITH_TIMEOUT(contentsOf(record).contains("witness.txt"), 10000);
        QTest::qWait(200);
        const QStringList calls = QString::fromUtf8(contentsOf(record)).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(calls.size(), opened ? 2 : 1);
        QCOMPARE(calls.contains(QUrl::fromLocalFile(dir.filePath(output)).toString()), opened);
    }

    void progressOnlyOnATerminal_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("terminal");
        QTest::newRow("terminal") << QStringList() << true;
        QTest::newRow("terminal, --quiet") << QStringList{"--quiet"} << true;
        QTest::newRow("pipe") << QStringList() << false;
    }
    void progressOnlyOnATerminal()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, terminal);
        const int controller = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        const char *device = controller >= 0 && grantpt(controller) == 0 && unlockpt(controller) == 0 ? ptsname(controller) : nullptr;
        // Held open so that what the run wrote stays readable after it has gone.
        const int held = device ? ::open(device, O_RDWR | O_NOCTTY) : -1;
        const auto close = qScopeGuard([&] { ::close(held); ::close(controller); });
        if (held < 0)
            QSKIP("This machine gives out no pseudo-terminal");
        QTemporaryDir dir;
        QVERIFY(writeHalvesPicture(dir.filePath("pic.png"), halves));
        QProcess process;
        if (terminal)
            process.setStandardErrorFile(QString::fromLocal8Bit(device));
        QCOMPARE(run(process, options + QStringList{dir.filePath("pic.png"), dir.filePath("art.txt")}), 0);
        QCOMPARE(process.readAllStandardError(), QByteArray());
        QByteArray shown;
        char buffer[4096];
        for (ssize_t count; (count = ::read(controller, buffer, sizeof buffer)) > 0;)
            shown.append(buffer, count);
        // The line is rubbed out at the end so the shell prompt starts clean.
        QCOMPARE(shown.contains('%') && shown.endsWith("\r\033[K"), terminal && options.isEmpty());
    }

    void interruptWritesNothing_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("writing");
        QTest::addColumn<bool>("earlierFile");
        QTest::newRow("SIGINT while reading") << SIGINT << false << false;
        QTest::newRow("SIGTERM while reading, over an earlier file") << SIGTERM << false << true;
        QTest::newRow("SIGINT while writing, over an earlier file") << SIGINT << true << true;
        QTest::newRow("SIGTERM while writing") << SIGTERM << true << false;
    }
    void interruptWritesNothing()
    {
        QFETCH(int, signal);
        QFETCH(bool, writing);
        QFETCH(bool, earlierFile);
        QTemporaryDir dir;
        const QString folder = QFileInfo(dir.path()).canonicalFilePath();
        QVERIFY(!earlierFile || writeFile(folder + "/art.txt", "an earlier picture\r\n"));
        const auto before = folderState(folder);
        QProcess process;
        process.start(cli, {"--detail", "1", m_shared.filePath("big.jpg"), folder + "/art.txt"});
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
        ::kill(pid_t(pid), SIGCONT);
        QVERIFY(process.waitForFinished(timeLimitMs));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 3);
        QCOMPARE(folderState(folder), before);
    }

private:
    QTemporaryDir m_shared;
};

QTEST_GUILESS_MAIN(TestCliProcess)
#include "tst_cliprocess.moc"
