#include "CliProcess.h"
#include "FolderState.h"
#include "TestPicture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSize>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <filesystem>
#include <string>

namespace {

enum class Moment {
    Reading, // the signal handlers are in place; the picture is being read
    Writing, // the art is being written into a file in the output folder
};

constexpr int waitLimitMs = 60000;

// Whether the process has handlers of its own for both SIGINT and SIGTERM; a signal sent before
// that would end it the default way instead of through the run.
bool catchesInterrupts(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:")) {
            bool ok = false;
            const qulonglong caught = line.mid(7).trimmed().toULongLong(&ok, 16);
            const qulonglong wanted = (1ULL << (SIGINT - 1)) | (1ULL << (SIGTERM - 1));
            return ok && (caught & wanted) == wanted;
        }
    }
    return false;
}

// Whether the process holds a file open in `folder`: the art, unnamed or temporary until it is complete.
bool writesInto(qint64 pid, const QString &folder)
{
    // Qt's own directory listing leaves out links to deleted files, which an unnamed file is.
    const std::string prefix = QFile::encodeName(folder + u'/').toStdString();
    std::error_code error;
    for (const auto &fd : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        if (std::filesystem::read_symlink(fd.path(), error).native().starts_with(prefix))
            return true;
    }
    return false;
}

bool reached(Moment moment, qint64 pid, const QString &outputFolder)
{
    return moment == Moment::Reading ? catchesInterrupts(pid) : writesInto(pid, outputFolder);
}

// Polls rather than sleeps, so the signal lands as early in the moment as the machine allows.
bool waitFor(Moment moment, QProcess &process, const QString &outputFolder)
{
    QElapsedTimer timer;
    timer.start();
    while (!process.waitForFinished(0) && timer.elapsed() < waitLimitMs) {
        if (reached(moment, process.processId(), outputFolder))
            return true;
        QThread::usleep(200);
    }
    return false;
}

} // namespace

class TestCliInterrupt : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // At detail 1 every pixel is a cell: 24 million cells keep the run going for a good second.
        QVERIFY(m_pictures.isValid());
        m_source = m_pictures.filePath("big.jpg");
        QVERIFY(writeGradientPicture(m_source, QSize(6000, 4000)));
    }

    void stopsAndWritesNothing_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<Moment>("moment");
        QTest::addColumn<bool>("outputExists");
        QTest::newRow("SIGINT while reading") << SIGINT << Moment::Reading << false;
        QTest::newRow("SIGTERM while reading, over an earlier file") << SIGTERM << Moment::Reading << true;
        QTest::newRow("SIGINT while writing, over an earlier file") << SIGINT << Moment::Writing << true;
        QTest::newRow("SIGTERM while writing") << SIGTERM << Moment::Writing << false;
    }
    void stopsAndWritesNothing()
    {
        QFETCH(int, signal);
        QFETCH(Moment, moment);
        QFETCH(bool, outputExists);
        QTemporaryDir out;
        const QString folder = QFileInfo(out.path()).canonicalFilePath();
        const QString output = folder + "/art.txt";
        if (outputExists) {
            QFile file(output);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("an earlier picture\r\n");
        }
        const FolderState before(folder);

        QProcess process;
        process.start(cliProgram(), {"--detail", "1", m_source, output});
        QVERIFY(process.waitForStarted());
        const qint64 pid = process.processId();
        QVERIFY2(waitFor(moment, process, folder), "the run ended without reaching the moment to interrupt it");
        // Held still, so that the run cannot finish between the check and the signal.
        ::kill(pid_t(pid), SIGSTOP);
        QVERIFY2(reached(moment, pid, folder), "the run left the moment before it could be held");
        ::kill(pid_t(pid), signal);
        ::kill(pid_t(pid), SIGCONT);

        QVERIFY(process.waitForFinished(waitLimitMs));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY2(process.exitCode() == 3, process.readAllStandardError().constData());
        const FolderState after(folder);
        QVERIFY2(after == before, qPrintable(after.differencesFrom(before)));
    }

private:
    QTemporaryDir m_pictures;
    QString m_source;
};

QTEST_GUILESS_MAIN(TestCliInterrupt)
#include "tst_cliinterrupt.moc"
