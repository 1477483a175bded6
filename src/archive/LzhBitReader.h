#pragma once

#include <QByteArray>

#include <cstdint>

class QIODevice;

namespace lzh {

// Reads a compressed stream of a known size most-significant bit first, pulling it from a device in
// chunks. Past the end it yields zero bits and notes the overrun, so a decoder never reads beyond
// the member's data and can tell a stream that was cut short.
class BitReader
{
public:
    BitReader(QIODevice* device, uint64_t size);

    // The next n bits (1..24) without consuming them.
    uint32_t peek(int n)
    {
        if (m_count < n)
            refill();
        return uint32_t(m_buffer >> (64 - n));
    }
    void skip(int n)
    {
        m_buffer <<= n;
        m_count -= n;
    }
    uint32_t read(int n)
    {
        if (n == 0)
            return 0;
        const uint32_t value = peek(n);
        skip(n);
        return value;
    }

    // True once more bits were consumed than the stream holds.
    bool overrun() const { return m_paddingBytes * 8 > uint64_t(m_count); }
    bool deviceFailed() const { return m_deviceFailed; }

private:
    void refill();
    bool loadChunk();

    uint64_t m_buffer = 0;
    int m_count = 0; // valid bits at the top of m_buffer
    QIODevice* m_device;
    uint64_t m_remaining;
    QByteArray m_chunk;
    const uint8_t* m_next = nullptr;
    const uint8_t* m_end = nullptr;
    uint64_t m_paddingBytes = 0;
    bool m_deviceFailed = false;
};

} // namespace lzh
