#include "archive/LzhEncoder.h"

#include "archive/LzhBlockWriter.h"
#include "archive/LzhMatchFinder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <iterator>
#include <limits>
#include <system_error>
#include <thread>

namespace lzh {

namespace {

constexpr size_t kChunkBytes = 49152;   // input bytes parsed together and written as one block
constexpr size_t kSegmentBytes = 1 << 19; // parsed apart from the rest, on either thread
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
        m_best.assign(n + 1, std::numeric_limits<uint64_t>::max());
        m_best[0] = 0;
        for (size_t i = 0; i < n; ++i) {
            const uint32_t base = uint32_t(m_best[i] >> 32);
            const uint8_t byte = m_data[begin + i];
            relax(i + 1, base + cost.literal(byte), 0, byte);
            uint32_t shorter = kMinMatch - 1;
            for (uint32_t k = m_firstMatch[i]; k < m_firstMatch[i + 1]; ++k) {
                const Match& match = m_matches[k];
                const uint32_t withDistance = base + cost.distance(match.distance);
                const uint32_t every = std::min(match.length, match.length >= kNiceLength ? shorter : kEveryLengthUpTo);
                for (uint32_t length = shorter + 1; length <= every; ++length)
                    relax(i + length, withDistance + cost.length(length), length, match.distance);
                relax(i + match.length, withDistance + cost.length(match.length), match.length, match.distance);
                shorter = match.length;
            }
        }
        tokens.clear();
        for (size_t i = n; i > 0;) {
            const Token step{uint16_t(m_best[i] >> 16), uint16_t(m_best[i])};
            tokens.push_back(step);
            i -= step.length ? step.length : 1;
        }
        std::reverse(tokens.begin(), tokens.end());
    }

    // Enters the positions [from, to) into the window without looking for matches.
    void skipTo(size_t from, size_t to)
    {
        for (size_t pos = from; pos < to; ++pos)
            m_finder.insert(pos);
    }

private:
    // Price and step are packed into one number so that keeping the cheaper is a minimum without a
    // branch: the branch would be mispredicted about as often as taken.
    void relax(size_t at, uint32_t price, uint32_t length, uint32_t value)
    {
        m_best[at] = std::min(m_best[at], uint64_t(price) << 32 | length << 16 | value);
    }

    // Matches of every position of the chunk, none reaching past its end. Inside a very long match
    // no further matches are looked for: taking it whole is as good as anything found there.
    void collectMatches(size_t begin, size_t end)
    {
        m_firstMatch.resize(end - begin + 1);
        uint32_t used = 0;
        size_t skipUntil = begin;
        for (size_t pos = begin; pos < end; ++pos) {
            m_firstMatch[pos - begin] = used;
            if (pos < skipUntil) {
                m_finder.insert(pos);
                continue;
            }
            if (m_matches.size() < used + kMaxCandidates)
                m_matches.resize(std::max<size_t>(2 * m_matches.size(), used + kMaxCandidates));
            Match* const found = m_matches.data() + used;
            const uint32_t limit = uint32_t(std::min<size_t>(kMaxMatch, end - pos));
            const int count = m_finder.findAndInsert(pos, limit, kMaxChain, kNiceLength, found, kMaxCandidates);
            used += uint32_t(count);
            if (count > 0 && found[count - 1].length >= kNiceLength)
                skipUntil = pos + found[count - 1].length;
        }
        m_firstMatch[end - begin] = used;
    }

    const uint8_t* m_data;
    MatchFinder m_finder;
    std::vector<Match> m_matches;         // of all positions, with room for one more position's
    std::vector<uint32_t> m_firstMatch;
    std::vector<uint64_t> m_best; // by position: the price of the cheapest way there, then its last token
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

// The tokens of a chunk of the input, how often each symbol occurs in them, and their size as a block.
struct Chunk
{
    std::vector<Token> tokens;
    SymbolCounts counts;
    size_t bits = 0;
};

// Tokens of the chunks [firstChunk, endChunk), each chunk priced with the code lengths of the one
// before. A range that does not start at the beginning first sees the window before it.
std::vector<Chunk> parseChunks(const uint8_t* data, size_t size, size_t firstChunk, size_t endChunk)
{
    OptimalParser parser(data, size);
    const size_t start = firstChunk * kChunkBytes;
    parser.skipTo(start >= kLh5.windowSize() ? start - kLh5.windowSize() : 0, start);
    BlockWriter planner(kLh5);
    CostModel cost;
    std::vector<Chunk> chunks(endChunk - firstChunk);
    for (size_t chunk = firstChunk; chunk < endChunk; ++chunk) {
        Chunk& parsed = chunks[chunk - firstChunk];
        parser.parse(chunk * kChunkBytes, std::min(size, (chunk + 1) * kChunkBytes), cost, parsed.tokens);
        parsed.counts = SymbolCounts(parsed.tokens);
        parsed.bits = planner.bitCount(parsed.counts);
        cost.learn(planner.literalLengths(), planner.positionLengths());
    }
    return chunks;
}

// Writes chunks as blocks as they come. Consecutive chunks go into one block while that makes the
// output smaller: on uniform data (a table file of similar rows) a block's code tables cost more than
// adapting them to each chunk buys. The size of a block follows from its symbol counts, so no block
// is written to find it; a block is written once the chunk after it starts a new one.
class BlockSequence
{
public:
    explicit BlockSequence(const std::vector<Chunk>& chunks)
        : m_chunks(chunks)
    {
    }

    void add(size_t chunk, BitWriter& out)
    {
        constexpr size_t kMaxBlockTokens = 0xFFFF; // the token count of a block has 16 bits
        const Chunk& next = m_chunks[chunk];
        if (m_open) {
            if (m_counts.tokens + next.counts.tokens <= kMaxBlockTokens) {
                SymbolCounts merged = m_counts;
                merged += next.counts;
                const size_t mergedBits = m_writer.bitCount(merged);
                if (mergedBits <= m_bits + next.bits) {
                    m_endChunk = chunk + 1;
                    m_counts = merged;
                    m_bits = mergedBits;
                    return;
                }
            }
            m_writer.writeHead(m_counts, out);
            for (size_t i = m_firstChunk; i < m_endChunk; ++i)
                m_writer.writeTokens(m_chunks[i].tokens, out);
        }
        m_open = true;
        m_firstChunk = chunk;
        m_endChunk = chunk + 1;
        m_counts = next.counts;
        m_bits = next.bits;
    }

    // Writes the block still open, which ends the stream.
    void finish(const uint8_t* data, size_t size, BitWriter& out)
    {
        if (!m_open)
            return;
        std::vector<Token> tokens;
        for (size_t i = m_firstChunk; i < m_endChunk; ++i)
            tokens.insert(tokens.end(), m_chunks[i].tokens.begin(), m_chunks[i].tokens.end());
        giveLastBlockTwoSymbols(tokens, data, size);
        writeLastBlock(m_writer, tokens, out);
    }

private:
    const std::vector<Chunk>& m_chunks;
    BlockWriter m_writer{kLh5};
    bool m_open = false;
    size_t m_firstChunk = 0;
    size_t m_endChunk = 0;
    SymbolCounts m_counts;
    size_t m_bits = 0;
};

// Parses the input in segments, each taken by whichever of two threads is free (parts of a program
// differ much in how hard they are to parse), and hands the parsed segments to consume in order. The
// calling thread hands over what is ready between its own segments, so that the blocks of the first
// segments are written while the last ones are parsed. Each segment starts with a fresh cost model,
// which costs a few bytes against the time; the segments do not depend on the threads, so the
// output is the same with one thread or two. consume(firstChunk, chunks) returns false to stop.
class SegmentedParse
{
public:
    SegmentedParse(const uint8_t* data, size_t size)
        : m_data(data)
        , m_size(size)
        , m_chunkCount((size + kChunkBytes - 1) / kChunkBytes)
        , m_segmentCount((size + kSegmentBytes - 1) / kSegmentBytes)
        , m_parsed(m_segmentCount)
    {
        for (std::promise<std::vector<Chunk>>& parsed : m_parsed)
            m_ready.push_back(parsed.get_future());
    }

    ~SegmentedParse()
    {
        m_next = m_segmentCount; // a stop before the end leaves the other thread nothing new
        if (m_worker.joinable())
            m_worker.join();
    }

    template<typename Consume>
    void run(Consume consume)
    {
        if (m_segmentCount > 1 && std::thread::hardware_concurrency() >= 2) {
            try {
                m_worker = std::thread([this] {
                    while (parseNextSegment()) {
                    }
                });
            } catch (const std::system_error&) {
                // No thread to be had: every segment is parsed here.
            }
        }
        size_t handed = 0;
        while (handed < m_segmentCount) {
            const bool parsedOne = parseNextSegment();
            // With nothing left to parse here, wait for the other thread's segments.
            while (handed < m_segmentCount
                   && (!parsedOne || m_ready[handed].wait_for(std::chrono::seconds(0)) == std::future_status::ready)) {
                if (!consume(firstChunk(handed), m_ready[handed].get()))
                    return;
                ++handed;
            }
        }
    }

private:
    size_t firstChunk(size_t segment) const { return segment * m_chunkCount / m_segmentCount; }

    bool parseNextSegment()
    {
        const size_t segment = m_next++;
        if (segment >= m_segmentCount)
            return false;
        try {
            m_parsed[segment].set_value(parseChunks(m_data, m_size, firstChunk(segment), firstChunk(segment + 1)));
        } catch (...) {
            m_parsed[segment].set_exception(std::current_exception());
        }
        return true;
    }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_chunkCount;
    size_t m_segmentCount;
    std::vector<std::promise<std::vector<Chunk>>> m_parsed;
    std::vector<std::future<std::vector<Chunk>>> m_ready;
    std::atomic<size_t> m_next{0};
    std::thread m_worker;
};

} // namespace

std::optional<std::vector<uint8_t>> encodeLh5(const uint8_t* data, size_t size)
{
    std::vector<Chunk> chunks((size + kChunkBytes - 1) / kChunkBytes);
    BlockSequence blocks(chunks);
    BitWriter out;
    SegmentedParse parse(data, size);
    bool fits = true;
    parse.run([&](size_t firstChunk, std::vector<Chunk> parsed) {
        for (size_t i = 0; i < parsed.size(); ++i) {
            chunks[firstChunk + i] = std::move(parsed[i]);
            blocks.add(firstChunk + i, out);
        }
        fits = out.byteCount() < size;
        return fits;
    });
    if (!fits)
        return std::nullopt;
    blocks.finish(data, size, out);
    std::vector<uint8_t>& bytes = out.finish();
    if (bytes.size() >= size)
        return std::nullopt;
    return std::move(bytes);
}

} // namespace lzh
