#pragma once

#include "archive/LzhFormat.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace lzh {

// Receives decoded bytes in pieces; returns false to stop (for example when writing fails).
using ByteSink = std::function<bool(const uint8_t* data, size_t size)>;

// Decodes an -lh5-, -lh6- or -lh7- stream (all of `stream`) until originalSize bytes came out.
// Fails on an invalid code table or code, on a stream that ends before the output does, and when
// the sink refuses. Memory use does not depend on the declared sizes.
bool decodeStream(std::span<const uint8_t> stream, uint64_t originalSize, const MethodParameters& method,
                  const ByteSink& sink, std::string* error);

} // namespace lzh
