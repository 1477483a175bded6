#include "archive/LzhReader.h"

#include "archive/LzhCrc16.h"
#include "archive/LzhMemberName.h"

#include <algorithm>

namespace lzh {

namespace {

constexpr size_t kStubSearchLimit = 256 * 1024;   // how far into a program an archive is looked for
// The most a stream can yield: every block needs at least 52 bits (count and three one-symbol
// tables), after which each of its up to 65535 tokens may be a 256-byte match coded with no bits.
constexpr uint64_t kSmallestBlockBits = 16 + 2 * kLengthCodeCountBits + 2 * kLiteralCountBits + 2 * 4;
constexpr uint64_t kLargestBlockOutput = 65535ull * kMaxMatch;

uint64_t largestOutput(uint64_t compressedSize)
{
    return compressedSize * 8 / kSmallestBlockBits * kLargestBlockOutput;
}

bool looksLikeHeader(std::span<const uint8_t> bytes, size_t at)
{
    return at + 7 <= bytes.size() && bytes[at + 2] == '-' && bytes[at + 3] == 'l' && bytes[at + 6] == '-';
}

const MethodParameters* huffmanMethod(const std::string& method)
{
    if (method == "-lh5-")
        return &kLh5;
    if (method == "-lh6-")
        return &kLh6;
    if (method == "-lh7-")
        return &kLh7;
    return nullptr;
}

// Header bytes as text in messages: each byte is the character of that number.
std::string latin1ToUtf8(const std::string& bytes)
{
    std::string out;
    for (const char c : bytes) {
        const auto byte = uint8_t(c);
        if (byte < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(char(0xC0 | byte >> 6));
            out.push_back(char(0x80 | (byte & 0x3F)));
        }
    }
    return out;
}

bool fail(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
    return false;
}

} // namespace

ArchiveReader::ArchiveReader(std::span<const uint8_t> bytes)
    : m_bytes(bytes)
{
}

bool ArchiveReader::start(std::string* error)
{
    const std::span<const uint8_t> head = m_bytes.first(std::min(m_bytes.size(), kStubSearchLimit));
    if (head.empty() || looksLikeHeader(head, 0)) {
        m_nextHeader = 0;
        return true;
    }
    // A self-extracting archive: the first place after the program where a header reads back whole.
    for (size_t at = 1; at + 22 <= head.size(); ++at) {
        if (!looksLikeHeader(head, at))
            continue;
        size_t position = at;
        MemberHeader header;
        if (readMemberHeader(m_bytes, position, header, nullptr) == HeaderStatus::Member) {
            m_nextHeader = at;
            return true;
        }
    }
    return fail(error, "not an LZH archive");
}

HeaderStatus ArchiveReader::next(ArchiveMember& member, std::string* error)
{
    member = ArchiveMember();
    member.headerOffset = m_nextHeader;
    size_t at = m_nextHeader;
    const HeaderStatus status = readMemberHeader(m_bytes, at, member.header, error);
    if (status != HeaderStatus::Member)
        return status;
    member.dataOffset = at;
    if (member.header.compressedSize > m_bytes.size() - at) {
        if (error)
            *error = "the archive is truncated";
        return HeaderStatus::Error;
    }
    member.name = bareMemberName(member.header.name, member.header.codePage);
    m_nextHeader = at + size_t(member.header.compressedSize);
    return HeaderStatus::Member;
}

bool ArchiveReader::readData(const ArchiveMember& member, const ByteSink& sink, std::string* error)
{
    const MemberHeader& header = member.header;
    if (header.isDirectory())
        return true;
    if (member.dataOffset > m_bytes.size() || header.compressedSize > m_bytes.size() - member.dataOffset)
        return fail(error, "the archive is truncated");
    const std::span<const uint8_t> data = m_bytes.subspan(size_t(member.dataOffset), size_t(header.compressedSize));

    Crc16 crc;
    uint64_t produced = 0;
    const ByteSink counting = [&](const uint8_t* piece, size_t size) {
        crc.update(piece, size);
        produced += size;
        return sink(piece, size);
    };

    if (header.method == "-lh0-" || header.method == "-lz4-") {
        if (header.compressedSize != header.originalSize)
            return fail(error, "the stored member's sizes disagree");
        if (!data.empty() && !counting(data.data(), data.size()))
            return fail(error, "writing failed");
    } else if (const MethodParameters* method = huffmanMethod(header.method)) {
        if (header.originalSize > largestOutput(header.compressedSize))
            return fail(error, "the declared size " + std::to_string(header.originalSize) + " cannot come from "
                                   + std::to_string(header.compressedSize) + " compressed bytes");
        if (!decodeStream(data, header.originalSize, *method, counting, error))
            return false;
    } else {
        return fail(error, "compression method " + latin1ToUtf8(header.method) + " is not supported");
    }
    if (produced != header.originalSize)
        return fail(error, "the member's data is shorter than declared");
    if (crc.value() != header.dataCrc)
        return fail(error, "the member's data has a wrong CRC");
    return true;
}

} // namespace lzh
