#include "archive/LzhHeader.h"

#include "archive/LzhBytes.h"
#include "archive/LzhCrc16.h"

#include <QDateTime>
#include <QIODevice>
#include <QTimeZone>

namespace lzh {

namespace {

constexpr int kLevel01Base = 22;   // bytes up to the name length of a level-0/1 header
constexpr int kLevel2Base = 26;    // fixed part of a level-2 header, first extension size included
constexpr uint32_t kShiftJisCodePage = 932;

enum ExtensionType : uint8_t {
    kExtCommon = 0x00,
    kExtName = 0x01,
    kExtDirectory = 0x02,
    kExtAttribute = 0x40,
    kExtSize64 = 0x42,
    kExtCodePage = 0x46,
    kExtUnixTime = 0x54,
};

bool readExactly(QIODevice* device, char* data, qint64 size)
{
    return size == 0 || device->read(data, size) == size;
}

HeaderStatus failed(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return HeaderStatus::Error;
}

// MS-DOS date and time (local time) to seconds since the epoch.
int64_t fromDosTime(uint32_t stamp)
{
    const QDate date(int(stamp >> 25) + 1980, int((stamp >> 21) & 0x0F), int((stamp >> 16) & 0x1F));
    const QTime time(int((stamp >> 11) & 0x1F), int((stamp >> 5) & 0x3F), int(stamp & 0x1F) * 2);
    const QDateTime local(date.isValid() ? date : QDate(1980, 1, 1), time.isValid() ? time : QTime(0, 0));
    return local.toSecsSinceEpoch();
}

// Applies one extension header (type byte first, without its trailing next-size field).
void applyExtension(const QByteArray& ext, MemberHeader& header)
{
    if (ext.isEmpty())
        return;
    const QByteArray data = ext.mid(1);
    switch (uint8_t(ext[0])) {
    case kExtName:
        header.name = data;
        break;
    case kExtDirectory:
        header.directory = data;
        break;
    case kExtAttribute:
        if (data.size() >= 1)
            header.attribute = uint8_t(data[0]);
        break;
    case kExtSize64:
        if (data.size() >= 16) {
            header.compressedSize = readLe32(data.constData()) | uint64_t(readLe32(data.constData() + 4)) << 32;
            header.originalSize = readLe32(data.constData() + 8) | uint64_t(readLe32(data.constData() + 12)) << 32;
        }
        break;
    case kExtCodePage:
        if (data.size() >= 4)
            header.codePage = readLe32(data.constData());
        break;
    case kExtUnixTime:
        if (data.size() >= 4)
            header.modified = readLe32(data.constData());
        break;
    default:
        break;
    }
}

// Level 0 and 1 share the base layout; level 1 follows it with extension headers whose sizes count
// in the compressed size.
HeaderStatus readLevel01(QIODevice* device, QByteArray base, MemberHeader& header, QString* error)
{
    const int total = uint8_t(base[0]) + 2;
    if (total < kLevel01Base + 2)
        return failed(error, QStringLiteral("a member header is too short"));
    const qint64 have = base.size();
    base.resize(total);
    if (total > have && !readExactly(device, base.data() + have, total - have))
        return failed(error, QStringLiteral("the archive ends inside a member header"));
    uint8_t sum = 0;
    for (int i = 2; i < total; ++i)
        sum = uint8_t(sum + uint8_t(base[i]));
    if (sum != uint8_t(base[1]))
        return failed(error, QStringLiteral("a member header has a wrong checksum"));

    const int nameLength = uint8_t(base[21]);
    const int afterName = kLevel01Base + nameLength;
    if (afterName + 2 > total)
        return failed(error, QStringLiteral("a member header is malformed"));
    header.name = base.mid(kLevel01Base, nameLength);
    header.dataCrc = readLe16(base.constData() + afterName);
    header.attribute = uint8_t(base[19]);
    header.modified = fromDosTime(readLe32(base.constData() + 15));
    header.compressedSize = readLe32(base.constData() + 7);
    header.originalSize = readLe32(base.constData() + 11);
    if (header.level == 0) {
        header.os = afterName + 2 < total ? uint8_t(base[afterName + 2]) : 'M';
        return HeaderStatus::Member;
    }
    if (afterName + 5 > total)
        return failed(error, QStringLiteral("a member header is malformed"));
    header.os = uint8_t(base[afterName + 2]);
    uint32_t nextSize = readLe16(base.constData() + total - 2);
    uint64_t extensionBytes = 0;
    while (nextSize != 0) {
        if (nextSize < 3)
            return failed(error, QStringLiteral("a member header has a malformed extension"));
        QByteArray ext(qsizetype(nextSize), Qt::Uninitialized);
        if (!readExactly(device, ext.data(), nextSize))
            return failed(error, QStringLiteral("the archive ends inside a member header"));
        extensionBytes += nextSize;
        applyExtension(ext.left(nextSize - 2), header);
        nextSize = readLe16(ext.constData() + nextSize - 2);
    }
    if (extensionBytes > header.compressedSize)
        return failed(error, QStringLiteral("a member header is malformed"));
    header.compressedSize -= extensionBytes;
    return HeaderStatus::Member;
}

HeaderStatus readLevel2(QIODevice* device, QByteArray base, MemberHeader& header, QString* error)
{
    const int total = readLe16(base.constData());
    if (total < kLevel2Base)
        return failed(error, QStringLiteral("a member header is too short"));
    const qint64 have = base.size();
    base.resize(total);
    if (total > have && !readExactly(device, base.data() + have, total - have))
        return failed(error, QStringLiteral("the archive ends inside a member header"));
    header.compressedSize = readLe32(base.constData() + 7);
    header.originalSize = readLe32(base.constData() + 11);
    header.modified = readLe32(base.constData() + 15);
    header.dataCrc = readLe16(base.constData() + 21);
    header.os = uint8_t(base[23]);

    int offset = kLevel2Base;
    uint32_t nextSize = readLe16(base.constData() + 24);
    int crcOffset = -1;
    while (nextSize != 0) {
        if (nextSize < 3 || offset + int(nextSize) > total)
            return failed(error, QStringLiteral("a member header has a malformed extension"));
        const QByteArray ext = base.mid(offset, nextSize - 2);
        if (uint8_t(ext[0]) == kExtCommon && ext.size() >= 3)
            crcOffset = offset + 1;
        applyExtension(ext, header);
        offset += int(nextSize);
        nextSize = readLe16(base.constData() + offset - 2);
    }
    if (crcOffset >= 0) {
        const uint16_t stored = readLe16(base.constData() + crcOffset);
        base[crcOffset] = 0;
        base[crcOffset + 1] = 0;
        if (Crc16::of(base.constData(), size_t(total)) != stored)
            return failed(error, QStringLiteral("a member header has a wrong CRC"));
    }
    return HeaderStatus::Member;
}

} // namespace

HeaderStatus readMemberHeader(QIODevice* device, MemberHeader& header, QString* error)
{
    header = MemberHeader();
    char first = 0;
    if (device->read(&first, 1) != 1 || first == 0)
        return HeaderStatus::End;
    QByteArray base(kLevel01Base, Qt::Uninitialized);
    base[0] = first;
    if (!readExactly(device, base.data() + 1, kLevel01Base - 1))
        return failed(error, QStringLiteral("the archive ends inside a member header"));
    header.method = base.mid(2, 5);
    if (header.method[0] != '-' || header.method[4] != '-')
        return failed(error, QStringLiteral("a member header is not an LZH header"));
    header.level = uint8_t(base[20]);
    switch (header.level) {
    case 0:
    case 1:
        return readLevel01(device, base, header, error);
    case 2:
        return readLevel2(device, base, header, error);
    default:
        return failed(error, QStringLiteral("header level %1 is not supported").arg(header.level));
    }
}

QByteArray writeLevel2Header(const MemberHeader& header)
{
    QByteArray extensions;
    auto addExtension = [&](uint8_t type, const QByteArray& data) {
        // The size of each extension is written in front of it: at the end of the previous one.
        appendLe16(extensions, uint32_t(data.size()) + 3);
        extensions.append(char(type));
        extensions.append(data);
    };
    QByteArray crcField(2, '\0');
    QByteArray attribute;
    appendLe16(attribute, header.attribute);
    QByteArray codePage;
    appendLe32(codePage, kShiftJisCodePage);
    addExtension(kExtCommon, crcField);
    addExtension(kExtName, header.name);
    addExtension(kExtAttribute, attribute);
    addExtension(kExtCodePage, codePage);
    if (((kLevel2Base - 2 + extensions.size() + 2) & 0xFF) == 0) {
        QByteArray stamp;
        appendLe32(stamp, uint32_t(header.modified));
        addExtension(kExtUnixTime, stamp);
    }
    appendLe16(extensions, 0);

    QByteArray out;
    const int total = kLevel2Base - 2 + int(extensions.size());
    appendLe16(out, uint32_t(total));
    out.append(header.method.left(5));
    appendLe32(out, uint32_t(header.compressedSize));
    appendLe32(out, uint32_t(header.originalSize));
    appendLe32(out, uint32_t(header.modified));
    out.append(char(0x20));
    out.append(char(2));
    appendLe16(out, header.dataCrc);
    out.append(char(header.os));
    out.append(extensions);
    // The common extension comes first: its CRC field follows the base and its type byte.
    const int crcOffset = kLevel2Base + 1;
    const uint16_t crc = Crc16::of(out.constData(), size_t(out.size()));
    out[crcOffset] = char(crc & 0xFF);
    out[crcOffset + 1] = char(crc >> 8);
    return out;
}

} // namespace lzh
