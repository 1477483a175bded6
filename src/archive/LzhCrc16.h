#pragma once

#include <cstddef>
#include <cstdint>

namespace lzh {

// CRC-16 as LZH archives use it for member data and level-2 headers: reflected polynomial 0xA001,
// start value 0, no final XOR. Feed data in any number of pieces.
class Crc16
{
public:
    void update(const void* data, size_t size);
    uint16_t value() const { return m_value; }

    static uint16_t of(const void* data, size_t size);

private:
    uint16_t m_value = 0;
};

} // namespace lzh
