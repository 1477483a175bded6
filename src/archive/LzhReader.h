#pragma once

#include "archive/LzhDecoder.h"
#include "archive/LzhHeader.h"

#include <span>
#include <string>

namespace lzh {

// One member as found in an archive.
struct ArchiveMember
{
    MemberHeader header;
    std::string name; // bare file name in UTF-8, empty when the stored name has none
    uint64_t headerOffset = 0;
    uint64_t dataOffset = 0;
};

// Walks the members of an archive held in memory and decodes their data. Declared sizes are checked
// against what the archive holds before anything is read or allocated for a member.
class ArchiveReader
{
public:
    explicit ArchiveReader(std::span<const uint8_t> bytes);

    // Finds the first header: at the start, or after a self-extracting program.
    bool start(std::string* error);
    HeaderStatus next(ArchiveMember& member, std::string* error);
    // Decodes the member's data into the sink and checks its length and CRC.
    bool readData(const ArchiveMember& member, const ByteSink& sink, std::string* error);

private:
    std::span<const uint8_t> m_bytes;
    size_t m_nextHeader = 0;
};

} // namespace lzh
