#include "archive/LzhReader.h"

#include "archive/LzhCrc16.h"
#include "archive/LzhMemberName.h"

#include <QIODevice>

#include <algorithm>

namespace lzh {

namespace {

constexpr qint64 kStubSearchLimit = 256 * 1024;   // how far into a program an archive is looked for
// The most a stream can yield: every block needs at least 52 bits (count and three one-symbol
// tables), after which each of its up to 65535 tokens may be a 256-byte match coded with no bits.
constexpr uint64_t kSmallestBlockBits = 16 + 2 * kLengthCodeCountBits + 2 * kLiteralCountBits + 2 * 4;
constexpr uint64_t kLargestBlockOutput = 65535ull * kMaxMatch;

uint64_t largestOutput(uint64_t compressedSize)
{
    return compressedSize * 8 / kSmallestBlockBits * kLargestBlockOutput;
}

bool looksLikeHeader(const QByteArray& bytes, qsizetype at)
{
    return at + 7 <= bytes.size() && bytes[at + 2] == '-' && bytes[at + 3] == 'l' && bytes[at + 6] == '-';
}

const MethodParameters* huffmanMethod(const QByteArray& method)
{
    if (method == "-lh5-")
        return &kLh5;
    if (method == "-lh6-")
        return &kLh6;
    if (method == "-lh7-")
        return &kLh7;
    return nullptr;
}

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

ArchiveReader::ArchiveReader(QIODevice* device)
    : m_device(device)
{
}

bool ArchiveReader::start(QString* error)
{
    m_device->seek(0);
    const QByteArray head = m_device->read(kStubSearchLimit);
    if (head.isEmpty() || looksLikeHeader(head, 0)) {
        m_nextHeader = 0;
        return true;
    }
    // A self-extracting archive: the first place after the program where a header reads back whole.
    for (qsizetype at = 1; at + 22 <= head.size(); ++at) {
        if (!looksLikeHeader(head, at))
            continue;
        m_device->seek(at);
        MemberHeader header;
        if (readMemberHeader(m_device, header, nullptr) == HeaderStatus::Member) {
            m_nextHeader = at;
            return true;
        }
    }
    return fail(error, QStringLiteral("not an LZH archive"));
}

HeaderStatus ArchiveReader::next(MemberEntry& entry, QString* error)
{
    entry = MemberEntry();
    entry.headerOffset = m_nextHeader;
    if (!m_device->seek(m_nextHeader))
        return HeaderStatus::End;
    const HeaderStatus status = readMemberHeader(m_device, entry.header, error);
    if (status != HeaderStatus::Member)
        return status;
    entry.dataOffset = m_device->pos();
    if (entry.header.compressedSize > uint64_t(std::max<qint64>(0, m_device->size() - entry.dataOffset))) {
        if (error)
            *error = QStringLiteral("the archive is truncated");
        return HeaderStatus::Error;
    }
    entry.name = bareMemberName(entry.header.name, entry.header.codePage);
    m_nextHeader = entry.dataOffset + qint64(entry.header.compressedSize);
    return HeaderStatus::Member;
}

bool ArchiveReader::readData(const MemberEntry& entry, const ByteSink& sink, QString* error)
{
    const MemberHeader& header = entry.header;
    if (header.isDirectory())
        return true;
    if (!m_device->seek(entry.dataOffset))
        return fail(error, QStringLiteral("the archive could not be read"));

    Crc16 crc;
    uint64_t produced = 0;
    const ByteSink counting = [&](const uint8_t* data, size_t size) {
        crc.update(data, size);
        produced += size;
        return sink(data, size);
    };

    if (header.method == "-lh0-" || header.method == "-lz4-") {
        if (header.compressedSize != header.originalSize)
            return fail(error, QStringLiteral("the stored member's sizes disagree"));
        QByteArray chunk;
        uint64_t left = header.originalSize;
        while (left > 0) {
            chunk = m_device->read(qint64(std::min<uint64_t>(left, 64 * 1024)));
            if (chunk.isEmpty())
                return fail(error, QStringLiteral("the archive is truncated"));
            left -= uint64_t(chunk.size());
            if (!counting(reinterpret_cast<const uint8_t*>(chunk.constData()), size_t(chunk.size())))
                return fail(error, QStringLiteral("writing failed"));
        }
    } else if (const MethodParameters* method = huffmanMethod(header.method)) {
        if (header.originalSize > largestOutput(header.compressedSize))
            return fail(error, QStringLiteral("the declared size %1 cannot come from %2 compressed bytes")
                                   .arg(header.originalSize)
                                   .arg(header.compressedSize));
        if (!decodeStream(m_device, header.compressedSize, header.originalSize, *method, counting, error))
            return false;
    } else {
        return fail(error, QStringLiteral("compression method %1 is not supported")
                               .arg(QString::fromLatin1(header.method)));
    }
    if (produced != header.originalSize)
        return fail(error, QStringLiteral("the member's data is shorter than declared"));
    if (crc.value() != header.dataCrc)
        return fail(error, QStringLiteral("the member's data has a wrong CRC"));
    return true;
}

} // namespace lzh
