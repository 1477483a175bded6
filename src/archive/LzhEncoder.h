#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace lzh {

// Compresses data as an -lh5- stream (8 KiB window, static Huffman blocks): lazy LZSS matching over
// hash chains. Gives up and returns nothing as soon as the output would not be smaller than the
// input, so incompressible members cost little before they are stored instead.
std::optional<std::vector<uint8_t>> encodeLh5(const uint8_t* data, size_t size);

} // namespace lzh
