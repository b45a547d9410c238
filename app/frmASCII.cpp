#include "app/frmASCII.h"

#include "app/CharacterSets.h"
#include "app/FileFilter.h"
#include "app/MainWindowKeys.h"
#include "app/frmASCIILayout.h"
#include "app/modSetAlphaIcon.h"
#include "app/OptionCheckBox.h"
#include "app/Options.h"
#include "app/Platform.h"
#include "app/pp.h"
#include "app/ProductInfo.h"
#include "app/ProposedOutput.h"
#include "app/RunInputs.h"
#include "app/WindowProgress.h"
#include "engine/modASCII.h"
#include "engine/text/FileChecks.h"
#include "engine/text/OutputKind.h"
#include "engine/text/OutputKinds.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>

namespace {

constexpr int detailEntries = 200;
constexpr int initialDetailIndex = 9;

QString pictureFilter()
{
    return qtFileFilter(QStringLiteral("All Picture Files|*.bmp;*.jpg;*.jpeg;*.gif;*.ico;*.cur;*.png|All Files (*.*)|*.*"));
}

QString outputFilter()
{
    return qtFileFilter(QStringLiteral("Text File (*.txt)|*.txt|Rich Text File (*.rtf)|*.rtf|Web Page (*.htm *.html)|*.htm;*.html"));
}

// The one local file a drag carries; empty for anything else.
QString droppedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return {};
    return data->urls().first().toLocalFile();
}

} // namespace

frmASCII::frmASCII(Platform &platform, QWidget *parent) : QMainWindow(parent), m_platform(platform)
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(ProductInfo::name);
    setAcceptDrops(true);
    auto *client = new QWidget(this);
    c = buildMainWindowControls(client);
    setCentralWidget(client);
    buildMenu();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connectControls();
    Form_Load();
    centreOnScreen();
}

frmASCII::~frmASCII()
{
    delete m_preview;
    delete m_artPreview;
}

RunDisplay frmASCII::runDisplay()
{
    return {this, c.sbPanel1, c.sbPanel2, c.Progress, c.cmdMake, c.oNP};
}

void frmASCII::buildMenu()
{
    // The menus and their items keep their texts; an underlined letter reaches each by Alt.
    QMenu *view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    m_artPreviewAction = view->addAction(QStringLiteral("ASCII Picture &Preview"), this, &frmASCII::mnuArtPreview_Click);
    m_artPreviewAction->setObjectName(QStringLiteral("mnuArtPreview"));
    m_artPreviewAction->setEnabled(false);
    // The file may have been made, changed or removed since the box last changed.
    connect(view, &QMenu::aboutToShow, this, &frmASCII::refreshArtPreview);
    QMenu *options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    m_completePages = Options::addRememberedItem(options, m_platform, QStringLiteral("HTML Files As &Complete Pages"), "CompletePages");
    m_textInUtf8 = Options::addRememberedItem(options, m_platform, QStringLiteral("&Text Files In UTF-8"), "TextUtf8");
    m_inkTones = Options::addRememberedItem(options, m_platform, QStringLiteral("&Measured Ink Tones"), "InkTones");
    m_colour = Options::addRememberedItem(options, m_platform, QStringLiteral("C&olour"), "Colour");
    m_colourFills = Options::addRememberedItem(options, m_platform, QStringLiteral("Colour &Fills The Cells"), "ColourFill");
    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction *support = help->addAction(QStringLiteral("&Online Support"), this, &frmASCII::mnuOS_Click);
    support->setObjectName(QStringLiteral("mnuOS"));
    QAction *about = help->addAction(QStringLiteral("&About Quorvane Glyphsmith"), this, &frmASCII::mnuAbout_Click);
    about->setObjectName(QStringLiteral("mnuAbout"));
    addMainWindowKeys(*this, c, about);
}

void frmASCII::connectControls()
{
    connect(c.cmdPicBrowse, &QPushButton::clicked, this, &frmASCII::cmdPicBrowse_Click);
    connect(c.cmdASCIIBrowse, &QPushButton::clicked, this, &frmASCII::cmdASCIIBrowse_Click);
    connect(c.cmdMake, &QPushButton::clicked, this, &frmASCII::cmdMake_Click);
    connect(c.cmdAdd, &QPushButton::clicked, this, &frmASCII::cmdAdd_Click);
    connect(c.txtSource, &QLineEdit::textChanged, this, &frmASCII::txtSource_Change);
    connect(c.txtResult, &QLineEdit::textChanged, this, &frmASCII::refreshArtPreview);
    connect(c.Command2, &QPushButton::clicked, this, &frmASCII::Command2_Click);
    // Command1 has no behaviour.
    Options::keepSaved(m_platform, c.oNP, c.iFR);
}

void frmASCII::Form_Load()
{
    SetIcon(this, QStringLiteral("ABC"), true);
    SetIcon(this, QStringLiteral("ABC"), false);
    for (int detail = 1; detail <= detailEntries; ++detail)
        c.cmbDetail->addItem(QString::number(detail));
    CharacterSets::load(c.lstL2D, m_platform.rampFolders());
    c.cmbDetail->setCurrentIndex(initialDetailIndex);
    c.txtSize->setText(QStringLiteral("1"));
    c.lstL2D->setCurrentRow(0);
    Options::restore(m_platform, c.oNP, c.iFR);
}

void frmASCII::centreOnScreen()
{
    adjustSize();
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

bool frmASCII::choosePicture(const QString &path)
{
    // A FIFO or a device blocks whatever reads it: the preview, the run.
    if (FileChecks::isSpecialFile(path)) {
        tell(RunOutcome(RunResult::SourceNotLoaded).message());
        return false;
    }
    c.txtResult->clear();
    // Choosing the same picture again leaves the text unchanged, so its change handler would
    // not propose the output that was just cleared.
    if (c.txtSource->text() == path)
        txtSource_Change();
    else
        c.txtSource->setText(path);
    return true;
}

void frmASCII::cmdPicBrowse_Click()
{
    const std::optional<QString> path =
        m_platform.openFileName(this, {QStringLiteral("Select A Picture..."), pictureFilter(), m_dialogFileName, m_dialogFolder});
    if (path && choosePicture(*path))
        remember(*path);
}

void frmASCII::cmdASCIIBrowse_Click()
{
    const std::optional<QString> path = m_platform.saveFileName(
        this, {QStringLiteral("Please Select Resulting ASCII Picture..."), outputFilter(), m_dialogFileName, m_dialogFolder});
    if (!path)
        return;
    remember(*path);
    c.txtResult->setText(*path);
}

void frmASCII::remember(const QString &chosen)
{
    m_dialogFileName = chosen;
    m_dialogFolder = QFileInfo(chosen).absolutePath();
}

void frmASCII::txtSource_Change()
{
    if (c.txtResult->text().trimmed().isEmpty())
        c.txtResult->setText(proposedOutputPath(c.txtSource->text()));
}

void frmASCII::SetIt(bool s)
{
    const QList<QWidget *> inputs{c.lstL2D, c.Command2, c.txtSize, c.cmbDetail, c.oNP, c.iFR, c.cmdPicBrowse, c.cmdASCIIBrowse};
    for (QWidget *input : inputs)
        input->setEnabled(s);
}

void frmASCII::setRunning(bool running)
{
    m_running = running;
    c.cmdMake->setEnabled(!running);
    if (running) {
        SetIt(false);
        c.cmdMake->setText(QStringLiteral("Making ASCII Image..."));
    } else {
        c.cmdMake->setText(QStringLiteral("Make ASCII Picture"));
        SetIt(true);
        // Disabling the button moved the focus on to the read-only path box.
        c.cmdMake->setFocus();
    }
}

void frmASCII::tell(const QString &text) { m_platform.showMessage(this, ProductInfo::name, text); }

void frmASCII::cmdMake_Click()
{
    if (m_running)
        return;
    if (c.txtSource->text().trimmed().isEmpty())
        return tell(QStringLiteral("Select A Source Picture First"));
    if (c.txtResult->text().trimmed().isEmpty())
        return tell(QStringLiteral("Select An Output Text File First"));
    const std::optional<float> size = sizeFactorOf(c.txtSize->text());
    if (!size)
        return tell(QStringLiteral("Enter A Number For The Picture Size First"));
    const std::optional<quint8> detail = detailOf(c.cmbDetail->currentText());
    if (!detail)
        return tell(RunOutcome{RunResult::NoDetail}.message());

    RunParameters parameters;
    parameters.sourcePath = c.txtSource->text();
    parameters.outputPath = c.txtResult->text();
    parameters.ramp = c.lstL2D->currentItem() ? c.lstL2D->currentItem()->text() : QString();
    parameters.sizeFactor = *size;
    parameters.detail = *detail;
    parameters.fontReminder = fontReminderFor(parameters.outputPath, c.iFR->checkState());
    parameters.outputKind = outputKindFor(parameters.outputPath, m_completePages->isChecked());
    parameters.encoding = m_textInUtf8->isChecked() ? TextEncoding::Utf8 : TextEncoding::Windows1252;
    parameters.tone = m_inkTones->isChecked() ? ToneMapping::ink : ToneMapping::bands;
    // A text file has no colour, whatever the menu says.
    const OutputKind &kind = parameters.outputKind ? *parameters.outputKind : outputKindOf(parameters.outputPath);
    const bool plainText = kind.formatName() == outputKinds().first()->formatName();
    parameters.colour = m_colour->isChecked() && !plainText ? ColourDepth::truecolour : ColourDepth::none;
    parameters.colourLook = m_colourFills->isChecked() ? ColourLook::fills : ColourLook::characters;

    setRunning(true);
    WindowProgress observer(runDisplay(), parameters.outputPath, m_platform, [this] { return m_closeRequested; });
    const RunOutcome outcome = MakeASCIIPicture(parameters, observer);
    setRunning(false);
    refreshArtPreview();

    if (m_closeRequested) {
        close();
        return;
    }
    if (!outcome.succeeded() && outcome.result != RunResult::Stopped)
        tell(outcome.message());
}

void frmASCII::cmdAdd_Click() { CharacterSets::add(c.lstL2D, c.txtL2D->text(), m_platform.rampFolders()); }

// One preview window at a time: opened again, it shows the current picture and comes forward.
void frmASCII::Command2_Click()
{
    pp *preview = openPreview(m_preview, QStringLiteral("Preview Picture"));
    if (!preview)
        return;
    preview->showPicture(c.txtSource->text());
    preview->present();
}

pp *frmASCII::openPreview(QPointer<pp> &window, const QString &caption)
{
    if (!window) {
        // Making the window lets pending events run, among them perhaps a second click that
        // asks for the same window: the click that is making it shows it.
        if (m_previewBeingMade == &window)
            return nullptr;
        const QScopedValueRollback<const QPointer<pp> *> making(m_previewBeingMade, &window);
        window = new pp(m_platform, caption);
    }
    window->coverScreen();
    return window;
}

// The file is only looked at, not read: the art, which may be long, is read when the preview
// opens, and a file that is not art is reported then.
void frmASCII::refreshArtPreview()
{
    const QString path = c.txtResult->text();
    const QFileInfo file(path);
    m_artPreviewAction->setEnabled(!m_running && !path.trimmed().isEmpty() && file.isFile() && file.size() > 0);
}

void frmASCII::mnuArtPreview_Click()
{
    refreshArtPreview();
    if (!m_artPreviewAction->isEnabled())
        return;
    pp *preview = openPreview(m_artPreview, QStringLiteral("Preview ASCII Picture"));
    if (!preview)
        return;
    preview->showArt(c.txtResult->text(), detailOf(c.cmbDetail->currentText()).value_or(10));
    preview->present();
}

void frmASCII::mnuAbout_Click() { m_platform.showMessage(this, ProductInfo::aboutTitle(), ProductInfo::aboutText()); }

void frmASCII::mnuOS_Click() { m_platform.openWebPage(ProductInfo::supportAddress); }

void frmASCII::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        // The run is on the stack below this event: it stops at its next yield, discards its
        // output, and cmdMake_Click closes the window once it has unwound.
        m_closeRequested = true;
        event->ignore();
        return;
    }
    event->accept();
    // The previews go with the main window.
    if (m_preview)
        m_preview->close();
    if (m_artPreview)
        m_artPreview->close();
    emit unloaded();
}

void frmASCII::dragEnterEvent(QDragEnterEvent *event)
{
    if (c.cmdPicBrowse->isEnabled() && !droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmASCII::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (!c.cmdPicBrowse->isEnabled() || path.isEmpty())
        return;
    event->acceptProposedAction();
    takePicture(path);
}

void frmASCII::takePicture(const QString &path)
{
    if (choosePicture(path))
        remember(path);
}

void frmASCII::keyPressEvent(QKeyEvent *event)
{
    // Enter makes the picture, unless it is choosing a ramp from the list.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !(event->modifiers() & ~Qt::KeypadModifier) && focusWidget() != c.lstL2D) {
        c.cmdMake->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}
