#pragma once

#include <QByteArray>

// Real pictures for the tests of the photo rules: a JPEG or GIF of the given size that decodes
// whole, followed by `tag` (bytes behind the end of the picture, which no decoder reads), so that a
// test can tell copies of different pictures apart.
namespace testsupport {

QByteArray jpegPhoto(int width, int height, const QByteArray& tag = {});
QByteArray gifPhoto(int width, int height, const QByteArray& tag = {});

} // namespace testsupport
