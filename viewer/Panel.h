#pragma once

#include "viewer/OleColor.h"

#include <QWidget>

class QPainter;

// A picture panel of the control: a child window whose position and size are single-precision
// numbers, as the control computes them, and which is drawn at the nearest pixel. Child panels
// live in its client area, inside its border, which clips them.
class Panel : public QWidget
{
    Q_OBJECT

public:
    enum class Border { None, FixedSingle };

    // `parent` is the control or another panel's client().
    Panel(QWidget *parent, const QString &name, Border border);

    float Left() const { return m_left; }
    float Top() const { return m_top; }
    float Width() const { return m_width; }
    float Height() const { return m_height; }
    void setLeft(float left);
    void setTop(float top);
    void setWidth(float width);
    void setHeight(float height);
    void Move(float left, float top);
    void Move(float left, float top, float width, float height);

    int BorderStyle() const { return m_borderStyle; }
    int Appearance() const { return m_appearance; }
    // 0 none or 1 fixed single; false, leaving the panel as it was, for any other value.
    bool setBorderStyle(int style);
    // 0 flat or 1 three-dimensional; false, leaving the panel as it was, for any other value.
    bool setAppearance(int appearance);
    // Pixels of border on each side.
    int borderWidth() const;

    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor colour);

    // Where child panels live; made on first use.
    QWidget *client();
    // The area inside the border, in client coordinates.
    QSize clientSize() const;

protected:
    // Paints the panel's own content over its background; `exposed` and the painter are in
    // client coordinates, clipped to the client area.
    virtual void paintContent(QPainter &painter, const QRect &exposed);
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void place();
    void placeClient();

    float m_left = 0;
    float m_top = 0;
    float m_width = 0;
    float m_height = 0;
    int m_borderStyle = 0;
    int m_appearance = 0;
    OleColor m_backColor = OleColors::buttonFace;
    QWidget *m_client = nullptr;
};
