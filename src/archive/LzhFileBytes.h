#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace lzh {

// The whole content of a file, read into memory at once. Not mapped: a file that shrinks or a disk
// that goes away while the bytes are used then cannot bring the process down.
class FileBytes
{
public:
    FileBytes() = default;
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    enum class Status { Read, CannotOpen, CannotRead };
    // On failure `reason` is the system's reason (an errno value).
    Status open(const std::string& path, int* reason);
    std::span<const uint8_t> bytes() const { return {m_data, m_size}; }

private:
    void release();

    uint8_t* m_data = nullptr;
    size_t m_size = 0;
};

} // namespace lzh
