#include "viewer/PicControlElements.h"

#include "viewer/ImagePanel.h"
#include "viewer/PictureSurface.h"
#include "viewer/ViewerArtwork.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>

namespace {

constexpr int scrollInterval = 40;
// The lens and the marker are tracked on every tick the platform gives; about 15 ms is what a
// 1 ms timer gave in practice.
constexpr int trackingInterval = 15;

const std::array<const char *, 10> buttonTips{
    "Left-botto corner", "Right-bottom corner", "Centered",    "Upper-left corner", "Upper-right corner",
    "Scroll Left",       "Scroll right",        "Scroll up",   "Scroll down",       "Enable magnifying glass ",
};

template <typename T>
T *named(T *widget, const char *name, QRect geometry)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

Panel *panel(QWidget *parent, const char *name, Panel::Border border, QRectF design)
{
    auto *p = new Panel(parent, QString::fromLatin1(name), border);
    p->Move(float(design.x()), float(design.y()), float(design.width()), float(design.height()));
    return p;
}

template <typename T>
T *panelOf(QWidget *parent, const char *name, Panel::Border border, QRectF design)
{
    auto *p = new T(parent, QString::fromLatin1(name), border);
    p->Move(float(design.x()), float(design.y()), float(design.width()), float(design.height()));
    return p;
}

QLabel *label(QWidget *parent, const char *name, const char *caption, QRect geometry)
{
    auto *l = named(new QLabel(QString::fromLatin1(caption), parent), name, geometry);
    QFont small = l->font();
    small.setPixelSize(10);
    l->setFont(small);
    return l;
}

QComboBox *combo(QWidget *parent, const char *name, QRect geometry, const QStringList &items, const QString &text)
{
    auto *c = named(new QComboBox(parent), name, geometry);
    c->setEditable(true);
    c->addItems(items);
    // Typed text stays as typed: no entry added on Enter, no entry completed inline.
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr);
    c->setCurrentIndex(-1);
    c->setEditText(text);
    QFont small = c->font();
    small.setPixelSize(10);
    c->setFont(small);
    return c;
}

QLabel *stretchedImage(QWidget *parent, const char *name, QRect geometry, const QString &artwork)
{
    auto *image = named(new QLabel(parent), name, geometry);
    image->setScaledContents(true);
    image->setPixmap(ViewerArtwork::background(artwork, qApp->devicePixelRatio()));
    return image;
}

QTimer *timer(QObject *parent, const char *name, int interval)
{
    auto *t = new QTimer(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setInterval(interval);
    return t;
}

void buildTools(PicControlElements &e, QWidget *control, const QCursor &hand)
{
    using Border = Panel::Border;
    e.picTools = panel(control, "picTools", Border::FixedSingle, {200, 0, 73, 225});
    QWidget *tools = e.picTools->client();
    // First, so that everything else lies over it.
    e.Image2 = stretchedImage(tools, "Image2", {-8, -32, 87, 269}, QStringLiteral("tools"));
    e.picPosition = panelOf<ImagePanel>(tools, "picPosition", Border::FixedSingle, {8, 8, 57, 41});
    e.picPosition->setBackColor(OleColors::white);
    e.picPosition->setMouseTracking(true);
    e.picInsert = panelOf<ImagePanel>(e.picPosition->client(), "picInsert", Border::FixedSingle, {0, 0, 19, 19});
    e.picInsert->setCursor(hand);
    e.picInsert->setMouseTracking(true);
    e.picInsert->hide();
    e.Label5 = label(tools, "Label5", "Scroll Speed", {3, 54, 65, 17});
    QStringList speeds;
    for (int speed = 10; speed <= 200; speed += 10)
        speeds << QString::number(speed);
    e.Combo1 = combo(tools, "Combo1", {3, 68, 65, 21}, speeds, QString());
    e.Label3 = label(tools, "Label3", "Lens Size", {3, 93, 65, 17});
    e.Combo2 = combo(tools, "Combo2", {3, 106, 65, 21}, {QStringLiteral("Small"), QStringLiteral("Medium"), QStringLiteral("Large")},
                     QStringLiteral("Lens Size"));
    e.Label2 = label(tools, "Label2", "Zoom 3x etc", {3, 136, 65, 17});
    e.Combo3 = combo(tools, "Combo3", {3, 152, 65, 21},
                     {QStringLiteral("1.5x"), QStringLiteral("2.0x"), QStringLiteral("2.5x"), QStringLiteral("3.0x")},
                     QStringLiteral("Magnification Size"));
    e.Label1 = label(tools, "Label1", "Picture Size", {3, 184, 65, 17});
    e.Label4 = label(tools, "Label4", "100%", {0, 200, 33, 17});
    e.Label4->setAlignment(Qt::AlignCenter);
    e.HScroll1 = named(new QScrollBar(Qt::Horizontal, tools), "HScroll1", {32, 200, 33, 17});
    e.HScroll1->setRange(0, 7);
    e.HScroll1->setPageStep(1);
    e.HScroll1->setValue(2);
    // A step is taken when the thumb is let go, not at every position it passes while dragged.
    e.HScroll1->setTracking(false);
}

void buildNavigationBar(PicControlElements &e, QWidget *control)
{
    using Border = Panel::Border;
    e.picHolder = panel(control, "picHolder", Border::None, {0, 232, 249, 21});
    e.picHolderInsert = panel(e.picHolder->client(), "picHolderInsert", Border::None, {32, 0, 184, 22});
    QWidget *group = e.picHolderInsert->client();
    e.Image1 = stretchedImage(group, "Image1", {0, 0, 183, 21}, QStringLiteral("navbar"));
    const qreal ratio = qApp->devicePixelRatio();
    for (int i = 0; i < 10; ++i) {
        e.picUp[std::size_t(i)] = ViewerArtwork::buttonFace(ViewerArtwork::Face::Up, i, ratio);
        e.picDown[std::size_t(i)] = ViewerArtwork::buttonFace(ViewerArtwork::Face::Down, i, ratio);
        auto *button = panelOf<ImagePanel>(group, "picButton", Border::None, {2.0 + 18 * i, 2, 17, 17});
        button->setProperty("Index", i);
        button->setToolTip(QString::fromLatin1(buttonTips[std::size_t(i)]));
        button->setImage(ViewerArtwork::buttonFace(ViewerArtwork::Face::Design, i, ratio));
        e.picButton[std::size_t(i)] = button;
    }
}

} // namespace

PicControlElements buildPicControlElements(QWidget *control)
{
    using Border = Panel::Border;
    const QCursor hand = ViewerArtwork::handCursor(qApp->devicePixelRatio());
    PicControlElements e;
    e.picFrame = panel(control, "picFrame", Border::FixedSingle, {0, 0, 201, 225});
    e.picMain = panelOf<PictureSurface>(e.picFrame->client(), "picMain", Border::None, {0, 0, 57, 65});
    e.picMain->setMouseTracking(true);
    e.picMain->hide();
    e.picZoom = panelOf<ImagePanel>(e.picMain->client(), "picZoom", Border::FixedSingle, {0, 0, 27, 27});
    e.picZoom->setCursor(hand);
    e.picZoom->setMouseTracking(true);
    e.picZoom->hide();
    buildTools(e, control, hand);
    buildNavigationBar(e, control);
    e.tmrScrollLeft = timer(control, "tmrScrollLeft", scrollInterval);
    e.tmrScrollRight = timer(control, "tmrScrollRight", scrollInterval);
    e.tmrScrollUp = timer(control, "tmrScrollUp", scrollInterval);
    e.tmrScrollDown = timer(control, "tmrScrollDown", scrollInterval);
    e.tmrZoom = timer(control, "tmrZoom", trackingInterval);
    e.tmrInsert = timer(control, "tmrInsert", trackingInterval);
    return e;
}
