#include "FakePlatform.h"
#include "OptionCheckBox.h"
#include "TestFolder.h"
#include "WindowProgress.h"
#include "frmASCII.h"
#include "modASCII.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

// Runs started from the main window: the file written, what the window shows meanwhile and
// afterwards, its refusals, and closing the window in the middle of a run.
class TestWindowRun : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void sameFileAsTheConverter_data();
    void sameFileAsTheConverter();
    void refusals_data();
    void refusals();
    void progressShown();
    void eventsProcessedAtMostEvery15ms();
    void closingDuringARun();

private:
    void makeArt(const QString &source, const QString &output);
    QStringList disabledControls() const;

    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<TestFolder> folder;
    std::unique_ptr<frmASCII> window;
};

namespace {

// A chessboard of 2 x 2 blocks of 8 x 13 pixels, one character cell each at detail 10, black at the top left.
QString writeBoard(const TestFolder &folder)
{
    QImage board(16, 26, QImage::Format_RGB32);
    for (int y = 0; y < board.height(); ++y) {
        for (int x = 0; x < board.width(); ++x)
            board.setPixel(x, y, (x / 8 + y / 13) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    }
    const QString path = folder.path(QStringLiteral("board.png"));
    return board.save(path) ? path : QString();
}

QString photo() { return QStringLiteral(GLYPHSMITH_TEST_DATA "/good/photo.jpg"); }

// The window's own observer, noting what the window shows after each report.
struct Recorder : WindowProgress
{
    Recorder(const RunDisplay &display, Platform &platform)
        : WindowProgress(display, QString(), platform, [] { return false; }), d(display)
    {
    }
    void progress(const ProgressUpdate &update) override
    {
        WindowProgress::progress(update);
        note();
    }
    void runEnded(const RunOutcome &outcome) override
    {
        WindowProgress::runEnded(outcome);
        note();
    }
    void note()
    {
        const QString bar = d.progress->isVisibleTo(d.window) ? QStringLiteral("bar at %1").arg(d.progress->value()) : "no bar";
        const QString make = d.make->isVisibleTo(d.window) ? "make" : "no make";
        shown << QStringList{d.statusPanel->text(), d.percentPanel->text(), d.window->windowTitle(), make, bar}.join(" | ");
    }

    RunDisplay d;
    QStringList shown;
};

} // namespace

void TestWindowRun::init()
{
    window.reset();
    platform = std::make_unique<FakePlatform>();
    folder = std::make_unique<TestFolder>();
    platform->folder = folder->path(QString());
    // Relative paths, which only a faulty window would write to, land in the scratch folder too.
    QDir::setCurrent(folder->path(QString()));
    // A user whose "," is the decimal sign and whose "." groups thousands: "1.5" must not become fifteen.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // The middle ramp is neither the one selected at start nor the last; the last one is empty.
    folder->writeFile(QStringLiteral("Formats.TXT"), " .:#\r\n .:-=+*#%@\r\n\r\n");
    window = std::make_unique<frmASCII>(*platform);
}

void TestWindowRun::makeArt(const QString &source, const QString &output)
{
    window->choosePicture(source);
    window->controls().txtResult->setText(output);
    window->controls().cmdMake->click();
}

QStringList TestWindowRun::disabledControls() const
{
    QStringList names;
    for (const QWidget *control : window->centralWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!control->isEnabled())
            names << control->objectName();
    }
    names.sort();
    return names;
}

void TestWindowRun::sameFileAsTheConverter_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<int>("boxes"); // the value of both option boxes
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("opened");
    QTest::newRow("TXT, reminder, opened") << "1" << 1 << "art.TXT" << true;
    QTest::newRow("text, half size the German way, boxes unchecked") << "0,5" << 0 << "art.txt" << false;
    QTest::newRow("text, boxes greyed") << "1" << 2 << "art.txt" << false;
    QTest::newRow("HTML, doubled") << "2" << 1 << "art.HTML" << true;
    QTest::newRow("rtf, size in the C form") << "1.5" << 1 << "art.rtf" << true;
    QTest::newRow("htm, negative size is unscaled") << "-1" << 1 << "art.htm" << true;
    QTest::newRow("shell script never opened") << "1" << 1 << "art.sh" << false;
}

void TestWindowRun::sameFileAsTheConverter()
{
    QFETCH(QString, size);
    QFETCH(int, boxes);
    QFETCH(QString, output);
    QFETCH(bool, opened);
    const MainWindowControls &c = window->controls();
    c.lstL2D->setCurrentRow(1);
    c.txtSize->setText(size);
    c.cmbDetail->setCurrentText(QStringLiteral("12"));
    c.iFR->setValue(boxes);
    c.oNP->setValue(boxes);
    QStringList duringRun; // the disabled controls and the make button's caption
    platform->onClock = [&] { duringRun = disabledControls() << c.cmdMake->text(); };
    makeArt(photo(), folder->path(output));

    const QString cliSize = QString(size).replace(u',', u'.');
    QStringList arguments{"--quiet", "--ramp", " .:-=+*#%@", "--size", cliSize, "--detail", "12", photo(), folder->path("cli-" + output)};
    if (boxes != 1)
        arguments << QStringLiteral("--no-reminder");
    QProcess cli;
    cli.start(QStringLiteral(GLYPHSMITH_CLI), arguments);
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    const QByteArray written = folder->readFile(output);
    QVERIFY(!written.isEmpty());
    QCOMPARE(written, folder->readFile("cli-" + output));
    QVERIFY(platform->messages.isEmpty());
    QCOMPARE(platform->openedFiles, opened ? QStringList{folder->path(output)} : QStringList{});

    // The path boxes are read-only anyway, and the hidden controls out of reach.
    QCOMPARE(duringRun, (QStringList{"Command2", "cmbDetail", "cmdASCIIBrowse", "cmdMake", "cmdPicBrowse", "iFR", "lstL2D", "oNP",
                                     "txtSize", "Making ASCII Image..."}));
    QVERIFY(disabledControls().isEmpty());
    QCOMPARE(c.cmdMake->text(), "Make ASCII Picture");
    QCOMPARE(QStringList({c.sbPanel1->text(), c.sbPanel2->text(), window->windowTitle()}),
             (QStringList{"Ready", "100%", "Glyphsmith"}));
    QVERIFY(c.Progress->isHidden() && !c.cmdMake->isHidden());
}

void TestWindowRun::refusals_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("output"); // a file of the folder, or blanks
    QTest::addColumn<QString>("size");
    QTest::addColumn<int>("ramp");
    QTest::addColumn<QString>("message");
    QTest::newRow("no source") << "" << "art.txt" << "1" << 0 << "Select A Source Picture First";
    QTest::newRow("source of blanks") << "   " << "art.txt" << "1" << 0 << "Select A Source Picture First";
    QTest::newRow("no output") << photo() << "" << "1" << 0 << "Select An Output Text File First";
    QTest::newRow("output of blanks") << photo() << " \t " << "1" << 0 << "Select An Output Text File First";
    QTest::newRow("size of letters") << photo() << "art.txt" << "abc" << 0 << "Enter A Number For The Picture Size First";
    QTest::newRow("no size") << photo() << "art.txt" << "" << 0 << "Enter A Number For The Picture Size First";
    QTest::newRow("empty ramp") << photo() << "art.txt" << "1" << 2 << "Select The Characters For Your ASCII Art First";
    QTest::newRow("engine refuses a text file") << QStringLiteral(GLYPHSMITH_TEST_DATA "/bad/text.jpg") << "art.txt" << "1" << 0
                                                << "The Source Picture Could Not Be Loaded";
}

void TestWindowRun::refusals()
{
    QFETCH(QString, source);
    QFETCH(QString, output);
    QFETCH(QString, size);
    QFETCH(int, ramp);
    QFETCH(QString, message);
    const MainWindowControls &c = window->controls();
    c.txtSize->setText(size);
    c.lstL2D->setCurrentRow(ramp);
    makeArt(source, output.trimmed().isEmpty() ? output : folder->path(output));
    QCOMPARE(platform->messages, QStringList{"Glyphsmith: " + message});
    QCOMPARE(folder->entries(), QStringList{"Formats.TXT"});
    QVERIFY(platform->openedFiles.isEmpty());
    QVERIFY(disabledControls().isEmpty());
    QCOMPARE(c.sbPanel1->text(), "Ready");
}

void TestWindowRun::progressShown()
{
    // Worked out from each phase's share: sampling column c of C at c x 100 / C / 2, greying the
    // same plus 50, drawing row r of R at r x 100 / (R - 1).
    const RunParameters parameters{writeBoard(*folder), folder->path(QStringLiteral("art.txt")), QStringLiteral(" .:#")};
    Recorder recorder(window->runDisplay(), *platform);
    QVERIFY(MakeASCIIPicture(parameters, recorder).succeeded());
    QCOMPARE(recorder.shown, (QStringList{
                                 "Analysising Picture | 0% | Glyphsmith - 0% - Analysising Picture | make | no bar",
                                 "Analysising Picture | 25% | Glyphsmith - 25% - Analysising Picture | make | no bar",
                                 "Analysising Picture | 50% | Glyphsmith - 50% - Checking Picture | make | no bar",
                                 "Analysising Picture | 75% | Glyphsmith - 75% - Checking Picture | make | no bar",
                                 "Drawing ASCII Picture | 0% | Glyphsmith - 0% - Creating Picture | no make | bar at 0",
                                 "Drawing ASCII Picture | 100% | Glyphsmith - 100% - Creating Picture | no make | bar at 100",
                                 "Ready | 100% | Glyphsmith | make | no bar",
                             }));
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
        observer.yield();
    // Readings 0, 5, ... 145: events at 0, 15, 30, ... 135.
    QCOMPARE(ticks, 10);
}

void TestWindowRun::closingDuringARun()
{
    const MainWindowControls &c = window->controls();
    QSignalSpy unloaded(window.get(), &frmASCII::unloaded);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    c.cmbDetail->setCurrentIndex(0);
    platform->clockStep = 20;
    bool closeSent = false;
    platform->onClock = [&] {
        // Once the drawing has begun, the output file is open.
        if (c.sbPanel1->text() == u"Drawing ASCII Picture" && !std::exchange(closeSent, true))
            QTimer::singleShot(0, window.get(), &QWidget::close);
    };
    makeArt(photo(), folder->path(QStringLiteral("art.txt")));
    QVERIFY(closeSent);
    QCOMPARE(unloaded.count(), 1);
    QVERIFY(!window->isVisible());
    QCOMPARE(folder->entries(), QStringList{"Formats.TXT"});
    QVERIFY(platform->messages.isEmpty() && platform->openedFiles.isEmpty());
}

QTEST_MAIN(TestWindowRun)
#include "tst_windowrun.moc"
