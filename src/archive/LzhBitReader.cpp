#include "archive/LzhBitReader.h"

namespace lzh {

void BitReader::refillAtEnd()
{
    while (m_count <= 56) {
        if (m_next == m_end)
            ++m_paddingBytes;
        else
            m_buffer |= uint64_t(*m_next++) << (56 - m_count);
        m_count += 8;
    }
}

} // namespace lzh
