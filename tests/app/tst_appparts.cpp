#include "FileFilter.h"
#include "OptionCheckBox.h"
#include "ProductInfo.h"
#include "ProposedOutput.h"
#include "RunInputs.h"
#include "modSetAlphaIcon.h"

#include <QFile>
#include <QTest>

// The small pure pieces of the main window, each over its own table of cases.
class TestAppParts : public QObject
{
    Q_OBJECT

private slots:
    void filterConversion_data();
    void filterConversion();
    void proposedOutput_data();
    void proposedOutput();
    void sizeFactor_data();
    void sizeFactor();
    void detail_data();
    void detail();
    void fontReminder_data();
    void fontReminder();
    void aboutText();
    void optionBoxClicksNeverGrey();
    void iconGroupHoldsEverySize();
    void iconGoesToTheTopOwnerOnlyWhenAsked();
};

void TestAppParts::filterConversion_data()
{
    QTest::addColumn<QString>("windowsFilter");
    QTest::addColumn<QString>("qtFilter");
    QTest::newRow("picture filter") << "All Picture Files|*.bmp;*.jpg;*.jpeg;*.gif;*.ico;*.cur|All Files (*.*)|*.*"
                                    << "All Picture Files (*.bmp *.jpg *.jpeg *.gif *.ico *.cur);;All Files (*)";
    QTest::newRow("output filter") << "Text File (*.txt)|*.txt|Rich Text File (*.rtf)|*.rtf"
                                   << "Text File (*.txt);;Rich Text File (*.rtf)";
    QTest::newRow("description names other patterns") << "Pictures (*.png)|*.gif" << "Pictures (*.gif)";
    QTest::newRow("blanks and empty patterns") << " Text | *.txt ; ;*.log" << "Text (*.txt *.log)";
    QTest::newRow("pair without patterns dropped") << "Empty||Text|*.txt" << "Text (*.txt)";
    QTest::newRow("trailing description dropped") << "Text|*.txt|Dangling" << "Text (*.txt)";
    QTest::newRow("patterns without description") << "|*.txt" << "*.txt";
    QTest::newRow("nothing") << "" << "";
}

void TestAppParts::filterConversion()
{
    QFETCH(QString, windowsFilter);
    QFETCH(QString, qtFilter);
    QCOMPARE(qtFileFilter(windowsFilter), qtFilter);
}

void TestAppParts::proposedOutput_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("output");
    QTest::newRow("extension replaced") << "cat.jpg" << "cat.txt";
    QTest::newRow("no extension") << "cat" << "cat.txt";
    QTest::newRow("dot only in the folder") << "/home/a.b/cat" << "/home/a.b/cat.txt";
    QTest::newRow("backslash folder with dot") << "C:\\a.b\\cat" << "C:\\a.b\\cat.txt";
    QTest::newRow("full path") << "/home/a/pics/cat.jpeg" << "/home/a/pics/cat.txt";
    QTest::newRow("two dots") << "/p/cat.tar.gz" << "/p/cat.tar.txt";
    QTest::newRow("trailing dot") << "/p/cat." << "/p/cat.txt";
    QTest::newRow("already txt") << "/p/notes.txt" << "/p/notes.txt";
}

void TestAppParts::proposedOutput()
{
    QFETCH(QString, source);
    QFETCH(QString, output);
    QCOMPARE(proposedOutputPath(source), output);
}

void TestAppParts::sizeFactor_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<float>("factor");
    QTest::newRow("one") << "en_US" << "1" << true << 1.0f;
    QTest::newRow("C form under English") << "en_US" << "0.5" << true << 0.5f;
    QTest::newRow("comma under German") << "de_DE" << "0,5" << true << 0.5f;
    QTest::newRow("C form under German") << "de_DE" << "0.5" << true << 0.5f;
    // A dot groups thousands in German; "1.5" must not become fifteen.
    QTest::newRow("dot is no group under German") << "de_DE" << "1.5" << true << 1.5f;
    QTest::newRow("comma is no group under English") << "en_US" << "1,5" << false << 0.0f;
    QTest::newRow("leading point") << "en_US" << ".5" << true << 0.5f;
    QTest::newRow("negative") << "en_US" << "-2" << true << -2.0f;
    QTest::newRow("blanks around") << "en_US" << " 2 " << true << 2.0f;
    QTest::newRow("letters") << "en_US" << "abc" << false << 0.0f;
    QTest::newRow("empty") << "en_US" << "" << false << 0.0f;
    QTest::newRow("blanks") << "en_US" << "   " << false << 0.0f;
    QTest::newRow("infinity") << "en_US" << "inf" << false << 0.0f;
    QTest::newRow("not a number") << "en_US" << "nan" << false << 0.0f;
    QTest::newRow("beyond float") << "C" << "1e39" << false << 0.0f;
}

void TestAppParts::sizeFactor()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(float, factor);
    const std::optional<float> result = sizeFactorOf(text, QLocale(locale));
    QCOMPARE(result.has_value(), valid);
    if (valid)
        QCOMPARE(*result, factor);
}

void TestAppParts::detail_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("detail"); // -1: not a detail
    QTest::newRow("ten") << "10" << 10;
    QTest::newRow("largest entry") << "200" << 200;
    QTest::newRow("255") << "255" << 255;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("half rounds to even down") << "10.5" << 10;
    QTest::newRow("half rounds to even up") << "11.5" << 12;
    QTest::newRow("255.5 rounds to 256") << "255.5" << -1;
    QTest::newRow("256") << "256" << -1;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("word") << "ten" << -1;
}

void TestAppParts::detail()
{
    QFETCH(QString, text);
    QFETCH(int, detail);
    const std::optional<quint8> result = detailOf(text, QLocale(QLocale::English));
    QCOMPARE(result ? int(*result) : -1, detail);
}

void TestAppParts::fontReminder_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("box");
    QTest::addColumn<bool>("reminder");
    const QStringList others{"a.txt", "a.TXT", "a.htm", "a.Html", "a", "a.rtf.txt"};
    for (const QString &output : others) {
        QTest::addRow("%s checked", qPrintable(output)) << output << int(Qt::Checked) << true;
        QTest::addRow("%s unchecked", qPrintable(output)) << output << int(Qt::Unchecked) << false;
        QTest::addRow("%s greyed", qPrintable(output)) << output << int(Qt::PartiallyChecked) << false;
    }
    for (const char *output : {"a.rtf", "a.RTF", "a.Rtf", "/x.y/a.rTf"})
        QTest::addRow("%s checked", output) << QString(output) << int(Qt::Checked) << false;
}

void TestAppParts::fontReminder()
{
    QFETCH(QString, output);
    QFETCH(int, box);
    QFETCH(bool, reminder);
    QCOMPARE(fontReminderFor(output, Qt::CheckState(box)), reminder);
}

void TestAppParts::aboutText()
{
    // The version line is built from the project's version "major.minor.patch".
    const QStringList version = QStringLiteral(GLYPHSMITH_PROJECT_VERSION).split(u'.');
    QCOMPARE(version.size(), 3);
    const QStringList lines = ProductInfo::aboutText().split(u'\n');
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], "Glyphsmith is a handy tool to quickly generate ASCII text images from common graphical images.");
    QCOMPARE(lines[1], "For more information on Glyphsmith or other software visit https://quorvane.example/glyphsmith/support");
    QCOMPARE(lines[2], QString());
    QCOMPARE(lines[3], QStringLiteral("Glyphsmith Version: %1.%2 Build %3").arg(version[0], version[1], version[2]));
    QCOMPARE(ProductInfo::aboutTitle(), "About Quorvane Glyphsmith");
    QCOMPARE(ProductInfo::version(), GLYPHSMITH_PROJECT_VERSION);
}

void TestAppParts::optionBoxClicksNeverGrey()
{
    OptionCheckBox box;
    QVERIFY(box.setValue(2));
    QCOMPARE(box.value(), 2);
    QList<int> afterClicks;
    for (int i = 0; i < 4; ++i) {
        box.click();
        afterClicks << box.value();
    }
    QCOMPARE(afterClicks, (QList<int>{1, 0, 1, 0}));
}

void TestAppParts::iconGroupHoldsEverySize()
{
    if (!QFile::exists(QStringLiteral(":/icons/abc-16.png")))
        QSKIP("the icon resources are not linked into this build");
    const QIcon icon = iconGroup(QStringLiteral("ABC"));
    QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}}));
    // The window system asks for the size it draws and gets the image made for it.
    QCOMPARE(icon.pixmap(QSize(32, 32)).size(), QSize(32, 32));
    QCOMPARE(icon.pixmap(QSize(16, 16)).size(), QSize(16, 16));
    QVERIFY(iconGroup(QStringLiteral("NoSuchGroup")).isNull());
}

void TestAppParts::iconGoesToTheTopOwnerOnlyWhenAsked()
{
    QWidget top;
    QWidget middle(&top, Qt::Window);
    QWidget window(&middle, Qt::Window);
    QCOMPARE(topOwner(&window), &top);
    QCOMPARE(topOwner(&top), &top);
    // A null icon clears a window's own icon, so delivery shows only with the images present.
    if (iconGroup(QStringLiteral("ABC")).isNull())
        QSKIP("the icon resources are not linked into this build");

    SetIcon(&window, QStringLiteral("ABC"), false);
    QVERIFY(window.testAttribute(Qt::WA_SetWindowIcon));
    QVERIFY(!top.testAttribute(Qt::WA_SetWindowIcon));

    SetIcon(&window, QStringLiteral("ABC"), true);
    QVERIFY(top.testAttribute(Qt::WA_SetWindowIcon));
    QVERIFY(!middle.testAttribute(Qt::WA_SetWindowIcon));
}

QTEST_MAIN(TestAppParts)
#include "tst_appparts.moc"
