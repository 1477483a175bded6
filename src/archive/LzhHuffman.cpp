#include "archive/LzhHuffman.h"

#include <algorithm>
#include <numeric>

namespace lzh {

namespace {

// Depth of every leaf of a Huffman tree over the given (ascending) frequencies.
std::vector<int> huffmanDepths(const std::vector<uint32_t>& sortedFrequencies)
{
    const size_t n = sortedFrequencies.size();
    // Two-queue construction: leaves in ascending order, internal nodes are created in ascending order.
    std::vector<uint64_t> weight(2 * n - 1);
    std::vector<size_t> parent(2 * n - 1, 0);
    for (size_t i = 0; i < n; ++i)
        weight[i] = sortedFrequencies[i];
    size_t leaf = 0;
    size_t inner = n;
    auto takeSmallest = [&](size_t created) {
        if (leaf < n && (inner >= created || weight[leaf] <= weight[inner]))
            return leaf++;
        return inner++;
    };
    for (size_t created = n; created < 2 * n - 1; ++created) {
        const size_t a = takeSmallest(created);
        const size_t b = takeSmallest(created);
        weight[created] = weight[a] + weight[b];
        parent[a] = created;
        parent[b] = created;
    }
    std::vector<int> depth(2 * n - 1, 0);
    for (size_t node = 2 * n - 2; node-- > 0;)
        depth[node] = depth[parent[node]] + 1;
    depth.resize(n);
    return depth;
}

} // namespace

void buildCodeLengths(const uint32_t* frequencies, int count, int maxLength, uint8_t* lengths)
{
    std::fill(lengths, lengths + count, uint8_t(0));
    std::vector<int> used;
    for (int s = 0; s < count; ++s) {
        if (frequencies[s] > 0)
            used.push_back(s);
    }
    if (used.size() < 2)
        return;
    std::stable_sort(used.begin(), used.end(), [&](int a, int b) { return frequencies[a] < frequencies[b]; });
    std::vector<uint32_t> sorted(used.size());
    for (size_t i = 0; i < used.size(); ++i)
        sorted[i] = frequencies[used[i]];
    const std::vector<int> depth = huffmanDepths(sorted);

    // Count leaves per depth, then fold levels deeper than the limit back up: two leaves at the deepest
    // level become one a level up, and a leaf above the limit splits to take the other's place.
    std::vector<int> perLength(std::max(maxLength, *std::max_element(depth.begin(), depth.end())) + 1, 0);
    for (int d : depth)
        ++perLength[d];
    for (int len = int(perLength.size()) - 1; len > maxLength; --len) {
        while (perLength[len] > 0) {
            int j = len - 2;
            while (perLength[j] == 0)
                --j;
            perLength[len] -= 2;
            perLength[len - 1] += 1;
            perLength[j + 1] += 2;
            perLength[j] -= 1;
        }
    }
    // Most frequent symbols get the shortest codes.
    size_t index = used.size();
    for (int len = 1; len <= maxLength; ++len) {
        for (int k = 0; k < perLength[len]; ++k)
            lengths[used[--index]] = uint8_t(len);
    }
}

void buildCanonicalCodes(const uint8_t* lengths, int count, uint16_t* codes)
{
    uint32_t lengthCount[kMaxCodeLength + 1] = {};
    for (int s = 0; s < count; ++s)
        ++lengthCount[lengths[s]];
    lengthCount[0] = 0;
    uint32_t next[kMaxCodeLength + 2] = {};
    for (int len = 1; len <= kMaxCodeLength; ++len)
        next[len + 1] = (next[len] + lengthCount[len]) << 1;
    for (int s = 0; s < count; ++s)
        codes[s] = lengths[s] ? uint16_t(next[lengths[s]]++) : 0;
}

HuffmanDecoder::HuffmanDecoder(int tableBits)
    : m_tableBits(tableBits)
    , m_table(size_t(1) << tableBits)
{
}

void HuffmanDecoder::setSingle(int symbol)
{
    m_single = symbol;
}

bool HuffmanDecoder::build(const uint8_t* lengths, int count)
{
    m_single = -1;
    std::fill(std::begin(m_lengthCount), std::end(m_lengthCount), 0u);
    for (int s = 0; s < count; ++s) {
        if (lengths[s] > kMaxCodeLength)
            return false;
        ++m_lengthCount[lengths[s]];
    }
    m_lengthCount[0] = 0;
    uint64_t space = 0;
    for (int len = 1; len <= kMaxCodeLength; ++len)
        space += uint64_t(m_lengthCount[len]) << (kMaxCodeLength - len);
    if (space > (uint64_t(1) << kMaxCodeLength))
        return false;

    uint32_t code = 0;
    uint32_t index = 0;
    for (int len = 1; len <= kMaxCodeLength; ++len) {
        m_firstCode[len] = code;
        m_firstIndex[len] = index;
        code = (code + m_lengthCount[len]) << 1;
        index += m_lengthCount[len];
    }
    m_sorted.assign(index, 0);
    uint32_t fill[kMaxCodeLength + 1];
    std::copy(std::begin(m_firstIndex), std::end(m_firstIndex), fill);
    for (int s = 0; s < count; ++s) {
        if (lengths[s])
            m_sorted[fill[lengths[s]]++] = uint16_t(s);
    }

    std::fill(m_table.begin(), m_table.end(), uint16_t(0));
    for (int len = 1; len <= m_tableBits; ++len) {
        for (uint32_t k = 0; k < m_lengthCount[len]; ++k) {
            const uint32_t symbol = m_sorted[m_firstIndex[len] + k];
            const uint32_t start = (m_firstCode[len] + k) << (m_tableBits - len);
            const uint32_t span = 1u << (m_tableBits - len);
            std::fill(m_table.begin() + start, m_table.begin() + start + span, uint16_t(symbol << 5 | len));
        }
    }
    return true;
}

int HuffmanDecoder::decodeLong(BitReader& in, uint32_t bits)
{
    for (int len = m_tableBits + 1; len <= kMaxCodeLength; ++len) {
        const uint32_t code = bits >> (kMaxCodeLength - len);
        const uint32_t offset = code - m_firstCode[len];
        if (offset < m_lengthCount[len]) {
            in.skip(len);
            return m_sorted[m_firstIndex[len] + offset];
        }
    }
    return -1;
}

} // namespace lzh
