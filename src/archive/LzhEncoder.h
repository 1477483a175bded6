#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace lzh {

// Compresses data as an -lh5- stream (8 KiB window, static Huffman blocks). Each block's tokens are
// chosen by the cheapest path through all matches found for its bytes, priced with the code lengths
// of the block before. Returns nothing when the output would not be smaller than the input.
std::optional<std::vector<uint8_t>> encodeLh5(const uint8_t* data, size_t size);

} // namespace lzh
