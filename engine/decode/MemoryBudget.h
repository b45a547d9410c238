#pragma once

#include <QString>
#include <QtGlobal>
#include <new>

// The memory decoding one picture may take, one figure for the converter, the window and the
// preview. A picture whose decoding would need more is refused before anything large is allocated:
// what its header declares is checked against the budget, and libjpeg is held to it besides.
class MemoryBudget
{
public:
    // Thrown by a check that fails. A std::bad_alloc, so that whoever handles running out of memory
    // handles it too; it also tells how much the decoding would have needed.
    class Exceeded : public std::bad_alloc
    {
    public:
        Exceeded(double needed, qint64 allowed) : m_needed(needed), m_allowed(allowed) {}
        const char *what() const noexcept override { return "picture over the memory budget"; }
        // "decoding it takes 6144 MiB, more than the 512 MiB allowed"
        QString cause() const;

    private:
        double m_needed;
        qint64 m_allowed;
    };

    // The smaller of 2 GiB and half the machine's physical memory.
    static MemoryBudget standard();
    explicit MemoryBudget(qint64 bytes) : m_bytes(bytes) {}

    qint64 bytes() const { return m_bytes; }
    // Throws Exceeded when decoding would need more than the budget: `needed` bytes, a double so
    // that no declared size can overflow it.
    void check(double needed) const
    {
        if (needed > double(m_bytes))
            throw Exceeded(needed, m_bytes);
    }

private:
    qint64 m_bytes;
};
