#include "util/ImageDimensions.h"

#include <QFile>
#include <QFileInfo>

namespace imagesize {

namespace {

// Reads bytes one at a time; after the first failed read (end of file included) every read fails.
class ByteReader
{
public:
    explicit ByteReader(const QString& fileName) : m_file(fileName) { m_ok = m_file.open(QIODevice::ReadOnly); }

    bool ok() const { return m_ok; }
    bool readByte(quint8* byte)
    {
        char c = 0;
        m_ok = m_ok && m_file.getChar(&c);
        *byte = quint8(c);
        return m_ok;
    }
    bool readBigEndian(quint16* word)
    {
        quint8 high = 0, low = 0;
        if (!readByte(&high) || !readByte(&low))
            return false;
        *word = quint16(high * 256 + low);
        return true;
    }
    bool readLittleEndian(quint16* word)
    {
        quint8 low = 0, high = 0;
        if (!readByte(&low) || !readByte(&high))
            return false;
        *word = quint16(low + high * 256);
        return true;
    }
    bool seek(qint64 position)
    {
        m_ok = m_ok && position >= 0 && position <= m_file.size() && m_file.seek(position);
        return m_ok;
    }
    bool skip(qint64 count) { return seek(m_file.pos() + count); }

private:
    QFile m_file;
    bool m_ok = false;
};

bool isFrameMarker(quint8 marker)
{
    return (marker >= 0xC0 && marker <= 0xC3) || (marker >= 0xC9 && marker <= 0xCB) || (marker >= 0xCD && marker <= 0xCF);
}

// Reads until a 0xFF, any further 0xFF bytes, and then 0xD8.
bool findStartOfImage(ByteReader& in)
{
    quint8 byte = 0;
    while (in.readByte(&byte)) {
        if (byte != 0xFF)
            continue;
        while (in.readByte(&byte) && byte == 0xFF) {
        }
        if (in.ok() && byte == 0xD8)
            return true;
    }
    return false;
}

Size sizeOf(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("gif"))
        return GifSize(fileName);
    if (suffix == QLatin1String("jpg"))
        return JpegSize(fileName);
    return {};
}

} // namespace

PhotoHeader ReadPhotoHeader(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray start = file.read(6);
    file.close();
    PhotoHeader header;
    if (start == "GIF87a" || start == "GIF89a") {
        header.format = PhotoFormat::Gif;
        header.size = GifSize(fileName);
    } else if (start.startsWith("\xFF\xD8")) {
        header.format = PhotoFormat::Jpeg;
        header.size = JpegSize(fileName);
    }
    return header;
}

quint16 ImageWidth(const QString& fileName)
{
    return sizeOf(fileName).width;
}

quint16 ImageHeight(const QString& fileName)
{
    return sizeOf(fileName).height;
}

Size GifSize(const QString& fileName)
{
    Size size;
    ByteReader in(fileName);
    quint8 byte = 0;
    for (const char expected : {'G', 'I', 'F'}) {
        if (!in.readByte(&byte) || byte != quint8(expected))
            return size;
    }
    if (in.seek(6) && in.readLittleEndian(&size.width))
        in.readLittleEndian(&size.height);
    return size;
}

Size JpegSize(const QString& fileName)
{
    Size size;
    ByteReader in(fileName);
    if (!findStartOfImage(in))
        return size;
    quint8 byte = 0;
    while (in.readByte(&byte)) {
        if (byte != 0xFF)
            continue;
        quint8 marker = 0;
        if (!in.readByte(&marker))
            break;
        if (marker == 0xD8)
            continue;
        if (marker != 0x01 && marker < 0xC0)
            break; // 0x00, 0x02 … 0xBF: not a segment
        if (marker == 0xFF)
            break; // two 0xFF bytes in a row between segments
        quint16 length = 0;
        if (!in.readBigEndian(&length))
            break;
        if (isFrameMarker(marker)) {
            if (in.skip(1) && in.readBigEndian(&size.height))
                in.readBigEndian(&size.width);
            break;
        }
        // A length below 2 would step back into the segment and read it for ever.
        if (length < 2 || !in.skip(qint64(length) - 2))
            break;
    }
    return size;
}

} // namespace imagesize
