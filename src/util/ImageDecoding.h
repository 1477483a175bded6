#pragma once

#include <QByteArray>

// Whether a GIF or JPEG picture decodes whole: every pixel of it can be produced from the bytes.
// A header alone proves nothing: a file cut short keeps its header and loses its picture.
namespace imagedecoding {

// A JPEG decodes whole when libjpeg reads every scan line without an error and without reaching the
// end of the data early (a warning libjpeg would answer with grey lines).
bool jpegDecodesWhole(const QByteArray& bytes);

// A GIF decodes whole when every image it holds has its colour table and LZW data for all of its
// pixels, and the blocks end with the trailer.
bool gifDecodesWhole(const QByteArray& bytes);

} // namespace imagedecoding
