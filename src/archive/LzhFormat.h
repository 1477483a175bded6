#pragma once

#include <cstdint>

// Constants of the LZH block format shared by the encoder and the decoder of -lh5-, -lh6-, -lh7-.
namespace lzh {

constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 256;
constexpr int kLiteralAndLengthCodes = 256 + kMaxMatch - kMinMatch + 1; // 510
constexpr int kLengthCodeCount = 19;     // codes of the table that carries the code lengths
constexpr int kLengthCodeCountBits = 5;
constexpr int kLiteralCountBits = 9;
constexpr uint8_t kWindowFill = 0x20;     // the window starts filled with blanks

// Method-dependent sizes: lh5 has an 8 KiB window, lh6 32 KiB, lh7 64 KiB.
struct MethodParameters
{
    int dictionaryBits;
    int positionCodes() const { return dictionaryBits + 1; }
    int positionCountBits() const { return dictionaryBits >= 15 ? 5 : 4; }
    uint32_t windowSize() const { return 1u << dictionaryBits; }
};

constexpr MethodParameters kLh5{13};
constexpr MethodParameters kLh6{15};
constexpr MethodParameters kLh7{16};

} // namespace lzh
