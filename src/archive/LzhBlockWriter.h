#pragma once

#include "archive/LzhBitWriter.h"
#include "archive/LzhFormat.h"

#include <cstdint>
#include <vector>

namespace lzh {

// One LZSS token: a literal byte, or a match of `length` bytes `distance` bytes back.
struct Token
{
    uint16_t length;   // 0 for a literal
    uint16_t value;    // the literal byte, or the distance (1..window-1)
};

// How often each symbol of the literal/length table and of the position table occurs in tokens.
struct SymbolCounts
{
    uint32_t literal[kLiteralAndLengthCodes] = {};
    uint32_t position[32] = {};
    size_t tokens = 0;

    SymbolCounts() = default;
    explicit SymbolCounts(const std::vector<Token>& tokens);
    SymbolCounts& operator+=(const SymbolCounts& other);
};

// Writes tokens as one static-Huffman block: the token count, the three code tables, then the codes.
class BlockWriter
{
public:
    explicit BlockWriter(const MethodParameters& method);

    void write(const std::vector<Token>& tokens, BitWriter& out);
    // The same in parts, for a block whose counts are known: the token count and the code tables,
    // then the tokens (in as many runs as they come in).
    void writeHead(const SymbolCounts& counts, BitWriter& out);
    void writeTokens(const std::vector<Token>& tokens, BitWriter& out) const;
    // Computes the code lengths write() would use, without writing.
    void plan(const SymbolCounts& counts);
    // Bits write() would take for tokens with these counts, found without writing the tokens.
    size_t bitCount(const SymbolCounts& counts);

    // Whether a reader that looks ahead by the longest code of a table before decoding each symbol
    // finds enough bits for the last token of the block just written, with paddingBits after it.
    // Some readers fail at the end of a stream where they could look past the last byte, and on a
    // literal table of one symbol coded in no bits: such a block is never readable.
    bool lastTokenReadable(const Token& last, int paddingBits) const;
    // False when the block just written had a one-symbol literal table (coded with no bits).
    bool hasLiteralCodes() const;
    // Code lengths of the block just written or planned (0 for unused symbols).
    const uint8_t* literalLengths() const { return m_literalLength; }
    const uint8_t* positionLengths() const { return m_positionLength; }

private:
    void writeTables(size_t tokenCount, BitWriter& out);
    void writeLiteralTable(BitWriter& out);
    void writeSmallTable(const uint8_t* lengths, int count, int countBits, int zeroRunAfter, BitWriter& out);

    MethodParameters m_method;
    SymbolCounts m_counts;
    uint8_t m_literalLength[kLiteralAndLengthCodes];
    uint16_t m_literalCode[kLiteralAndLengthCodes];
    uint8_t m_positionLength[32];
    uint16_t m_positionCode[32];
    uint8_t m_lengthCodeLength[kLengthCodeCount];
    uint16_t m_lengthCodeCode[kLengthCodeCount];
};

// Position code of a distance: 0 for distance 1, else the bit length of distance - 1.
inline int positionCode(uint32_t distance)
{
    const uint32_t p = distance - 1;
    return p == 0 ? 0 : 32 - __builtin_clz(p);
}

} // namespace lzh
