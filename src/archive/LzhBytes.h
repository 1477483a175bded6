#pragma once

#include <QByteArray>

#include <cstdint>

// Little-endian fields of LZH headers.
namespace lzh {

inline uint16_t readLe16(const char* p)
{
    return uint16_t(uint8_t(p[0]) | uint8_t(p[1]) << 8);
}

inline uint32_t readLe32(const char* p)
{
    return uint32_t(readLe16(p)) | uint32_t(readLe16(p + 2)) << 16;
}

inline void appendLe16(QByteArray& out, uint32_t value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

inline void appendLe32(QByteArray& out, uint32_t value)
{
    appendLe16(out, value & 0xFFFF);
    appendLe16(out, value >> 16);
}

} // namespace lzh
