#include "archive/LzhDecoder.h"

#include "archive/LzhBitReader.h"
#include "archive/LzhHuffman.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace lzh {

namespace {

constexpr uint32_t kLargestRing = 1u << 18; // output ring: a multiple of every window, flushed in large pieces
constexpr uint32_t kCopyChunk = 8;          // matches are copied this many bytes at a time where they allow it

// At least twice the window and, up to the largest ring, large enough for the whole output. A match
// copied in chunks writes up to kCopyChunk - 1 bytes past its end; with the ring larger than the
// window by more than that, those bytes are never read before they are written again.
uint32_t ringSizeFor(uint64_t originalSize, const MethodParameters& method)
{
    uint32_t size = method.windowSize() * 2;
    while (size < kLargestRing && size < originalSize)
        size <<= 1;
    return size;
}

class StreamDecoder
{
public:
    StreamDecoder(std::span<const uint8_t> stream, const MethodParameters& method)
        : m_in(stream.data(), stream.size())
        , m_method(method)
    {
    }

    bool run(uint64_t originalSize, const ByteSink& sink, std::string* error);

private:
    bool readBlockHeader();
    bool readLengthCodeTable(HuffmanDecoder& table, int count, int countBits, int zeroRunAfter);
    bool readLiteralTable();
    static bool fail(std::string* error, const char* text);

    BitReader m_in;
    MethodParameters m_method;
    HuffmanDecoder m_lengthCodes{8};
    HuffmanDecoder m_literals{12};
    HuffmanDecoder m_positions{8};
    uint32_t m_blockLeft = 0;
};

bool StreamDecoder::fail(std::string* error, const char* text)
{
    if (error)
        *error = text;
    return false;
}

// A table of up to 19 code lengths: 3 bits each, 7 continued in unary; after the entry given by
// zeroRunAfter a 2-bit count of zero lengths follows.
bool StreamDecoder::readLengthCodeTable(HuffmanDecoder& table, int count, int countBits, int zeroRunAfter)
{
    const uint32_t n = m_in.read(countBits);
    if (n == 0) {
        const uint32_t symbol = m_in.read(countBits);
        if (symbol >= uint32_t(count))
            return false;
        table.setSingle(int(symbol));
        return true;
    }
    if (n > uint32_t(count))
        return false;
    uint8_t lengths[32] = {};
    uint32_t i = 0;
    while (i < n) {
        uint32_t length = m_in.read(3);
        if (length == 7) {
            while (m_in.read(1) == 1) {
                if (++length > uint32_t(kMaxCodeLength))
                    return false;
            }
        }
        lengths[i++] = uint8_t(length);
        if (int(i) == zeroRunAfter) {
            for (uint32_t zeros = m_in.read(2); zeros > 0 && i < n; --zeros)
                lengths[i++] = 0;
        }
    }
    return table.build(lengths, count);
}

// The literal-and-length table: lengths coded with the table above, where codes 0, 1 and 2 stand
// for runs of zero lengths. A run never reaches past the declared number of entries.
bool StreamDecoder::readLiteralTable()
{
    const uint32_t n = m_in.read(kLiteralCountBits);
    if (n == 0) {
        const uint32_t symbol = m_in.read(kLiteralCountBits);
        if (symbol >= uint32_t(kLiteralAndLengthCodes))
            return false;
        m_literals.setSingle(int(symbol));
        return true;
    }
    if (n > uint32_t(kLiteralAndLengthCodes))
        return false;
    uint8_t lengths[kLiteralAndLengthCodes] = {};
    uint32_t i = 0;
    while (i < n) {
        const int code = m_lengthCodes.decode(m_in);
        if (code < 0)
            return false;
        if (code <= 2) {
            uint32_t run = code == 0 ? 1 : code == 1 ? m_in.read(4) + 3 : m_in.read(kLiteralCountBits) + 20;
            i += std::min(run, n - i);
        } else {
            lengths[i++] = uint8_t(code - 2);
        }
    }
    return m_literals.build(lengths, kLiteralAndLengthCodes);
}

bool StreamDecoder::readBlockHeader()
{
    m_blockLeft = m_in.read(16);
    return m_blockLeft != 0 && readLengthCodeTable(m_lengthCodes, kLengthCodeCount, kLengthCodeCountBits, 3)
        && readLiteralTable()
        && readLengthCodeTable(m_positions, m_method.positionCodes(), m_method.positionCountBits(), -1)
        && !m_in.overrun();
}

bool StreamDecoder::run(uint64_t originalSize, const ByteSink& sink, std::string* error)
{
    const uint32_t ringSize = ringSizeFor(originalSize, m_method);
    const uint32_t ringMask = ringSize - 1;
    // The chunks of a copy may read and write past the ring's end: the vector holds that much more.
    std::vector<uint8_t> ring(ringSize + kCopyChunk, kWindowFill);
    uint8_t* const out = ring.data();
    uint32_t pos = 0;
    uint64_t remaining = originalSize;
    const char* const corrupt = "the compressed data is corrupt";

    auto flushRing = [&](uint32_t end) { return sink(out, end); };

    while (remaining > 0) {
        if (m_blockLeft == 0 && !readBlockHeader())
            return fail(error, corrupt);
        --m_blockLeft;
        const int code = m_literals.decode(m_in);
        if (code < 0)
            return fail(error, corrupt);
        if (code < 256) {
            out[pos++] = uint8_t(code);
            --remaining;
        } else {
            const int positionCode = m_positions.decode(m_in);
            if (positionCode < 0)
                return fail(error, corrupt);
            uint32_t distance = 1;
            if (positionCode > 0)
                distance += (1u << (positionCode - 1)) + m_in.read(positionCode - 1);
            const uint32_t length = uint32_t(std::min<uint64_t>(uint64_t(code) - 256 + kMinMatch, remaining));
            uint32_t from = (pos - distance) & ringMask;
            remaining -= length;
            if (pos + length < ringSize && from + length <= ringSize) {
                uint8_t* dst = out + pos;
                const uint8_t* src = out + from;
                if (distance >= kCopyChunk) {
                    // Each chunk reads only bytes that earlier chunks or tokens wrote.
                    for (uint32_t k = 0; k < length; k += kCopyChunk) {
                        uint64_t chunk;
                        std::memcpy(&chunk, src + k, kCopyChunk);
                        std::memcpy(dst + k, &chunk, kCopyChunk);
                    }
                } else {
                    for (uint32_t k = 0; k < length; ++k)
                        dst[k] = src[k];
                }
                pos += length;
            } else {
                for (uint32_t k = 0; k < length; ++k) {
                    out[pos++] = out[from];
                    from = (from + 1) & ringMask;
                    if (pos == ringSize) {
                        if (m_in.overrun() || !flushRing(pos))
                            return fail(error, m_in.overrun() ? corrupt : "writing failed");
                        pos = 0;
                    }
                }
                continue;
            }
        }
        if (pos == ringSize) {
            if (m_in.overrun() || !flushRing(pos))
                return fail(error, m_in.overrun() ? corrupt : "writing failed");
            pos = 0;
        }
    }
    if (m_in.overrun())
        return fail(error, "the compressed data ends too early");
    if (pos > 0 && !flushRing(pos))
        return fail(error, "writing failed");
    return true;
}

} // namespace

bool decodeStream(std::span<const uint8_t> stream, uint64_t originalSize, const MethodParameters& method,
                  const ByteSink& sink, std::string* error)
{
    StreamDecoder decoder(stream, method);
    return decoder.run(originalSize, sink, error);
}

} // namespace lzh
