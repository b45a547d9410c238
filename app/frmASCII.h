#pragma once

#include "app/MainWindowControls.h"
#include "app/pp.h"

#include <QMainWindow>
#include <QPointer>

class Platform;
struct RunDisplay;

// The main window: choose a picture and an output file, pick a ramp, detail and size, and make
// the character art with the window showing the run's progress.
class frmASCII : public QMainWindow
{
    Q_OBJECT

public:
    // `platform` must outlive the window.
    explicit frmASCII(Platform &platform, QWidget *parent = nullptr);
    // The preview window goes with the main window.
    ~frmASCII() override;

    const MainWindowControls &controls() const { return c; }
    RunDisplay runDisplay();
    bool isRunning() const { return m_running; }

    // Takes `path` as the source picture, as if chosen with the picture Browse button; a FIFO,
    // a device or a folder is refused with a message. Whether the picture was taken.
    bool choosePicture(const QString &path);
    // Takes `path` as a picture dropped on the window: the dialogs offer it next time too.
    void takePicture(const QString &path);

    void cmdPicBrowse_Click();
    void cmdASCIIBrowse_Click();
    void cmdMake_Click();
    void cmdAdd_Click();
    void Command2_Click();
    void mnuArtPreview_Click();
    void mnuAbout_Click();
    void mnuOS_Click();

    // The preview windows while they are open: the picture's and the art's.
    pp *preview() const { return m_preview; }
    pp *artPreview() const { return m_artPreview; }

signals:
    // The window has closed for good; the program ends with it.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_Load();
    void buildMenu();
    // The preview window kept in `window`, made afresh when it was closed, sized to the screen;
    // nothing while that window is being made.
    pp *openPreview(QPointer<pp> &window, const QString &caption);
    // "ASCII Picture Preview" is offered once the output box names a file with something in it.
    void refreshArtPreview();
    void connectControls();
    void centreOnScreen();
    void txtSource_Change();
    void SetIt(bool s);
    void setRunning(bool running);
    void tell(const QString &text);
    // A picture or output chosen: the dialogs offer its name and start in its folder next time.
    void remember(const QString &chosen);

    Platform &m_platform;
    MainWindowControls c;
    QString m_dialogFileName; // the dialogs share one file name, the last one chosen in either
    QString m_dialogFolder;   // and start in its folder, for as long as the program runs
    bool m_running = false;
    bool m_closeRequested = false;
    QPointer<pp> m_preview;
    QPointer<pp> m_artPreview;
    const QPointer<pp> *m_previewBeingMade = nullptr;
    QAction *m_artPreviewAction = nullptr;
    QAction *m_completePages = nullptr;
    QAction *m_textInUtf8 = nullptr;
    QAction *m_inkTones = nullptr; // "Measured Ink Tones": the ink instead of the grey bands
    QAction *m_colour = nullptr;   // "Colour": art in each cell's colour, where the file has colour
    QAction *m_colourFills = nullptr; // "Colour Fills The Cells": the cells filled instead
};
