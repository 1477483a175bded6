#pragma once

#include "archive/LzhFileBytes.h"
#include "archive/LzhReader.h"

#include <span>
#include <string>
#include <vector>

namespace lzh {

// An archive file opened for reading, with the headers of all its members read.
class OpenedArchive
{
public:
    OpenedArchive()
        : m_reader({})
    {
    }

    // Fails on an archive that cannot be opened or whose headers cannot all be read; the error
    // names the archive.
    bool open(const std::string& path, std::string* error);

    const std::vector<ArchiveMember>& members() const { return m_members; }
    ArchiveReader& reader() { return m_reader; }
    // The raw bytes of a member (header and data), copied unchanged when an archive is rewritten.
    std::span<const uint8_t> rawMember(const ArchiveMember& member) const;

private:
    FileBytes m_file;
    ArchiveReader m_reader;
    std::vector<ArchiveMember> m_members;
};

// "ARCHIVE: text", the form of every message about an archive.
std::string describeArchive(const std::string& path, const std::string& text);

} // namespace lzh
