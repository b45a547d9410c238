#include "app/pp.h"

#include "app/modSetAlphaIcon.h"
#include "app/Platform.h"
#include "app/ProductInfo.h"
#include "engine/decode/PictureLoader.h"
#include "engine/render/ArtRenderer.h"
#include "engine/RunOutcome.h"
#include "engine/text/ArtFile.h"
#include "viewer/OleColor.h"
#include "viewer/PicControl.h"
#include "viewer/PicControlStoredDefaults.h"
#include "viewer/PropertyBag.h"

#include <QAction>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QThread>
#include <algorithm>
#include <memory>
#include <new>
#include <optional>

namespace {

// 4095 by 3855 twips at 15 twips a pixel.
constexpr QSize designControlSize(273, 257);

} // namespace

pp::pp(Platform &platform, const QString &caption) : m_platform(platform)
{
    setObjectName(QStringLiteral("pp"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    // 13005 by 9150 twips, before the window is sized to the screen.
    resize(867, 610);
    m_PC1 = new PicControl(this, platform.viewerPlatform());
    m_PC1->setObjectName(QStringLiteral("PC1"));
    // The control takes the window's own palette: its system colours are the desktop's.
    m_PC1->setPalette(QGuiApplication::palette());
    m_PC1->setGeometry(QRect(QPoint(0, 0), designControlSize));
    m_PC1->UserControl_ReadProperties(storedSet());
    Form_Load();
    auto *closing = new QAction(this);
    closing->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    connect(closing, &QAction::triggered, this, &QWidget::close);
    addAction(closing);
}

PropertyBag pp::storedSet()
{
    namespace Stored = PicControlStoredDefaults;
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("ScrollSpeed"), QVariant::fromValue(qint16(10)), Stored::ScrollSpeed);
    bag.WriteProperty(QStringLiteral("BorderStyle"), 0, Stored::BorderStyle);
    bag.WriteProperty(QStringLiteral("Appearance"), 0, Stored::Appearance);
    bag.WriteProperty(QStringLiteral("BackColor"), QVariant::fromValue(OleColors::buttonFace), QVariant());
    bag.WriteProperty(QStringLiteral("TipTextMagnifier"), QStringLiteral("1.5x Magnification. Right Click To Close"), QString());
    bag.WriteProperty(QStringLiteral("Magnify"), 1.5f, Stored::Magnify);
    return bag;
}

void pp::Form_Load()
{
    SetIcon(this, QStringLiteral("ABC"), true);
    SetIcon(this, QStringLiteral("ABC"), false);
}

void pp::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

// One pixel of the black window shows at the right and at the bottom. A window smaller than
// that gives the control no size at all.
void pp::Form_Resize() { m_PC1->resize(std::max(width() - 1, 0), std::max(height() - 1, 0)); }

// A window of the available area's size; shown maximised, so that a window manager's frame
// still leaves it covering the screen.
void pp::coverScreen()
{
    if (const QScreen *screen = this->screen())
        setGeometry(screen->availableGeometry());
}

void pp::present()
{
    showMaximized();
    raise();
    activateWindow();
    // The keys go to the picture, not to the first of the viewer's lists.
    m_PC1->setFocus(Qt::OtherFocusReason);
}

void pp::showPicture(const QString &path)
{
    if (path.isEmpty()) {
        ++m_request;
        take(QImage());
        return;
    }
    // Opened once, on the loader's thread, and read from that one open by every check and decoder.
    showLoaded([path](StopSource stop) { return PictureLoader::load(path, nullptr, std::move(stop)); },
               RunOutcome(RunResult::SourceNotLoaded).message());
}

void pp::showArt(const QString &path, quint8 detail)
{
    // Drawn for the screen's density, so that its characters are as sharp as the window's text.
    const qreal scale = devicePixelRatioF();
    const auto draw = [path, detail, scale](StopSource) -> std::optional<QImage> {
        const std::optional<ArtFile> art = readArtFile(path);
        if (!art)
            return std::nullopt;
        QImage picture = ArtRenderer::render(art->rows, art->detail.value_or(detail), art->colours, art->darkGround, scale);
        return picture.isNull() ? std::nullopt : std::optional(picture);
    };
    showLoaded(draw, QStringLiteral("The ASCII Picture Could Not Be Loaded"));
}

void pp::showLoaded(std::function<std::optional<QImage>(StopSource stop)> load, const QString &failure)
{
    const quint64 request = ++m_request;
    struct Loading
    {
        std::optional<QImage> picture;
        QString failure;
        StopSource stop;
    };
    auto loading = std::make_shared<Loading>();
    loading->failure = failure;
    QThread *loader = QThread::create([load, loading] {
        try {
            loading->picture = load(loading->stop);
        } catch (const std::bad_alloc &) {
            loading->failure = RunOutcome(RunResult::NotEnoughMemory).message();
        }
    });
    connect(loader, &QThread::finished, loader, &QObject::deleteLater);
    // A program closed while a picture loads stops the decoder, and waits for it rather than
    // pulling the image plugins out from under it.
    connect(qApp, &QCoreApplication::aboutToQuit, loader, [loader, loading] {
        loading->stop.request_stop();
        loader->wait();
    });
    connect(loader, &QThread::finished, this, [this, request, loading] {
        if (request != m_request)
            return;
        if (!loading->picture) {
            m_platform.showMessage(this, ProductInfo::name, loading->failure);
            emit pictureDone(false);
            return;
        }
        take(*loading->picture);
    });
    loader->start();
}

void pp::take(const QImage &picture)
{
    m_PC1->setPicture(picture);
    emit pictureDone(true);
}
