#include "RampFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestRampFile : public QObject
{
    Q_OBJECT

private slots:
    void lineRules_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QStringList>("ramps");
        QTest::newRow("empty file gives one empty ramp") << QByteArray() << QStringList{QString()};
        QTest::newRow("final CR LF adds nothing") << QByteArray("A\r\nB\r\n") << QStringList{"A", "B"};
        QTest::newRow("last line without an end") << QByteArray("A\r\nB") << QStringList{"A", "B"};
        QTest::newRow("blank line between") << QByteArray("A\r\n\r\nB\r\n") << QStringList{"A", "", "B"};
        QTest::newRow("lone CR ends a line") << QByteArray("A\rB\r") << QStringList{"A", "B"};
        QTest::newRow("LF line ends") << QByteArray("A\nB\n") << QStringList{"A", "B"};
        QTest::newRow("mixed line ends") << QByteArray("A\r\nB\nC\rD\n\rE") << QStringList{"A", "B", "C", "D", "", "E"};
        QTest::newRow("only CR LF") << QByteArray("\r\n") << QStringList{QString()};
        QTest::newRow("repeated ramps are kept") << QByteArray(" .#\r\n .#\r\n") << QStringList{" .#", " .#"};
        QTest::newRow("Windows-1252 text") << QByteArray(" \xB7\xB0#\r\n") << QStringList{QStringLiteral(" \u00B7\u00B0#")};
    }
    void lineRules()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, ramps);
        QCOMPARE(RampFile::parse(contents), ramps);
    }

    void missingFileGivesOneEmptyRamp()
    {
        QTemporaryDir dir;
        QCOMPARE(RampFile::read(RampFile::pathIn(dir.path())), QStringList{QString()});
    }

    void writeThenRead()
    {
        QTemporaryDir dir;
        const QString path = RampFile::pathIn(dir.path());
        const QStringList ramps{QString(), QStringLiteral(" .:#"), QStringLiteral("\u20AC@")};
        QVERIFY(RampFile::write(path, ramps));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\r\n .:#\r\n\x80@\r\n"));
        QCOMPARE(RampFile::read(path), ramps);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Formats.TXT")});
    }

    void failedWriteKeepsTheOldFile()
    {
        QTemporaryDir dir;
        // A folder where the file should be cannot be replaced.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Formats.TXT")));
        QVERIFY(!RampFile::write(RampFile::pathIn(dir.path()), {QStringLiteral("x")}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }
};

QTEST_APPLESS_MAIN(TestRampFile)
#include "tst_rampfile.moc"
