#include "tools/GifWriter.h"

#include <QFile>
#include <QHash>
#include <QVector>

namespace {

// The palette index of every pixel, and the palette (padded to a power of two).
struct Indexed {
    QVector<QRgb> palette;
    QList<QByteArray> frames;
    int bits = 1;
};

int Distance(QRgb a, QRgb b)
{
    const int r = qRed(a) - qRed(b), g = qGreen(a) - qGreen(b), bl = qBlue(a) - qBlue(b);
    return r * r + g * g + bl * bl;
}

Indexed Index(const QList<QImage>& frames)
{
    Indexed result;
    QHash<QRgb, int> lookup;
    for (const QImage& source : frames) {
        const QImage frame = source.convertToFormat(QImage::Format_RGB32);
        QByteArray pixels;
        pixels.reserve(frame.width() * frame.height());
        for (int y = 0; y < frame.height(); ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
            for (int x = 0; x < frame.width(); ++x) {
                const QRgb colour = line[x] | 0xFF000000u;
                auto found = lookup.constFind(colour);
                int index = 0;
                if (found != lookup.constEnd()) {
                    index = found.value();
                } else if (result.palette.size() < 256) {
                    index = int(result.palette.size());
                    result.palette.append(colour);
                    lookup.insert(colour, index);
                } else {
                    for (int i = 1; i < result.palette.size(); ++i) {
                        if (Distance(result.palette[i], colour) < Distance(result.palette[index], colour))
                            index = i;
                    }
                }
                pixels.append(char(index));
            }
        }
        result.frames.append(pixels);
    }
    while ((1 << result.bits) < result.palette.size())
        ++result.bits;
    result.palette.resize(1 << result.bits);
    return result;
}

// Variable-length LZW codes, packed least significant bit first into sub-blocks.
class CodeWriter {
public:
    explicit CodeWriter(QByteArray& out) : m_out(out) {}
    void Put(int code, int size)
    {
        m_accumulator |= uint32_t(code) << m_bits;
        m_bits += size;
        while (m_bits >= 8) {
            Byte(char(m_accumulator & 0xFF));
            m_accumulator >>= 8;
            m_bits -= 8;
        }
    }
    void Finish()
    {
        if (m_bits > 0)
            Byte(char(m_accumulator & 0xFF));
        if (!m_block.isEmpty())
            Flush();
        m_out.append('\0');
    }

private:
    void Byte(char byte)
    {
        m_block.append(byte);
        if (m_block.size() == 255)
            Flush();
    }
    void Flush()
    {
        m_out.append(char(m_block.size()));
        m_out.append(m_block);
        m_block.clear();
    }

    QByteArray& m_out;
    QByteArray m_block;
    uint32_t m_accumulator = 0;
    int m_bits = 0;
};

void Compress(const QByteArray& pixels, int bits, QByteArray& out)
{
    const int minimum = qMax(2, bits);
    out.append(char(minimum));
    const int clear = 1 << minimum;
    const int end = clear + 1;
    CodeWriter writer(out);
    QHash<quint32, int> table;
    int last = end; // the last code in use
    int size = minimum + 1;
    writer.Put(clear, size);
    int prefix = uchar(pixels.at(0));
    for (int i = 1; i < pixels.size(); ++i) {
        const int pixel = uchar(pixels.at(i));
        const quint32 key = (quint32(prefix) << 8) | quint32(pixel);
        auto found = table.constFind(key);
        if (found != table.constEnd()) {
            prefix = found.value();
            continue;
        }
        writer.Put(prefix, size);
        table.insert(key, ++last);
        if (last >= (1 << size))
            ++size;
        if (last == 4095) {
            writer.Put(clear, size);
            table.clear();
            size = minimum + 1;
            last = end;
        }
        prefix = pixel;
    }
    writer.Put(prefix, size);
    writer.Put(end, size);
    writer.Finish();
}

void Word(QByteArray& out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

} // namespace

bool TGifWriter::Write(const QString& fileName, const QList<QImage>& frames, int delay) const
{
    if (frames.isEmpty())
        return false;
    const int width = frames.first().width();
    const int height = frames.first().height();
    const Indexed indexed = Index(frames);

    QByteArray gif("GIF89a");
    Word(gif, width);
    Word(gif, height);
    gif.append(char(0x80 | ((indexed.bits - 1) << 4) | (indexed.bits - 1)));
    gif.append('\0'); // background colour
    gif.append('\0'); // aspect ratio
    for (QRgb colour : indexed.palette) {
        gif.append(char(qRed(colour)));
        gif.append(char(qGreen(colour)));
        gif.append(char(qBlue(colour)));
    }
    gif.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19); // loop for ever
    for (const QByteArray& pixels : indexed.frames) {
        gif.append("\x21\xF9\x04\x00", 4); // graphic control: no disposal, no transparency
        Word(gif, delay);
        gif.append("\x00\x00", 2);
        gif.append('\x2C');
        Word(gif, 0);
        Word(gif, 0);
        Word(gif, width);
        Word(gif, height);
        gif.append('\0');
        Compress(pixels, indexed.bits, gif);
    }
    gif.append('\x3B');

    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(gif) == gif.size();
}
