#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lzh {

// Writes bits most-significant first; finish() pads the last byte with zero bits.
class BitWriter
{
public:
    void put(uint32_t value, int count)
    {
        m_buffer = (m_buffer << count) | (value & ((uint64_t(1) << count) - 1));
        m_count += count;
        if (m_count >= 32) {
            // Four whole bytes at a time.
            m_count -= 32;
            const uint32_t word = uint32_t(m_buffer >> m_count);
            m_bytes.push_back(uint8_t(word >> 24));
            m_bytes.push_back(uint8_t(word >> 16));
            m_bytes.push_back(uint8_t(word >> 8));
            m_bytes.push_back(uint8_t(word));
        }
    }
    std::vector<uint8_t>& finish()
    {
        drain();
        if (m_count > 0) {
            m_bytes.push_back(uint8_t(m_buffer << (8 - m_count)));
            m_count = 0;
        }
        return m_bytes;
    }
    size_t byteCount() const { return m_bytes.size() + size_t(m_count) / 8; }
    size_t bitCount() const { return m_bytes.size() * 8 + size_t(m_count); }
    // Zero bits that finish() will add to complete the last byte.
    int paddingBits() const { return (8 - m_count % 8) % 8; }

    // A position to come back to, dropping what was written after it.
    struct Mark
    {
        size_t bytes;
        uint64_t buffer;
        int count;
    };
    Mark mark() const { return {m_bytes.size(), m_buffer, m_count}; }
    void rewind(const Mark& mark)
    {
        m_bytes.resize(mark.bytes);
        m_buffer = mark.buffer;
        m_count = mark.count;
    }

private:
    void drain()
    {
        while (m_count >= 8) {
            m_count -= 8;
            m_bytes.push_back(uint8_t(m_buffer >> m_count));
        }
    }

    uint64_t m_buffer = 0;
    int m_count = 0;
    std::vector<uint8_t> m_bytes;
};

} // namespace lzh
