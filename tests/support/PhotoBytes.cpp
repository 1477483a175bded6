#include "support/PhotoBytes.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include <vector>

namespace testsupport {

QByteArray jpegPhoto(int width, int height, const QByteArray& tag)
{
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(size_t(width) * 3);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            row[size_t(x) * 3] = JSAMPLE((x * 7 + int(info.next_scanline) * 3) & 0xFF);
            row[size_t(x) * 3 + 1] = JSAMPLE((x * 13) & 0xFF);
            row[size_t(x) * 3 + 2] = JSAMPLE((int(info.next_scanline) * 5) & 0xFF);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes + tag;
}

QByteArray gifPhoto(int width, int height, const QByteArray& tag)
{
    QByteArray bytes("GIF89a");
    const auto word = [&bytes](int value) {
        bytes.append(char(value & 0xFF));
        bytes.append(char((value >> 8) & 0xFF));
    };
    word(width);
    word(height);
    bytes.append(char(0x81)); // a global table of four colours
    bytes.append(char(0));
    bytes.append(char(0));
    bytes.append(QByteArray::fromHex("000000 FFFFFF FF0000 0000FF"));
    bytes.append(char(0x2C));
    word(0);
    word(0);
    word(width);
    word(height);
    bytes.append(char(0));
    // LZW with a minimum code size of 2: every pixel as its own 3-bit code, with a clear code
    // before the table would need 4-bit codes.
    bytes.append(char(2));
    QByteArray data;
    quint32 bits = 0;
    int held = 0;
    const auto code = [&](int value) {
        bits |= quint32(value) << held;
        held += 3;
        while (held >= 8) {
            data.append(char(bits & 0xFF));
            bits >>= 8;
            held -= 8;
        }
    };
    const qint64 pixels = qint64(width) * height;
    for (qint64 p = 0; p < pixels; ++p) {
        if (p % 2 == 0)
            code(4); // clear
        code(int(p % 4));
    }
    code(5); // end
    if (held > 0)
        data.append(char(bits & 0xFF));
    for (qsizetype pos = 0; pos < data.size(); pos += 255) {
        const QByteArray block = data.mid(pos, 255);
        bytes.append(char(block.size()));
        bytes.append(block);
    }
    bytes.append(char(0));
    bytes.append(char(0x3B));
    return bytes + tag;
}

} // namespace testsupport
