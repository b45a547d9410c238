#include "PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal()
{
    m_controller = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_controller < 0 || grantpt(m_controller) != 0 || unlockpt(m_controller) != 0)
        return;
    const char *name = ptsname(m_controller);
    if (!name)
        return;
    m_device = ::open(name, O_RDWR | O_NOCTTY);
    if (m_device < 0)
        return;
    // Raw, so the test reads exactly the bytes the child wrote.
    termios mode{};
    if (tcgetattr(m_device, &mode) == 0) {
        cfmakeraw(&mode);
        tcsetattr(m_device, TCSANOW, &mode);
    }
    fcntl(m_controller, F_SETFL, fcntl(m_controller, F_GETFL) | O_NONBLOCK);
    m_devicePath = QString::fromLocal8Bit(name);
}

PseudoTerminal::~PseudoTerminal()
{
    if (m_device >= 0)
        ::close(m_device);
    if (m_controller >= 0)
        ::close(m_controller);
}

QByteArray PseudoTerminal::readAvailable()
{
    QByteArray text;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(m_controller, buffer, sizeof buffer);
        if (count > 0)
            text.append(buffer, count);
        else if (count < 0 && errno == EINTR)
            continue;
        else
            return text;
    }
}
