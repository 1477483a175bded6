#include "archive/LzhEncoder.h"

#include "archive/LzhBlockWriter.h"

#include <algorithm>
#include <cstring>

namespace lzh {

namespace {

constexpr uint32_t kWindowBits = 13;
constexpr uint32_t kWindowSize = 1u << kWindowBits;
constexpr uint32_t kWindowMask = kWindowSize - 1;
constexpr uint32_t kMaxDistance = kWindowSize - 1;
constexpr uint32_t kHashBits = 15;
constexpr size_t kBlockTokens = 32768;      // tokens per Huffman block (the format allows 65535)
constexpr int kMaxChain = 96;               // candidates tried per position
constexpr int kGoodLength = 32;             // a match this long shortens the search for a better one
constexpr uint32_t kNiceLength = 192;       // a match this long ends the search
constexpr uint32_t kFarShortMatch = 2048;   // a 3-byte match further back costs more than literals

struct Match
{
    uint32_t length = 0;
    uint32_t distance = 0;
};

class Parser
{
public:
    Parser(const uint8_t* data, size_t size)
        : m_data(data)
        , m_size(size)
        , m_head(size_t(1) << kHashBits, -1)
        , m_previous(kWindowSize, -1)
    {
    }

    void insert(size_t pos)
    {
        if (pos + kMinMatch > m_size)
            return;
        const uint32_t h = hash(pos);
        m_previous[pos & kWindowMask] = m_head[h];
        m_head[h] = int32_t(pos);
    }

    // Longest match for pos among the positions inserted before it; must be called after insert(pos).
    Match longest(size_t pos, uint32_t atLeast, int chain) const
    {
        Match best;
        best.length = atLeast;
        const uint32_t maxLength = uint32_t(std::min<size_t>(kMaxMatch, m_size - pos));
        if (maxLength < kMinMatch || maxLength <= best.length)
            return {};
        const int64_t lowest = int64_t(pos) - int64_t(kMaxDistance);
        int64_t candidate = m_previous[pos & kWindowMask];
        const uint8_t* const here = m_data + pos;
        while (candidate >= 0 && candidate >= lowest && chain-- > 0) {
            const uint8_t* there = m_data + candidate;
            if (there[best.length] == here[best.length] && there[0] == here[0] && there[1] == here[1]) {
                const uint32_t length = matchLength(there, here, maxLength);
                if (length > best.length) {
                    best.length = length;
                    best.distance = uint32_t(pos - size_t(candidate));
                    if (length >= std::min(kNiceLength, maxLength))
                        break;
                }
            }
            candidate = m_previous[size_t(candidate) & kWindowMask];
        }
        if (best.distance == 0)
            return {};
        return best;
    }

private:
    uint32_t hash(size_t pos) const
    {
        const uint32_t v = uint32_t(m_data[pos]) << 16 | uint32_t(m_data[pos + 1]) << 8 | m_data[pos + 2];
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    static uint32_t matchLength(const uint8_t* a, const uint8_t* b, uint32_t limit)
    {
        uint32_t n = 0;
        while (n + 8 <= limit) {
            uint64_t x, y;
            std::memcpy(&x, a + n, 8);
            std::memcpy(&y, b + n, 8);
            if (x != y)
                return n + uint32_t(__builtin_ctzll(x ^ y) >> 3);
            n += 8;
        }
        while (n < limit && a[n] == b[n])
            ++n;
        return n;
    }

    const uint8_t* m_data;
    size_t m_size;
    std::vector<int32_t> m_head;
    std::vector<int32_t> m_previous;
};

bool worthwhile(const Match& match)
{
    return match.length >= kMinMatch && !(match.length == kMinMatch && match.distance > kFarShortMatch);
}

// The stream ends with the last byte of the last token. Readers look ahead before decoding a token,
// and some fail when that look-ahead reaches past the last byte (a longest code of the table is
// expected where a short code and the padding are left). Then the last few tokens go into a small
// block of their own whose codes are about as long as its longest: at least two symbols, since a
// one-symbol table as the last one is misread by another reader.
void writeLastBlock(BlockWriter& blockWriter, const std::vector<Token>& tokens, BitWriter& out)
{
    constexpr size_t kLongestTail = 64;
    const BitWriter::Mark start = out.mark();
    blockWriter.write(tokens, out);
    if (blockWriter.lastTokenReadable(tokens.back(), out.paddingBits()))
        return;
    for (size_t tail = 2; tail < std::min(tokens.size(), kLongestTail); ++tail) {
        out.rewind(start);
        const std::vector<Token> head(tokens.begin(), tokens.end() - ptrdiff_t(tail));
        const std::vector<Token> last(tokens.end() - ptrdiff_t(tail), tokens.end());
        blockWriter.write(head, out);
        blockWriter.write(last, out);
        if (blockWriter.hasLiteralCodes() && blockWriter.lastTokenReadable(last.back(), out.paddingBits()))
            return;
    }
    out.rewind(start);
    blockWriter.write(tokens, out);
}

} // namespace

std::optional<std::vector<uint8_t>> encodeLh5(const uint8_t* data, size_t size)
{
    Parser parser(data, size);
    BlockWriter blockWriter(kLh5);
    BitWriter out;
    std::vector<Token> tokens;
    tokens.reserve(kBlockTokens);

    // A full block is written when the next token arrives, so the last block is always written below.
    auto push = [&](Token token) {
        if (tokens.size() == kBlockTokens) {
            blockWriter.write(tokens, out);
            tokens.clear();
        }
        tokens.push_back(token);
    };

    // Lazy evaluation: a match found at pos is only taken when the match at pos + 1 is not longer.
    Match pending;
    bool havePending = false;
    size_t pos = 0;
    while (pos < size) {
        parser.insert(pos);
        Match current;
        if (!havePending || pending.length < kNiceLength) {
            const int chain = havePending && pending.length >= uint32_t(kGoodLength) ? kMaxChain / 4 : kMaxChain;
            current = parser.longest(pos, havePending ? pending.length : kMinMatch - 1, chain);
            if (!worthwhile(current))
                current = {};
        }
        if (havePending && pending.length >= kMinMatch && current.length <= pending.length) {
            push({uint16_t(pending.length), uint16_t(pending.distance)});
            const size_t end = pos - 1 + pending.length;
            for (size_t p = pos + 1; p < end; ++p)
                parser.insert(p);
            pos = end;
            havePending = false;
            pending = {};
        } else {
            if (havePending)
                push({0, data[pos - 1]});
            pending = current;
            havePending = true;
            ++pos;
        }
        if (out.byteCount() >= size)
            return std::nullopt;
    }
    if (havePending)
        push({0, data[size - 1]});
    if (!tokens.empty())
        writeLastBlock(blockWriter, tokens, out);
    std::vector<uint8_t>& bytes = out.finish();
    if (bytes.size() >= size)
        return std::nullopt;
    return std::move(bytes);
}

} // namespace lzh
