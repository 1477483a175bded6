#include "entry/Photos.h"

#include "entry/InputCheck.h"
#include "support/PhotoBytes.h"
#include "support/TempDir.h"

#include <QDir>
#include <algorithm>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QString kTooWide = QStringLiteral("画像の幅が大きすぎます。\r\n600ﾋﾟｸｾﾙ以内にしてください。");
const QString kTooLarge = QStringLiteral("写真には185KB以下のファイルを指定してください。");
const QString kNotAPhoto = QStringLiteral("写真にはGIFまたはJPEG形式の画像ファイルを指定してください。");

// A JPEG picture `width` pixels wide, padded behind its end to `size` bytes where it is smaller; a
// width of 0 gives a header that names no width.
QByteArray jpeg(int width, qint64 size)
{
    QByteArray bytes = width > 0 ? testsupport::jpegPhoto(width, 8)
                                 : QByteArray::fromHex("FFD8 FFC0 0011 08 0064 0000 03 011100 021101 031101");
    return bytes + QByteArray(std::max<qint64>(0, size - bytes.size()), '\0');
}

TEST(Photos, StoredNameKeepsTheChosenExtensionAsSpelled)
{
    EXPECT_EQ(photos::storedFileName("XXK-000001", "G", "/home/u/Photo.JPEG"), QStringLiteral("XXK-000001G.JPEG"));
    EXPECT_EQ(photos::storedFileName("XXK-000001", "A", "/home/u/a.b/pic.v2.jpg"), QStringLiteral("XXK-000001A.jpg"));
    EXPECT_EQ(photos::storedFileName("KK-990001 ", "S", "/home/u/noext"), QStringLiteral("KK-990001S"));
    EXPECT_EQ(photos::setAsideName("XXK-000001A.jpg"), QStringLiteral("_XXK-000001A.jpg"));
}

TEST(Photos, SelectionRefusesWidthAboveSixHundredAndSizeFrom185KB)
{
    const struct
    {
        const char* name;
        int width;
        qint64 size;
        QString refusal;
    } cases[] = {{"ok.jpg", 600, 189439, {}},
                 {"wide.jpg", 601, 1000, kTooWide},
                 {"large.jpg", 600, 189440, kTooLarge},
                 {"passesSaveLimitOnlyAtSelection.jpg", 100, 186000, {}},
                 // A ".jpeg" is read like any JPEG.
                 {"ok.jpeg", 600, 1000, {}},
                 {"wide.jpeg", 2000, 1000, kTooWide},
                 // A header that gives no width is no picture.
                 {"noWidth.jpg", 0, 1000, kNotAPhoto}};
    testsupport::TempDir dir;
    for (const auto& c : cases)
        EXPECT_EQ(photos::selectionRefusal(dir.write(QLatin1String(c.name), jpeg(c.width, c.size))), c.refusal) << c.name;
}

TEST(Photos, SelectionRefusesWhatIsNoGifOrJpegWhateverItsName)
{
    const QByteArray gif = testsupport::gifPhoto(100, 100);
    const QByteArray png2000 = QByteArray::fromHex("89504E470D0A1A0A 0000000D 49484452 000007D0 00000064");
    const QByteArray bmp900 = QByteArray("BM") + QByteArray(16, '\0') + QByteArray::fromHex("84030000 64000000");
    const struct
    {
        const char* name;
        QByteArray bytes;
        QString refusal;
    } cases[] = {{"photo.gif", gif, {}},
                 {"text.jpg", "kein Bild, nur Text\n", kNotAPhoto},
                 {"empty.jpg", {}, kNotAPhoto},
                 {"png.jpg", png2000, kNotAPhoto},
                 {"bmp.gif", bmp900, kNotAPhoto},
                 // The content must be what the name says: a JPEG named ".gif" is refused too.
                 {"jpeg.gif", jpeg(100, 1000), kNotAPhoto},
                 {"gif.jpg", gif, kNotAPhoto},
                 {"cutShort.gif", QByteArray("GIF89a") + char(0x64), kNotAPhoto}};
    testsupport::TempDir dir;
    for (const auto& c : cases)
        EXPECT_EQ(photos::selectionRefusal(dir.write(QLatin1String(c.name), c.bytes)), c.refusal) << c.name;
}

// A picture whose header is intact but whose data was cut or damaged is refused as no photo,
// when it is chosen and in the photo checks; a whole one with bytes behind its end passes.
TEST(Photos, OnlyAPictureThatDecodesWholeIsAPhoto)
{
    const QByteArray jpegWhole = testsupport::jpegPhoto(120, 90);
    const QByteArray gifWhole = testsupport::gifPhoto(120, 90);
    QByteArray jpegDamaged = jpegWhole;
    for (qsizetype i = jpegDamaged.size() / 2; i < jpegDamaged.size() / 2 + 40; ++i)
        jpegDamaged[i] = char(0xFF); // markers inside the compressed data
    const struct
    {
        const char* name;
        QByteArray bytes;
        bool photo;
    } cases[] = {{"whole.jpg", jpegWhole, true},
                 {"tagged.jpg", jpegWhole + "behind the end", true},
                 {"cut.jpg", jpegWhole.left(jpegWhole.size() * 4 / 10), false},
                 {"noEnd.jpg", jpegWhole.chopped(2), false}, // the decoder reads to the end marker for its last lines
                 {"damaged.jpg", jpegDamaged, false},
                 {"whole.gif", gifWhole, true},
                 {"cut.gif", gifWhole.left(gifWhole.size() * 4 / 10), false},
                 {"noTrailer.gif", gifWhole.chopped(1), false},
                 {"headerOnly.gif", gifWhole.left(13), false}};
    testsupport::TempDir dir;
    for (const auto& c : cases) {
        const QString path = dir.write(QLatin1String(c.name), c.bytes);
        EXPECT_EQ(photos::decodesWhole(path), c.photo) << c.name;
        EXPECT_EQ(photos::selectionRefusal(path), c.photo ? QString() : kNotAPhoto) << c.name;
        EXPECT_EQ(inputcheck::photoFileProblem(path), c.photo ? QString() : kNotAPhoto) << c.name;
    }
}

TEST(Photos, CopyReplacesTheStoredFileAndMakesItWritable)
{
    testsupport::TempDir dir;
    const QString chosen = dir.write("pick/new.jpg", "new");
    QFile::setPermissions(chosen, QFileDevice::ReadOwner);
    const QString old = dir.write("Images/XXK-000001A.jpg", "old");
    QFile::setPermissions(old, QFileDevice::ReadOwner);
    QString error;
    ASSERT_TRUE(photos::copyIntoFolder(chosen, dir.filePath("Images"), "XXK-000001A.jpg", &error));
    EXPECT_EQ(dir.read("Images/XXK-000001A.jpg"), QByteArray("new"));
    EXPECT_TRUE(QFileInfo(old).isWritable());
    // Choosing the stored file itself keeps it.
    ASSERT_TRUE(photos::copyIntoFolder(old, dir.filePath("Images"), "XXK-000001A.jpg", &error));
    EXPECT_EQ(dir.read("Images/XXK-000001A.jpg"), QByteArray("new"));

    EXPECT_FALSE(photos::copyIntoFolder(dir.filePath("pick/missing.jpg"), dir.filePath("Images"), "XXK-000001B.jpg", &error));
    EXPECT_EQ(error, QStringLiteral("画像ファイルの取得に失敗しました。"));
}

TEST(Photos, SetAsideKeepsTheFirstCopyOfAnEditing)
{
    testsupport::TempDir dir;
    const QString images = dir.filePath("Images");
    // A set-aside file left from before this editing gives way to the photo cleared now.
    dir.write("Images/_XXK-000001A.jpg", "stale");
    dir.write("Images/XXK-000001A.jpg", "first");
    QString error;
    ASSERT_TRUE(photos::setAside(images, "XXK-000001A.jpg", false, &error));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("Images/XXK-000001A.jpg")));
    EXPECT_EQ(dir.read("Images/_XXK-000001A.jpg"), QByteArray("first"));

    dir.write("Images/XXK-000001A.jpg", "second");
    ASSERT_TRUE(photos::setAside(images, "XXK-000001A.jpg", true, &error));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("Images/XXK-000001A.jpg")));
    EXPECT_EQ(dir.read("Images/_XXK-000001A.jpg"), QByteArray("first"));

    // A photo that is no longer there leaves nothing to set aside; the slot can still be cleared.
    EXPECT_TRUE(photos::setAside(images, "XXK-000001B.jpg", false, &error));
}

TEST(Photos, UnnamedFilesOfTheRegistrationAreRemoved)
{
    testsupport::TempDir dir;
    const QString images = dir.filePath("Images");
    for (const char* name : {"XXK-000001A.jpg", "XXK-000001A.gif", "XXK-000001S.jpg", "XXK-000001T.jpg", "_XXK-000001B.jpg", "XXK-000001",
                             "XXK-000001A.x.jpg", "XXK-0000012A.jpg", "XXK-000002A.jpg", "notes.txt"})
        dir.write("Images/" + QString::fromLatin1(name), "x");
    // A row may name its file in other letter case.
    EXPECT_TRUE(photos::removeUnnamedFiles(images, "XXK-000001 ", {"XXK-000001A.gif", "XXK-000001T.JPG"}).isEmpty());
    QStringList left = QDir(images).entryList(QDir::Files);
    QStringList kept = {"XXK-000001",       "XXK-000001A.gif", "XXK-000001T.jpg",  "XXK-000001A.x.jpg",
                        "XXK-0000012A.jpg", "XXK-000002A.jpg", "_XXK-000001B.jpg", "notes.txt"};
    left.sort();
    kept.sort();
    EXPECT_EQ(left, kept);
}

TEST(Photos, DialogStartsInTheLastFolderWhileItExists)
{
    testsupport::TempDir dir;
    QDir(dir.path()).mkpath("last");
    EXPECT_EQ(photos::dialogFolder(dir.filePath("last"), "/desk"), dir.filePath("last"));
    EXPECT_EQ(photos::dialogFolder(dir.filePath("gone"), "/desk"), QStringLiteral("/desk"));
    EXPECT_EQ(photos::dialogFolder({}, "/desk"), QStringLiteral("/desk"));
}

} // namespace
