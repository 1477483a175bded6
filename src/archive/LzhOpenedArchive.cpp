#include "archive/LzhOpenedArchive.h"

#include <cstring>

namespace lzh {

std::string describeArchive(const std::string& path, const std::string& text)
{
    return path + ": " + text;
}

bool OpenedArchive::open(const std::string& path, std::string* error)
{
    m_members.clear();
    int reason = 0;
    switch (m_file.open(path, &reason)) {
    case FileBytes::Status::Read:
        break;
    case FileBytes::Status::CannotOpen:
        if (error)
            *error = describeArchive(path, std::string("cannot open the archive: ") + std::strerror(reason));
        return false;
    case FileBytes::Status::CannotRead:
        if (error)
            *error = describeArchive(path, "the archive could not be read");
        return false;
    }
    std::string problem;
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
