#include "archive/ExtractedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace extraction {

namespace {

bool fail(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
    return false;
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

std::string gibibytes(uint64_t bytes)
{
    return std::to_string(bytes >> 30) + " GiB";
}

} // namespace

bool isBareName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos
        && name.find('\\') == std::string::npos;
}

std::string bareName(const std::string& stored)
{
    const size_t cut = stored.find_last_of("/\\:");
    std::string name = cut == std::string::npos ? stored : stored.substr(cut + 1);
    return isBareName(name) ? name : std::string();
}

bool makeFolder(const std::string& folder)
{
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return std::filesystem::is_directory(folder, ignored);
}

std::string relativeMemberPath(std::string stored)
{
    for (char& c : stored) {
        if (c == '\\')
            c = '/';
    }
    if (stored.empty() || stored.front() == '/' || stored.find(':') != std::string::npos)
        return {};
    std::string path;
    std::istringstream parts(stored);
    std::string part;
    while (std::getline(parts, part, '/')) {
        if (part.empty() || part == ".")
            continue;
        if (part == "..")
            return {};
        path += path.empty() ? part : '/' + part;
    }
    return path;
}

bool makeSubfolders(const std::string& folder, const std::string& relativeFolder, std::string* problem)
{
    std::string path = folder;
    std::istringstream parts(relativeFolder);
    std::string part;
    while (std::getline(parts, part, '/')) {
        if (!isBareName(part))
            return fail(problem, relativeFolder + ": not a folder name");
        path = pathIn(path, part);
        struct stat existing;
        if (::lstat(path.c_str(), &existing) == 0) {
            if (!S_ISDIR(existing.st_mode))
                return fail(problem, relativeFolder + ": something that is not a folder stands in the way");
            continue;
        }
        if (::mkdir(path.c_str(), 0755) != 0)
            return fail(problem, relativeFolder + ": cannot create the folder: " + std::strerror(errno));
    }
    return true;
}

bool Budget::takeMember(std::string* problem)
{
    m_member = 0;
    if (++m_members > kMaxMembers)
        return fail(problem, "more than " + std::to_string(kMaxMembers) + " members");
    return true;
}

bool Budget::take(size_t bytes, std::string* problem)
{
    m_member += bytes;
    m_total += bytes;
    if (m_member > kMaxMemberBytes)
        return fail(problem, "the member is larger than " + gibibytes(kMaxMemberBytes));
    if (m_total > kMaxTotalBytes)
        return fail(problem, "the members are larger than " + gibibytes(kMaxTotalBytes) + " together");
    return true;
}

bool writeMemberFile(const std::string& folder, const std::string& name, int64_t modified, const ByteSource& source,
                     Budget& budget, std::string* error)
{
    if (!isBareName(name))
        return fail(error, name + ": not a file name");
    const std::string target = pathIn(folder, name);
    struct stat existing;
    if (::lstat(target.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode))
        return fail(error, name + ": a folder of that name exists");
    std::string problem;
    if (!budget.takeMember(&problem))
        return fail(error, name + ": " + problem);
    TemporaryFile out(folder);
    const auto cannotWrite = [&](int code) { return fail(error, name + ": cannot write: " + std::strerror(code)); };
    if (out.fd() < 0)
        return cannotWrite(errno);
    std::string limit;
    int writeError = 0;
    const ByteSink sink = [&](const uint8_t* data, size_t size) {
        if (!budget.take(size, &limit))
            return false;
        if (!writeAll(out.fd(), data, size)) {
            writeError = errno;
            return false;
        }
        return true;
    };
    if (!source(sink, &problem)) {
        if (!limit.empty())
            return fail(error, name + ": " + limit);
        if (writeError != 0)
            return cannotWrite(writeError);
        return fail(error, name + ": " + problem);
    }
    // The time and the permissions are kept where the file system can hold them; one that cannot
    // (a memory stick's, for the permissions) still receives the member.
    if (modified >= 0) {
        const timespec times[2] = {{0, UTIME_OMIT}, {time_t(modified), 0}};
        ::futimens(out.fd(), times);
    }
    ::fchmod(out.fd(), 0644);
    if (!out.close() || !out.renameTo(target))
        return cannotWrite(errno);
    return true;
}

bool FlatExtraction::write(const std::string& label, const std::string& name, int64_t modified, const ByteSource& source)
{
    if (name.empty()) {
        m_problems.push_back(label + ": the member has no usable file name");
        return false;
    }
    if (!m_taken.insert(name).second) {
        m_problems.push_back(label + ": another member was already extracted as " + name + "; this one was not");
        return false;
    }
    std::string problem;
    if (writeMemberFile(m_folder, name, modified, source, m_budget, &problem))
        return true;
    m_problems.push_back(problem);
    return false;
}

std::string FlatExtraction::problemText() const
{
    std::string text;
    for (const std::string& line : m_problems)
        text += (text.empty() ? "" : "; ") + line;
    return text;
}

} // namespace extraction
