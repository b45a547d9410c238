#include "FakePlatform.h"
#include "OptionCheckBox.h"
#include "ProductInfo.h"
#include "TestFolder.h"
#include "frmASCII.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <memory>

// The main window at rest: what it shows after loading, its commands and its input checks.
class TestFrmASCII : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void stateAfterLoading();
    void geometry_data();
    void geometry();
    void windowIsFixedAndHoldsTheStatusBar();
    void tabOrder();
    void inputChecks_data();
    void inputChecks();
    void sizeRefusal_data();
    void sizeRefusal();
    void pictureBrowseReplacesTheOutput();
    void dialogsShareTheLastName();
    void cancelledDialogsChangeNothing();
    void choosingTheSamePictureAgainProposesTheOutput();
    void outputProposal_data();
    void outputProposal();
    void droppedPicture();
    void dropsThatAreRefused_data();
    void dropsThatAreRefused();
    void aboutBox();
    void onlineSupport();

private:
    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<TestFolder> folder;
    std::unique_ptr<frmASCII> window;
};

namespace {

QMimeData *urlData(const QList<QUrl> &urls)
{
    auto *data = new QMimeData;
    data->setUrls(urls);
    return data;
}

// Sends a whole drag and drop to `window`; whether the window took the drop.
bool dropOn(QWidget *window, const QList<QUrl> &urls)
{
    std::unique_ptr<QMimeData> data(urlData(urls));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
    return drop.isAccepted();
}

} // namespace

void TestFrmASCII::init()
{
    platform = std::make_unique<FakePlatform>();
    folder = std::make_unique<TestFolder>();
    platform->folder = folder->path(QString());
    folder->writeFile(QStringLiteral("Formats.TXT"), " .:#\r\n@%\r\n");
    window = std::make_unique<frmASCII>(*platform);
}

void TestFrmASCII::cleanup()
{
    window.reset();
    folder.reset();
    platform.reset();
}

void TestFrmASCII::stateAfterLoading()
{
    const MainWindowControls &c = window->controls();
    QCOMPARE(window->windowTitle(), "Glyphsmith");
    QCOMPARE(c.cmbDetail->count(), 200);
    QCOMPARE(c.cmbDetail->itemText(0), "1");
    QCOMPARE(c.cmbDetail->itemText(199), "200");
    QCOMPARE(c.cmbDetail->currentText(), "10");
    QVERIFY(!c.cmbDetail->isEditable());
    QCOMPARE(c.txtSize->text(), "1");
    QCOMPARE(c.txtSize->maxLength(), 3);
    QCOMPARE(c.lstL2D->count(), 2);
    QCOMPARE(c.lstL2D->currentRow(), 0);
    QCOMPARE(c.lstL2D->currentItem()->text(), " .:#");
    QVERIFY(c.txtSource->isReadOnly());
    QVERIFY(c.txtResult->isReadOnly());
    QVERIFY(c.txtSource->text().isEmpty());
    QVERIFY(c.txtResult->text().isEmpty());
    QCOMPARE(c.oNP->value(), 1);
    QCOMPARE(c.iFR->value(), 1);
    QCOMPARE(c.sbPanel1->text(), "Ready");
    QVERIFY(c.sbPanel2->text().isEmpty());
    QCOMPARE(c.cmdMake->text(), "Make ASCII Picture");
    QCOMPARE(c.Progress->minimum(), 0);
    QCOMPARE(c.Progress->maximum(), 100);
    for (QWidget *hidden : {static_cast<QWidget *>(c.Progress), static_cast<QWidget *>(c.cmdAdd),
                            static_cast<QWidget *>(c.txtL2D), static_cast<QWidget *>(c.Command1)})
        QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName()));
    QVERIFY(platform->messages.isEmpty());
    QCOMPARE(platform->storeWrites, 0);

    const QMenu *help = window->menuBar()->findChild<QMenu *>(QStringLiteral("mnuHelp"));
    QVERIFY(help);
    QCOMPARE(help->title(), "Help");
    QStringList items;
    for (const QAction *action : help->actions())
        items << action->objectName() + u'=' + action->text();
    QCOMPARE(items, (QStringList{"mnuOS=Online Support", "mnuAbout=About Quorvane Glyphsmith"}));
}

void TestFrmASCII::geometry_data()
{
    // Pixels worked out from the twips of the drawn window, 15 twips to the pixel.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("Label4") << "Label4" << QRect(8, 3, 545, 45);
    QTest::newRow("txtSource") << "txtSource" << QRect(112, 56, 361, 19);
    QTest::newRow("cmdPicBrowse") << "cmdPicBrowse" << QRect(480, 52, 81, 25);
    QTest::newRow("lstL2D") << "lstL2D" << QRect(8, 152, 553, 130);
    QTest::newRow("Command2") << "Command2" << QRect(8, 288, 553, 25);
    QTest::newRow("cmbDetail") << "cmbDetail" << QRect(56, 344, 81, 23);
    QTest::newRow("cmdMake") << "cmdMake" << QRect(8, 376, 553, 41);
    QTest::newRow("Progress inside cmdMake") << "Progress" << QRect(8, 384, 553, 33);
    QTest::newRow("oNP") << "oNP" << QRect(8, 424, 297, 26);
    QTest::newRow("sb at the foot") << "sb" << QRect(0, 471, 569, 22);
    QTest::newRow("cmdAdd below the client area") << "cmdAdd" << QRect(0, 576, 49, 25);
}

void TestFrmASCII::geometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    const QWidget *control = window->centralWidget()->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), rect);
}

void TestFrmASCII::windowIsFixedAndHoldsTheStatusBar()
{
    const MainWindowControls &c = window->controls();
    QCOMPARE(window->centralWidget()->size(), QSize(569, 493));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(window->menuBar()->geometry().bottom() < window->centralWidget()->geometry().top());
    QCOMPARE(c.sb->parentWidget(), window->centralWidget());
    QCOMPARE(c.sbPanel1->width(), 200);
    QCOMPARE(c.sbPanel2->width(), 400);
}

void TestFrmASCII::tabOrder()
{
    const QStringList expected{"txtSource", "cmdPicBrowse", "txtResult", "cmdASCIIBrowse", "lstL2D", "cmdAdd", "txtL2D",
                               "cmbDetail", "cmdMake",      "txtSize",   "Command1",       "oNP",    "iFR",    "Command2"};
    QStringList order;
    QWidget *start = window->controls().txtSource;
    QWidget *w = start;
    do {
        if (expected.contains(w->objectName()) && !order.contains(w->objectName()))
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != start);
    QCOMPARE(order, expected);
}

void TestFrmASCII::inputChecks_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("message");
    QTest::newRow("both empty: source first") << "" << "" << "Select A Source Picture First";
    QTest::newRow("source blanks") << "   " << "/tmp/out.txt" << "Select A Source Picture First";
    QTest::newRow("source tab") << "\t" << "/tmp/out.txt" << "Select A Source Picture First";
    QTest::newRow("output empty") << "/tmp/in.png" << "" << "Select An Output Text File First";
    QTest::newRow("output blanks") << "/tmp/in.png" << "  " << "Select An Output Text File First";
}

void TestFrmASCII::inputChecks()
{
    QFETCH(QString, source);
    QFETCH(QString, output);
    QFETCH(QString, message);
    const MainWindowControls &c = window->controls();
    c.txtSource->setText(source);
    c.txtResult->setText(output);
    c.cmdMake->click();
    QCOMPARE(platform->messages.size(), 1);
    QCOMPARE(platform->messages[0].title, "Glyphsmith");
    QCOMPARE(platform->messages[0].text, message);
    QCOMPARE(c.txtSource->text(), source);
    QCOMPARE(c.txtResult->text(), output);
    QVERIFY(c.cmdMake->isEnabled());
    QCOMPARE(c.sbPanel1->text(), "Ready");
    QVERIFY(c.sbPanel2->text().isEmpty());
}

void TestFrmASCII::sizeRefusal_data()
{
    QTest::addColumn<QString>("size");
    QTest::newRow("letters") << "abc";
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "   ";
    QTest::newRow("two points") << "1..";
}

void TestFrmASCII::sizeRefusal()
{
    QFETCH(QString, size);
    const MainWindowControls &c = window->controls();
    const QString source = folder->writeChessboard(QStringLiteral("board.png"), 2, 2, 8, 13);
    window->choosePicture(source);
    c.txtSize->setText(size);
    c.cmdMake->click();
    QCOMPARE(platform->messages.size(), 1);
    QCOMPARE(platform->messages[0].title, "Glyphsmith");
    QCOMPARE(platform->messages[0].text, "Enter A Number For The Picture Size First");
    QCOMPARE(folder->entries(), (QStringList{"Formats.TXT", "board.png"}));
    QVERIFY(platform->openedFiles.isEmpty());
    QVERIFY(c.cmdMake->isEnabled());
    QVERIFY(c.txtSize->isEnabled());
}

void TestFrmASCII::pictureBrowseReplacesTheOutput()
{
    const MainWindowControls &c = window->controls();
    c.txtResult->setText(QStringLiteral("/elsewhere/chosen.rtf"));
    platform->openAnswers.push_back(QStringLiteral("/pics/cat.jpg"));
    c.cmdPicBrowse->click();
    QCOMPARE(platform->openRequests.size(), 1);
    QCOMPARE(platform->openRequests[0].title, "Select A Picture...");
    QCOMPARE(platform->openRequests[0].filter, "All Picture Files (*.bmp *.jpg *.jpeg *.gif *.ico *.cur *.png);;All Files (*)");
    QVERIFY(platform->openRequests[0].fileName.isEmpty());
    QCOMPARE(c.txtSource->text(), "/pics/cat.jpg");
    QCOMPARE(c.txtResult->text(), "/pics/cat.txt");
}

void TestFrmASCII::dialogsShareTheLastName()
{
    const MainWindowControls &c = window->controls();
    platform->openAnswers.push_back(QStringLiteral("/pics/cat.jpg"));
    c.cmdPicBrowse->click();
    platform->saveAnswers.push_back(QStringLiteral("/out/cat art"));
    c.cmdASCIIBrowse->click();
    QCOMPARE(platform->saveRequests.size(), 1);
    QCOMPARE(platform->saveRequests[0].title, "Please Select Resulting ASCII Picture...");
    QCOMPARE(platform->saveRequests[0].filter, "Text File (*.txt);;Rich Text File (*.rtf)");
    QCOMPARE(platform->saveRequests[0].fileName, "/pics/cat.jpg");
    // A name typed without an extension is used as typed.
    QCOMPARE(c.txtResult->text(), "/out/cat art");
    c.cmdPicBrowse->click();
    QCOMPARE(platform->openRequests.last().fileName, "/out/cat art");
}

void TestFrmASCII::cancelledDialogsChangeNothing()
{
    const MainWindowControls &c = window->controls();
    platform->openAnswers.push_back(QStringLiteral("/pics/cat.jpg"));
    c.cmdPicBrowse->click();
    c.cmdPicBrowse->click();
    c.cmdASCIIBrowse->click();
    QCOMPARE(platform->openRequests.size(), 2);
    QCOMPARE(platform->saveRequests.size(), 1);
    QCOMPARE(c.txtSource->text(), "/pics/cat.jpg");
    QCOMPARE(c.txtResult->text(), "/pics/cat.txt");
    // A cancelled dialog does not forget the name chosen before.
    QCOMPARE(platform->saveRequests[0].fileName, "/pics/cat.jpg");
}

void TestFrmASCII::choosingTheSamePictureAgainProposesTheOutput()
{
    const MainWindowControls &c = window->controls();
    platform->openAnswers.push_back(QStringLiteral("/pics/cat.jpg"));
    c.cmdPicBrowse->click();
    platform->saveAnswers.push_back(QStringLiteral("/out/other.rtf"));
    c.cmdASCIIBrowse->click();
    platform->openAnswers.push_back(QStringLiteral("/pics/cat.jpg"));
    c.cmdPicBrowse->click();
    QCOMPARE(c.txtResult->text(), "/pics/cat.txt");
}

void TestFrmASCII::outputProposal_data()
{
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty output gets the proposal") << "" << "/home/a.b/cat" << "/home/a.b/cat.txt";
    QTest::newRow("blank output counts as empty") << "   " << "/p/cat.gif" << "/p/cat.txt";
    QTest::newRow("chosen output kept") << "/q/mine.rtf" << "/p/cat.gif" << "/q/mine.rtf";
}

void TestFrmASCII::outputProposal()
{
    QFETCH(QString, result);
    QFETCH(QString, source);
    QFETCH(QString, expected);
    const MainWindowControls &c = window->controls();
    c.txtResult->setText(result);
    c.txtSource->setText(source);
    QCOMPARE(c.txtResult->text(), expected);
}

void TestFrmASCII::droppedPicture()
{
    const MainWindowControls &c = window->controls();
    c.txtResult->setText(QStringLiteral("/old/output.txt"));
    const QString picture = folder->writeChessboard(QStringLiteral("dropped.png"), 2, 2, 8, 13);
    QVERIFY(dropOn(window.get(), {QUrl::fromLocalFile(picture)}));
    QCOMPARE(c.txtSource->text(), picture);
    QCOMPARE(c.txtResult->text(), folder->path(QStringLiteral("dropped.txt")));
    // The dropped name is the one the dialogs offer next, as after choosing it with Browse.
    c.cmdASCIIBrowse->click();
    QCOMPARE(platform->saveRequests.last().fileName, picture);
}

void TestFrmASCII::dropsThatAreRefused_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<bool>("running");
    QTest::newRow("two files") << QList<QUrl>{QUrl::fromLocalFile("/p/a.png"), QUrl::fromLocalFile("/p/b.png")} << false;
    QTest::newRow("web address") << QList<QUrl>{QUrl("https://example.org/a.png")} << false;
    QTest::newRow("nothing") << QList<QUrl>{} << false;
    QTest::newRow("while the browse button is disabled") << QList<QUrl>{QUrl::fromLocalFile("/p/a.png")} << true;
}

void TestFrmASCII::dropsThatAreRefused()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(bool, running);
    const MainWindowControls &c = window->controls();
    c.cmdPicBrowse->setEnabled(!running);
    QVERIFY(!dropOn(window.get(), urls));
    QVERIFY(c.txtSource->text().isEmpty());
    QVERIFY(c.txtResult->text().isEmpty());
}

void TestFrmASCII::aboutBox()
{
    window->findChild<QAction *>(QStringLiteral("mnuAbout"))->trigger();
    QCOMPARE(platform->messages.size(), 1);
    QCOMPARE(platform->messages[0].title, "About Quorvane Glyphsmith");
    QCOMPARE(platform->messages[0].text, ProductInfo::aboutText());
}

void TestFrmASCII::onlineSupport()
{
    window->findChild<QAction *>(QStringLiteral("mnuOS"))->trigger();
    QCOMPARE(platform->webPages, QStringList{"https://quorvane.example/glyphsmith/support"});
    // The About box names the same address.
    window->findChild<QAction *>(QStringLiteral("mnuAbout"))->trigger();
    QVERIFY(platform->messages.last().text.contains(platform->webPages.first()));
    QVERIFY(platform->openedFiles.isEmpty());
}

QTEST_MAIN(TestFrmASCII)
#include "tst_frmascii.moc"
