#include "CliProcess.h"
#include "TestPicture.h"

#include <QDir>
#include <QFile>
#include <QSize>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// The converter hands the finished file to the desktop's opener, found on PATH. PATH here holds
// nothing but a stand-in opener that writes down its arguments, so no real program is ever started.
class TestCliOpen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_opener.isValid());
        const QString script = m_opener.filePath("xdg-open");
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$GLYPHSMITH_TEST_OPENED\"\n");
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void init()
    {
        QVERIFY(m_work.isValid());
        m_record = m_work.filePath("opened.log");
        QVERIFY(writeHalvesPicture(m_work.filePath("pic.png"), QSize(80, 52)));
    }

    void cleanup() { QFile::remove(m_record); }

    void opensArt_data()
    {
        QTest::addColumn<QString>("output");
        QTest::newRow("txt") << QStringLiteral("art.txt");
        QTest::newRow("rtf") << QStringLiteral("art.rtf");
        QTest::newRow("htm") << QStringLiteral("art.htm");
        QTest::newRow("html") << QStringLiteral("art.html");
        QTest::newRow("upper-case extension") << QStringLiteral("ART.TXT");
        QTest::newRow("space and hash in the name") << QStringLiteral("my art #1.txt");
        QTest::newRow("dots in the folder") << QStringLiteral("v1.2/art.txt");
    }
    void opensArt()
    {
        QFETCH(QString, output);
        QVERIFY(QDir(m_work.path()).mkpath(QFileInfo(output).path()));
        // A path relative to the working folder must still reach the opener as a full file URL.
        const CliRun run = runCli({"--open", "pic.png", output}, launch());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.standardError, QByteArray());
        QTRY_VERIFY_WITH_TIMEOUT(recorded().endsWith('\n'), 10000);
        const QList<QByteArray> calls = recorded().trimmed().split('\n');
        QCOMPARE(calls.size(), 1);
        const QUrl url(QString::fromUtf8(calls.front()));
        QVERIFY2(url.isLocalFile(), calls.front().constData());
        QCOMPARE(url.toLocalFile(), m_work.filePath(output));
    }

    void neverOpensOtherKinds_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("shell script") << QStringList() << QStringLiteral("art.sh") << 0;
        QTest::newRow("desktop entry") << QStringList() << QStringLiteral("art.desktop") << 0;
        QTest::newRow("no extension") << QStringList() << QStringLiteral("art") << 0;
        QTest::newRow("txt before the real extension") << QStringList() << QStringLiteral("art.txt.sh") << 0;
        QTest::newRow("txt only in the folder name") << QStringList() << QStringLiteral("notes.txt/art") << 0;
        QTest::newRow("quietly") << QStringList{"--quiet"} << QStringLiteral("art.sh") << 0;
        QTest::newRow("refused run") << QStringList{"--size", "0"} << QStringLiteral("art.txt") << 1;
    }
    void neverOpensOtherKinds()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, output);
        QFETCH(int, exitCode);
        QVERIFY(QDir(m_work.path()).mkpath(QFileInfo(output).path()));
        const CliRun run = runCli(QStringList{"--open"} + options + QStringList{"pic.png", output}, launch());
        QCOMPARE(run.exitCode, exitCode);
        if (exitCode == 0) {
            QVERIFY(QFile::exists(m_work.filePath(output)));
            // The art was still written, and the user hears why it was not opened unless asked for quiet.
            QCOMPARE(run.standardError.contains("not opened"), !options.contains("--quiet"));
        }

        // An opener started by the run above would have been started before this one, so it has
        // had its turn to write down its call once this run's call is written down.
        const CliRun witness = runCli({"--open", "pic.png", "witness.txt"}, launch());
        QCOMPARE(witness.exitCode, 0);
        QTRY_VERIFY_WITH_TIMEOUT(recorded().endsWith('\n'), 10000);
        QTest::qWait(200);
        const QList<QByteArray> calls = recorded().trimmed().split('\n');
        QCOMPARE(calls.size(), 1);
        QCOMPARE(QUrl(QString::fromUtf8(calls.front())).toLocalFile(), m_work.filePath("witness.txt"));
    }

private:
    CliLaunch launch() const
    {
        CliLaunch launch;
        launch.workingDirectory = m_work.path();
        launch.environment.insert("PATH", m_opener.path());
        launch.environment.insert("GLYPHSMITH_TEST_OPENED", m_record);
        return launch;
    }

    QByteArray recorded() const
    {
        QFile file(m_record);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_opener;
    QTemporaryDir m_work;
    QString m_record;
};

QTEST_GUILESS_MAIN(TestCliOpen)
#include "tst_cliopen.moc"
