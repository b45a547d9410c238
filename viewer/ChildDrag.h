#pragma once

#include <QPointF>

class Panel;

// Moves a child panel with the pointer while the left button alone is held, keeping the point
// where it was grabbed under the pointer, as a window is moved by its caption. The panel may
// be carried past its parent's edges; whoever tracks it puts it back.
class ChildDrag
{
public:
    // Where the panel was pressed, in its own coordinates.
    void grab(QPointF point) { m_grab = point; }
    void begin() { m_active = true; }
    void end() { m_active = false; }
    bool isActive() const { return m_active; }
    // Puts the panel's top-left corner at `pointer` (in its parent's client coordinates) less
    // the grab point.
    void follow(Panel &panel, QPointF pointer) const;

private:
    QPointF m_grab;
    bool m_active = false;
};
