#include "archive/LzhMemberName.h"

#include "archive/LzhShiftJis.h"

#include <cstdint>

namespace lzh {

namespace {

constexpr uint32_t kUtf8CodePage = 65001;

// Control characters (U+0000–U+001F, U+007F–U+009F) would reach the file system and listings as
// they are: each becomes "_". The text is valid UTF-8.
std::string withoutControls(const std::string& name)
{
    std::string out;
    out.reserve(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
        const auto byte = uint8_t(name[i]);
        if (byte < 0x20 || byte == 0x7F) {
            out.push_back('_');
        } else if (byte == 0xC2 && i + 1 < name.size() && uint8_t(name[i + 1]) <= 0x9F) {
            out.push_back('_');
            ++i;
        } else {
            out.push_back(char(byte));
        }
    }
    return out;
}

} // namespace

std::string bareMemberName(std::string_view storedName, uint32_t codePage)
{
    const bool utf8 = codePage == kUtf8CodePage;
    size_t start = 0;
    for (size_t i = 0; i < storedName.size(); ++i) {
        const auto byte = uint8_t(storedName[i]);
        if (!utf8 && isShiftJisLeadByte(byte) && i + 1 < storedName.size() && isShiftJisTrailByte(uint8_t(storedName[i + 1]))) {
            ++i; // the trail byte may be 0x5C and is part of the character
            continue;
        }
        if (byte == '\\' || byte == '/' || byte == ':' || byte == 0xFF || byte == 0)
            start = i + 1;
    }
    const std::string_view last = storedName.substr(start);
    const std::string name = withoutControls(utf8 ? validUtf8(last) : decodeShiftJis(last));
    if (name == "." || name == "..")
        return {};
    return name;
}

} // namespace lzh
