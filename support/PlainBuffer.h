#pragma once

// The plain form of an encrypted container's content, as the container readers
// hand it out and the in-memory INI store reads and writes it: one block of
// bytes holding the content length L as a 32-bit little-endian signed integer,
// then the L content bytes (and, when written by the INI store, one zero byte
// that L does not count). The firmware path hands the raw block to the link
// library as it is, so the layout is kept exactly.
//
// A default-constructed buffer is null: it holds no block at all, which is not
// the same as a block with L = 0. The buffer frees itself.

#include <QByteArray>

class TPlainBuffer {
public:
    static constexpr int LengthSize = 4;

    TPlainBuffer() = default;
    // A block holding content, followed by a zero byte when trailingZero is set.
    explicit TPlainBuffer(const QByteArray& content, bool trailingZero = false);
    // A block for length content bytes, all zero, to be filled through ContentData().
    static TPlainBuffer WithLength(qint32 length);

    bool IsNull() const { return m_bytes.isEmpty(); }
    void Reset() { m_bytes = QByteArray(); }

    // The content length L from the length word; 0 for a null buffer.
    qint32 Length() const;
    // A copy of the L content bytes.
    QByteArray Content() const;
    uchar* ContentData();

    // The whole block: length word, content and any trailing zero.
    const uchar* Data() const;
    uchar* Data();
    qsizetype Size() const { return m_bytes.size(); }

private:
    QByteArray m_bytes;
};
