#include "archive/LzhShiftJis.h"

#include <iconv.h>

#include <cstdint>

namespace lzh {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

// glibc's converter for code page 932, used one character at a time and opened only for the first
// character beyond ASCII.
class Cp932Converter
{
public:
    Cp932Converter() = default;
    ~Cp932Converter()
    {
        if (m_handle != invalid())
            iconv_close(m_handle);
    }
    Cp932Converter(const Cp932Converter&) = delete;
    Cp932Converter& operator=(const Cp932Converter&) = delete;

    // Appends the UTF-8 form of one character; false when the code page does not assign it.
    bool append(std::string_view character, std::string& out)
    {
        if (!m_opened) {
            m_handle = iconv_open("UTF-8", "CP932");
            m_opened = true;
        }
        if (m_handle == invalid())
            return false;
        char buffer[16];
        char* in = const_cast<char*>(character.data());
        size_t inLeft = character.size();
        char* next = buffer;
        size_t outLeft = sizeof buffer;
        iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        if (iconv(m_handle, &in, &inLeft, &next, &outLeft) == size_t(-1) || inLeft != 0)
            return false;
        out.append(buffer, size_t(next - buffer));
        return true;
    }

private:
    static iconv_t invalid() { return iconv_t(-1); }
    iconv_t m_handle = invalid();
    bool m_opened = false;
};

// Length of the valid UTF-8 sequence at the start of the bytes, 0 when there is none.
size_t utf8SequenceLength(std::string_view bytes)
{
    const auto byte = [&](size_t i) { return uint8_t(bytes[i]); };
    const uint8_t first = byte(0);
    if (first < 0x80)
        return 1;
    size_t length = 0;
    uint8_t low = 0x80;
    uint8_t high = 0xBF;
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        if (first == 0xE0)
            low = 0xA0; // no overlong forms
        if (first == 0xED)
            high = 0x9F; // no surrogates
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        if (first == 0xF0)
            low = 0x90;
        if (first == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (bytes.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    }
    return length;
}

} // namespace

bool isShiftJisLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool isShiftJisTrailByte(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

std::string decodeShiftJis(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    Cp932Converter converter;
    for (size_t i = 0; i < bytes.size();) {
        const auto byte = uint8_t(bytes[i]);
        if (byte < 0x80) {
            out.push_back(char(byte));
            ++i;
            continue;
        }
        size_t width = 1;
        if (isShiftJisLeadByte(byte)) {
            if (i + 1 >= bytes.size() || !isShiftJisTrailByte(uint8_t(bytes[i + 1]))) {
                out.append(kReplacement);
                ++i;
                continue;
            }
            width = 2;
        }
        if (!converter.append(bytes.substr(i, width), out))
            out.append(kReplacement);
        i += width;
    }
    return out;
}

std::string validUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = utf8SequenceLength(bytes.substr(i));
        if (length == 0) {
            out.append(kReplacement);
            ++i;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    return out;
}

} // namespace lzh
