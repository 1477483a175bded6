#pragma once

#include <string>
#include <string_view>

namespace lzh {

// Shift_JIS (code page 932) bytes as UTF-8, with the same result as the program's Qt converter:
// a byte or two-byte code that the code page does not assign, and a lead byte without a second
// byte after it, each become U+FFFD (a byte that cannot be a second byte is read on its own).
std::string decodeShiftJis(std::string_view bytes);

// UTF-8 bytes with every byte that starts no valid sequence replaced by U+FFFD.
std::string validUtf8(std::string_view bytes);

bool isShiftJisLeadByte(unsigned char byte);
// The second byte of a two-byte Shift_JIS character; "/" and ":" never are.
bool isShiftJisTrailByte(unsigned char byte);

} // namespace lzh
