#pragma once

#include <cstdint>

// Little-endian fields of LZH headers.
namespace lzh {

inline uint16_t readLe16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

inline uint32_t readLe32(const uint8_t* p)
{
    return uint32_t(readLe16(p)) | uint32_t(readLe16(p + 2)) << 16;
}

inline uint16_t readLe16(const char* p)
{
    return readLe16(reinterpret_cast<const uint8_t*>(p));
}

inline uint32_t readLe32(const char* p)
{
    return readLe32(reinterpret_cast<const uint8_t*>(p));
}

// Appends to any byte container with push_back(char): std::string, QByteArray.
template <typename Bytes>
void appendLe16(Bytes& out, uint32_t value)
{
    out.push_back(char(value & 0xFF));
    out.push_back(char((value >> 8) & 0xFF));
}

template <typename Bytes>
void appendLe32(Bytes& out, uint32_t value)
{
    appendLe16(out, value & 0xFFFF);
    appendLe16(out, value >> 16);
}

} // namespace lzh
