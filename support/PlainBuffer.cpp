#include "support/PlainBuffer.h"

#include <QtEndian>
#include <algorithm>

TPlainBuffer::TPlainBuffer(const QByteArray& content, bool trailingZero)
{
    *this = WithLength(static_cast<qint32>(content.size()));
    std::copy(content.cbegin(), content.cend(), m_bytes.begin() + LengthSize);
    if (trailingZero)
        m_bytes.append('\0');
}

TPlainBuffer TPlainBuffer::WithLength(qint32 length)
{
    TPlainBuffer buffer;
    if (length >= 0) {
        buffer.m_bytes = QByteArray(qsizetype(LengthSize) + length, '\0');
        qToLittleEndian<qint32>(length, buffer.m_bytes.data());
    }
    return buffer;
}

qint32 TPlainBuffer::Length() const
{
    return IsNull() ? 0 : qFromLittleEndian<qint32>(m_bytes.constData());
}

QByteArray TPlainBuffer::Content() const
{
    return m_bytes.mid(LengthSize, Length());
}

uchar* TPlainBuffer::ContentData()
{
    return IsNull() ? nullptr : Data() + LengthSize;
}

const uchar* TPlainBuffer::Data() const
{
    return reinterpret_cast<const uchar*>(m_bytes.constData());
}

uchar* TPlainBuffer::Data()
{
    return reinterpret_cast<uchar*>(m_bytes.data());
}
