#include "archive/LzhFileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace lzh {

namespace {

FileBytes::Status fail(FileBytes::Status status, int* reason, int code)
{
    if (reason)
        *reason = code;
    return status;
}

// Reads everything from the descriptor into a new buffer, sized for the expected bytes (plus one
// byte, so that a file of the expected size needs no second buffer).
bool readAll(int fd, size_t expected, uint8_t*& data, size_t& size)
{
    size_t capacity = expected + 1 > 64 * 1024 ? expected + 1 : 64 * 1024;
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
    std::free(m_data);
    m_data = nullptr;
    m_size = 0;
}

FileBytes::Status FileBytes::open(const std::string& path, int* reason)
{
    release();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(Status::CannotOpen, reason, errno);
    struct stat info = {};
    const bool known = ::fstat(fd, &info) == 0;
    if (!known || S_ISDIR(info.st_mode)) {
        const int code = known ? EISDIR : errno;
        ::close(fd);
        return fail(Status::CannotOpen, reason, code);
    }
    uint8_t* data = nullptr;
    size_t size = 0;
    const bool ok = readAll(fd, S_ISREG(info.st_mode) ? size_t(info.st_size) : 0, data, size);
    const int code = errno;
    ::close(fd);
    m_data = data;
    m_size = size;
    return ok ? Status::Read : fail(Status::CannotRead, reason, code);
}

} // namespace lzh
