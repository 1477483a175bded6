#include "archive/LzhMatchFinder.h"

#include <algorithm>

namespace lzh {

namespace {

constexpr uint32_t kLargestHashBits = 16;
constexpr uint32_t kShortest = 3;
constexpr size_t kPrefetchAhead = 8;
constexpr uint32_t kRememberedLength = 16; // a match this long gives a distance worth trying again

uint32_t read32(const uint8_t* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// Hash tables sized for the data: small members do not pay for large tables.
uint32_t hashBitsFor(size_t size)
{
    uint32_t bits = 10;
    while (bits < kLargestHashBits && (size_t(1) << bits) < size)
        ++bits;
    return bits;
}

} // namespace

MatchFinder::MatchFinder(const uint8_t* data, size_t size, uint32_t windowBits)
    : m_data(data)
    , m_size(size)
    , m_windowMask((1u << windowBits) - 1)
    , m_maxDistance((1u << windowBits) - 1)
    , m_hashShift(32 - hashBitsFor(size))
    , m_last3(size_t(1) << hashBitsFor(size), -1)
    , m_head4(size_t(1) << hashBitsFor(size), -1)
    , m_previous(size_t(1) << windowBits, -1)
{
}

void MatchFinder::insert(size_t pos)
{
    if (pos + 4 > m_size)
        return;
    const uint8_t* p = m_data + pos;
    m_last3[hash3(p)] = int32_t(pos);
    const uint32_t h = hash4(p);
    m_previous[pos & m_windowMask] = m_head4[h];
    m_head4[h] = int32_t(pos);
}

int MatchFinder::findAndInsert(size_t pos, uint32_t maxLength, int chain, uint32_t niceLength, Match* out, int maxOut)
{
    if (pos + 4 > m_size)
        return 0;
    const uint8_t* const here = m_data + pos;
    prefetchHeads(pos + kPrefetchAhead);
    const uint32_t h3 = hash3(here);
    const uint32_t h4 = hash4(here);
    const int64_t near = m_last3[h3];
    int64_t candidate = m_head4[h4];
    m_last3[h3] = int32_t(pos);
    m_previous[pos & m_windowMask] = m_head4[h4];
    m_head4[h4] = int32_t(pos);

    maxLength = uint32_t(std::min<size_t>(maxLength, m_size - pos));
    if (maxLength < kShortest)
        return 0;
    const int64_t lowest = int64_t(pos) - int64_t(m_maxDistance);
    const uint32_t nice = std::min(niceLength, maxLength);
    uint32_t best = kShortest - 1;
    int count = 0;
    if (near >= 0 && near >= lowest) {
        const uint32_t length = matchLength(m_data + near, here, maxLength);
        if (length >= kShortest) {
            best = length;
            out[count++] = {length, uint32_t(int64_t(pos) - near)};
            if (length >= nice)
                return count;
        }
    }
    const uint32_t first4 = read32(here);
    while (candidate >= lowest && candidate >= 0 && chain-- > 0 && count < maxOut) {
        const uint8_t* there = m_data + candidate;
        if (there[best] == here[best] && read32(there) == first4) {
            const uint32_t length = matchLength(there, here, maxLength);
            if (length > best) {
                best = length;
                out[count++] = {length, uint32_t(int64_t(pos) - candidate)};
                if (length >= nice)
                    break;
            }
        }
        candidate = m_previous[size_t(candidate) & m_windowMask];
    }
    if (best < nice) {
        for (const uint32_t distance : m_recent) {
            if (distance == 0 || distance > pos || int64_t(pos - distance) < lowest || count >= maxOut)
                continue;
            const uint8_t* there = here - distance;
            if (there[best] != here[best] || read32(there) != first4)
                continue;
            const uint32_t length = matchLength(there, here, maxLength);
            if (length > best) {
                best = length;
                out[count++] = {length, distance};
                if (best >= maxLength)
                    break; // nothing longer is possible, and here[best] would lie past the data
            }
        }
    }
    if (count > 0 && best >= kRememberedLength)
        remember(out[count - 1].distance);
    return count;
}

void MatchFinder::remember(uint32_t distance)
{
    int at = kRecentDistances - 1;
    for (int i = 0; i < kRecentDistances; ++i) {
        if (m_recent[i] == distance)
            at = i;
    }
    for (int i = at; i > 0; --i)
        m_recent[i] = m_recent[i - 1];
    m_recent[0] = distance;
}

} // namespace lzh
