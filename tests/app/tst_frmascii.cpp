#include "FakePlatform.h"
#include "FileFilter.h"
#include "OptionCheckBox.h"
#include "TestFolder.h"
#include "frmASCII.h"

#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <memory>

// The main window at rest: what it shows after loading, its stored options, choosing the picture,
// the About box and the filters of its dialogs.
class TestFrmASCII : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void stateAfterLoading_data();
    void stateAfterLoading();
    void optionsRestored_data();
    void optionsRestored();
    void choosingAPicture_data();
    void choosingAPicture();
    void aboutBox();
    void filterConversion_data();
    void filterConversion();

private:
    void open() { window = std::make_unique<frmASCII>(*platform); }

    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<TestFolder> folder;
    std::unique_ptr<frmASCII> window;
};

namespace {

// Drags `urls` over `window` and drops them there; whether the window welcomed the drag.
bool dragAndDrop(QWidget *window, const QList<QUrl> &urls)
{
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
    return enter.isAccepted();
}

} // namespace

void TestFrmASCII::init()
{
    window.reset();
    platform = std::make_unique<FakePlatform>();
    folder = std::make_unique<TestFolder>();
    platform->folder = folder->path(QString());
    open();
}

void TestFrmASCII::stateAfterLoading_data()
{
    QTest::addColumn<QByteArray>("formats"); // null: no Formats.TXT
    QTest::addColumn<QStringList>("ramps");
    QTest::newRow("two ramps") << QByteArray(" .:#\r\n@%\r\n") << QStringList{" .:#", "@%"};
    QTest::newRow("missing ramp file: one empty entry") << QByteArray() << QStringList{QString()};
    QTest::newRow("blank and repeated lines kept") << QByteArray("A\r\n\r\nA") << QStringList{"A", "", "A"};
    QTest::newRow("LF and CR LF line ends mixed") << QByteArray("A\nB\r\n") << QStringList{"A", "B"};
}

void TestFrmASCII::stateAfterLoading()
{
    QFETCH(QByteArray, formats);
    QFETCH(QStringList, ramps);
    if (!formats.isNull())
        folder->writeFile(QStringLiteral("Formats.TXT"), formats);
    open();
    const MainWindowControls &c = window->controls();
    QStringList entries;
    for (int i = 0; i < c.lstL2D->count(); ++i)
        entries << c.lstL2D->item(i)->text();
    QCOMPARE(entries, ramps);
    QCOMPARE(c.lstL2D->currentRow(), 0);
    QCOMPARE(c.cmbDetail->count(), 200);
    QCOMPARE(c.cmbDetail->itemText(199), "200");
    QCOMPARE(c.cmbDetail->currentText(), "10");
    QCOMPARE(c.txtSize->text(), "1");
    QCOMPARE(c.sbPanel1->text(), "Ready");
    QVERIFY(c.Progress->isHidden() && !c.Progress->isTextVisible());
    QVERIFY(platform->messages.isEmpty());
    if (!QFile::exists(QStringLiteral(":/icons/abc-16.png")))
        QSKIP("the icon resources are not linked into this build");
    QCOMPARE(window->windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}}));
}

void TestFrmASCII::optionsRestored_data()
{
    QTest::addColumn<QString>("stored"); // null: no key
    QTest::addColumn<int>("value");
    QTest::newRow("first start: checked") << QString() << 1;
    QTest::newRow("0: unchecked") << "0" << 0;
    QTest::newRow("2: greyed") << "2" << 2;
    QTest::newRow("word ignored") << "yes" << 1;
    QTest::newRow("other number ignored") << "3" << 1;
}

void TestFrmASCII::optionsRestored()
{
    QFETCH(QString, stored);
    QFETCH(int, value);
    for (const bool reminder : {false, true}) {
        const auto box = [&](bool ofReminder) { return ofReminder ? window->controls().iFR : window->controls().oNP; };
        platform->store.clear();
        if (!stored.isNull())
            platform->store.insert(reminder ? "Glyphsmith/Options/ChecksFR" : "Glyphsmith/Options/Checks", stored);
        const QMap<QString, QString> before = platform->store;
        open();
        QCOMPARE(box(reminder)->value(), value);
        QCOMPARE(box(!reminder)->value(), 1);
        // A restored value is written back as it was; a first start writes nothing.
        QCOMPARE(platform->store, before);
        // A click is saved at once; from the greyed state it checks the box.
        box(reminder)->click();
        open();
        QCOMPARE(box(reminder)->value(), value == 1 ? 0 : 1);
    }
}

void TestFrmASCII::choosingAPicture_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("output"); // empty: the picture is not taken
    QTest::newRow("Browse: extension replaced") << "browse" << "/p/cat.jpg" << "/p/cat.txt";
    QTest::newRow("Browse: no extension") << "browse" << "cat" << "cat.txt";
    QTest::newRow("Browse: dot only in the folder") << "browse" << "/home/a.b/cat" << "/home/a.b/cat.txt";
    QTest::newRow("Browse: dot only in a backslash folder") << "browse" << "C:\\a.b\\cat" << "C:\\a.b\\cat.txt";
    QTest::newRow("Browse: same picture again") << "browse again" << "/p/cat.jpg" << "/p/cat.txt";
    QTest::newRow("Browse cancelled") << "cancel" << "/p/cat.jpg" << "";
    QTest::newRow("one file dropped") << "drop" << "/p/cat.png" << "/p/cat.txt";
    QTest::newRow("two files dropped") << "drop two" << "/p/cat.png" << "";
    // Read, a FIFO or a device would hold the window up; they are refused with a message.
    QTest::newRow("Browse: a device") << "browse" << "/dev/null" << "";
    QTest::newRow("a folder dropped") << "drop" << "/" << "";
}

void TestFrmASCII::choosingAPicture()
{
    QFETCH(QString, how);
    QFETCH(QString, picture);
    QFETCH(QString, output);
    const bool taken = !output.isEmpty();
    const MainWindowControls &c = window->controls();
    if (how == u"browse again")
        c.txtSource->setText(picture);
    c.txtResult->setText(QStringLiteral("/elsewhere/old.rtf"));
    if (how.startsWith(u"drop")) {
        QCOMPARE(dragAndDrop(window.get(), QList<QUrl>(how == u"drop two" ? 2 : 1, QUrl::fromLocalFile(picture))), how == u"drop");
    } else {
        if (how != u"cancel")
            platform->answers << picture;
        c.cmdPicBrowse->click();
    }
    QCOMPARE(c.txtSource->text(), taken ? picture : QString());
    QCOMPARE(platform->messages, QFile::exists(picture) ? QStringList{"Glyphsmith: The Source Picture Could Not Be Loaded"} : QStringList());
    QCOMPARE(c.txtResult->text(), taken ? output : QStringLiteral("/elsewhere/old.rtf"));
    // The two dialogs share one file name, so the Save dialog offers the picture's.
    c.cmdASCIIBrowse->click();
    QCOMPARE(platform->dialogs.last().fileName, taken ? picture : QString());
}

void TestFrmASCII::aboutBox()
{
    window->findChild<QAction *>(QStringLiteral("mnuAbout"))->trigger();
    QCOMPARE(platform->messages,
             QStringList{"About Quorvane Glyphsmith: "
                         "Glyphsmith is a handy tool to quickly generate ASCII text images from common graphical images.\n"
                         "For more information on Glyphsmith or other software visit https://quorvane.example/glyphsmith/support\n"
                         "\n"
                         "Glyphsmith Version: 7.0 Build 67"});
}

void TestFrmASCII::filterConversion_data()
{
    QTest::addColumn<QString>("barSeparated");
    QTest::addColumn<QString>("qtFilter");
    QTest::newRow("picture dialog") << "Pictures|*.bmp;*.jpg|All Files (*.*)|*.*" << "Pictures (*.bmp *.jpg);;All Files (*)";
    QTest::newRow("description names other patterns") << "Pictures (*.png)|*.gif" << "Pictures (*.gif)";
    QTest::newRow("blanks and empty patterns") << " Text | *.txt ; ;*.log" << "Text (*.txt *.log)";
    QTest::newRow("pair without patterns dropped") << "Empty||Text|*.txt|Dangling" << "Text (*.txt)";
}

void TestFrmASCII::filterConversion()
{
    QFETCH(QString, barSeparated);
    QFETCH(QString, qtFilter);
    QCOMPARE(qtFileFilter(barSeparated), qtFilter);
}

QTEST_MAIN(TestFrmASCII)
#include "tst_frmascii.moc"
