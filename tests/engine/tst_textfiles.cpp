#include "engine/text/modFile.h"
#include "engine/text/OutputKind.h"
#include "engine/text/OutputKinds.h"
#include "engine/text/RampFile.h"
#include "engine/text/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// The rules of the text the program reads and writes beyond what the reference model's byte-for-byte
// comparison of whole files reaches: the extension's limits, the kinds safe to open, the code page
// both ways, and the ramp list.
class TestTextFiles : public QObject
{
    Q_OBJECT

private slots:
    void extension_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("kind");
        const QString text = QStringLiteral("txt"), html = QStringLiteral("html");
        // Letter case, a final dot, a dotted folder and unknown kinds are among the model comparison's outputs.
        QTest::newRow("htm") << QStringLiteral("/home/me/cat.HTM") << QStringLiteral("HTM") << html;
        QTest::newRow("dot in a Windows folder") << QStringLiteral("C:\\my.files\\cat") << QString() << text;
        QTest::newRow("254 characters") << QStringLiteral("a.") + QString(254, u'e') << QString(254, u'e') << text;
        QTest::newRow("255 characters is too long") << QStringLiteral("a.") + QString(255, u'e') << QString() << text;
    }
    void extension()
    {
        QFETCH(QString, path);
        QFETCH(QString, extension);
        QFETCH(QString, kind);
        QCOMPARE(modFile::GetExtension(path), extension);
        QCOMPARE(outputKindOf(path).formatName(), kind);
    }

    // Each name leads to its own kind: of two kinds claiming one, the table's first would hide the other.
    void everyKindByItsNames()
    {
        for (const OutputKind *kind : outputKinds()) {
            QCOMPARE(outputKindNamed(kind->formatName()), kind);
            for (const QString &extension : kind->extensions())
                QCOMPARE(&outputKindOf(QStringLiteral("/tmp/a.") + extension.toUpper()), kind);
            QVERIFY(modFile::isSafeToOpen(QStringLiteral("/tmp/a.") + kind->fileExtension()));
        }
    }

    void safeToOpen_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("safe");
        // Each kind's own extensions are safe (everyKindByItsNames), in any letter case.
        QTest::newRow("RTF") << QStringLiteral("/tmp/a.RTF") << true;
        QTest::newRow("htm") << QStringLiteral("/tmp/a.htm") << true;
        QTest::newRow("shell script") << QStringLiteral("/tmp/a.sh") << false;
        QTest::newRow("desktop entry") << QStringLiteral("/tmp/a.desktop") << false;
        QTest::newRow("no extension") << QStringLiteral("/tmp/run") << false;
        QTest::newRow("txt folder, executable name") << QStringLiteral("/tmp/x.txt/run") << false;
    }
    void safeToOpen()
    {
        QFETCH(QString, path);
        QFETCH(bool, safe);
        QCOMPARE(modFile::isSafeToOpen(path), safe);
    }

    void windows1252_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("latin-1 range") << QStringLiteral("\u00B7\u00B0\u00E9\u00FF") << QByteArray("\xB7\xB0\xE9\xFF");
        QTest::newRow("euro and quotes") << QStringLiteral("\u20AC\u2018\u2019\u0178") << QByteArray("\x80\x91\x92\x9F");
        QTest::newRow("unrepresentable becomes ?") << QStringLiteral("\u2591\u2593") << QByteArray("??");
        QTest::newRow("a pair is one character") << QStringLiteral("a\U0001F600b") << QByteArray("a?b");
        QTest::newRow("undefined bytes round-trip") << QStringLiteral("\u0081\u008D\u008F\u0090\u009D") << QByteArray("\x81\x8D\x8F\x90\x9D");
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QTest::newRow("every byte decoded encodes back") << Windows1252::decode(all) << all;
    }
    void windows1252()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Windows1252::encode(text), bytes);
        if (!bytes.contains('?'))
            QCOMPARE(Windows1252::decode(bytes), text);
    }

    void rampLines_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QStringList>("ramps");
        QTest::newRow("empty file gives one empty ramp") << QByteArray() << QStringList{QString()};
        QTest::newRow("final CR LF adds nothing") << QByteArray("A\r\nB\r\n") << QStringList{"A", "B"};
        QTest::newRow("last line without an end") << QByteArray("A\r\nB") << QStringList{"A", "B"};
        QTest::newRow("blank line between") << QByteArray("A\r\n\r\nB\r\n") << QStringList{"A", "", "B"};
        QTest::newRow("mixed line ends") << QByteArray("A\r\nB\nC\rD\n\rE") << QStringList{"A", "B", "C", "D", "", "E"};
        QTest::newRow("only CR LF") << QByteArray("\r\n") << QStringList{QString()};
        QTest::newRow("repeated ramps are kept") << QByteArray(" .#\r\n .#\r\n") << QStringList{" .#", " .#"};
        QTest::newRow("Windows-1252 text") << QByteArray(" \xB7\xB0#\r\n") << QStringList{QStringLiteral(" \u00B7\u00B0#")};
    }
    void rampLines()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, ramps);
        QCOMPARE(RampFile::parse(contents), ramps);
    }

    void rampListWrittenAndReadBack()
    {
        QTemporaryDir dir;
        const QString path = RampFile::pathIn(dir.path());
        QCOMPARE(RampFile::pathIn(dir.path() + u'/'), path);
        QCOMPARE(RampFile::read(path), QStringList{QString()}); // none there yet
        const QStringList ramps{QString(), QStringLiteral(" .:#"), QStringLiteral("\u20AC@")};
        QVERIFY(RampFile::write(path, ramps));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\r\n .:#\r\n\x80@\r\n"));
        QCOMPARE(RampFile::read(path), ramps);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Formats.TXT")});
        // A folder where the file should be cannot be replaced; nothing is left behind.
        QTemporaryDir blocked;
        QVERIFY(QDir(blocked.path()).mkdir(QStringLiteral("Formats.TXT")));
        QVERIFY(!RampFile::write(RampFile::pathIn(blocked.path()), {QStringLiteral("x")}));
        QCOMPARE(QDir(blocked.path()).entryList(QDir::Files), QStringList());
    }

    void whereTheRampListLives_data()
    {
        QTest::addColumn<QStringList>("copies"); // of "program", "user", "system", "other", "prefix"
        QTest::addColumn<QString>("read");
        QTest::newRow("beside the program first") << QStringList{"program", "user", "system"} << "program";
        QTest::newRow("then the user's own") << QStringList{"user", "system", "other"} << "user";
        QTest::newRow("then the installed ones in order") << QStringList{"other", "system", "prefix"} << "system";
        QTest::newRow("then the program's prefix") << QStringList{"prefix"} << "prefix";
        QTest::newRow("none: beside the program") << QStringList{} << "program";
    }
    void whereTheRampListLives()
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
                                  {folder(QStringLiteral("system")), folder(QStringLiteral("other"))}, folder(QStringLiteral("prefix"))};
        QCOMPARE(RampFile::pathToRead(folders), RampFile::pathIn(folder(read)));
        // Saving goes beside the program when it can, else to the user's copy, made as needed.
        QCOMPARE(RampFile::pathToWrite(folders), RampFile::pathIn(folder(QStringLiteral("program"))));
        folders.program = folder(QStringLiteral("no such folder"));
        QCOMPARE(RampFile::pathToWrite(folders), RampFile::pathIn(folder(QStringLiteral("user"))));
        QVERIFY(QFileInfo(folder(QStringLiteral("user"))).isDir());
    }
};

QTEST_APPLESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
