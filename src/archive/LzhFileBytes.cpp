#include "archive/LzhFileBytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace lzh {

namespace {

bool fail(std::string* error, int code)
{
    if (error)
        *error = std::strerror(code);
    return false;
}

// Reads everything from the descriptor into a new buffer of at least `expected` bytes' capacity.
bool readAll(int fd, size_t expected, uint8_t*& data, size_t& size)
{
    size_t capacity = expected > 0 ? expected : 64 * 1024;
    data = static_cast<uint8_t*>(std::malloc(capacity));
    size = 0;
    if (!data) {
        errno = ENOMEM;
        return false;
    }
    for (;;) {
        if (size == capacity) {
            capacity *= 2;
            auto* grown = static_cast<uint8_t*>(std::realloc(data, capacity));
            if (!grown) {
                errno = ENOMEM;
                return false;
            }
            data = grown;
        }
        const ssize_t got = ::read(fd, data + size, capacity - size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        size += size_t(got);
    }
}

} // namespace

FileBytes::~FileBytes()
{
    release();
}

void FileBytes::release()
{
    if (m_mapped)
        ::munmap(const_cast<uint8_t*>(m_data), m_size);
    else
        std::free(const_cast<uint8_t*>(m_data));
    m_data = nullptr;
    m_size = 0;
    m_mapped = false;
}

bool FileBytes::open(const std::string& path, std::string* error)
{
    release();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(error, errno);
    struct stat info = {};
    const bool known = ::fstat(fd, &info) == 0;
    if (!known || S_ISDIR(info.st_mode)) {
        const int code = known ? EISDIR : errno;
        ::close(fd);
        return fail(error, code);
    }
    if (S_ISREG(info.st_mode) && info.st_size > 0) {
        void* mapped = ::mmap(nullptr, size_t(info.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (mapped != MAP_FAILED) {
            ::close(fd);
            m_data = static_cast<const uint8_t*>(mapped);
            m_size = size_t(info.st_size);
            m_mapped = true;
            return true;
        }
    }
    uint8_t* data = nullptr;
    size_t size = 0;
    const bool ok = readAll(fd, S_ISREG(info.st_mode) ? size_t(info.st_size) : 0, data, size);
    const int code = errno;
    ::close(fd);
    m_data = data;
    m_size = size;
    return ok || fail(error, code);
}

} // namespace lzh
