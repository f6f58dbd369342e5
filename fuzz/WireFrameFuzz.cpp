// The wire protocol's frame decoder: any bytes, fed in any pieces, give only
// frames whose CRC and length hold (each encodes back to bytes that decode to
// the same frame), and an intact frame sent after the garbage is always found.

#include "fuzz/FuzzSupport.h"
#include "wire/WireFrame.h"

namespace {

QList<WireFrame> Decode(WireDecoder& decoder)
{
    QList<WireFrame> frames;
    WireFrame frame;
    while (decoder.take(&frame))
        frames << frame;
    return frames;
}

void CheckFrame(const WireFrame& frame)
{
    FuzzCheck(frame.payload.size() <= Wire::MaxPayload, "no frame longer than the protocol allows");
    WireDecoder again;
    again.feed(Wire::EncodeFrame(frame));
    const QList<WireFrame> back = Decode(again);
    FuzzCheck(back.size() == 1 && back.first() == frame && again.faults() == 0,
              "an accepted frame encodes back to itself");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);

    // All at once, and in pieces cut where the first byte says: the same frames.
    WireDecoder whole;
    whole.feed(bytes);
    const QList<WireFrame> frames = Decode(whole);
    WireDecoder pieces;
    const int step = bytes.isEmpty() ? 1 : 1 + uint8_t(bytes[0]) % 7;
    for (int at = 0; at < bytes.size(); at += step)
        pieces.feed(bytes.mid(at, step));
    FuzzCheck(Decode(pieces) == frames, "the frames do not depend on how the bytes arrive");
    for (const WireFrame& frame : frames)
        CheckFrame(frame);

    // Resynchronisation: an intact frame after the garbage is the next frame taken.
    WireFrame known;
    known.sequence = 0x5A;
    known.command = 0x11;
    known.payload = QByteArrayLiteral("\x7e\x7d\x00\x01");
    whole.feed(Wire::EncodeFrame(known));
    const QList<WireFrame> after = Decode(whole);
    FuzzCheck(!after.isEmpty() && after.last() == known, "an intact frame after any garbage is found");
    return 0;
}
