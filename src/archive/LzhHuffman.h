#pragma once

#include "archive/LzhBitReader.h"

#include <cstdint>
#include <vector>

namespace lzh {

// Longest code the LZH block format can describe.
constexpr int kMaxCodeLength = 16;

// Code lengths of at most maxLength bits for the symbols with a non-zero frequency (Huffman's
// construction, deepest levels folded back while keeping the code complete). Symbols that do not
// occur get length 0. With fewer than two used symbols every length is 0: the block format writes
// such a table as a single value instead.
void buildCodeLengths(const uint32_t* frequencies, int count, int maxLength, uint8_t* lengths);

// Canonical codes for the lengths: shorter codes first, symbols in order within one length.
void buildCanonicalCodes(const uint8_t* lengths, int count, uint16_t* codes);

// Decodes canonical codes through a lookup table on the first bits, with a slow path for longer
// codes. A table can also stand for one symbol coded with zero bits.
class HuffmanDecoder
{
public:
    explicit HuffmanDecoder(int tableBits);

    // False when the lengths describe no valid prefix code (over-subscribed or longer than 16 bits).
    bool build(const uint8_t* lengths, int count);
    void setSingle(int symbol);

    // The next symbol, or -1 for a bit pattern that no code uses.
    int decode(BitReader& in)
    {
        if (m_single >= 0)
            return m_single;
        const uint32_t bits = in.peek(kMaxCodeLength);
        const uint16_t entry = m_table[bits >> (kMaxCodeLength - m_tableBits)];
        if (entry != 0) {
            in.skip(entry & 31);
            return entry >> 5;
        }
        return decodeLong(in, bits);
    }

private:
    int decodeLong(BitReader& in, uint32_t bits);

    int m_tableBits;
    int m_single = -1;
    std::vector<uint16_t> m_table;    // symbol << 5 | length, 0 when the code is longer or unused
    std::vector<uint16_t> m_sorted;   // symbols by (length, symbol)
    uint32_t m_firstCode[kMaxCodeLength + 1] = {};
    uint32_t m_lengthCount[kMaxCodeLength + 1] = {};
    uint32_t m_firstIndex[kMaxCodeLength + 1] = {};
};

} // namespace lzh
