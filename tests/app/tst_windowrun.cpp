#include "FakePlatform.h"
#include "OptionCheckBox.h"
#include "TestFolder.h"
#include "WindowProgress.h"
#include "frmASCII.h"
#include "modASCII.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

// Runs started from the main window: the files they write, what the window shows meanwhile and
// afterwards, and closing the window in the middle of one.
class TestWindowRun : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void handDerivedPicture();
    void sameFileAsTheConverter_data();
    void sameFileAsTheConverter();
    void openingTheFinishedFile_data();
    void openingTheFinishedFile();
    void refusals_data();
    void refusals();
    void inputsDisabledDuringTheRun();
    void progressShown_data();
    void progressShown();
    void eventsProcessedAtMostEvery15ms();
    void closingDuringARun();

private:
    void makeArt(const QString &source, const QString &output);

    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<TestFolder> folder;
    std::unique_ptr<frmASCII> window;
};

namespace {

// What the window shows after one call of the observer.
struct Shown
{
    QString call;
    QString status;
    QString percent;
    QString caption;
    bool progressVisible = false;
    int progressValue = 0;
    bool makeVisible = true;

    QString text() const
    {
        return QStringLiteral("%1 | %2 | %3 | %4 | progress %5 %6 | make %7")
            .arg(call, status, percent, caption, progressVisible ? QStringLiteral("shown") : QStringLiteral("hidden"))
            .arg(progressValue)
            .arg(makeVisible ? QStringLiteral("shown") : QStringLiteral("hidden"));
    }
};

// Passes every call on to the window's observer and notes what the window shows afterwards.
class Recorder : public RunObserver
{
public:
    Recorder(RunObserver &inner, const RunDisplay &display) : m_inner(inner), m_display(display) {}

    QStringList shown;
    bool makeWentBehindEverything = false;

    void progress(const ProgressUpdate &update) override
    {
        m_inner.progress(update);
        note(QStringLiteral("progress"));
    }
    void drawingBegins() override
    {
        m_inner.drawingBegins();
        makeWentBehindEverything = siblingsOf(m_display.make).first() == m_display.make;
    }
    bool yield() override { return m_inner.yield(); }
    void runEnded(const RunOutcome &outcome) override
    {
        m_inner.runEnded(outcome);
        note(QStringLiteral("ended"));
    }

    static QList<QWidget *> siblingsOf(QWidget *widget) { return widget->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly); }

private:
    void note(const QString &call)
    {
        const Shown now{call,
                        m_display.statusPanel->text(),
                        m_display.percentPanel->text(),
                        m_display.window->windowTitle(),
                        m_display.progress->isVisibleTo(m_display.window),
                        m_display.progress->value(),
                        m_display.make->isVisibleTo(m_display.window)};
        shown << now.text();
    }

    RunObserver &m_inner;
    RunDisplay m_display;
};

QString cli() { return QStringLiteral(GLYPHSMITH_CLI); }

} // namespace

void TestWindowRun::init()
{
    platform = std::make_unique<FakePlatform>();
    folder = std::make_unique<TestFolder>();
    platform->folder = folder->path(QString());
    folder->writeFile(QStringLiteral("Formats.TXT"), " .:#\r\n .:-=+*#%@\r\n");
    window = std::make_unique<frmASCII>(*platform);
}

void TestWindowRun::cleanup()
{
    window.reset();
    folder.reset();
    platform.reset();
}

void TestWindowRun::makeArt(const QString &source, const QString &output)
{
    window->choosePicture(source);
    window->controls().txtResult->setText(output);
    window->controls().cmdMake->click();
}

void TestWindowRun::handDerivedPicture()
{
    // Detail 10 cuts cells of 8 x 13 pixels, so a 2 x 2 board of such blocks gives two rows of
    // two characters: black is the darkest of " .:#", white the lightest.
    const MainWindowControls &c = window->controls();
    c.iFR->setValue(0);
    makeArt(folder->writeChessboard(QStringLiteral("board.png"), 2, 2, 8, 13), folder->path(QStringLiteral("board.txt")));
    QVERIFY(platform->messages.isEmpty());
    const QList<QByteArray> lines = folder->readFile(QStringLiteral("board.txt")).split('\n');
    QVERIFY(lines.size() >= 2);
    QCOMPARE(lines[0], "# \r");
    QCOMPARE(lines[1], " #\r");

    QCOMPARE(c.sbPanel1->text(), "Ready");
    QCOMPARE(c.sbPanel2->text(), "100%");
    QCOMPARE(window->windowTitle(), "Glyphsmith");
    QVERIFY(c.Progress->isHidden());
    QVERIFY(!c.cmdMake->isHidden());
    QVERIFY(c.cmdMake->isEnabled());
    QCOMPARE(c.cmdMake->text(), "Make ASCII Picture");
    QCOMPARE(window->focusWidget(), c.cmdMake);
    for (QWidget *input : QList<QWidget *>{c.lstL2D, c.Command2, c.txtSize, c.cmbDetail, c.oNP, c.iFR, c.cmdPicBrowse, c.cmdASCIIBrowse})
        QVERIFY2(input->isEnabled(), qPrintable(input->objectName()));
    QCOMPARE(Recorder::siblingsOf(c.cmdMake).last(), c.cmdMake);
    QCOMPARE(platform->openedFiles, QStringList{folder->path(QStringLiteral("board.txt"))});
}

void TestWindowRun::sameFileAsTheConverter_data()
{
    QTest::addColumn<int>("ramp");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("cliSize");
    QTest::addColumn<int>("detail");
    QTest::addColumn<int>("reminderBox");
    QTest::addColumn<QString>("output");
    QTest::newRow("text, unscaled, reminder") << 1 << "1" << "1" << 10 << 1 << "art.txt";
    QTest::newRow("text, half size, no reminder") << 0 << ".5" << "0.5" << 5 << 0 << "art.txt";
    QTest::newRow("text, greyed reminder box") << 1 << "1" << "1" << 8 << 2 << "art.txt";
    QTest::newRow("html, doubled") << 1 << "2" << "2" << 12 << 1 << "art.html";
    QTest::newRow("rtf never gets a reminder") << 1 << "1.5" << "1.5" << 6 << 1 << "art.RTF";
    QTest::newRow("negative size is unscaled") << 1 << "-1" << "-1" << 10 << 1 << "art.htm";
}

void TestWindowRun::sameFileAsTheConverter()
{
    QFETCH(int, ramp);
    QFETCH(QString, size);
    QFETCH(QString, cliSize);
    QFETCH(int, detail);
    QFETCH(int, reminderBox);
    QFETCH(QString, output);
    QVERIFY2(QFile::exists(cli()), qPrintable(cli()));
    const MainWindowControls &c = window->controls();
    const QString source = folder->writeGradient(QStringLiteral("photo.png"), 120, 90);
    c.lstL2D->setCurrentRow(ramp);
    c.txtSize->setText(size);
    c.cmbDetail->setCurrentIndex(detail - 1);
    c.iFR->setValue(reminderBox);
    makeArt(source, folder->path(output));
    QVERIFY(platform->messages.isEmpty());

    QStringList arguments{QStringLiteral("--quiet"), QStringLiteral("--ramp"), c.lstL2D->item(ramp)->text(), QStringLiteral("--size"),
                          cliSize, QStringLiteral("--detail"), QString::number(detail)};
    if (reminderBox != 1)
        arguments << QStringLiteral("--no-reminder");
    const QString cliOutput = folder->path(QStringLiteral("cli-") + output);
    QProcess process;
    process.start(cli(), arguments << source << cliOutput);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    const QByteArray written = folder->readFile(output);
    QVERIFY(!written.isEmpty());
    QCOMPARE(written, folder->readFile(QStringLiteral("cli-") + output));
}

void TestWindowRun::openingTheFinishedFile_data()
{
    QTest::addColumn<int>("openBox");
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("opened");
    QTest::newRow("checked, text") << 1 << "art.txt" << true;
    QTest::newRow("checked, rich text") << 1 << "art.rtf" << true;
    QTest::newRow("checked, html") << 1 << "art.HTML" << true;
    QTest::newRow("checked, htm") << 1 << "art.htm" << true;
    QTest::newRow("unchecked") << 0 << "art.txt" << false;
    QTest::newRow("greyed") << 2 << "art.txt" << false;
    QTest::newRow("checked, program name") << 1 << "art.sh" << false;
    QTest::newRow("checked, no extension") << 1 << "art" << false;
}

void TestWindowRun::openingTheFinishedFile()
{
    QFETCH(int, openBox);
    QFETCH(QString, output);
    QFETCH(bool, opened);
    window->controls().oNP->setValue(openBox);
    makeArt(folder->writeChessboard(QStringLiteral("board.png"), 3, 2, 8, 13), folder->path(output));
    QVERIFY(QFile::exists(folder->path(output)));
    QCOMPARE(platform->openedFiles, opened ? QStringList{folder->path(output)} : QStringList{});
}

void TestWindowRun::refusals_data()
{
    QTest::addColumn<QByteArray>("ramps");
    QTest::addColumn<QString>("picture"); // "board", "tiny", "missing" or "broken"
    QTest::addColumn<QString>("message");
    QTest::newRow("missing ramp list") << QByteArray() << "board" << "Select The Characters For Your ASCII Art First";
    QTest::newRow("empty ramp selected") << QByteArray("\r\n .:#\r\n") << "board" << "Select The Characters For Your ASCII Art First";
    QTest::newRow("missing picture") << QByteArray(" .:#") << "missing" << "The Source Picture Could Not Be Loaded";
    QTest::newRow("not a picture") << QByteArray(" .:#") << "broken" << "The Source Picture Could Not Be Loaded";
    QTest::newRow("smaller than a cell") << QByteArray(" .:#") << "tiny" << "The Picture Is Smaller Than One Character At This Size And Detail";
}

void TestWindowRun::refusals()
{
    QFETCH(QByteArray, ramps);
    QFETCH(QString, picture);
    QFETCH(QString, message);
    QFile::remove(folder->path(QStringLiteral("Formats.TXT")));
    if (!ramps.isEmpty())
        folder->writeFile(QStringLiteral("Formats.TXT"), ramps);
    window = std::make_unique<frmASCII>(*platform);

    QString source = folder->path(QStringLiteral("missing.png"));
    if (picture == u"board")
        source = folder->writeChessboard(QStringLiteral("board.png"), 2, 2, 8, 13);
    else if (picture == u"tiny")
        source = folder->writeChessboard(QStringLiteral("tiny.png"), 1, 1, 7, 12);
    else if (picture == u"broken")
        source = folder->writeFile(QStringLiteral("broken.png"), "this is not a picture");
    const QStringList before = folder->entries();
    makeArt(source, folder->path(QStringLiteral("art.txt")));

    QCOMPARE(platform->messages.size(), 1);
    QCOMPARE(platform->messages[0].title, "Glyphsmith");
    QCOMPARE(platform->messages[0].text, message);
    QCOMPARE(folder->entries(), before);
    QVERIFY(platform->openedFiles.isEmpty());
    const MainWindowControls &c = window->controls();
    QCOMPARE(c.sbPanel1->text(), "Ready");
    QCOMPARE(window->windowTitle(), "Glyphsmith");
    QVERIFY(c.cmdMake->isEnabled());
    QVERIFY(c.lstL2D->isEnabled());
}

void TestWindowRun::inputsDisabledDuringTheRun()
{
    const MainWindowControls &c = window->controls();
    QStringList enabledDuringRun;
    QString makeCaption;
    bool makeEnabled = true;
    platform->onClock = [&] {
        if (!makeCaption.isEmpty())
            return;
        makeCaption = c.cmdMake->text();
        makeEnabled = c.cmdMake->isEnabled();
        for (QWidget *control : window->centralWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (control->isEnabled() && !control->objectName().startsWith(u"Label"))
                enabledDuringRun << control->objectName();
        }
    };
    makeArt(folder->writeChessboard(QStringLiteral("board.png"), 2, 2, 8, 13), folder->path(QStringLiteral("art.txt")));
    QCOMPARE(makeCaption, "Making ASCII Image...");
    QVERIFY(!makeEnabled);
    // The path boxes are read-only anyway; the hidden controls and the displays stay as they are.
    QStringList expected{"Progress", "cmdAdd", "sb", "txtL2D", "txtResult", "txtSource", "Command1"};
    expected.sort();
    enabledDuringRun.sort();
    QCOMPARE(enabledDuringRun, expected);
    QVERIFY(window->menuBar()->isEnabled());
}

void TestWindowRun::progressShown_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("expected");
    // Worked out from the percentages of each phase: sampling c x 100 / C / 2, greying the same
    // plus 50, drawing r x 100 / (R - 1).
    QTest::newRow("two by two cells") << 2 << 2
                                      << QStringList{
                                             "progress | Analysising Picture | 0% | Glyphsmith - 0% - Analysising Picture | progress hidden 0 | make shown",
                                             "progress | Analysising Picture | 25% | Glyphsmith - 25% - Analysising Picture | progress hidden 0 | make shown",
                                             "progress | Analysising Picture | 50% | Glyphsmith - 50% - Checking Picture | progress hidden 0 | make shown",
                                             "progress | Analysising Picture | 75% | Glyphsmith - 75% - Checking Picture | progress hidden 0 | make shown",
                                             "progress | Drawing ASCII Picture | 0% | Glyphsmith - 0% - Creating Picture | progress shown 0 | make hidden",
                                             "progress | Drawing ASCII Picture | 100% | Glyphsmith - 100% - Creating Picture | progress shown 100 | make hidden",
                                             "ended | Ready | 100% | Glyphsmith | progress hidden 100 | make shown",
                                         };
    // One row has no drawing percentage: only the phase text and the visibility change.
    QTest::newRow("one row of cells") << 2 << 1
                                      << QStringList{
                                             "progress | Analysising Picture | 0% | Glyphsmith - 0% - Analysising Picture | progress hidden 0 | make shown",
                                             "progress | Analysising Picture | 25% | Glyphsmith - 25% - Analysising Picture | progress hidden 0 | make shown",
                                             "progress | Analysising Picture | 50% | Glyphsmith - 50% - Checking Picture | progress hidden 0 | make shown",
                                             "progress | Analysising Picture | 75% | Glyphsmith - 75% - Checking Picture | progress hidden 0 | make shown",
                                             "progress | Drawing ASCII Picture | 75% | Glyphsmith - 75% - Checking Picture | progress shown 0 | make hidden",
                                             "ended | Ready | 100% | Glyphsmith | progress hidden 0 | make shown",
                                         };
}

void TestWindowRun::progressShown()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(QStringList, expected);
    window->controls().oNP->setValue(0);
    RunParameters parameters;
    parameters.sourcePath = folder->writeChessboard(QStringLiteral("board.png"), columns, rows, 8, 13);
    parameters.outputPath = folder->path(QStringLiteral("art.txt"));
    parameters.ramp = QStringLiteral(" .:#");
    WindowProgress observer(window->runDisplay(), parameters.outputPath, *platform, [] { return false; });
    Recorder recorder(observer, window->runDisplay());
    QVERIFY(MakeASCIIPicture(parameters, recorder).succeeded());
    QCOMPARE(recorder.shown, expected);
    QVERIFY(recorder.makeWentBehindEverything);
}

void TestWindowRun::eventsProcessedAtMostEvery15ms()
{
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(0);
    WindowProgress observer(window->runDisplay(), QString(), *platform, [] { return false; });

    platform->clockStep = 5;
    for (int i = 0; i < 30; ++i)
        QVERIFY(observer.yield());
    // Readings 0, 5, ... 145: events at 0, 15, 30, ... 135.
    QCOMPARE(ticks, 10);

    ticks = 0;
    platform->clockStep = 0;
    for (int i = 0; i < 30; ++i)
        QVERIFY(observer.yield());
    QCOMPARE(ticks, 1);
}

void TestWindowRun::closingDuringARun()
{
    const MainWindowControls &c = window->controls();
    QSignalSpy unloaded(window.get(), &frmASCII::unloaded);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const QString source = folder->writeGradient(QStringLiteral("photo.png"), 400, 300);
    window->choosePicture(source);
    c.cmbDetail->setCurrentIndex(0);
    platform->clockStep = 20;
    int closesSent = 0;
    platform->onClock = [&] {
        // Once the drawing has begun, the output file is open.
        if (closesSent == 0 && c.sbPanel1->text() == u"Drawing ASCII Picture") {
            ++closesSent;
            QTimer::singleShot(0, window.get(), &QWidget::close);
        }
    };
    c.cmdMake->click();
    QCOMPARE(closesSent, 1);
    QCOMPARE(unloaded.count(), 1);
    QVERIFY(!window->isVisible());
    QCOMPARE(folder->entries(), (QStringList{"Formats.TXT", "photo.png"}));
    QVERIFY(platform->messages.isEmpty());
    QVERIFY(platform->openedFiles.isEmpty());
    QCOMPARE(c.sbPanel1->text(), "Ready");
}

QTEST_MAIN(TestWindowRun)
#include "tst_windowrun.moc"
