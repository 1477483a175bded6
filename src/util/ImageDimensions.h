#pragma once

#include <QString>

// The pixel size of a GIF or JPEG photo, read from the file's header without decoding the image.
// The photo checks refuse photos that are too wide; the preview scales photos by their size.
namespace imagesize {

struct Size
{
    quint16 width = 0;
    quint16 height = 0;
};

// The size of a ".gif" or ".jpg" file (extension compared in lower case); any other extension —
// ".jpeg" included — gives 0 without opening the file.
quint16 ImageWidth(const QString& fileName);
quint16 ImageHeight(const QString& fileName);

// A photo's format and size judged by its content, whatever its name: a file that starts with a GIF
// signature is read as GIF, one that starts with a JPEG start marker as JPEG; any other file has no
// format. A file whose header is cut short or names no size reads as 0 wide or high.
enum class PhotoFormat { None, Gif, Jpeg };
struct PhotoHeader
{
    PhotoFormat format = PhotoFormat::None;
    Size size;
};
PhotoHeader ReadPhotoHeader(const QString& fileName);

// The logical screen size of a GIF header; (0, 0) when the file does not start with "GIF".
Size GifSize(const QString& fileName);
// The size of a JPEG's first frame header (SOF0 … SOF3, SOF9 … SOF11, SOF13 … SOF15); (0, 0)
// when there is no start marker or the markers are not well formed. A file that ends early
// leaves what was read so far.
Size JpegSize(const QString& fileName);

} // namespace imagesize
