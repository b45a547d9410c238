#pragma once

#include "engine/StopToken.h"

#include <QWidget>
#include <functional>
#include <optional>

class PicControl;
class Platform;
class PropertyBag;
class QImage;

// A preview window: a picture in one picture viewer control, PC1, covering the screen. The
// chosen picture, or the character art drawn as a picture. Modeless; it lives until the user
// closes it (Escape or Ctrl+W do too) and is made afresh the next time.
class pp : public QWidget
{
    Q_OBJECT

public:
    // `platform` must outlive the window.
    explicit pp(Platform &platform, const QString &caption = QStringLiteral("Preview Picture"));

    PicControl *PC1() const { return m_PC1; }

    // Sizes the window to the screen's available area.
    void coverScreen();
    // Shows the window, or brings it to the front when it is shown already, with the keyboard's
    // focus on the picture.
    void present();
    // Loads the picture at `path` beside the event loop and gives it to PC1; an empty path gives
    // PC1 no picture. A picture that cannot be loaded leaves PC1 as it was and is reported. Only
    // the latest request is shown.
    void showPicture(const QString &path);
    // Draws the art file at `path` and gives it to PC1, the same way; the art is drawn at the
    // detail the file records, else at `detail`, and at the screen's device pixel ratio.
    void showArt(const QString &path, quint8 detail);

    // The stored property set of PC1.
    static PropertyBag storedSet();

signals:
    // A request of showPicture has ended; `shown` is false when its picture could not be loaded.
    void pictureDone(bool shown);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void Form_Load();
    void Form_Resize();
    void take(const QImage &picture);
    // Runs `load` beside the event loop and shows what it gives; reports `failure` otherwise.
    void showLoaded(std::function<std::optional<QImage>(StopSource stop)> load, const QString &failure);

    Platform &m_platform;
    PicControl *m_PC1 = nullptr;
    quint64 m_request = 0;
};
