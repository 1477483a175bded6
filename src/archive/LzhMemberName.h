#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lzh {

// The name a member is written under in a flat folder, in UTF-8: the last part of its stored name,
// after any "\", "/", ":" or 0xFF (the separators of MS-DOS, Unix, drive letters and header
// extensions), where a "\" that is the second byte of a Shift_JIS character is not a separator (a
// lead byte followed by a byte that cannot be a second byte stands alone). Decoded from Shift_JIS
// (or UTF-8 when the header names code page 65001), control characters replaced by "_". Empty when
// nothing usable is left ("", ".", "..").
std::string bareMemberName(std::string_view storedName, uint32_t codePage);

} // namespace lzh
