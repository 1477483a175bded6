#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace lzh {

// The whole content of a file, mapped read-only into memory (read into it where mapping is not
// possible), for as long as the object lives.
class FileBytes
{
public:
    FileBytes() = default;
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    // On failure the error is the system's reason.
    bool open(const std::string& path, std::string* error);
    std::span<const uint8_t> bytes() const { return {m_data, m_size}; }

private:
    void release();

    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    bool m_mapped = false;
};

} // namespace lzh
