#include "archive/LzhEncoder.h"

#include "archive/LzhBlockWriter.h"
#include "archive/LzhMatchFinder.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <system_error>
#include <thread>

namespace lzh {

namespace {

constexpr size_t kChunkBytes = 49152;   // input bytes parsed together and written as one block
constexpr size_t kParallelFrom = 1 << 20;
constexpr int kMaxChain = 8;           // chain candidates tried per position
constexpr uint32_t kNiceLength = 48;   // a match this long is taken without looking inside it
constexpr uint32_t kEveryLengthUpTo = 16; // longer matches are priced at their full length only
constexpr int kMaxCandidates = 32;

// Bits a token costs under the code lengths of the previous block.
class CostModel
{
public:
    CostModel()
    {
        // Before the first block: plain bytes, cheap short lengths, position codes of about 4 bits.
        for (int s = 0; s < kLiteralAndLengthCodes; ++s)
            m_symbol[s] = s < 256 ? 8 : (s - 256 < 8 ? 5 : 8);
        for (int c = 0; c <= kLh5.dictionaryBits; ++c)
            m_position[c] = 4 + extraBits(c);
    }

    // Symbols the block did not use get a little more than its longest code.
    void learn(const uint8_t* symbolLengths, const uint8_t* positionLengths)
    {
        const int longestSymbol = *std::max_element(symbolLengths, symbolLengths + kLiteralAndLengthCodes);
        for (int s = 0; s < kLiteralAndLengthCodes; ++s)
            m_symbol[s] = symbolLengths[s] ? symbolLengths[s] : uint32_t(longestSymbol + 2);
        const int codes = kLh5.positionCodes();
        const int longestPosition = *std::max_element(positionLengths, positionLengths + codes);
        for (int c = 0; c < codes; ++c)
            m_position[c] = (positionLengths[c] ? positionLengths[c] : uint32_t(longestPosition + 2)) + extraBits(c);
    }

    uint32_t literal(uint8_t byte) const { return m_symbol[byte]; }
    uint32_t length(uint32_t length) const { return m_symbol[256 + length - kMinMatch]; }
    uint32_t distance(uint32_t distance) const { return m_position[positionCode(distance)]; }

private:
    static uint32_t extraBits(int code) { return code > 1 ? uint32_t(code - 1) : 0; }

    uint32_t m_symbol[kLiteralAndLengthCodes];
    uint32_t m_position[32];
};

// The cheapest sequence of literals and matches for one chunk, by dynamic programming over its
// positions: every match found at a position may be taken at any of its lengths.
class OptimalParser
{
public:
    OptimalParser(const uint8_t* data, size_t size)
        : m_data(data)
        , m_finder(data, size, kLh5.dictionaryBits)
    {
    }

    void parse(size_t begin, size_t end, const CostModel& cost, std::vector<Token>& tokens)
    {
        collectMatches(begin, end);
        const size_t n = end - begin;
        m_price.assign(n + 1, std::numeric_limits<uint32_t>::max());
        m_step.resize(n + 1);
        m_price[0] = 0;
        for (size_t i = 0; i < n; ++i) {
            const uint32_t base = m_price[i];
            const uint8_t byte = m_data[begin + i];
            relax(i + 1, base + cost.literal(byte), {0, byte});
            uint32_t shorter = kMinMatch - 1;
            for (uint32_t k = m_firstMatch[i]; k < m_firstMatch[i + 1]; ++k) {
                const Match& match = m_matches[k];
                const uint32_t withDistance = base + cost.distance(match.distance);
                const uint32_t every = std::min(match.length, match.length >= kNiceLength ? shorter : kEveryLengthUpTo);
                for (uint32_t length = shorter + 1; length <= every; ++length)
                    relax(i + length, withDistance + cost.length(length), {uint16_t(length), uint16_t(match.distance)});
                relax(i + match.length, withDistance + cost.length(match.length),
                      {uint16_t(match.length), uint16_t(match.distance)});
                shorter = match.length;
            }
        }
        tokens.clear();
        for (size_t i = n; i > 0; i -= m_step[i].length ? m_step[i].length : 1)
            tokens.push_back(m_step[i]);
        std::reverse(tokens.begin(), tokens.end());
    }

    // Enters the positions [from, to) into the window without looking for matches.
    void skipTo(size_t from, size_t to)
    {
        for (size_t pos = from; pos < to; ++pos)
            m_finder.insert(pos);
    }

private:
    void relax(size_t at, uint32_t price, Token step)
    {
        if (price < m_price[at]) {
            m_price[at] = price;
            m_step[at] = step;
        }
    }

    // Matches of every position of the chunk, none reaching past its end. Inside a very long match
    // no further matches are looked for: taking it whole is as good as anything found there.
    void collectMatches(size_t begin, size_t end)
    {
        m_matches.clear();
        m_firstMatch.clear();
        size_t skipUntil = begin;
        Match found[kMaxCandidates];
        for (size_t pos = begin; pos < end; ++pos) {
            m_firstMatch.push_back(uint32_t(m_matches.size()));
            if (pos < skipUntil) {
                m_finder.insert(pos);
                continue;
            }
            const uint32_t limit = uint32_t(std::min<size_t>(kMaxMatch, end - pos));
            const int count = m_finder.findAndInsert(pos, limit, kMaxChain, kNiceLength, found, kMaxCandidates);
            m_matches.insert(m_matches.end(), found, found + count);
            if (count > 0 && found[count - 1].length >= kNiceLength)
                skipUntil = pos + found[count - 1].length;
        }
        m_firstMatch.push_back(uint32_t(m_matches.size()));
    }

    const uint8_t* m_data;
    MatchFinder m_finder;
    std::vector<Match> m_matches;
    std::vector<uint32_t> m_firstMatch;
    std::vector<uint32_t> m_price;
    std::vector<Token> m_step;
};

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

// A block whose tokens all share one symbol of the literal table (a long run of one byte) has that
// table coded in no bits, and a reader misreads such a block at the end of a stream. The last match
// of such a last block is split, so that its table has two symbols and codes of one bit.
void giveLastBlockTwoSymbols(std::vector<Token>& tokens, const uint8_t* data, size_t size)
{
    const auto symbol = [](const Token& token) { return token.length == 0 ? int(token.value) : 256 + token.length - kMinMatch; };
    if (tokens.empty() || tokens.back().length == 0
        || std::any_of(tokens.begin(), tokens.end(), [&](const Token& token) { return symbol(token) != symbol(tokens.front()); }))
        return;
    const Token last = tokens.back();
    tokens.pop_back();
    if (last.length > kMinMatch) {
        tokens.push_back({uint16_t(last.length - 1), last.value});
        tokens.push_back({0, data[size - 1]});
    } else {
        for (size_t back = kMinMatch; back > 0; --back)
            tokens.push_back({0, data[size - back]});
    }
}

// Tokens of the chunks [firstChunk, endChunk), each chunk priced with the code lengths of the one
// before. A range that does not start at the beginning first sees the window before it.
std::vector<std::vector<Token>> parseChunks(const uint8_t* data, size_t size, size_t firstChunk, size_t endChunk)
{
    OptimalParser parser(data, size);
    const size_t start = firstChunk * kChunkBytes;
    parser.skipTo(start >= kLh5.windowSize() ? start - kLh5.windowSize() : 0, start);
    BlockWriter planner(kLh5);
    CostModel cost;
    std::vector<std::vector<Token>> chunks(endChunk - firstChunk);
    for (size_t chunk = firstChunk; chunk < endChunk; ++chunk) {
        std::vector<Token>& tokens = chunks[chunk - firstChunk];
        parser.parse(chunk * kChunkBytes, std::min(size, (chunk + 1) * kChunkBytes), cost, tokens);
        planner.plan(tokens);
        cost.learn(planner.literalLengths(), planner.positionLengths());
    }
    return chunks;
}

// Consecutive chunks go into one block while that makes the output smaller: on uniform data (a
// table file of similar rows) a block's code tables cost more than adapting them to each chunk buys.
std::vector<std::vector<Token>> mergeChunks(std::vector<std::vector<Token>> chunks)
{
    constexpr size_t kMaxBlockTokens = 0xFFFF; // the token count of a block has 16 bits
    BlockWriter writer(kLh5);
    std::vector<std::vector<Token>> blocks;
    SymbolCounts blockCounts;
    size_t blockBits = 0;
    for (std::vector<Token>& chunk : chunks) {
        const SymbolCounts chunkCounts(chunk);
        const size_t chunkBits = writer.bitCount(chunkCounts);
        if (!blocks.empty() && blockCounts.tokens + chunkCounts.tokens <= kMaxBlockTokens) {
            SymbolCounts mergedCounts = blockCounts;
            mergedCounts += chunkCounts;
            const size_t mergedBits = writer.bitCount(mergedCounts);
            if (mergedBits <= blockBits + chunkBits) {
                blocks.back().insert(blocks.back().end(), chunk.begin(), chunk.end());
                blockCounts = mergedCounts;
                blockBits = mergedBits;
                continue;
            }
        }
        blocks.push_back(std::move(chunk));
        blockCounts = chunkCounts;
        blockBits = chunkBits;
    }
    return blocks;
}

} // namespace

std::optional<std::vector<uint8_t>> encodeLh5(const uint8_t* data, size_t size)
{
    // Large inputs are parsed in two halves at once; the second half starts with a fresh cost model,
    // which costs a few bytes against the time halved.
    const size_t chunkCount = (size + kChunkBytes - 1) / kChunkBytes;
    std::vector<std::vector<Token>> chunks;
    size_t middle = chunkCount;
    std::vector<std::vector<Token>> secondHalf;
    std::thread worker;
    if (size >= kParallelFrom && std::thread::hardware_concurrency() >= 2) {
        try {
            worker = std::thread([&, middle = chunkCount / 2] { secondHalf = parseChunks(data, size, middle, chunkCount); });
            middle = chunkCount / 2;
        } catch (const std::system_error&) {
            // No thread to be had: the whole input is parsed here.
        }
    }
    chunks = parseChunks(data, size, 0, middle);
    if (worker.joinable()) {
        worker.join();
        std::move(secondHalf.begin(), secondHalf.end(), std::back_inserter(chunks));
    }

    chunks = mergeChunks(std::move(chunks));

    BlockWriter blockWriter(kLh5);
    BitWriter out;
    for (size_t chunk = 0; chunk < chunks.size(); ++chunk) {
        if (chunk + 1 == chunks.size()) {
            giveLastBlockTwoSymbols(chunks[chunk], data, size);
            writeLastBlock(blockWriter, chunks[chunk], out);
        } else {
            blockWriter.write(chunks[chunk], out);
        }
        if (out.byteCount() >= size)
            return std::nullopt;
    }
    std::vector<uint8_t>& bytes = out.finish();
    if (bytes.size() >= size)
        return std::nullopt;
    return std::move(bytes);
}

} // namespace lzh
