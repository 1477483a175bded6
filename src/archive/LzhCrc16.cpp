#include "archive/LzhCrc16.h"

#include <array>

namespace lzh {

namespace {

constexpr std::array<uint16_t, 256> makeTable()
{
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t crc = uint16_t(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
        table[i] = crc;
    }
    return table;
}

constexpr std::array<uint16_t, 256> kTable = makeTable();

} // namespace

void Crc16::update(const void* data, size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    uint16_t crc = m_value;
    for (size_t i = 0; i < size; ++i)
        crc = uint16_t((crc >> 8) ^ kTable[(crc ^ bytes[i]) & 0xFF]);
    m_value = crc;
}

uint16_t Crc16::of(const void* data, size_t size)
{
    Crc16 crc;
    crc.update(data, size);
    return crc.value();
}

} // namespace lzh
