#include "archive/LzhBitReader.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace lzh {

namespace {
constexpr qint64 kChunkSize = 64 * 1024;
}

BitReader::BitReader(QIODevice* device, uint64_t size)
    : m_device(device)
    , m_remaining(size)
{
}

bool BitReader::loadChunk()
{
    if (m_remaining == 0 || m_deviceFailed)
        return false;
    const qint64 want = qint64(std::min<uint64_t>(m_remaining, kChunkSize));
    m_chunk.resize(want);
    const qint64 got = m_device->read(m_chunk.data(), want);
    if (got <= 0) {
        m_deviceFailed = true;
        return false;
    }
    m_remaining -= uint64_t(got);
    m_next = reinterpret_cast<const uint8_t*>(m_chunk.constData());
    m_end = m_next + got;
    return true;
}

void BitReader::refill()
{
    if (m_end - m_next >= 8) {
        // Whole bytes that fit go in at once; bits loaded past m_count are the same stream bits and
        // are loaded again, unchanged, by the next refill.
        uint64_t word;
        std::memcpy(&word, m_next, 8);
        word = __builtin_bswap64(word);
        m_buffer |= word >> m_count;
        const int bytes = (63 - m_count) >> 3;
        m_next += bytes;
        m_count += bytes * 8;
        return;
    }
    while (m_count <= 56) {
        if (m_next == m_end && !loadChunk()) {
            ++m_paddingBytes;
        } else {
            m_buffer |= uint64_t(*m_next++) << (56 - m_count);
        }
        m_count += 8;
    }
}

} // namespace lzh
