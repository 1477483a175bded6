#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace lzh {

struct Match
{
    uint32_t length = 0;
    uint32_t distance = 0;
};

// Finds earlier occurrences of the bytes at a position within an LZSS window: the nearest 3-byte
// match from a table of last positions, longer ones along hash chains of 4-byte sequences.
class MatchFinder
{
public:
    MatchFinder(const uint8_t* data, size_t size, uint32_t windowBits);

    // Records the position; positions must be inserted in order, each once.
    void insert(size_t pos);

    // Matches for the next position, each longer than the one before and no longer than maxLength,
    // nearest first, then inserts the position. Stops after `chain` candidates or at a match of
    // niceLength. Returns how many were written to out (at most maxOut).
    int findAndInsert(size_t pos, uint32_t maxLength, int chain, uint32_t niceLength, Match* out, int maxOut);

private:
    void remember(uint32_t distance);
    // The hash tables are too large for the fastest cache, and the positions come in order: the
    // entries a position a little ahead will read are fetched while this one is searched.
    void prefetchHeads(size_t pos) const
    {
        if (pos + 4 > m_size)
            return;
        __builtin_prefetch(&m_last3[hash3(m_data + pos)], 1);
        __builtin_prefetch(&m_head4[hash4(m_data + pos)], 1);
    }

    static uint32_t matchLength(const uint8_t* a, const uint8_t* b, uint32_t limit)
    {
        uint32_t n = 0;
        while (n + 8 <= limit) {
            uint64_t x;
            uint64_t y;
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

    uint32_t hash3(const uint8_t* p) const
    {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return ((v & 0xFFFFFF) * 2654435761u) >> m_hashShift;
    }
    uint32_t hash4(const uint8_t* p) const
    {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return (v * 2654435761u) >> m_hashShift;
    }

    const uint8_t* m_data;
    size_t m_size;
    uint32_t m_windowMask;
    uint32_t m_maxDistance;
    uint32_t m_hashShift;
    std::vector<int32_t> m_last3;     // last position of each 3-byte hash
    std::vector<int32_t> m_head4;     // last position of each 4-byte hash
    std::vector<int32_t> m_previous;  // previous position with the same 4-byte hash, by window slot
    // Distances of the last long matches, most recent first. In data of similar records (the rows of
    // a table file) the match with the previous record resumes after each field that differs, often
    // beyond the candidates a chain reaches.
    static constexpr int kRecentDistances = 4;
    uint32_t m_recent[kRecentDistances] = {};
};

} // namespace lzh
