// libFuzzer target for the LZH reader, built only by scripts/fuzz-lzh (clang, ASan, UBSan).
// The first input byte chooses what the rest feeds:
//   0: a whole archive: headers of every level, names, and every member's data decoded and checked;
//   1: a bare -lh5-/-lh6-/-lh7- stream (method and output size from the next bytes), which reaches
//      the code tables without having to get a header checksum right first;
//   2: the writer: the bytes are compressed and must decode back to themselves.

#include "archive/LzhDecoder.h"
#include "archive/LzhEncoder.h"
#include "archive/LzhReader.h"

#include <QBuffer>

#include <cstdlib>
#include <cstring>

namespace {

void readArchive(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    lzh::ArchiveReader reader(&buffer);
    if (!reader.start(nullptr))
        return;
    lzh::MemberEntry entry;
    for (int members = 0; members < 64 && reader.next(entry, nullptr) == lzh::HeaderStatus::Member; ++members)
        reader.readData(entry, [](const uint8_t*, size_t) { return true; }, nullptr);
}

void decodeStream(const QByteArray& bytes)
{
    if (bytes.size() < 4)
        return;
    const lzh::MethodParameters methods[] = {lzh::kLh5, lzh::kLh6, lzh::kLh7};
    const auto& method = methods[uint8_t(bytes[0]) % 3];
    const uint64_t originalSize = (uint8_t(bytes[1]) | uint8_t(bytes[2]) << 8 | uint8_t(bytes[3]) << 16) & 0xFFFFF;
    QByteArray stream = bytes.mid(4);
    QBuffer buffer(&stream);
    buffer.open(QIODevice::ReadOnly);
    lzh::decodeStream(&buffer, uint64_t(stream.size()), originalSize, method,
                      [](const uint8_t*, size_t) { return true; }, nullptr);
}

void roundTrip(const QByteArray& bytes)
{
    const auto encoded = lzh::encodeLh5(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    if (!encoded)
        return;
    QByteArray stream(reinterpret_cast<const char*>(encoded->data()), qsizetype(encoded->size()));
    QBuffer buffer(&stream);
    buffer.open(QIODevice::ReadOnly);
    QByteArray decoded;
    const bool ok = lzh::decodeStream(&buffer, uint64_t(stream.size()), uint64_t(bytes.size()), lzh::kLh5,
                                      [&](const uint8_t* data, size_t size) {
                                          decoded.append(reinterpret_cast<const char*>(data), qsizetype(size));
                                          return true;
                                      },
                                      nullptr);
    if (!ok || decoded != bytes)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    switch (data[0] % 3) {
    case 0:
        readArchive(rest);
        break;
    case 1:
        decodeStream(rest);
        break;
    default:
        roundTrip(rest);
        break;
    }
    return 0;
}
