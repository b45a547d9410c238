#include "RampFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

    void whereTheListLives_data()
    {
        QTest::addColumn<QStringList>("copies"); // of "program", "user", "system", "other"
        QTest::addColumn<QString>("read");
        QTest::newRow("beside the program first") << QStringList{"program", "user", "system"} << "program";
        QTest::newRow("then the user's own") << QStringList{"user", "system", "other"} << "user";
        QTest::newRow("then the installed ones in order") << QStringList{"other", "system"} << "system";
        QTest::newRow("none: beside the program") << QStringList{} << "program";
    }
    void whereTheListLives()
    {
        QFETCH(QStringList, copies);
        QFETCH(QString, read);
        QTemporaryDir dir;
        const auto folder = [&](const QString &name) { return dir.filePath(name); };
        QVERIFY(QDir().mkpath(folder(QStringLiteral("program"))));
        for (const QString &name : copies) {
            QVERIFY(QDir().mkpath(folder(name)));
            QVERIFY(RampFile::write(RampFile::pathIn(folder(name)), {name}));
        }
        RampFile::Folders folders{folder(QStringLiteral("program")), folder(QStringLiteral("user")),
                                  {folder(QStringLiteral("system")), folder(QStringLiteral("other"))}};
        QCOMPARE(RampFile::pathToRead(folders), RampFile::pathIn(folder(read)));
        // Saving goes beside the program when it can, else to the user's copy, made as needed.
        QCOMPARE(RampFile::pathToWrite(folders), RampFile::pathIn(folder(QStringLiteral("program"))));
        folders.program = folder(QStringLiteral("no such folder"));
        QCOMPARE(RampFile::pathToWrite(folders), RampFile::pathIn(folder(QStringLiteral("user"))));
        QVERIFY(QFileInfo(folder(QStringLiteral("user"))).isDir());
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
