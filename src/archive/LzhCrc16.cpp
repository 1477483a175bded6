#include "archive/LzhCrc16.h"

#include <array>

namespace lzh {

namespace {

// Slicing by eight: table k gives the CRC of a byte followed by k zero bytes, so eight bytes are
// folded in with eight independent look-ups.
constexpr std::array<std::array<uint16_t, 256>, 8> makeTables()
{
    std::array<std::array<uint16_t, 256>, 8> tables{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t crc = uint16_t(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
        tables[0][i] = crc;
    }
    for (unsigned k = 1; k < 8; ++k) {
        for (unsigned i = 0; i < 256; ++i)
            tables[k][i] = uint16_t((tables[k - 1][i] >> 8) ^ tables[0][tables[k - 1][i] & 0xFF]);
    }
    return tables;
}

constexpr auto kTables = makeTables();
const auto& kTable = kTables[0];

} // namespace

void Crc16::update(const void* data, size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    uint16_t crc = m_value;
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        const uint8_t* b = bytes + i;
        crc = uint16_t(kTables[7][(b[0] ^ crc) & 0xFF] ^ kTables[6][(b[1] ^ (crc >> 8)) & 0xFF] ^ kTables[5][b[2]]
                       ^ kTables[4][b[3]] ^ kTables[3][b[4]] ^ kTables[2][b[5]] ^ kTables[1][b[6]] ^ kTables[0][b[7]]);
    }
    for (; i < size; ++i)
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
