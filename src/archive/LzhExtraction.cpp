#include "archive/LzhExtraction.h"

#include "archive/LzhOpenedArchive.h"
#include "archive/LzhShiftJis.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <set>

namespace lzh {

namespace {

bool fail(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
    return false;
}

std::string memberLabel(const ArchiveMember& member)
{
    return member.name.empty() ? decodeShiftJis(member.header.name) : member.name;
}

std::string joined(const std::vector<std::string>& lines, const char* separator)
{
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty())
            text += separator;
        text += line;
    }
    return text;
}

bool writeAll(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        data += done;
        size -= size_t(done);
    }
    return true;
}

std::string pathIn(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + '/' + name;
}

// A temporary file in the folder that is removed unless it was renamed into place.
class TemporaryFile
{
public:
    explicit TemporaryFile(const std::string& folder)
        : m_path(pathIn(folder, ".extracting-XXXXXX"))
    {
        m_fd = ::mkostemp(m_path.data(), O_CLOEXEC);
    }
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (m_fd >= 0 || m_closed)
            ::unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return m_fd; }
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        m_closed = true;
        return ::close(fd) == 0;
    }
    bool renameTo(const std::string& target)
    {
        if (::rename(m_path.c_str(), target.c_str()) != 0)
            return false;
        m_closed = false;
        return true;
    }

private:
    std::string m_path;
    int m_fd = -1;
    bool m_closed = false;
};

// Writes one member into the folder through a temporary file there that takes the member's name
// only when its data decoded completely with the right CRC. The rename replaces a file or link of
// that name without following it.
bool extractMember(ArchiveReader& reader, const ArchiveMember& member, uint64_t limit, const std::string& folder, std::string* error)
{
    const std::string target = pathIn(folder, member.name);
    struct stat existing;
    if (::lstat(target.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode))
        return fail(error, member.name + ": a folder of that name exists");
    TemporaryFile out(folder);
    const auto cannotWrite = [&] { return fail(error, member.name + ": cannot write: " + std::strerror(errno)); };
    if (out.fd() < 0)
        return cannotWrite();
    uint64_t written = 0;
    const ByteSink sink = [&](const uint8_t* data, size_t size) {
        written += size;
        return written <= limit && writeAll(out.fd(), data, size);
    };
    std::string problem;
    if (!reader.readData(member, sink, &problem)) {
        if (written > limit)
            return fail(error, tooLargeMessage(member.name, written, limit));
        return fail(error, member.name + ": " + problem);
    }
    // The time and the permissions are kept where the file system can hold them; one that cannot
    // (a memory stick's, for the permissions) still receives the member.
    const timespec times[2] = {{0, UTIME_OMIT}, {time_t(member.header.modified), 0}};
    ::futimens(out.fd(), times);
    ::fchmod(out.fd(), 0644);
    if (!out.close())
        return cannotWrite();
    if (!out.renameTo(target))
        return cannotWrite();
    return true;
}

bool makeFolder(const std::string& folder)
{
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return std::filesystem::is_directory(folder, ignored);
}

} // namespace

bool testMembers(const std::string& archivePath, std::vector<std::string>* problems, std::string* error)
{
    OpenedArchive archive;
    if (!archive.open(archivePath, error))
        return false;
    bool ok = true;
    for (const ArchiveMember& member : archive.members()) {
        std::string problem;
        if (!archive.reader().readData(member, [](const uint8_t*, size_t) { return true; }, &problem)) {
            ok = false;
            if (problems)
                problems->push_back(memberLabel(member) + ": " + problem);
        }
    }
    if (!ok)
        fail(error, describeArchive(archivePath, "damaged members"));
    return ok;
}

std::string tooLargeMessage(const std::string& name, uint64_t size, uint64_t limit)
{
    return name + ": unpacks to " + std::to_string(size) + " bytes, more than the limit of " + std::to_string(limit) + " bytes";
}

bool extractMembers(const std::string& archivePath, const std::string& folder, const NameFilter& chosen,
                    const SizeLimit& limit, std::vector<std::string>* written, std::string* error)
{
    OpenedArchive archive;
    if (!archive.open(archivePath, error))
        return false;
    if (!makeFolder(folder))
        return fail(error, "cannot create the folder " + folder);
    const auto isChosen = [&](const ArchiveMember& member) { return !member.header.isDirectory() && (!chosen || chosen(member.name)); };
    uint64_t total = 0;
    for (const ArchiveMember& member : archive.members()) {
        if (isChosen(member))
            total += member.header.originalSize;
    }
    struct statvfs space;
    if (::statvfs(folder.c_str(), &space) == 0 && total > uint64_t(space.f_bavail) * space.f_frsize)
        return fail(error, describeArchive(archivePath, "the members unpack to " + std::to_string(total) + " bytes, more than the "
                                                            + std::to_string(uint64_t(space.f_bavail) * space.f_frsize)
                                                            + " bytes free in " + folder));
    std::vector<std::string> problems;
    std::set<std::string> extracted; // names taken by earlier members: members of different folders may share one
    for (const ArchiveMember& member : archive.members()) {
        if (!isChosen(member))
            continue;
        if (member.name.empty()) {
            problems.push_back(memberLabel(member) + ": the member has no usable file name");
            continue;
        }
        if (!extracted.insert(member.name).second) {
            problems.push_back(decodeShiftJis(member.header.name) + ": another member was already extracted as "
                               + member.name + "; this one was not");
            continue;
        }
        const uint64_t most = limit ? limit(member.name) : UINT64_MAX;
        if (member.header.originalSize > most) {
            problems.push_back(tooLargeMessage(member.name, member.header.originalSize, most));
            continue;
        }
        std::string problem;
        if (extractMember(archive.reader(), member, most, folder, &problem)) {
            if (written)
                written->push_back(member.name);
        } else {
            problems.push_back(problem);
        }
    }
    if (!problems.empty())
        return fail(error, describeArchive(archivePath, joined(problems, "; ")));
    return true;
}

} // namespace lzh
