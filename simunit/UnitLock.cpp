#include "simunit/UnitLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

UnitLock::~UnitLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool UnitLock::acquire(const QString& path)
{
    if (m_fd >= 0 && path == m_path) {
        ++m_holders;
        return true;
    }
    if (m_fd >= 0) {
        // The unit's folder changed while connected: the lock moves along.
        ::close(m_fd);
        m_fd = -1;
        m_holders = 0;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true; // a folder we cannot write: nothing to guard against, as the memory cannot be saved
                     // there either
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_holders = 1;
    m_path = path;
    return true;
}

void UnitLock::release()
{
    if (m_fd < 0 || --m_holders > 0)
        return;
    ::close(m_fd); // closing the descriptor releases the lock; the file stays for the next holder
    m_fd = -1;
    m_holders = 0;
}
