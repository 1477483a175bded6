// libFuzzer target for the LZH reader, built only by scripts/fuzz-lzh (clang, ASan, UBSan).
// The first input byte chooses what the rest feeds:
//   0: a whole archive: headers of every level, names, and every member's data decoded and checked;
//   1: a bare -lh5-/-lh6-/-lh7- stream (method and output size from the next bytes), which reaches
//      the code tables without having to get a header checksum right first;
//   2: the writer: the bytes are compressed and must decode back to themselves;
//   3: a whole ARJ archive: its headers and every member decoded (the ARJ reader shares the decoder).

#include "archive/ArjArchive.h"
#include "archive/LzhDecoder.h"
#include "archive/LzhEncoder.h"
#include "archive/LzhReader.h"

#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

namespace {

using Bytes = std::span<const uint8_t>;

void readArchive(Bytes bytes)
{
    lzh::ArchiveReader reader(bytes);
    if (!reader.start(nullptr))
        return;
    lzh::ArchiveMember member;
    for (int members = 0; members < 64 && reader.next(member, nullptr) == lzh::HeaderStatus::Member; ++members)
        reader.readData(member, [](const uint8_t*, size_t) { return true; }, nullptr);
}

void decodeStream(Bytes bytes)
{
    if (bytes.size() < 4)
        return;
    const lzh::MethodParameters methods[] = {lzh::kLh5, lzh::kLh6, lzh::kLh7};
    const auto& method = methods[bytes[0] % 3];
    const uint64_t originalSize = (bytes[1] | bytes[2] << 8 | bytes[3] << 16) & 0xFFFFF;
    lzh::decodeStream(bytes.subspan(4), originalSize, method, [](const uint8_t*, size_t) { return true; }, nullptr);
}

void roundTrip(Bytes bytes)
{
    const auto encoded = lzh::encodeLh5(bytes.data(), bytes.size());
    if (!encoded)
        return;
    std::vector<uint8_t> decoded;
    const bool ok = lzh::decodeStream(*encoded, uint64_t(bytes.size()), lzh::kLh5,
                                      [&](const uint8_t* data, size_t size) {
                                          decoded.insert(decoded.end(), data, data + size);
                                          return true;
                                      },
                                      nullptr);
    if (!ok || !std::equal(decoded.begin(), decoded.end(), bytes.begin(), bytes.end()))
        std::abort();
}

void readArjArchive(Bytes bytes)
{
    arj::Archive archive;
    if (!archive.openBytes(bytes, "fuzz", nullptr))
        return;
    for (const arj::Member& member : archive.members())
        archive.readData(member, [](const uint8_t*, size_t) { return true; }, nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const Bytes rest(data + 1, size - 1);
    switch (data[0] % 4) {
    case 0:
        readArchive(rest);
        break;
    case 1:
        decodeStream(rest);
        break;
    case 2:
        roundTrip(rest);
        break;
    default:
        readArjArchive(rest);
        break;
    }
    return 0;
}
