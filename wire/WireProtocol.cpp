#include "wire/WireProtocol.h"

const char* WireCommand::Name(uint8_t command)
{
    switch (command & ~ResponseBit) {
    case Connect:
        return "Connect";
    case Disconnect:
        return "Disconnect";
    case Identity:
        return "Identity";
    case ReadAddress:
        return "ReadAddress";
    case WriteAddress:
        return "WriteAddress";
    case ReadBlock:
        return "ReadBlock";
    case ReadValue:
        return "ReadValue";
    case ReadIndexed:
        return "ReadIndexed";
    case ReadMatrixElement:
        return "ReadMatrixElement";
    case WriteArray:
        return "WriteArray";
    case WriteValue:
        return "WriteValue";
    case WriteIndexed:
        return "WriteIndexed";
    case WriteMatrixElement:
        return "WriteMatrixElement";
    case WriteRow:
        return "WriteRow";
    case ReadPacket:
        return "ReadPacket";
    case EnterBootLoader:
        return "EnterBootLoader";
    case ProgramBegin:
        return "ProgramBegin";
    case ProgramBlock:
        return "ProgramBlock";
    case ProgramEnd:
        return "ProgramEnd";
    case Nak:
        return "Nak";
    default:
        return "";
    }
}

WirePayloadWriter& WirePayloadWriter::u8(uint8_t v)
{
    m_data.append(char(v));
    return *this;
}

WirePayloadWriter& WirePayloadWriter::u16(uint16_t v)
{
    return u8(uint8_t(v)).u8(uint8_t(v >> 8));
}

WirePayloadWriter& WirePayloadWriter::u32(uint32_t v)
{
    return u16(uint16_t(v)).u16(uint16_t(v >> 16));
}

WirePayloadWriter& WirePayloadWriter::bytes(const QByteArray& b)
{
    m_data.append(b);
    return *this;
}

WirePayloadWriter& WirePayloadWriter::values(const int* values, int count)
{
    for (int i = 0; i < count; ++i)
        i32(values[i]);
    return *this;
}

bool WirePayloadReader::u8(uint8_t* v)
{
    if (remaining() < 1)
        return false;
    *v = uint8_t(m_data[m_pos++]);
    return true;
}

bool WirePayloadReader::u16(uint16_t* v)
{
    uint8_t lo = 0, hi = 0;
    if (remaining() < 2 || !u8(&lo) || !u8(&hi))
        return false;
    *v = uint16_t(lo | hi << 8);
    return true;
}

bool WirePayloadReader::u32(uint32_t* v)
{
    uint16_t lo = 0, hi = 0;
    if (remaining() < 4 || !u16(&lo) || !u16(&hi))
        return false;
    *v = uint32_t(lo) | uint32_t(hi) << 16;
    return true;
}

bool WirePayloadReader::i32(int32_t* v)
{
    uint32_t u = 0;
    if (!u32(&u))
        return false;
    *v = int32_t(u);
    return true;
}

bool WirePayloadReader::bytes(int count, QByteArray* out)
{
    if (count < 0 || remaining() < count)
        return false;
    *out = m_data.mid(m_pos, count);
    m_pos += count;
    return true;
}

bool WirePayloadReader::values(int count, std::vector<int>* out)
{
    if (count < 0 || remaining() < 4 * count)
        return false;
    out->resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        int32_t v = 0;
        i32(&v);
        (*out)[size_t(i)] = v;
    }
    return true;
}
