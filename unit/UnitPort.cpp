#include "unit/UnitPort.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

speed_t speedOf(int baud)
{
    switch (baud) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    default:
        return B19200;
    }
}

bool makeRaw(int fd, int baud)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, speedOf(baud));
    cfsetospeed(&tio, speedOf(baud));
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

UnitPort::~UnitPort()
{
    if (m_terminalFd >= 0)
        ::close(m_terminalFd);
    if (m_fd >= 0)
        ::close(m_fd);
}

bool UnitPort::openPty(QString* path, QString* error)
{
    m_fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0 || grantpt(m_fd) != 0 || unlockpt(m_fd) != 0) {
        *error = systemError();
        return false;
    }
    const char* name = ptsname(m_fd);
    if (!name) {
        *error = systemError();
        return false;
    }
    *path = QString::fromLocal8Bit(name);
    m_terminalFd = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    // Raw from the start: no echo or line editing before a program opens the terminal.
    if (m_terminalFd < 0 || !makeRaw(m_terminalFd, 19200)) {
        *error = systemError();
        return false;
    }
    return true;
}

bool UnitPort::openSerial(const QString& path, int baud, QString* error)
{
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0) {
        *error = systemError();
        return false;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(m_fd, TIOCEXCL) != 0) {
        *error = QStringLiteral("the port is in use by another program");
        return false;
    }
    if (!makeRaw(m_fd, baud)) {
        *error = systemError();
        return false;
    }
    return true;
}
