#pragma once

// A WireLine on a serial port (or a pseudo-terminal) through Qt Serial Port,
// opened exclusively: a port another program holds is reported as in use.

#include "wire/WireClient.h"

#include <QSerialPort>
#include <QString>

class SerialLine final : public WireLine {
public:
    enum class OpenResult { Opened, InUse, Failed };

    OpenResult open(const QString& path, int baud);
    void close();
    bool isOpen() const { return m_port.isOpen(); }

    bool send(const QByteArray& bytes) override;
    bool receive(int timeoutMs, QByteArray* bytes) override;

private:
    bool gone() const;

    QSerialPort m_port;
};
