#include "archive/ArjArchive.h"

#include "archive/LzhBytes.h"
#include "archive/LzhDecoder.h"
#include "archive/LzhHeader.h"
#include "archive/LzhOpenedArchive.h"
#include "archive/LzhShiftJis.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace arj {

namespace {

constexpr uint8_t kSignature[] = {0x60, 0xEA};
constexpr size_t kMaxBasicHeader = 2600;
constexpr size_t kFixedHeader = 30; // the fields up to the name
constexpr uint32_t kWindow = 26624;
constexpr int kMinMatch = 3;

constexpr uint8_t kGarbled = 0x01;
constexpr uint8_t kVolume = 0x04;
constexpr uint8_t kExtFile = 0x08;

constexpr uint8_t kHostMsDos = 0;
constexpr uint8_t kHostWin95 = 10;
constexpr uint8_t kHostWinNt = 11;

bool fail(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
    return false;
}

const std::array<uint32_t, 256>& crcTable()
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    return table;
}

// CRC-32 as ARJ keeps it: started at all ones, finished inverted.
uint32_t crcUpdate(uint32_t crc, const uint8_t* data, size_t size)
{
    const auto& table = crcTable();
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

uint32_t crc32(std::span<const uint8_t> bytes)
{
    return ~crcUpdate(0xFFFFFFFFu, bytes.data(), bytes.size());
}

// A header at `at`: its basic header, checked against its CRC, and where the next thing starts
// (after any extended headers). False when none stands there.
struct Header
{
    std::span<const uint8_t> basic;
    size_t next = 0;
};

bool headerAt(std::span<const uint8_t> bytes, size_t at, Header* header)
{
    if (at + 4 > bytes.size() || bytes[at] != kSignature[0] || bytes[at + 1] != kSignature[1])
        return false;
    const size_t size = lzh::readLe16(bytes.data() + at + 2);
    size_t pos = at + 4;
    if (size == 0) { // the end of the archive
        header->basic = {};
        header->next = pos;
        return true;
    }
    if (size > kMaxBasicHeader || pos + size + 4 > bytes.size())
        return false;
    header->basic = bytes.subspan(pos, size);
    if (crc32(header->basic) != lzh::readLe32(bytes.data() + pos + size))
        return false;
    pos += size + 4;
    while (true) { // extended headers: a size, the header and its CRC, until a size of 0
        if (pos + 2 > bytes.size())
            return false;
        const size_t extended = lzh::readLe16(bytes.data() + pos);
        pos += 2;
        if (extended == 0)
            break;
        if (pos + extended + 4 > bytes.size())
            return false;
        pos += extended + 4;
    }
    header->next = pos;
    return true;
}

// The first header of the archive; a self-extracting archive carries its program in front.
bool findMainHeader(std::span<const uint8_t> bytes, Header* header)
{
    for (size_t at = 0; at + 4 <= bytes.size(); ++at) {
        if (bytes[at] == kSignature[0] && bytes[at + 1] == kSignature[1] && headerAt(bytes, at, header)
            && header->basic.size() >= kFixedHeader)
            return true;
    }
    return false;
}

std::string cString(std::span<const uint8_t> bytes, size_t from)
{
    if (from >= bytes.size())
        return {};
    const auto* start = reinterpret_cast<const char*>(bytes.data() + from);
    return std::string(start, strnlen(start, bytes.size() - from));
}

bool memberOf(std::span<const uint8_t> basic, Member* member)
{
    const size_t first = basic[0];
    if (basic.size() < kFixedHeader || first < kFixedHeader || first > basic.size())
        return false;
    const uint8_t* b = basic.data();
    member->flags = b[4];
    member->method = b[5];
    member->fileType = b[6];
    member->modified = lzh::fromDosTime(lzh::readLe32(b + 8));
    member->compressedSize = lzh::readLe32(b + 12);
    member->originalSize = lzh::readLe32(b + 16);
    member->crc = lzh::readLe32(b + 20);
    const std::string raw = cString(basic, first);
    const uint8_t host = b[3];
    member->storedName = host == kHostMsDos || host == kHostWin95 || host == kHostWinNt ? lzh::decodeShiftJis(raw)
                                                                                      : lzh::validUtf8(raw);
    member->name = extraction::bareName(member->storedName);
    return true;
}

// MSB-first bits of a stream; reading past its end gives zeros and marks the stream as overrun.
class Bits
{
public:
    explicit Bits(std::span<const uint8_t> data) : m_data(data) {}
    uint32_t take(int count)
    {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            const size_t byte = m_position >> 3;
            uint32_t bit = 0;
            if (byte < m_data.size())
                bit = (m_data[byte] >> (7 - (m_position & 7))) & 1;
            else
                m_overrun = true;
            ++m_position;
            value = value << 1 | bit;
        }
        return value;
    }
    bool overrun() const { return m_overrun; }

private:
    std::span<const uint8_t> m_data;
    size_t m_position = 0;
    bool m_overrun = false;
};

// A number in ARJ's fast method: up to `steps` one-bits each add the next power of two from
// 2^first, then as many bits as ones were read plus `first` give the rest.
uint32_t fastNumber(Bits& bits, int first, int stop)
{
    uint32_t plus = 0;
    uint32_t power = 1u << first;
    int width = first;
    for (; width < stop; ++width) {
        if (bits.take(1) == 0)
            break;
        plus += power;
        power <<= 1;
    }
    return (width != 0 ? bits.take(width) : 0) + plus;
}

// Method 4: literals and copies with unary-prefixed lengths and distances in a 26 KiB window.
bool decodeFastest(std::span<const uint8_t> stream, uint64_t size, const extraction::ByteSink& sink, std::string* problem)
{
    std::vector<uint8_t> window(kWindow);
    uint32_t pos = 0;
    uint64_t count = 0;
    Bits bits(stream);
    const auto put = [&](uint8_t byte) {
        window[pos] = byte;
        if (++pos == kWindow) {
            if (!sink(window.data(), pos))
                return false;
            pos = 0;
        }
        return true;
    };
    while (count < size) {
        const uint32_t length = fastNumber(bits, 0, 7);
        if (length == 0) {
            if (!put(uint8_t(bits.take(8))))
                return fail(problem, "cannot write");
            ++count;
        } else {
            const uint32_t copy = length - 1 + kMinMatch;
            const uint32_t distance = fastNumber(bits, 9, 13);
            if (distance >= kWindow || count + copy > size)
                return fail(problem, "damaged data");
            uint32_t from = (pos + kWindow - distance - 1) % kWindow;
            for (uint32_t i = 0; i < copy; ++i) {
                if (!put(window[from]))
                    return fail(problem, "cannot write");
                from = (from + 1) % kWindow;
            }
            count += copy;
        }
        if (bits.overrun())
            return fail(problem, "the data ends early");
    }
    if (pos > 0 && !sink(window.data(), pos))
        return fail(problem, "cannot write");
    return true;
}

} // namespace

bool Archive::open(const std::string& path, std::string* error)
{
    m_members.clear();
    int reason = 0;
    switch (m_file.open(path, &reason)) {
    case lzh::FileBytes::Status::Read:
        break;
    case lzh::FileBytes::Status::CannotOpen:
        return fail(error, lzh::describeArchive(path, std::string("cannot open: ") + std::strerror(reason)));
    case lzh::FileBytes::Status::CannotRead:
        return fail(error, lzh::describeArchive(path, std::string("cannot read: ") + std::strerror(reason)));
    }
    return openBytes(m_file.bytes(), path, error);
}

bool Archive::openBytes(std::span<const uint8_t> bytes, const std::string& path, std::string* error)
{
    m_members.clear();
    m_bytes = bytes;
    Header header;
    if (!findMainHeader(bytes, &header))
        return fail(error, lzh::describeArchive(path, "not an ARJ archive"));
    size_t at = header.next;
    while (true) {
        if (!headerAt(bytes, at, &header))
            return fail(error, lzh::describeArchive(path, "damaged header at offset " + std::to_string(at)));
        if (header.basic.empty())
            return true;
        Member member;
        if (!memberOf(header.basic, &member))
            return fail(error, lzh::describeArchive(path, "damaged header at offset " + std::to_string(at)));
        member.dataOffset = header.next;
        if (member.dataOffset + member.compressedSize > bytes.size())
            return fail(error, lzh::describeArchive(path, member.storedName + ": the data ends early"));
        if (m_members.size() >= extraction::kMaxMembers)
            return fail(error, lzh::describeArchive(path, "more than " + std::to_string(extraction::kMaxMembers) + " members"));
        m_members.push_back(member);
        at = member.dataOffset + member.compressedSize;
    }
}

bool Archive::readData(const Member& member, const extraction::ByteSink& sink, std::string* problem) const
{
    if (member.flags & kGarbled)
        return fail(problem, "encrypted members cannot be read");
    if (member.flags & (kVolume | kExtFile))
        return fail(problem, "the member is split over several volumes");
    const std::span<const uint8_t> data = m_bytes.subspan(member.dataOffset, member.compressedSize);
    uint32_t crc = 0xFFFFFFFFu;
    uint64_t produced = 0;
    bool sinkRefused = false;
    const extraction::ByteSink checked = [&](const uint8_t* bytes, size_t size) {
        crc = crcUpdate(crc, bytes, size);
        produced += size;
        sinkRefused = !sink(bytes, size);
        return !sinkRefused;
    };
    std::string decodeError;
    bool decoded = false;
    switch (member.method) {
    case 0:
        decoded = data.size() == member.originalSize && checked(data.data(), data.size());
        if (!decoded && !sinkRefused)
            decodeError = "the stored size differs from the original size";
        break;
    case 1:
    case 2:
    case 3:
        decoded = lzh::decodeStream(data, member.originalSize, lzh::kLh7, checked, &decodeError);
        break;
    case 4:
        decoded = decodeFastest(data, member.originalSize, checked, &decodeError);
        break;
    default:
        return fail(problem, "unknown method " + std::to_string(member.method));
    }
    if (sinkRefused)
        return fail(problem, "cannot write");
    if (!decoded)
        return fail(problem, decodeError.empty() ? std::string("damaged data") : decodeError);
    if (produced != member.originalSize || ~crc != member.crc)
        return fail(problem, "CRC error");
    return true;
}

bool testArchive(const std::string& archivePath, std::vector<std::string>* problems, std::string* error)
{
    Archive archive;
    if (!archive.open(archivePath, error))
        return false;
    bool ok = true;
    for (const Member& member : archive.members()) {
        if (!member.isFile())
            continue;
        std::string problem;
        if (!archive.readData(member, [](const uint8_t*, size_t) { return true; }, &problem)) {
            ok = false;
            if (problems)
                problems->push_back(member.storedName + ": " + problem);
        }
    }
    if (!ok)
        fail(error, lzh::describeArchive(archivePath, "damaged members"));
    return ok;
}

bool extractArchive(const std::string& archivePath, const std::string& folder,
                    const std::function<bool(const std::string& name)>& chosen, std::vector<std::string>* written,
                    std::string* error)
{
    Archive archive;
    if (!archive.open(archivePath, error))
        return false;
    if (!extraction::makeFolder(folder))
        return fail(error, "cannot create the folder " + folder);
    extraction::FlatExtraction writer(folder);
    for (const Member& member : archive.members()) {
        if (!member.isFile() || (chosen && !chosen(member.name)))
            continue;
        const extraction::ByteSource source = [&](const extraction::ByteSink& sink, std::string* problem) {
            return archive.readData(member, sink, problem);
        };
        if (writer.write(member.storedName, member.name, member.modified, source) && written)
            written->push_back(member.name);
    }
    if (!writer.problems().empty())
        return fail(error, lzh::describeArchive(archivePath, writer.problemText()));
    return true;
}

} // namespace arj
