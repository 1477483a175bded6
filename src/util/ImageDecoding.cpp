#include "util/ImageDecoding.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

#include <vector>

namespace imagedecoding {

namespace {

// libjpeg's errors end the decode through a long jump; the warnings that mean data is missing
// are counted.
struct JpegErrors
{
    jpeg_error_mgr manager;
    std::jmp_buf failed;
    bool dataMissing = false;
};

void onJpegError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->failed, 1);
}

void onJpegMessage(j_common_ptr info, int level)
{
    // Level -1 is a warning. The end of the data before the end of the image, and a marker met
    // inside the compressed data, both leave lines that were never in the file.
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    if (level < 0 && (info->err->msg_code == JWRN_JPEG_EOF || info->err->msg_code == JWRN_HIT_MARKER))
        errors->dataMissing = true;
}

// Decodes every scan line into one reused row; false at the first error or missing data.
bool decodeJpeg(jpeg_decompress_struct& info, JpegErrors& errors, const QByteArray& bytes)
{
    if (setjmp(errors.failed))
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    jpeg_start_decompress(&info);
    std::vector<JSAMPLE> row(size_t(info.output_width) * size_t(info.output_components));
    JSAMPROW rows[1] = {row.data()};
    while (info.output_scanline < info.output_height && !errors.dataMissing)
        jpeg_read_scanlines(&info, rows, 1);
    // Every line came from the file; a missing end marker alone takes nothing away.
    return !errors.dataMissing;
}

// The GIF bytes read in order; every read past the end marks the data as short.
class GifReader
{
public:
    explicit GifReader(const QByteArray& bytes) : m_bytes(bytes) {}
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    bool ok() const { return !m_short; }
    int byte()
    {
        if (m_pos >= m_bytes.size()) {
            m_short = true;
            return 0;
        }
        return quint8(m_bytes.at(m_pos++));
    }
    int word()
    {
        const int low = byte();
        return low | (byte() << 8);
    }
    void skip(qsizetype n)
    {
        if (n > m_bytes.size() - m_pos) {
            m_short = true;
            m_pos = m_bytes.size();
        } else {
            m_pos += n;
        }
    }
    // The data sub-blocks up to their terminator, joined.
    QByteArray subBlocks()
    {
        QByteArray data;
        for (int size = byte(); size > 0 && ok(); size = byte()) {
            if (size > m_bytes.size() - m_pos) {
                m_short = true;
                break;
            }
            data.append(m_bytes.constData() + m_pos, size);
            m_pos += size;
        }
        return data;
    }

private:
    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
    bool m_short = false;
};

// Runs the LZW decoder over one image's data and counts the pixels it yields; false when a code is
// out of range or the data ends before `pixels` pixels.
bool lzwYields(const QByteArray& data, int minimumCodeSize, qint64 pixels)
{
    if (minimumCodeSize < 2 || minimumCodeSize > 8)
        return false;
    const int clear = 1 << minimumCodeSize;
    const int end = clear + 1;
    // Each table entry: its first pixel and its length (the pixels themselves are not needed).
    std::vector<int> length(4096, 0);
    for (int code = 0; code < clear; ++code)
        length[size_t(code)] = 1;
    int next = end + 1;
    int width = minimumCodeSize + 1;
    int previous = -1;
    qint64 produced = 0;
    quint32 bits = 0;
    int held = 0;
    qsizetype pos = 0;
    while (produced < pixels) {
        while (held < width) {
            if (pos >= data.size())
                return false;
            bits |= quint32(quint8(data.at(pos++))) << held;
            held += 8;
        }
        const int code = int(bits & ((1u << width) - 1));
        bits >>= width;
        held -= width;
        if (code == clear) {
            next = end + 1;
            width = minimumCodeSize + 1;
            previous = -1;
            continue;
        }
        if (code == end)
            return false;
        if (code > next || (code == next && previous < 0))
            return false;
        const int entryLength = code == next ? length[size_t(previous)] + 1 : length[size_t(code)];
        produced += entryLength;
        if (previous >= 0 && next < 4096) {
            length[size_t(next)] = length[size_t(previous)] + 1;
            ++next;
            if (next == (1 << width) && width < 12)
                ++width;
        }
        previous = code;
    }
    return true;
}

} // namespace

bool jpegDecodesWhole(const QByteArray& bytes)
{
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = onJpegError;
    errors.manager.emit_message = onJpegMessage;
    const bool whole = decodeJpeg(info, errors, bytes);
    jpeg_destroy_decompress(&info);
    return whole;
}

bool gifDecodesWhole(const QByteArray& bytes)
{
    GifReader in(bytes);
    const QByteArray signature = bytes.left(6);
    if (signature != "GIF87a" && signature != "GIF89a")
        return false;
    in.skip(6);
    in.word(); // the logical screen's width and height
    in.word();
    const int flags = in.byte();
    in.skip(2); // background colour, aspect ratio
    const bool globalTable = flags & 0x80;
    if (globalTable)
        in.skip(qsizetype(3) << ((flags & 7) + 1));
    int images = 0;
    while (in.ok()) {
        const int block = in.byte();
        if (!in.ok())
            return false;
        if (block == 0x3B)
            return images > 0;
        if (block == 0x21) {
            in.byte(); // the extension's label
            in.subBlocks();
        } else if (block == 0x2C) {
            in.word(); // the image's position
            in.word();
            const int width = in.word();
            const int height = in.word();
            const int imageFlags = in.byte();
            if (imageFlags & 0x80)
                in.skip(qsizetype(3) << ((imageFlags & 7) + 1));
            else if (!globalTable)
                return false; // no colours to show the pixels with
            const int minimumCodeSize = in.byte();
            const QByteArray data = in.subBlocks();
            if (!in.ok() || width == 0 || height == 0 || !lzwYields(data, minimumCodeSize, qint64(width) * height))
                return false;
            ++images;
        } else {
            return false;
        }
    }
    return false;
}

} // namespace imagedecoding
