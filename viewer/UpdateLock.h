#pragma once

// Holds back the drawing of the viewport while the picture is rebuilt. The viewport is only
// drawn when pending events run, so the freeze is kept by letting none run while it is held:
// the rebuild is drawn once, when it is done, with the view in its place. A rebuild inside
// another one keeps the outer freeze.
class UpdateLock
{
public:
    void lock() { ++m_depth; }
    void release()
    {
        if (m_depth > 0)
            --m_depth;
    }
    bool isHeld() const { return m_depth > 0; }

private:
    int m_depth = 0;
};

// Holds the freeze for a scope and releases it on every way out.
class FrozenDrawing
{
public:
    explicit FrozenDrawing(UpdateLock &lock) : m_lock(lock) { m_lock.lock(); }
    ~FrozenDrawing() { m_lock.release(); }
    FrozenDrawing(const FrozenDrawing &) = delete;
    FrozenDrawing &operator=(const FrozenDrawing &) = delete;

private:
    UpdateLock &m_lock;
};
