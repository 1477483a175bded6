#include "archive/LzhHeader.h"

#include "archive/LzhBytes.h"
#include "archive/LzhCrc16.h"

#include <ctime>

namespace lzh {

namespace {

constexpr size_t kLevel01Base = 22;   // bytes up to the name length of a level-0/1 header
constexpr size_t kLevel2Base = 26;    // fixed part of a level-2 header, first extension size included
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

HeaderStatus failed(std::string* error, const char* text)
{
    if (error)
        *error = text;
    return HeaderStatus::Error;
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool isValidDate(int year, int month, int day)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1)
        return false;
    return day <= kDays[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}


// Applies one extension header (type byte first, without its trailing next-size field).
void applyExtension(const uint8_t* ext, size_t size, MemberHeader& header)
{
    if (size == 0)
        return;
    const uint8_t* data = ext + 1;
    const size_t dataSize = size - 1;
    switch (ext[0]) {
    case kExtName:
        header.name.assign(reinterpret_cast<const char*>(data), dataSize);
        break;
    case kExtDirectory:
        header.directory.assign(reinterpret_cast<const char*>(data), dataSize);
        break;
    case kExtAttribute:
        if (dataSize >= 1)
            header.attribute = data[0];
        break;
    case kExtSize64:
        if (dataSize >= 16) {
            header.compressedSize = readLe32(data) | uint64_t(readLe32(data + 4)) << 32;
            header.originalSize = readLe32(data + 8) | uint64_t(readLe32(data + 12)) << 32;
        }
        break;
    case kExtCodePage:
        if (dataSize >= 4)
            header.codePage = readLe32(data);
        break;
    case kExtUnixTime:
        if (dataSize >= 4)
            header.modified = readLe32(data);
        break;
    default:
        break;
    }
}

// Level 0 and 1 share the base layout; level 1 follows it with extension headers whose sizes count
// in the compressed size. `base` points at the header, `available` bytes from there on.
HeaderStatus readLevel01(const uint8_t* base, size_t available, size_t& length, MemberHeader& header, std::string* error)
{
    const size_t total = size_t(base[0]) + 2;
    if (total < kLevel01Base + 2)
        return failed(error, "a member header is too short");
    if (total > available)
        return failed(error, "the archive ends inside a member header");
    uint8_t sum = 0;
    for (size_t i = 2; i < total; ++i)
        sum = uint8_t(sum + base[i]);
    if (sum != base[1])
        return failed(error, "a member header has a wrong checksum");

    const size_t nameLength = base[21];
    const size_t afterName = kLevel01Base + nameLength;
    if (afterName + 2 > total)
        return failed(error, "a member header is malformed");
    header.name.assign(reinterpret_cast<const char*>(base + kLevel01Base), nameLength);
    header.dataCrc = readLe16(base + afterName);
    header.attribute = base[19];
    header.modified = fromDosTime(readLe32(base + 15));
    header.compressedSize = readLe32(base + 7);
    header.originalSize = readLe32(base + 11);
    length = total;
    if (header.level == 0) {
        header.os = afterName + 2 < total ? base[afterName + 2] : 'M';
        return HeaderStatus::Member;
    }
    if (afterName + 5 > total)
        return failed(error, "a member header is malformed");
    header.os = base[afterName + 2];
    uint32_t nextSize = readLe16(base + total - 2);
    uint64_t extensionBytes = 0;
    while (nextSize != 0) {
        if (nextSize < 3)
            return failed(error, "a member header has a malformed extension");
        if (nextSize > available - length)
            return failed(error, "the archive ends inside a member header");
        const uint8_t* ext = base + length;
        length += nextSize;
        extensionBytes += nextSize;
        applyExtension(ext, nextSize - 2, header);
        nextSize = readLe16(ext + nextSize - 2);
    }
    if (extensionBytes > header.compressedSize)
        return failed(error, "a member header is malformed");
    header.compressedSize -= extensionBytes;
    return HeaderStatus::Member;
}

HeaderStatus readLevel2(const uint8_t* base, size_t available, size_t& length, MemberHeader& header, std::string* error)
{
    const size_t total = readLe16(base);
    if (total < kLevel2Base)
        return failed(error, "a member header is too short");
    if (total > available)
        return failed(error, "the archive ends inside a member header");
    header.compressedSize = readLe32(base + 7);
    header.originalSize = readLe32(base + 11);
    header.modified = readLe32(base + 15);
    header.dataCrc = readLe16(base + 21);
    header.os = base[23];

    size_t offset = kLevel2Base;
    uint32_t nextSize = readLe16(base + 24);
    size_t crcOffset = 0;
    while (nextSize != 0) {
        if (nextSize < 3 || offset + nextSize > total)
            return failed(error, "a member header has a malformed extension");
        const uint8_t* ext = base + offset;
        if (ext[0] == kExtCommon && nextSize - 2 >= 3)
            crcOffset = offset + 1;
        applyExtension(ext, nextSize - 2, header);
        offset += nextSize;
        nextSize = readLe16(base + offset - 2);
    }
    if (crcOffset != 0) {
        // The CRC covers the header with its own field taken as zero.
        Crc16 crc;
        const uint8_t zeros[2] = {0, 0};
        crc.update(base, crcOffset);
        crc.update(zeros, 2);
        crc.update(base + crcOffset + 2, total - crcOffset - 2);
        if (crc.value() != readLe16(base + crcOffset))
            return failed(error, "a member header has a wrong CRC");
    }
    length = total;
    return HeaderStatus::Member;
}

} // namespace

int64_t fromDosTime(uint32_t stamp)
{
    std::tm local{};
    const int year = int(stamp >> 25) + 1980;
    const int month = int((stamp >> 21) & 0x0F);
    const int day = int((stamp >> 16) & 0x1F);
    if (isValidDate(year, month, day)) {
        local.tm_year = year - 1900;
        local.tm_mon = month - 1;
        local.tm_mday = day;
    } else {
        local.tm_year = 80;
        local.tm_mday = 1;
    }
    const int hour = int((stamp >> 11) & 0x1F);
    const int minute = int((stamp >> 5) & 0x3F);
    const int second = int(stamp & 0x1F) * 2;
    if (hour < 24 && minute < 60 && second < 60) {
        local.tm_hour = hour;
        local.tm_min = minute;
        local.tm_sec = second;
    }
    local.tm_isdst = -1;
    return int64_t(std::mktime(&local));
}

HeaderStatus readMemberHeader(std::span<const uint8_t> bytes, size_t& at, MemberHeader& header, std::string* error)
{
    header = MemberHeader();
    if (at >= bytes.size() || bytes[at] == 0)
        return HeaderStatus::End;
    const uint8_t* base = bytes.data() + at;
    const size_t available = bytes.size() - at;
    if (available < kLevel01Base)
        return failed(error, "the archive ends inside a member header");
    header.method.assign(reinterpret_cast<const char*>(base + 2), 5);
    if (header.method[0] != '-' || header.method[4] != '-')
        return failed(error, "a member header is not an LZH header");
    header.level = base[20];
    size_t length = 0;
    HeaderStatus status;
    switch (header.level) {
    case 0:
    case 1:
        status = readLevel01(base, available, length, header, error);
        break;
    case 2:
        status = readLevel2(base, available, length, header, error);
        break;
    default:
        if (error)
            *error = "header level " + std::to_string(header.level) + " is not supported";
        return HeaderStatus::Error;
    }
    if (status == HeaderStatus::Member)
        at += length;
    return status;
}

std::string writeLevel2Header(const MemberHeader& header)
{
    std::string extensions;
    auto addExtension = [&](uint8_t type, const std::string& data) {
        // The size of each extension is written in front of it: at the end of the previous one.
        appendLe16(extensions, uint32_t(data.size()) + 3);
        extensions.push_back(char(type));
        extensions.append(data);
    };
    std::string attribute;
    appendLe16(attribute, header.attribute);
    std::string codePage;
    appendLe32(codePage, kShiftJisCodePage);
    addExtension(kExtCommon, std::string(2, '\0'));
    addExtension(kExtName, header.name);
    addExtension(kExtAttribute, attribute);
    addExtension(kExtCodePage, codePage);
    if (((kLevel2Base - 2 + extensions.size() + 2) & 0xFF) == 0) {
        std::string stamp;
        appendLe32(stamp, uint32_t(header.modified));
        addExtension(kExtUnixTime, stamp);
    }
    appendLe16(extensions, 0);

    std::string out;
    const size_t total = kLevel2Base - 2 + extensions.size();
    appendLe16(out, uint32_t(total));
    out.append(header.method.substr(0, 5));
    appendLe32(out, uint32_t(header.compressedSize));
    appendLe32(out, uint32_t(header.originalSize));
    appendLe32(out, uint32_t(header.modified));
    out.push_back(char(0x20));
    out.push_back(char(2));
    appendLe16(out, header.dataCrc);
    out.push_back(char(header.os));
    out.append(extensions);
    // The common extension comes first: its CRC field follows the base and its type byte.
    const size_t crcOffset = kLevel2Base + 1;
    const uint16_t crc = Crc16::of(out.data(), out.size());
    out[crcOffset] = char(crc & 0xFF);
    out[crcOffset + 1] = char(crc >> 8);
    return out;
}

} // namespace lzh
