#include "archive/LzhOpenedArchive.h"

namespace lzh {

std::string describeArchive(const std::string& path, const std::string& text)
{
    return path + ": " + text;
}

bool OpenedArchive::open(const std::string& path, std::string* error)
{
    m_members.clear();
    std::string problem;
    if (!m_file.open(path, &problem)) {
        if (error)
            *error = describeArchive(path, "cannot open the archive: " + problem);
        return false;
    }
    m_reader = ArchiveReader(m_file.bytes());
    if (!m_reader.start(&problem)) {
        if (error)
            *error = describeArchive(path, problem);
        return false;
    }
    for (;;) {
        ArchiveMember member;
        const HeaderStatus status = m_reader.next(member, &problem);
        if (status == HeaderStatus::End)
            return true;
        if (status == HeaderStatus::Error) {
            if (error)
                *error = describeArchive(path, problem);
            return false;
        }
        m_members.push_back(std::move(member));
    }
}

std::span<const uint8_t> OpenedArchive::rawMember(const ArchiveMember& member) const
{
    return m_file.bytes().subspan(size_t(member.headerOffset),
                                  size_t(member.dataOffset + member.header.compressedSize - member.headerOffset));
}

} // namespace lzh
