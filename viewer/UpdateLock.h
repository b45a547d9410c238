#pragma once

#include <QPointer>
#include <QWidget>

// Freezes the drawing of one window while it is rebuilt. There is one freeze at a time and no
// nesting: releasing ends whatever freeze is held, so a rebuild that releases early lets the
// rest of its caller's work be drawn.
class UpdateLock
{
public:
    void lock(QWidget *window)
    {
        release();
        m_window = window;
        m_window->setUpdatesEnabled(false);
    }
    void release()
    {
        if (m_window)
            m_window->setUpdatesEnabled(true);
        m_window = nullptr;
    }
    bool isHeld() const { return !m_window.isNull(); }

private:
    QPointer<QWidget> m_window;
};

// Holds the freeze for a scope and releases it on every way out.
class FrozenDrawing
{
public:
    FrozenDrawing(UpdateLock &lock, QWidget *window) : m_lock(lock) { m_lock.lock(window); }
    ~FrozenDrawing() { m_lock.release(); }
    FrozenDrawing(const FrozenDrawing &) = delete;
    FrozenDrawing &operator=(const FrozenDrawing &) = delete;

private:
    UpdateLock &m_lock;
};
