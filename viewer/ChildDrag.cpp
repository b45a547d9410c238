#include "viewer/ChildDrag.h"

#include "viewer/Panel.h"

#include <cmath>

void ChildDrag::follow(Panel &panel, QPointF pointer) const
{
    if (!m_active)
        return;
    const QPointF corner = pointer - m_grab;
    // Whole pixels, as a moved window lands.
    panel.Move(float(std::floor(corner.x())), float(std::floor(corner.y())));
}
