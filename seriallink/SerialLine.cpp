#include "seriallink/SerialLine.h"

#include <QFileInfo>

SerialLine::OpenResult SerialLine::open(const QString& path, int baud)
{
    close();
    m_port.setPortName(path);
    // Qt Serial Port locks the device (a lock file and exclusive mode), so a
    // second program cannot open it while we hold it.
    if (!m_port.open(QIODevice::ReadWrite)) {
        const QFileInfo device(path);
        const bool reachable = device.exists() && device.isReadable() && device.isWritable();
        return m_port.error() == QSerialPort::PermissionError && reachable ? OpenResult::InUse
                                                                           : OpenResult::Failed;
    }
    const bool configured = m_port.setBaudRate(baud) && m_port.setDataBits(QSerialPort::Data8) &&
                            m_port.setParity(QSerialPort::NoParity) &&
                            m_port.setStopBits(QSerialPort::OneStop) &&
                            m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        close();
        return OpenResult::Failed;
    }
    m_port.clear(); // bytes left from before are not ours
    return OpenResult::Opened;
}

void SerialLine::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

bool SerialLine::gone() const
{
    const auto error = m_port.error();
    return !m_port.isOpen() || (error != QSerialPort::NoError && error != QSerialPort::TimeoutError);
}

bool SerialLine::send(const QByteArray& bytes)
{
    if (!m_port.isOpen() || m_port.write(bytes) != bytes.size())
        return false;
    while (m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(1000))
            return !gone() && m_port.bytesToWrite() == 0;
    }
    return !gone();
}

bool SerialLine::receive(int timeoutMs, QByteArray* bytes)
{
    if (!m_port.isOpen())
        return false;
    if (m_port.bytesAvailable() == 0 && !m_port.waitForReadyRead(timeoutMs)) {
        if (gone())
            return false;
        m_port.clearError(); // a timeout only
        return true;
    }
    bytes->append(m_port.readAll());
    return !gone();
}
