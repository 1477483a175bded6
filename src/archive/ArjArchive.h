#pragma once

#include "archive/ExtractedFile.h"
#include "archive/LzhFileBytes.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

// Reading ARJ archives: the headers, the stored method and the four compression methods (1 to 3
// share the LZH block format with a 26 KiB window; 4 is ARJ's own fast method), each member checked
// against its CRC-32. Writing is not offered. Names and messages are UTF-8.
namespace arj {

struct Member
{
    std::string storedName; // as stored, Shift_JIS names of MS-DOS and Windows made readable
    std::string name;       // bare file name, empty when the stored name has none
    uint8_t method = 0;
    uint8_t fileType = 0;   // 0 binary, 1 text, 3 folder, 4 volume label
    uint8_t flags = 0;
    uint32_t compressedSize = 0;
    uint32_t originalSize = 0;
    uint32_t crc = 0;
    int64_t modified = 0;   // seconds since 1970-01-01 UTC
    size_t dataOffset = 0;

    bool isFile() const { return fileType == 0 || fileType == 1; }
};

class Archive
{
public:
    // Reads every header; fails on a file that is not an ARJ archive or whose headers are damaged,
    // with an error naming the archive.
    bool open(const std::string& path, std::string* error);
    // The same over bytes in memory, which must outlive the archive; `label` names it in errors.
    bool openBytes(std::span<const uint8_t> bytes, const std::string& label, std::string* error);
    const std::vector<Member>& members() const { return m_members; }
    // Decodes a member's data into the sink and checks its CRC.
    bool readData(const Member& member, const extraction::ByteSink& sink, std::string* problem) const;

private:
    lzh::FileBytes m_file;
    std::span<const uint8_t> m_bytes;
    std::vector<Member> m_members;
};

// Decodes every member and checks its CRC; problems lists one line per damaged member.
bool testArchive(const std::string& archivePath, std::vector<std::string>* problems, std::string* error);

// Writes the chosen files by their bare names into the folder (created when missing), through the
// shared member writer; a damaged member is reported and the others are still extracted.
bool extractArchive(const std::string& archivePath, const std::string& folder,
                    const std::function<bool(const std::string& name)>& chosen, std::vector<std::string>* written,
                    std::string* error);

} // namespace arj
