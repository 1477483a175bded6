#pragma once

#include "archive/LzhFormat.h"

#include <QString>

#include <cstdint>
#include <functional>

class QIODevice;

namespace lzh {

// Receives decoded bytes in pieces; returns false to stop (for example when writing fails).
using ByteSink = std::function<bool(const uint8_t* data, size_t size)>;

// Decodes an -lh5-, -lh6- or -lh7- stream of compressedSize bytes read from the device until
// originalSize bytes came out. Fails on an invalid code table or code, on a stream that ends before
// the output does, and when the sink refuses. Memory use does not depend on the declared sizes.
bool decodeStream(QIODevice* in, uint64_t compressedSize, uint64_t originalSize, const MethodParameters& method,
                  const ByteSink& sink, QString* error);

} // namespace lzh
