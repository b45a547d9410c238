#include "FakePlatform.h"
#include "TestFolder.h"
#include "frmASCII.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>

// The ramp list as the main window reads it from Formats.TXT and writes it back.
class TestCharacterSets : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void lineRules_data();
    void lineRules();
    void missingFileGivesOneEmptyEntry();
    void addRewritesTheFile_data();
    void addRewritesTheFile();
    void emptyAdditionIsIgnored();
    void unwritableFileKeepsTheEntryInTheList();

private:
    QStringList entries() const;

    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<TestFolder> folder;
    std::unique_ptr<frmASCII> window;
};

void TestCharacterSets::init()
{
    platform = std::make_unique<FakePlatform>();
    folder = std::make_unique<TestFolder>();
    platform->folder = folder->path(QString());
}

void TestCharacterSets::cleanup()
{
    window.reset();
    folder.reset();
    platform.reset();
}

QStringList TestCharacterSets::entries() const
{
    QStringList list;
    for (int i = 0; i < window->controls().lstL2D->count(); ++i)
        list << window->controls().lstL2D->item(i)->text();
    return list;
}

void TestCharacterSets::lineRules_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("ramps");
    QTest::newRow("blank line between") << QByteArray("A\r\n\r\nB\r\n") << QStringList{"A", "", "B"};
    QTest::newRow("repeated line") << QByteArray("A\r\nA\r\n") << QStringList{"A", "A"};
    QTest::newRow("last line unterminated") << QByteArray("A\r\nB") << QStringList{"A", "B"};
    QTest::newRow("blank last line") << QByteArray("A\r\n\r\n") << QStringList{"A", ""};
    QTest::newRow("lone CR ends a line") << QByteArray("A\rB\r") << QStringList{"A", "B"};
    QTest::newRow("lone LF stays in the line") << QByteArray("A\nB\r\n") << QStringList{"A\nB"};
    QTest::newRow("empty file") << QByteArray("") << QStringList{""};
    QTest::newRow("spaces kept") << QByteArray("  .:#  \r\n") << QStringList{"  .:#  "};
    QTest::newRow("8-bit code page") << QByteArray(".\xB7\xA4\xE9\x80\r\n") << QStringList{QString::fromUtf8(".·¤é€")};
}

void TestCharacterSets::lineRules()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, ramps);
    folder->writeFile(QStringLiteral("Formats.TXT"), file);
    window = std::make_unique<frmASCII>(*platform);
    QCOMPARE(entries(), ramps);
    QCOMPARE(window->controls().lstL2D->currentRow(), 0);
}

void TestCharacterSets::missingFileGivesOneEmptyEntry()
{
    window = std::make_unique<frmASCII>(*platform);
    QCOMPARE(entries(), QStringList{QString()});
    QCOMPARE(window->controls().lstL2D->currentRow(), 0);
    QVERIFY(platform->messages.isEmpty());
}

void TestCharacterSets::addRewritesTheFile_data()
{
    QTest::addColumn<QByteArray>("before"); // empty: no file
    QTest::addColumn<QString>("ramp");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("after a missing file") << QByteArray() << "abc" << QByteArray("\r\nabc\r\n");
    QTest::newRow("kept untrimmed, encoded") << QByteArray(" .:#\r\n") << QString::fromUtf8(" é ") << QByteArray(" .:#\r\n \xE9 \r\n");
    QTest::newRow("duplicate appended") << QByteArray("A\r\nB") << "A" << QByteArray("A\r\nB\r\nA\r\n");
    QTest::newRow("LF-only file becomes one line") << QByteArray("A\nB") << "C" << QByteArray("A\nB\r\nC\r\n");
}

void TestCharacterSets::addRewritesTheFile()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, ramp);
    QFETCH(QByteArray, after);
    if (!before.isEmpty())
        folder->writeFile(QStringLiteral("Formats.TXT"), before);
    window = std::make_unique<frmASCII>(*platform);
    const MainWindowControls &c = window->controls();
    const int entriesBefore = c.lstL2D->count();
    c.txtL2D->setText(ramp);
    c.cmdAdd->click();
    QCOMPARE(folder->readFile(QStringLiteral("Formats.TXT")), after);
    QCOMPARE(c.lstL2D->count(), entriesBefore + 1);
    QCOMPARE(entries().last(), ramp);
    QCOMPARE(c.lstL2D->currentRow(), 0);
    QCOMPARE(c.txtL2D->text(), ramp);
    QCOMPARE(folder->entries(), QStringList{"Formats.TXT"});
}

void TestCharacterSets::emptyAdditionIsIgnored()
{
    folder->writeFile(QStringLiteral("Formats.TXT"), "A\n");
    window = std::make_unique<frmASCII>(*platform);
    window->controls().cmdAdd->click();
    QCOMPARE(entries(), QStringList{"A\n"});
    QCOMPARE(folder->readFile(QStringLiteral("Formats.TXT")), "A\n");
}

void TestCharacterSets::unwritableFileKeepsTheEntryInTheList()
{
    platform->folder = folder->path(QStringLiteral("no such folder"));
    window = std::make_unique<frmASCII>(*platform);
    window->controls().txtL2D->setText(QStringLiteral("xyz"));
    window->controls().cmdAdd->click();
    QCOMPARE(entries(), (QStringList{"", "xyz"}));
    QVERIFY(folder->entries().isEmpty());
    QVERIFY(platform->messages.isEmpty());
}

QTEST_MAIN(TestCharacterSets)
#include "tst_charactersets.moc"
