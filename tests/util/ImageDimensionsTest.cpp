#include "util/ImageDimensions.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using imagesize::ImageHeight;
using imagesize::ImageWidth;

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// A JPEG frame header segment: marker, length 17, precision 8, height, width, one component.
QByteArray frame(const char* marker, const char* heightWidth)
{
    return hex(marker) + hex("0011 08") + hex(heightWidth) + hex("03 011100 021101 031101");
}

const QByteArray kStart = hex("FFD8");
const QByteArray kApp0 = hex("FFE0 0010 4A46494600 0101 0000 0100 0100 0000");
const QByteArray kExif = hex("FFE1 000C 457869660000 49492A00");
const QByteArray kHeight480Width640 = frame("FFC0", "01E0 0280");

struct ImageCase
{
    const char* name;
    QString fileName;
    QByteArray bytes;
    int width;
    int height;
};

class ImageDimensionsTest : public ::testing::TestWithParam<ImageCase>
{
};

TEST_P(ImageDimensionsTest, ReadsTheSizeFromTheHeader)
{
    const ImageCase& c = GetParam();
    testsupport::TempDir dir;
    const QString path = dir.write(c.fileName, c.bytes);
    EXPECT_EQ(ImageWidth(path), c.width);
    EXPECT_EQ(ImageHeight(path), c.height);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImageDimensionsTest,
    ::testing::Values(
        ImageCase{"gif", "a.gif", QByteArray("GIF89a") + hex("5802 9001 F70000"), 600, 400},
        ImageCase{"gifUpperCaseExtension", "a.GIF", QByteArray("GIF87a") + hex("0100 0200"), 1, 2},
        ImageCase{"gifWithoutSignature", "a.gif", QByteArray("GIX89a") + hex("5802 9001"), 0, 0},
        ImageCase{"textNamedGif", "notes.gif", QByteArray("ein Text, kein Bild\n"), 0, 0},
        ImageCase{"baselineJpeg", "a.jpg", kStart + kApp0 + kHeight480Width640 + hex("FFD9"), 640, 480},
        ImageCase{"progressiveJpeg", "a.jpg", kStart + kApp0 + frame("FFC2", "01E0 0280"), 640, 480},
        ImageCase{"exifBeforeFrame", "a.JPG", kStart + kExif + kApp0 + frame("FFC1", "0258 0320"), 800, 600},
        // SOF5 … SOF7 are skipped like any segment; the baseline frame after them counts.
        ImageCase{"differentialFrameSkipped", "a.jpg", kStart + frame("FFC5", "0001 0001") + kHeight480Width640, 640, 480},
        ImageCase{"fillBytesBeforeStart", "a.jpg", hex("00 FF FF FF D8") + kHeight480Width640, 640, 480},
        ImageCase{"jpegExtensionNotRead", "a.jpeg", kStart + kHeight480Width640, 0, 0},
        ImageCase{"otherExtension", "a.png", kStart + kHeight480Width640, 0, 0},
        ImageCase{"noStartMarker", "a.jpg", kApp0 + kHeight480Width640, 0, 0},
        ImageCase{"twoFFBetweenSegments", "a.jpg", kStart + hex("FFFF") + kHeight480Width640, 0, 0},
        ImageCase{"markerNotASegment", "a.jpg", kStart + hex("FF10 0004 0000") + kHeight480Width640, 0, 0},
        // A length below 2 would step backwards; the reading ends instead of looping.
        ImageCase{"segmentLengthBelowTwo", "a.jpg", kStart + hex("FFE0 0000") + kHeight480Width640, 0, 0},
        ImageCase{"truncatedInSegment", "a.jpg", kStart + kApp0.left(10), 0, 0},
        ImageCase{"truncatedAfterHeight", "a.jpg", kStart + kHeight480Width640.left(7), 0, 480},
        ImageCase{"truncatedGif", "a.gif", QByteArray("GIF89a") + hex("58"), 0, 0}),
    [](const ::testing::TestParamInfo<ImageCase>& info) { return std::string(info.param.name); });

TEST(ImageDimensions, MissingFileGivesZero)
{
    EXPECT_EQ(ImageWidth(QStringLiteral("/nonexistent/photo.jpg")), 0);
    EXPECT_EQ(ImageHeight(QStringLiteral("/nonexistent/photo.gif")), 0);
}

} // namespace
