#include "app/FileFilter.h"
#include "app/frmASCII.h"
#include "app/OptionCheckBox.h"
#include "app/Platform.h"
#include "app/WindowProgress.h"
#include "engine/decode/PictureLoader.h"
#include "engine/modASCII.h"
#include "engine/text/ArtFile.h"
#include "engine/text/OutputKinds.h"
#include "tests/viewer/FakeViewerPlatform.h"
#include "viewer/PicControl.h"
#include "viewer/PicControlTestAccess.h"
#include "viewer/PictureSurface.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QMap>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(ColourDepth)
Q_DECLARE_METATYPE(ToneMapping)
Q_DECLARE_METATYPE(ColourLook)
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>

// Stands in for the desktop: records what the window asks for and answers dialogs from a list.
class FakePlatform : public Platform
{
public:
    QStringList messages;             // "title: text"
    QList<FileDialogRequest> dialogs; // Open and Save alike
    QStringList answers;              // what the next dialogs choose; none left means Cancel
    QStringList openedFiles;
    QMap<QString, QString> store;     // "application/section/key" -> text
    qint64 clockStep = 0;             // added after every reading
    std::function<void()> onClock;    // called at every reading
    QString folder;      // the program's folder
    FakeViewerPlatform viewer;

    void showMessage(QWidget *, const QString &title, const QString &text) override { messages << title + QStringLiteral(": ") + text; }
    std::optional<QString> openFileName(QWidget *, const FileDialogRequest &request) override { return answer(request); }
    std::optional<QString> saveFileName(QWidget *, const FileDialogRequest &request) override { return answer(request); }
    bool openFile(const QString &path) override
    {
        openedFiles << path;
        return true;
    }
    bool openWebPage(const QString &) override { return true; }
    QString setting(const SettingKey &key, const QString &defaultValue) override { return store.value(pathOf(key), defaultValue); }
    void saveSetting(const SettingKey &key, const QString &value) override { store.insert(pathOf(key), value); }
    qint64 clockMs() override
    {
        if (onClock)
            onClock();
        return std::exchange(m_now, m_now + clockStep);
    }
    ViewerPlatform *viewerPlatform() override { return &viewer; }
    RampFile::Folders rampFolders() override { return {folder, {}, {}, {}}; }

private:
    static QString pathOf(const SettingKey &key) { return key.application + u'/' + key.section + u'/' + key.key; }
    std::optional<QString> answer(const FileDialogRequest &request)
    {
        dialogs << request;
        return answers.isEmpty() ? std::nullopt : std::optional(answers.takeFirst());
    }

    qint64 m_now = 0;
};

// A scratch folder for one test: ramp lists, pictures and outputs.
class TestFolder
{
public:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // The names in the folder, sorted; a run's temporary file would show up here.
    QStringList entries() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    QString writeFile(const QString &name, const QByteArray &contents) const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            qFatal("cannot write %s", qPrintable(name));
        return path(name);
    }

    QByteArray readFile(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
};

// The main window: what it shows after loading, its stored options, choosing the picture, runs
// started from it (the settings they take, what it shows meanwhile, its refusals, closing it
// mid-run) and the preview windows it opens.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void stateAfterLoading();
    void optionsRestored_data();
    void optionsRestored();
    void optionsMenu();
    void choosingAPicture_data();
    void choosingAPicture();
    void filterConversion_data();
    void filterConversion();
    void runTakesTheChosenSettings_data();
    void runTakesTheChosenSettings();
    void optionItems_data();
    void optionItems();
    void refusals_data();
    void refusals();
    void progressShown_data();
    void progressShown();
    void eventsProcessedAtMostEvery15ms();
    void closingDuringARun();
    void previewOpensWithTheStoredSet();
    void onePreviewAtATime();
    void clickQueuedWhileThePreviewIsMade();
    void artPreview();
    void keys_data();
    void keys();

private:
    void open() { window = std::make_unique<frmASCII>(*platform); }
    void makeArt(const QString &source, const QString &output);
    QStringList disabledControls() const;
    // Presses "View Your Selected Picture" for `path` and waits for its picture.
    pp *view(const QString &path);

    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<TestFolder> folder;
    std::unique_ptr<frmASCII> window;
};

namespace {

// A menu's text as the menu shows it: its mnemonic's marker is not shown.
QString shown(const QAction *action) { return QString(action->text()).remove(u'&'); }

const QString photo = QStringLiteral(GLYPHSMITH_TEST_DATA "/good/photo.jpg");
const QString rotated = QStringLiteral(GLYPHSMITH_TEST_DATA "/good/rotated.jpg");

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

struct Unwatched : RunObserver
{
    void progress(const ProgressUpdate &) override {}
    void runEnded(const RunOutcome &) override {}
};

} // namespace

void TestMainWindow::init()
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
    open();
}

void TestMainWindow::makeArt(const QString &source, const QString &output)
{
    window->choosePicture(source);
    window->controls().txtResult->setText(output);
    window->controls().cmdMake->click();
}

QStringList TestMainWindow::disabledControls() const
{
    QStringList names;
    for (const QWidget *control : window->centralWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!control->isEnabled())
            names << control->objectName();
    }
    names.sort();
    return names;
}

pp *TestMainWindow::view(const QString &path)
{
    window->controls().txtSource->setText(path);
    window->Command2_Click();
    pp *preview = window->preview();
    QSignalSpy done(preview, &pp::pictureDone);
    if (!path.isEmpty() && done.isEmpty())
        done.wait(10000);
    return preview;
}

// The line rules of the ramp list, and where it is found, are the ramp file's own; here, that
// the list shows it.
void TestMainWindow::stateAfterLoading()
{
    const MainWindowControls &c = window->controls();
    QStringList entries;
    for (int i = 0; i < c.lstL2D->count(); ++i)
        entries << c.lstL2D->item(i)->text();
    QCOMPARE(entries, QStringList({" .:#", " .:-=+*#%@", ""}));
    QCOMPARE(c.lstL2D->currentRow(), 0);
    QCOMPARE(c.cmbDetail->count(), 200);
    QCOMPARE(c.cmbDetail->itemText(199), "200");
    QCOMPARE(c.cmbDetail->currentText(), "10");
    QCOMPARE(c.txtSize->text(), "1");
    QCOMPARE(c.sbPanel1->text(), "Ready");
    QVERIFY(c.Progress->isHidden() && !c.Progress->isTextVisible());
    // The paths are chosen through the dialogs, or by a drop, never typed.
    QVERIFY(c.txtSource->isReadOnly() && c.txtResult->isReadOnly());
    QVERIFY(platform->messages.isEmpty());
    if (!QFile::exists(QStringLiteral(":/icons/abc-16.png")))
        QSKIP("the icon resources are not linked into this build");
    QCOMPARE(window->windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}}));
}

void TestMainWindow::optionsRestored_data()
{
    QTest::addColumn<QString>("stored"); // null: no key
    QTest::addColumn<int>("value");
    QTest::newRow("first start: checked") << QString() << 1;
    QTest::newRow("0: unchecked") << "0" << 0;
    QTest::newRow("2: greyed") << "2" << 2;
    QTest::newRow("word ignored") << "yes" << 1;
    QTest::newRow("other number ignored") << "3" << 1;
}

void TestMainWindow::optionsRestored()
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

// Between View and Help, each item off until the user checks it, then remembered under a key of
// its own; a run takes them: an HTML name written as a page, text in UTF-8.
void TestMainWindow::optionsMenu()
{
    QStringList menus;
    for (const QAction *menu : window->menuBar()->actions())
        menus << shown(menu);
    QCOMPARE(menus, (QStringList{"View", "Options", "Help"}));
    window->controls().cmdASCIIBrowse->click();
    QCOMPARE(platform->dialogs.last().filter, "Text File (*.txt);;Rich Text File (*.rtf);;Web Page (*.htm *.html)");
}

void TestMainWindow::choosingAPicture_data()
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

void TestMainWindow::choosingAPicture()
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
    // The two dialogs share one file name, so the Save dialog offers the picture's, and start in
    // the folder of the file chosen last in either.
    platform->answers << "/q/art.txt";
    c.cmdASCIIBrowse->click();
    QCOMPARE(platform->dialogs.last().fileName, taken ? picture : QString());
    QCOMPARE(platform->dialogs.last().folder, taken ? QFileInfo(picture).absolutePath() : QString());
    c.cmdPicBrowse->click();
    QCOMPARE(platform->dialogs.last().folder, "/q");
}

void TestMainWindow::filterConversion_data()
{
    QTest::addColumn<QString>("barSeparated");
    QTest::addColumn<QString>("qtFilter");
    QTest::newRow("picture dialog") << "Pictures|*.bmp;*.jpg|All Files (*.*)|*.*" << "Pictures (*.bmp *.jpg);;All Files (*)";
    QTest::newRow("description names other patterns") << "Pictures (*.png)|*.gif" << "Pictures (*.gif)";
    QTest::newRow("blanks and empty patterns") << " Text | *.txt ; ;*.log" << "Text (*.txt *.log)";
    QTest::newRow("pair without patterns dropped") << "Empty||Text|*.txt|Dangling" << "Text (*.txt)";
}

void TestMainWindow::filterConversion()
{
    QFETCH(QString, barSeparated);
    QFETCH(QString, qtFilter);
    QCOMPARE(qtFileFilter(barSeparated), qtFilter);
}

// What the run writes is compared whole elsewhere; here, that the window hands it what the user
// chose: the file must be the one a run with those settings writes.
void TestMainWindow::runTakesTheChosenSettings_data()
{
    QTest::addColumn<QString>("size"); // as typed
    QTest::addColumn<float>("factor"); // as the run must read it
    QTest::addColumn<int>("boxes");    // the value of both option boxes; only a checked one writes the reminder
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("opened");
    QTest::newRow("TXT, reminder, opened") << "1" << 1.0f << 1 << "art.TXT" << true;
    QTest::newRow("text, half size the German way, boxes unchecked") << "0,5" << 0.5f << 0 << "art.txt" << false;
    QTest::newRow("text, boxes greyed") << "1" << 1.0f << 2 << "art.txt" << false;
    QTest::newRow("HTML, doubled") << "2" << 2.0f << 1 << "art.HTML" << true;
    QTest::newRow("rtf, size in the C form") << "1.5" << 1.5f << 1 << "art.rtf" << true;
    QTest::newRow("htm, negative size is unscaled") << "-1" << -1.0f << 1 << "art.htm" << true;
    QTest::newRow("shell script never opened") << "1" << 1.0f << 1 << "art.sh" << false;
}

void TestMainWindow::runTakesTheChosenSettings()
{
    QFETCH(QString, size);
    QFETCH(float, factor);
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
    makeArt(photo, folder->path(output));

    Unwatched unwatched;
    const RunParameters chosen{photo, folder->path("direct-" + output), QStringLiteral(" .:-=+*#%@"), factor, 12, boxes == 1};
    QVERIFY(MakeASCIIPicture(chosen, unwatched).succeeded());
    QCOMPARE(folder->readFile(output), folder->readFile("direct-" + output));
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

// Each item off at first, kept under a key of its own as the boxes are ("1" checks it, any other
// word does not) and, checked, chooses the run's kind, code page, mapping and colour; a text file
// has no colour.
void TestMainWindow::optionItems_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("inkStored");   // null: no key
    QTest::addColumn<QStringList>("triggered"); // the keys of the items triggered
    QTest::addColumn<ToneMapping>("tone");
    QTest::addColumn<ColourDepth>("depth");
    QTest::addColumn<ColourLook>("look");
    QTest::newRow("first start: bands, black") << "art.html" << QString() << QStringList() << ToneMapping::bands << ColourDepth::none << ColourLook::characters;
    QTest::newRow("ink stored as 1") << "art.txt" << "1" << QStringList() << ToneMapping::ink << ColourDepth::none << ColourLook::characters;
    QTest::newRow("ink stored as a word") << "art.txt" << "yes" << QStringList() << ToneMapping::bands << ColourDepth::none << ColourLook::characters;
    QTest::newRow("ink unchecked") << "art.txt" << "1" << QStringList{"InkTones"} << ToneMapping::bands << ColourDepth::none << ColourLook::characters;
    QTest::newRow("fills alone: black") << "art.rtf" << QString() << QStringList{"ColourFill"} << ToneMapping::bands << ColourDepth::none << ColourLook::fills;
    QTest::newRow("colour in HTML") << "art.html" << QString() << QStringList{"Colour"} << ToneMapping::bands << ColourDepth::truecolour << ColourLook::characters;
    QTest::newRow("filled RTF in ink") << "art.rtf" << QString() << QStringList{"Colour", "ColourFill", "InkTones"} << ToneMapping::ink
                                       << ColourDepth::truecolour << ColourLook::fills;
    QTest::newRow("none for a text file") << "art.txt" << QString() << QStringList{"Colour", "ColourFill"} << ToneMapping::bands << ColourDepth::none << ColourLook::fills;
    QTest::newRow("a complete page") << "art.htm" << QString() << QStringList{"CompletePages"} << ToneMapping::bands << ColourDepth::none << ColourLook::characters;
    QTest::newRow("text in UTF-8") << "art.txt" << QString() << QStringList{"TextUtf8"} << ToneMapping::bands << ColourDepth::none << ColourLook::characters;
}

void TestMainWindow::optionItems()
{
    QFETCH(QString, output);
    QFETCH(QString, inkStored);
    QFETCH(QStringList, triggered);
    if (!inkStored.isNull())
        platform->store.insert("Glyphsmith/Options/InkTones", inkStored);
    folder->writeFile(QStringLiteral("Formats.TXT"), " .\xB0#\r\n");
    open();
    const QList<std::pair<QString, QString>> items{{"CompletePages", "HTML Files As Complete Pages"}, {"TextUtf8", "Text Files In UTF-8"},
                                                   {"InkTones", "Measured Ink Tones"}, {"Colour", "Colour"}, {"ColourFill", "Colour Fills The Cells"}};
    for (const auto &[key, text] : items) {
        auto *item = window->findChild<QAction *>("mnu" + key);
        QVERIFY(item && item->isCheckable());
        QCOMPARE(shown(item), text);
        const bool checked = key == u"InkTones" && inkStored == u"1";
        QCOMPARE(item->isChecked(), checked);
        if (triggered.contains(key)) {
            item->trigger();
            QCOMPARE(platform->store.value("Glyphsmith/Options/" + key), checked ? "0" : "1");
        }
    }
    makeArt(photo, folder->path(output));
    const QString direct = QStringLiteral("direct.") + output.section(u'.', -1);
    RunParameters chosen{photo, folder->path(direct), QStringLiteral(" .\u00B0#")};
    if (triggered.contains("CompletePages"))
        chosen.outputKind = outputKindNamed(QStringLiteral("page"));
    if (triggered.contains("TextUtf8"))
        chosen.encoding = TextEncoding::Utf8;
    QFETCH(ToneMapping, tone);
    QFETCH(ColourDepth, depth);
    QFETCH(ColourLook, look);
    chosen.tone = tone;
    chosen.colour = depth;
    chosen.colourLook = look;
    Unwatched unwatched;
    QVERIFY(MakeASCIIPicture(chosen, unwatched).succeeded());
    QCOMPARE(folder->readFile(output), folder->readFile(direct));
}

void TestMainWindow::refusals_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("output"); // a file of the folder, or blanks
    QTest::addColumn<QString>("size");
    QTest::addColumn<int>("ramp");
    QTest::addColumn<QString>("message");
    QTest::newRow("no source") << "" << "art.txt" << "1" << 0 << "Select A Source Picture First";
    QTest::newRow("source of blanks") << "   " << "art.txt" << "1" << 0 << "Select A Source Picture First";
    QTest::newRow("no output") << photo << "" << "1" << 0 << "Select An Output Text File First";
    QTest::newRow("output of blanks") << photo << " \t " << "1" << 0 << "Select An Output Text File First";
    QTest::newRow("size of letters") << photo << "art.txt" << "abc" << 0 << "Enter A Number For The Picture Size First";
    QTest::newRow("no size") << photo << "art.txt" << "" << 0 << "Enter A Number For The Picture Size First";
    // The engine's own refusals are shown the same way.
    QTest::newRow("empty ramp") << photo << "art.txt" << "1" << 2 << "Select The Characters For Your ASCII Art First";
    QTest::newRow("engine refuses a text file") << QStringLiteral(GLYPHSMITH_TEST_DATA "/bad/text.jpg") << "art.txt" << "1" << 0
                                                << "The Source Picture Could Not Be Loaded";
}

void TestMainWindow::refusals()
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

// Worked out from each phase's share: sampling column c of C at c x 100 / C / 2, greying the same
// plus 50, drawing row r of R at r x 100 / (R - 1); a single row has no percentage, and the window
// keeps showing the last one.
void TestMainWindow::progressShown_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("shown");
    const QStringList analysed{"Analysising Picture | 0% | Glyphsmith - 0% - Analysising Picture | make | no bar",
                               "Analysising Picture | 25% | Glyphsmith - 25% - Analysising Picture | make | no bar",
                               "Analysising Picture | 50% | Glyphsmith - 50% - Checking Picture | make | no bar",
                               "Analysising Picture | 75% | Glyphsmith - 75% - Checking Picture | make | no bar"};
    const QString ready = "Ready | 100% | Glyphsmith | make | no bar";
    QTest::newRow("two rows") << 2
                              << analysed + QStringList{"Drawing ASCII Picture | 0% | Glyphsmith - 0% - Creating Picture | no make | bar at 0",
                                                        "Drawing ASCII Picture | 100% | Glyphsmith - 100% - Creating Picture | no make | bar at 100",
                                                        ready};
    QTest::newRow("one row") << 1 << analysed + QStringList{"Drawing ASCII Picture | 75% | Glyphsmith - 75% - Checking Picture | no make | bar at 0", ready};
}

void TestMainWindow::progressShown()
{
    QFETCH(int, rows);
    QFETCH(QStringList, shown);
    // A chessboard of 2 x `rows` cells at detail 10.
    QImage board(16, 13 * rows, QImage::Format_RGB32);
    for (int y = 0; y < board.height(); ++y) {
        for (int x = 0; x < board.width(); ++x)
            board.setPixel(x, y, (x / 8 + y / 13) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    }
    QVERIFY(board.save(folder->path(QStringLiteral("board.png"))));
    const RunParameters parameters{folder->path(QStringLiteral("board.png")), folder->path(QStringLiteral("art.txt")), QStringLiteral(" .:#")};
    Recorder recorder(window->runDisplay(), *platform);
    QVERIFY(MakeASCIIPicture(parameters, recorder).succeeded());
    recorder.progress({RunPhase::Resizing, 0}); // only an enlarged or reduced picture shows it
    QCOMPARE(recorder.shown, shown << "Resizing Picture | 0% | Glyphsmith - 0% - Resizing Picture | make | no bar");
}

void TestMainWindow::eventsProcessedAtMostEvery15ms()
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

void TestMainWindow::closingDuringARun()
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
    makeArt(photo, folder->path(QStringLiteral("art.txt")));
    QVERIFY(closeSent);
    QCOMPARE(unloaded.count(), 1);
    QVERIFY(!window->isVisible());
    QCOMPARE(folder->entries(), QStringList{"Formats.TXT"});
    QVERIFY(platform->messages.isEmpty() && platform->openedFiles.isEmpty());
}

void TestMainWindow::previewOpensWithTheStoredSet()
{
    pp *preview = view(rotated);
    QVERIFY(preview && preview->isVisible());
    QCOMPARE(preview->windowTitle(), QStringLiteral("Preview Picture"));
    PicControl &control = *preview->PC1();
    // Loaded as a conversion loads it: turned upright.
    QCOMPARE(control.Picture().size(), PictureLoader::load(rotated)->size());
    QCOMPARE(control.size(), preview->size() - QSize(1, 1));
    QCOMPARE(control.ScrollSpeed(), qint16(10));
    QCOMPARE(control.BorderStyle(), 0);
    QCOMPARE(control.Appearance(), 0);
    QCOMPARE(control.BackColor(), OleColors::buttonFace);
    QVERIFY(platform->messages.isEmpty());
    // The picture has the keys as the window opens; Escape closes it.
    QVERIFY(QTest::qWaitForWindowActive(preview));
    QCOMPARE(QApplication::focusWidget(), &control);
    QTest::keyClick(&control, Qt::Key_Escape);
    QTRY_VERIFY(!window->preview());

    // No picture chosen: the empty viewer, without a message.
    init();
    preview = view(QString());
    QVERIFY(preview->PC1()->Picture().isNull());
    QVERIFY(PicControlTestAccess(*preview->PC1()).elements().picMain->isHidden());
    QVERIFY(platform->messages.isEmpty());
}

// Pressed again, the button shows the new picture in the open window, settings kept; a picture
// that does not load leaves it as it was; closed, the window is made afresh.
void TestMainWindow::onePreviewAtATime()
{
    pp *first = view(photo);
    PicControl &control = *first->PC1();
    const PicControlElements &e = PicControlTestAccess(control).elements();
    control.setScrollSpeed(150);
    e.Combo2->setEditText(QStringLiteral("Medium"));
    e.HScroll1->setValue(5);
    const QImage shown = control.Picture();
    QCOMPARE(view(QStringLiteral(GLYPHSMITH_TEST_DATA "/bad/no-such-picture.jpg")), first);
    QCOMPARE(platform->messages, QStringList{"Glyphsmith: The Source Picture Could Not Be Loaded"});
    QCOMPARE(control.Picture(), shown);
    QCOMPARE(view(rotated), first);
    QCOMPARE(control.ScrollSpeed(), qint16(150));
    QCOMPARE(control.LenzSize(), 1);
    QCOMPARE(e.HScroll1->value(), 2);
    QCOMPARE(control.Picture().size(), PictureLoader::load(rotated)->size());

    first->close();
    QTRY_VERIFY(!window->preview());
    pp *again = view(photo);
    QCOMPARE(again->PC1()->ScrollSpeed(), qint16(10));
    QVERIFY(!again->PC1()->Picture().isNull());
}

// A second click that runs while the first one makes the window finds that window.
void TestMainWindow::clickQueuedWhileThePreviewIsMade()
{
    bool once = true;
    platform->viewer.onProcessEvents = [&] {
        if (std::exchange(once, false))
            window->controls().Command2->click();
    };
    view(photo);
    QVERIFY(!once);
    window->close();
    for (const QWidget *w : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<const pp *>(w) || !w->isVisible());
}

void TestMainWindow::artPreview()
{
    const QString art = folder->path(QStringLiteral("art.rtf"));
    QAction *item = window->findChild<QAction *>(QStringLiteral("mnuArtPreview"));
    window->controls().txtResult->setText(art);
    QVERIFY(!item->isEnabled()); // no such file yet
    folder->writeFile(QStringLiteral("art.rtf"), {});
    window->controls().txtResult->setText(folder->path(QString()));
    QVERIFY(!item->isEnabled()); // a folder
    // A file that is not art is offered: what it holds is read only when the preview opens.
    window->controls().txtResult->setText(photo);
    QVERIFY(item->isEnabled());
    item->trigger();
    QSignalSpy refused(window->artPreview(), &pp::pictureDone);
    QVERIFY(refused.wait(10000));
    QCOMPARE(refused.first().first(), false);
    QCOMPARE(platform->messages, QStringList{"Glyphsmith: The ASCII Picture Could Not Be Loaded"});
    window->controls().txtResult->setText(art);
    QVERIFY(!item->isEnabled()); // nothing in it

    window->controls().txtSource->setText(photo);
    window->controls().txtResult->setText(art);
    window->controls().cmbDetail->setCurrentText(QStringLiteral("4"));
    window->cmdMake_Click();
    QVERIFY(item->isEnabled());
    item->trigger();
    pp *preview = window->artPreview();
    QVERIFY(preview && preview != window->preview());
    QCOMPARE(preview->windowTitle(), QStringLiteral("Preview ASCII Picture"));
    QSignalSpy done(preview, &pp::pictureDone);
    QVERIFY(done.wait(10000));
    // The art is drawn at the detail the file records: 3 x 5 pixels a character at detail 4.
    const std::optional<ArtFile> rows = readArtFile(art);
    QCOMPARE(preview->PC1()->Picture().size(), QSize(int(rows->rows.first().size()) * 3, int(rows->rows.size()) * 5));

    // While a run writes over the art, it is not offered, even as the View menu opens.
    std::optional<bool> offeredDuringRun;
    platform->onClock = [&] {
        if (!offeredDuringRun) {
            emit window->findChild<QMenu *>(QStringLiteral("mnuView"))->aboutToShow();
            offeredDuringRun = item->isEnabled();
        }
    };
    window->cmdMake_Click();
    QCOMPARE(offeredDuringRun, std::optional(false));
    QVERIFY(item->isEnabled());
}

void TestMainWindow::keys_data()
{
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("focus");       // the control that has the focus
    QTest::addColumn<QStringList>("outcome"); // dialogs and messages shown, "preview" and "closed"
    const QStringList noSource{"Glyphsmith: Select A Source Picture First"};
    QTest::newRow("Ctrl+O: picture Browse") << QKeySequence("Ctrl+O") << "lstL2D" << QStringList{"Select A Picture..."};
    QTest::newRow("Ctrl+S: output Browse") << QKeySequence("Ctrl+S") << "cmdMake" << QStringList{"Please Select Resulting ASCII Picture..."};
    QTest::newRow("Ctrl+Return: make, also from the list") << QKeySequence("Ctrl+Return") << "lstL2D" << noSource;
    QTest::newRow("Enter in the size box: make") << QKeySequence(Qt::Key_Return) << "txtSize" << noSource;
    QTest::newRow("Enter in the ramp list: nothing") << QKeySequence(Qt::Key_Return) << "lstL2D" << QStringList();
    QTest::newRow("Ctrl+P: view the picture") << QKeySequence("Ctrl+P") << "txtSize" << QStringList{"preview"};
    QTest::newRow("F1: About") << QKeySequence(Qt::Key_F1) << "cmbDetail" << QStringList{"About Quorvane Glyphsmith"};
    QTest::newRow("Ctrl+Q: quit") << QKeySequence("Ctrl+Q") << "txtSize" << QStringList{"closed"};
}

// Each key does what its button or item does, from wherever the focus is; during a run, whose
// buttons are disabled, the keys of those buttons do nothing.
void TestMainWindow::keys()
{
    QFETCH(QKeySequence, key);
    QFETCH(QString, focus);
    QFETCH(QStringList, outcome);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QSignalSpy unloaded(window.get(), &frmASCII::unloaded);
    QWidget *focused = window->findChild<QWidget *>(focus);
    focused->setFocus();
    QTest::keySequence(focused, key);
    QStringList seen;
    for (const FileDialogRequest &dialog : std::as_const(platform->dialogs))
        seen << dialog.title;
    for (const QString &message : std::as_const(platform->messages))
        seen << (message.startsWith(u"About") ? message.section(u':', 0, 0) : message);
    seen << QStringList(window->preview() ? 1 : 0, "preview") << QStringList(unloaded.size(), "closed");
    QCOMPARE(seen, outcome);
    QCOMPARE(window->controls().cmdPicBrowse->nextInFocusChain(), window->controls().Command2);

    platform->dialogs.clear();
    window->show();
    platform->onClock = [&] { QTest::keySequence(window->controls().txtSource, key); };
    makeArt(photo, folder->path("art.txt"));
    QVERIFY(platform->dialogs.isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
