#include "unit/LineFaults.h"

QByteArray LineFaults::apply(const QByteArray& bytes)
{
    if (!active())
        return bytes;
    QByteArray out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const double draw = m_share(m_random);
        if (draw < m_drop) {
            ++m_dropped;
            continue;
        }
        if (draw < m_drop + m_corrupt) {
            // Another value, never the same one: a corrupted byte always differs.
            const char other = char(uint8_t(c) ^ uint8_t(1 + m_random() % 255));
            out.append(other);
            ++m_corrupted;
            continue;
        }
        out.append(c);
    }
    return out;
}
