#pragma once

// Records the names of the files made in (or moved into) a folder for as long
// as the object lives, through inotify: a test sees files that a program makes
// and removes again before the test could look.

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <sys/inotify.h>
#include <unistd.h>

class FolderWatch {
public:
    explicit FolderWatch(const QString& folder)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
          m_watch(m_fd < 0 ? -1
                           : inotify_add_watch(m_fd, QFile::encodeName(folder).constData(),
                                               IN_CREATE | IN_MOVED_TO))
    {
    }
    ~FolderWatch()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    bool IsValid() const { return m_watch >= 0; }

    // The names made since the watch began.
    QStringList Made()
    {
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t length = read(m_fd, buffer, sizeof buffer);
            if (length <= 0)
                break;
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0)
                    m_made << QFile::decodeName(event->name);
                at += ssize_t(sizeof(inotify_event)) + event->len;
            }
        }
        return m_made;
    }

private:
    int m_fd = -1;
    int m_watch = -1;
    QStringList m_made;
};
