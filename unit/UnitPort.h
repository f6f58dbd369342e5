#pragma once

// The line tzr582-unit serves: a pseudo-terminal it creates, or a serial port,
// both as a raw 8N1 file descriptor.

#include <QString>

class UnitPort {
public:
    UnitPort() = default;
    ~UnitPort();
    UnitPort(const UnitPort&) = delete;
    UnitPort& operator=(const UnitPort&) = delete;

    // Creates a pseudo-terminal; path is its terminal end, for the program to open.
    bool openPty(QString* path, QString* error);
    // Opens a serial port exclusively at baud bits per second.
    bool openSerial(const QString& path, int baud, QString* error);
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
    int m_terminalFd = -1; // our own hold on the pty's terminal end, so it never hangs up between programs
};
