#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace lzh {

// MS-DOS date and time (local time) to seconds since the epoch; an impossible date counts as
// 1980-01-01, an impossible time as midnight.
int64_t fromDosTime(uint32_t stamp);

// One member header of an LZH archive, in the form every header level reduces to.
struct MemberHeader
{
    std::string method;           // five bytes such as "-lh5-"
    uint64_t compressedSize = 0;  // of the member's data, without extension headers
    uint64_t originalSize = 0;
    int64_t modified = 0;         // seconds since 1970-01-01 UTC
    uint8_t attribute = 0x20;     // MS-DOS attributes
    int level = 2;
    uint16_t dataCrc = 0;
    uint8_t os = 'M';
    std::string name;             // as stored: Shift_JIS, possibly with folder parts
    std::string directory;        // level 1 and 2 folder extension, parts separated by 0xFF
    uint32_t codePage = 0;        // code page extension, 0 when absent

    bool isDirectory() const { return method == "-lhd-"; }
};

enum class HeaderStatus { Member, End, Error };

// Reads the header at `at` in the archive's bytes and moves `at` to the member's data. The end mark
// (a zero byte) or the end of the bytes give End. The level-0/1 checksum and the level-2 CRC are
// checked; a header that is cut short or malformed gives Error.
HeaderStatus readMemberHeader(std::span<const uint8_t> bytes, size_t& at, MemberHeader& header, std::string* error);

// A level-2 header for the member: name in extension 0x01, MS-DOS attributes in 0x40, code page
// 932 in 0x46, header CRC in 0x00. A length whose low byte would be zero (read by some tools as the
// end mark) is moved off it by one more extension, the time stamp 0x54.
std::string writeLevel2Header(const MemberHeader& header);

} // namespace lzh
