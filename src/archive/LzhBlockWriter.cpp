#include "archive/LzhBlockWriter.h"

#include "archive/LzhHuffman.h"

#include <algorithm>
#include <functional>

namespace lzh {

namespace {

// The only used symbol of a table whose lengths are all zero (fewer than two symbols occur).
int singleSymbol(const uint32_t* frequencies, int count)
{
    for (int s = 0; s < count; ++s) {
        if (frequencies[s] > 0)
            return s;
    }
    return 0;
}

bool hasCodes(const uint8_t* lengths, int count)
{
    return std::any_of(lengths, lengths + count, [](uint8_t l) { return l != 0; });
}

// Walks the literal-table lengths as the length-code table sees them: a length k as code k + 2, zero
// runs as code 0 (one zero), code 1 with 4 bits (3..18 zeros) or code 2 with 9 bits (20 or more).
void walkLiteralLengths(const uint8_t* lengths, int n, const std::function<void(int code, int extraBits, int extra)>& push)
{
    int i = 0;
    while (i < n) {
        const int length = lengths[i++];
        if (length != 0) {
            push(length + 2, 0, 0);
            continue;
        }
        int run = 1;
        while (i < n && lengths[i] == 0) {
            ++i;
            ++run;
        }
        if (run <= 2) {
            for (int k = 0; k < run; ++k)
                push(0, 0, 0);
        } else if (run <= 18) {
            push(1, 4, run - 3);
        } else if (run == 19) {
            push(0, 0, 0);
            push(1, 4, 15);
        } else {
            push(2, kLiteralCountBits, run - 20);
        }
    }
}

// Gathers codes in a register and hands them to the writer 32 bits at a time: the
// writer keeps its state in memory, and the codes of a block are many.
class WordBatch
{
public:
    explicit WordBatch(BitWriter& out)
        : m_out(out)
    {
    }

    // Codes of up to 32 bits; bits above length are ignored.
    void put(uint32_t code, int length)
    {
        m_bits = (m_bits << length) | (code & ((uint64_t(1) << length) - 1));
        m_count += length;
        if (m_count >= 32) {
            m_count -= 32;
            m_out.put(uint32_t(m_bits >> m_count), 32);
        }
    }

    void flush() { m_out.put(uint32_t(m_bits), m_count); }

private:
    BitWriter& m_out;
    uint64_t m_bits = 0;
    int m_count = 0;
};

int usedLength(const uint8_t* lengths, int count)
{
    while (count > 0 && lengths[count - 1] == 0)
        --count;
    return count;
}

} // namespace

BlockWriter::BlockWriter(const MethodParameters& method)
    : m_method(method)
{
}

SymbolCounts::SymbolCounts(const std::vector<Token>& tokens)
    : tokens(tokens.size())
{
    for (const Token& token : tokens) {
        if (token.length == 0) {
            ++literal[token.value];
        } else {
            ++literal[256 + token.length - kMinMatch];
            ++position[positionCode(token.value)];
        }
    }
}

SymbolCounts& SymbolCounts::operator+=(const SymbolCounts& other)
{
    for (int s = 0; s < kLiteralAndLengthCodes; ++s)
        literal[s] += other.literal[s];
    for (int c = 0; c < 32; ++c)
        position[c] += other.position[c];
    tokens += other.tokens;
    return *this;
}

void BlockWriter::writeSmallTable(const uint8_t* lengths, int count, int countBits, int zeroRunAfter, BitWriter& out)
{
    const int n = usedLength(lengths, count);
    out.put(uint32_t(n), countBits);
    int i = 0;
    while (i < n) {
        const int length = lengths[i++];
        if (length <= 6)
            out.put(uint32_t(length), 3);
        else
            out.put((1u << (length - 3)) - 2, length - 3); // 111, then length - 7 ones and a zero
        if (i == zeroRunAfter) {
            while (i < 6 && lengths[i] == 0)
                ++i;
            out.put(uint32_t(i - zeroRunAfter), 2);
        }
    }
}

void BlockWriter::writeLiteralTable(BitWriter& out)
{
    const int n = usedLength(m_literalLength, kLiteralAndLengthCodes);
    uint32_t frequency[kLengthCodeCount] = {};
    walkLiteralLengths(m_literalLength, n, [&](int code, int, int) { ++frequency[code]; });
    buildCodeLengths(frequency, kLengthCodeCount, kMaxCodeLength, m_lengthCodeLength);
    if (hasCodes(m_lengthCodeLength, kLengthCodeCount)) {
        buildCanonicalCodes(m_lengthCodeLength, kLengthCodeCount, m_lengthCodeCode);
        writeSmallTable(m_lengthCodeLength, kLengthCodeCount, kLengthCodeCountBits, 3, out);
    } else {
        out.put(0, kLengthCodeCountBits);
        out.put(uint32_t(singleSymbol(frequency, kLengthCodeCount)), kLengthCodeCountBits);
    }
    out.put(uint32_t(n), kLiteralCountBits);
    walkLiteralLengths(m_literalLength, n, [&](int code, int extraBits, int extra) {
        out.put(m_lengthCodeCode[code], m_lengthCodeLength[code]);
        if (extraBits)
            out.put(uint32_t(extra), extraBits);
    });
}

void BlockWriter::plan(const SymbolCounts& counts)
{
    m_counts = counts;
    buildCodeLengths(m_counts.literal, kLiteralAndLengthCodes, kMaxCodeLength, m_literalLength);
    buildCodeLengths(m_counts.position, m_method.positionCodes(), kMaxCodeLength, m_positionLength);
}

size_t BlockWriter::bitCount(const SymbolCounts& counts)
{
    plan(counts);
    BitWriter tables;
    writeTables(counts.tokens, tables);
    size_t bits = tables.bitCount();
    for (int s = 0; s < kLiteralAndLengthCodes; ++s)
        bits += size_t(counts.literal[s]) * m_literalLength[s];
    for (int c = 0; c < m_method.positionCodes(); ++c)
        bits += size_t(counts.position[c]) * (m_positionLength[c] + (c > 1 ? c - 1 : 0));
    return bits;
}

// The token count and the three code tables of the planned block.
void BlockWriter::writeTables(size_t tokenCount, BitWriter& out)
{
    const int positionCodes = m_method.positionCodes();
    const int positionCountBits = m_method.positionCountBits();
    std::fill(std::begin(m_lengthCodeLength), std::end(m_lengthCodeLength), uint8_t(0));

    out.put(uint32_t(tokenCount), 16);
    if (hasCodes(m_literalLength, kLiteralAndLengthCodes)) {
        buildCanonicalCodes(m_literalLength, kLiteralAndLengthCodes, m_literalCode);
        writeLiteralTable(out);
    } else {
        std::fill(std::begin(m_literalCode), std::end(m_literalCode), uint16_t(0));
        out.put(0, kLengthCodeCountBits);
        out.put(0, kLengthCodeCountBits);
        out.put(0, kLiteralCountBits);
        out.put(uint32_t(singleSymbol(m_counts.literal, kLiteralAndLengthCodes)), kLiteralCountBits);
    }
    if (hasCodes(m_positionLength, positionCodes)) {
        buildCanonicalCodes(m_positionLength, positionCodes, m_positionCode);
        writeSmallTable(m_positionLength, positionCodes, positionCountBits, -1, out);
    } else {
        std::fill(std::begin(m_positionCode), std::end(m_positionCode), uint16_t(0));
        out.put(0, positionCountBits);
        out.put(uint32_t(singleSymbol(m_counts.position, positionCodes)), positionCountBits);
    }
}

void BlockWriter::write(const std::vector<Token>& tokens, BitWriter& out)
{
    writeHead(SymbolCounts(tokens), out);
    writeTokens(tokens, out);
}

void BlockWriter::writeHead(const SymbolCounts& counts, BitWriter& out)
{
    plan(counts);
    writeTables(counts.tokens, out);
}

void BlockWriter::writeTokens(const std::vector<Token>& tokens, BitWriter& out) const
{
    WordBatch batch(out);
    for (const Token& token : tokens) {
        // Literals and matches come mixed: a literal takes its place in the table of symbols and a
        // position part of no bits, so that no branch depends on which it is.
        const bool match = token.length != 0;
        const int symbol = match ? 256 + token.length - kMinMatch : token.value;
        batch.put(m_literalCode[symbol], m_literalLength[symbol]);
        const uint32_t distance = match ? token.value : 1;
        const int code = positionCode(distance);
        const int extraBits = code > 1 ? code - 1 : 0;
        const uint32_t extra = (distance - 1) & ((1u << extraBits) - 1);
        const int positionBits = match ? m_positionLength[code] + extraBits : 0;
        batch.put(uint32_t(m_positionCode[code]) << extraBits | extra, positionBits);
    }
    batch.flush();
}

bool BlockWriter::hasLiteralCodes() const
{
    return hasCodes(m_literalLength, kLiteralAndLengthCodes);
}

bool BlockWriter::lastTokenReadable(const Token& last, int paddingBits) const
{
    if (!hasLiteralCodes())
        return false; // a table coded in no bits is itself what such readers fail on
    const int longestLiteral = *std::max_element(std::begin(m_literalLength), std::end(m_literalLength));
    if (last.length == 0)
        return m_literalLength[last.value] + paddingBits >= longestLiteral;
    const int positionCodes = m_method.positionCodes();
    const int longestPosition = *std::max_element(m_positionLength, m_positionLength + positionCodes);
    const int code = positionCode(last.value);
    const int positionBits = m_positionLength[code] + (code > 1 ? code - 1 : 0) + paddingBits;
    return m_literalLength[256 + last.length - kMinMatch] + positionBits >= longestLiteral
        && positionBits >= longestPosition;
}

} // namespace lzh
