#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal: a child process given devicePath() as its stderr writes to a terminal, and
// the test reads what it wrote.
class PseudoTerminal
{
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isOpen() const { return m_controller >= 0 && !m_devicePath.isEmpty(); }
    QString devicePath() const { return m_devicePath; }
    // Everything written to the terminal since the last call; never blocks.
    QByteArray readAvailable();

private:
    int m_controller = -1;
    int m_device = -1; // held open so written text stays readable after the child has gone
    QString m_devicePath;
};
