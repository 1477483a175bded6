#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace lzh {

// Reads a compressed stream held in memory most-significant bit first. Past the end it yields zero
// bits and notes the overrun, so a decoder never reads beyond the member's data and can tell a
// stream that was cut short.
class BitReader
{
public:
    BitReader(const uint8_t* data, size_t size)
        : m_next(data)
        , m_end(data + size)
    {
    }

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

private:
    void refill()
    {
        if (m_end - m_next >= 8) {
            // Whole bytes that fit go in at once; bits loaded past m_count are the same stream bits
            // and are loaded again, unchanged, by the next refill.
            uint64_t word;
            std::memcpy(&word, m_next, 8);
            word = __builtin_bswap64(word);
            m_buffer |= word >> m_count;
            const int bytes = (63 - m_count) >> 3;
            m_next += bytes;
            m_count += bytes * 8;
            return;
        }
        refillAtEnd();
    }
    void refillAtEnd();

    uint64_t m_buffer = 0;
    int m_count = 0; // valid bits at the top of m_buffer
    const uint8_t* m_next;
    const uint8_t* m_end;
    uint64_t m_paddingBytes = 0;
};

} // namespace lzh
