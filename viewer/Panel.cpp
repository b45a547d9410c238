#include "viewer/Panel.h"

#include "viewer/ViewerArithmetic.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

using ViewerArithmetic::pixel;

Panel::Panel(QWidget *parent, const QString &name, Border border)
    : QWidget(parent), m_borderStyle(border == Border::FixedSingle ? 1 : 0)
{
    setObjectName(name);
}

void Panel::setLeft(float left) { Move(left, m_top); }
void Panel::setTop(float top) { Move(m_left, top); }
void Panel::setWidth(float width) { Move(m_left, m_top, width, m_height); }
void Panel::setHeight(float height) { Move(m_left, m_top, m_width, height); }
void Panel::Move(float left, float top) { Move(left, top, m_width, m_height); }

void Panel::Move(float left, float top, float width, float height)
{
    m_left = left;
    m_top = top;
    // A panel is never narrower than nothing; the numbers the control reads back are the sizes it
    // really has.
    m_width = std::max(width, 0.0f);
    m_height = std::max(height, 0.0f);
    place();
}

void Panel::place() { setGeometry(pixel(m_left), pixel(m_top), pixel(m_width), pixel(m_height)); }

bool Panel::setBorderStyle(int style)
{
    if (style != 0 && style != 1)
        return false;
    m_borderStyle = style;
    placeClient();
    update();
    return true;
}

bool Panel::setAppearance(int appearance)
{
    if (appearance != 0 && appearance != 1)
        return false;
    m_appearance = appearance;
    placeClient();
    update();
    return true;
}

int Panel::borderWidth() const { return m_borderStyle == 0 ? 0 : (m_appearance == 1 ? 2 : 1); }

void Panel::setBackColor(OleColor colour)
{
    m_backColor = colour;
    update();
}

QWidget *Panel::client()
{
    if (!m_client) {
        m_client = new QWidget(this);
        m_client->setObjectName(objectName() + QStringLiteral("Client"));
        // Pointer moves without a button reach a panel only through a client that tracks them too.
        m_client->setMouseTracking(hasMouseTracking());
        placeClient();
        m_client->show();
    }
    return m_client;
}

QSize Panel::clientSize() const
{
    const int b = borderWidth();
    return {std::max(width() - 2 * b, 0), std::max(height() - 2 * b, 0)};
}

void Panel::placeClient()
{
    if (m_client) {
        const int b = borderWidth();
        m_client->setGeometry(b, b, clientSize().width(), clientSize().height());
    }
}

void Panel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeClient();
}

void Panel::paintContent(QPainter &, const QRect &) {}

void Panel::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const int b = borderWidth();
    const QRect inside = rect().adjusted(b, b, -b, -b);
    const QRect exposed = event->rect() & inside;
    if (!exposed.isEmpty()) {
        painter.save();
        painter.setClipRect(exposed);
        painter.translate(b, b);
        const QRect clientExposed = exposed.translated(-b, -b);
        painter.fillRect(clientExposed, OleColors::resolve(m_backColor, palette()));
        paintContent(painter, clientExposed);
        painter.restore();
    }
    if (b == 0)
        return;
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    if (m_appearance == 0) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(outer);
        return;
    }
    // Sunken: shadow above and to the left, light below and to the right, twice over.
    const auto sunken = [&](QRect r, const QColor &dark, const QColor &light) {
        painter.setPen(dark);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(light);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    };
    sunken(outer, palette().color(QPalette::Dark), palette().color(QPalette::Light));
    sunken(outer.adjusted(1, 1, -1, -1), palette().color(QPalette::Shadow), palette().color(QPalette::Midlight));
}
