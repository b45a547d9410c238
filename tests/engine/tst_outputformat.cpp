#include "OutputFormat.h"
#include "Windows1252.h"
#include "modFile.h"

#include <QTest>

class TestOutputFormat : public QObject
{
    Q_OBJECT

private slots:
    void extension_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("kind");
        const int text = int(OutputKind::Text), rtf = int(OutputKind::RichText), html = int(OutputKind::Html);
        QTest::newRow("txt") << QStringLiteral("C:\\Art\\cat.txt") << QStringLiteral("txt") << text;
        QTest::newRow("mixed-case rtf") << QStringLiteral("C:\\Art\\cat.Rtf") << QStringLiteral("Rtf") << rtf;
        QTest::newRow("html") << QStringLiteral("C:\\Art\\cat.html") << QStringLiteral("html") << html;
        QTest::newRow("htm") << QStringLiteral("/home/me/cat.HTM") << QStringLiteral("HTM") << html;
        QTest::newRow("no extension") << QStringLiteral("C:\\Art\\cat") << QString() << text;
        QTest::newRow("bare name") << QStringLiteral("cat") << QString() << text;
        QTest::newRow("dot in a Windows folder") << QStringLiteral("C:\\my.files\\cat") << QString() << text;
        QTest::newRow("dot in a folder") << QStringLiteral("/home/a.b/cat") << QString() << text;
        QTest::newRow("ends in a dot") << QStringLiteral("/tmp/cat.") << QString() << text;
        QTest::newRow("unknown kind is plain text") << QStringLiteral("/tmp/cat.dat") << QStringLiteral("dat") << text;
        QTest::newRow("254 characters") << QStringLiteral("a.") + QString(254, u'e') << QString(254, u'e') << text;
        QTest::newRow("255 characters is too long") << QStringLiteral("a.") + QString(255, u'e') << QString() << text;
    }
    void extension()
    {
        QFETCH(QString, path);
        QFETCH(QString, extension);
        QFETCH(int, kind);
        QCOMPARE(modFile::GetExtension(path), extension);
        QCOMPARE(int(outputKindOf(path)), kind);
    }

    void addBackslash_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("joined");
        const QString sep = QDir::separator();
        QTest::newRow("plain folder") << QStringLiteral("/opt/glyphsmith") << QStringLiteral("/opt/glyphsmith") + sep;
        QTest::newRow("slash kept") << QStringLiteral("/opt/glyphsmith/") << QStringLiteral("/opt/glyphsmith/");
        QTest::newRow("backslash kept") << QStringLiteral("C:\\Glyphsmith\\") << QStringLiteral("C:\\Glyphsmith\\");
        QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("/");
    }
    void addBackslash()
    {
        QFETCH(QString, folder);
        QFETCH(QString, joined);
        QCOMPARE(modFile::AddBackslash(folder), joined);
    }

    void safeToOpen_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("safe");
        QTest::newRow("txt") << QStringLiteral("/tmp/a.txt") << true;
        QTest::newRow("RTF") << QStringLiteral("/tmp/a.RTF") << true;
        QTest::newRow("htm") << QStringLiteral("/tmp/a.htm") << true;
        QTest::newRow("html") << QStringLiteral("/tmp/a.html") << true;
        QTest::newRow("shell script") << QStringLiteral("/tmp/a.sh") << false;
        QTest::newRow("desktop entry") << QStringLiteral("/tmp/a.desktop") << false;
        QTest::newRow("batch file") << QStringLiteral("C:\\a.bat") << false;
        QTest::newRow("no extension") << QStringLiteral("/tmp/run") << false;
        QTest::newRow("txt folder, executable name") << QStringLiteral("/tmp/x.txt/run") << false;
    }
    void safeToOpen()
    {
        QFETCH(QString, path);
        QFETCH(bool, safe);
        QCOMPARE(modFile::isSafeToOpen(path), safe);
    }

    void headers()
    {
        QCOMPARE(headerLines(OutputKind::RichText, 8, false).value(1), QStringLiteral("\\viewkind4\\uc1\\pard\\f0\\fs16"));
        QCOMPARE(headerLines(OutputKind::RichText, 10, true).size(), 2); // never a reminder in RTF
        QVERIFY(headerLines(OutputKind::RichText, 10, true).value(1).endsWith(u"\\fs20"));
        const QStringList reminder = headerLines(OutputKind::Text, 10, true);
        QCOMPARE(reminder.size(), 7);
        QVERIFY(reminder.first().endsWith(u"and size to 10."));
        QCOMPARE(reminder.mid(4), (QStringList{QString(), QString(), QString()}));
        QCOMPARE(headerLines(OutputKind::Html, 10, true), reminder);
        QVERIFY(headerLines(OutputKind::Text, 10, false).isEmpty());
    }

    void rows_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("line");
        const int text = int(OutputKind::Text), rtf = int(OutputKind::RichText), html = int(OutputKind::Html);
        QTest::newRow("text as it is") << text << QStringLiteral("\\{<&>}") << QStringLiteral("\\{<&>}");
        QTest::newRow("rtf escapes backslash and braces") << rtf << QStringLiteral("a\\b{c}d<&>") << QStringLiteral("a\\\\b\\{c\\}d<&>\\par");
        QTest::newRow("html escapes ampersand and angles") << html << QStringLiteral("a<b&c>d\\{}") << QStringLiteral("a&lt;b&amp;c&gt;d\\{}<BR>");
        QTest::newRow("empty html row") << html << QString() << QStringLiteral("<BR>");
        QTest::newRow("runs of spaces kept") << html << QStringLiteral("   ") << QStringLiteral("   <BR>");
        // Characters Windows-1252 lacks by number, a pair as one character; those it holds as they are.
        QTest::newRow("rtf outside the code page") << rtf << QStringLiteral("\u2591\u2592\u2593\u2588\u00E9\U0001F600")
                                                   << QStringLiteral("\\u9617?\\u9618?\\u9619?\\u9608?\u00E9\\u-10179?\\u-8704?\\par");
        QTest::newRow("html outside the code page") << html << QStringLiteral("\u2591\u20AC\U0001F600<")
                                                    << QStringLiteral("&#9617;\u20AC&#128512;&lt;<BR>");
    }
    void rows()
    {
        QFETCH(int, kind);
        QFETCH(QString, row);
        QFETCH(QString, line);
        QCOMPARE(rowLine(OutputKind(kind), row), line);
    }

    void trailers()
    {
        QCOMPARE(trailerLines(OutputKind::RichText), (QStringList{QStringLiteral("}"), QString(), QString(), QStringLiteral("Generated by Glyphsmith")}));
        QCOMPARE(trailerLines(OutputKind::Html), (QStringList{QString(), QString(), QStringLiteral("Generated by Glyphsmith")}));
    }

    void windows1252_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringLiteral(" .:#") << QByteArray(" .:#");
        QTest::newRow("latin-1 range") << QStringLiteral("\u00B7\u00B0\u00E9\u00FF") << QByteArray("\xB7\xB0\xE9\xFF");
        QTest::newRow("euro and quotes") << QStringLiteral("\u20AC\u2018\u2019\u0178") << QByteArray("\x80\x91\x92\x9F");
        QTest::newRow("unrepresentable becomes ?") << QStringLiteral("\u2591\u2593") << QByteArray("??");
        QTest::newRow("a pair is one character") << QStringLiteral("a\U0001F600b") << QByteArray("a?b");
        QTest::newRow("undefined bytes round-trip") << QStringLiteral("\u0081\u008D\u008F\u0090\u009D") << QByteArray("\x81\x8D\x8F\x90\x9D");
    }
    void windows1252()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Windows1252::encode(text), bytes);
        if (!bytes.contains('?'))
            QCOMPARE(Windows1252::decode(bytes), text);
    }

    void windows1252DecodesEveryByte()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(Windows1252::encode(Windows1252::decode(all)), all);
    }
};

QTEST_APPLESS_MAIN(TestOutputFormat)
#include "tst_outputformat.moc"
