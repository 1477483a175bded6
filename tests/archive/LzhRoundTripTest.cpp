#include "archive/LzhArchive.h"
#include "archive/LzhDecoder.h"
#include "archive/LzhEncoder.h"
#include "archive/LzhHeader.h"
#include "LzhFixtures.h"
#include "support/TempDir.h"
#include "util/SjisText.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

namespace {

using testsupport::TempDir;

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

// Text-like data with repeats at every distance the window allows.
QByteArray textLike(qsizetype size)
{
    const QList<QByteArray> words = {"registration ", "technology ", "port ", "harbour ", "works ",
                                     "\xe6\x96\xb0\xe6\x8a\x80\xe8\xa1\x93 ", "cost ", "12345 ", "\r\n"};
    QRandomGenerator generator(7);
    QByteArray text;
    while (text.size() < size)
        text += words[generator.bounded(int(words.size()))];
    text.truncate(size);
    return text;
}

struct RoundTripCase
{
    const char* label;
    QByteArray content;
    QByteArray expectedMethod;
};

class LzhRoundTrip : public ::testing::TestWithParam<RoundTripCase>
{
};

TEST_P(LzhRoundTrip, PacksAndExtractsIdenticalContent)
{
    const RoundTripCase& c = GetParam();
    TempDir dir;
    const QString source = dir.write(QStringLiteral("in/member.bin"), c.content);
    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(981169506); // 2001-02-03
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::Append));
        ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    const QString archive = dir.filePath(QStringLiteral("out.lzh"));
    QString error;
    ASSERT_TRUE(lzh::packFiles(archive, {source}, &error)) << error.toStdString();

    QList<lzh::MemberEntry> members;
    ASSERT_TRUE(lzh::listArchive(archive, members, &error)) << error.toStdString();
    ASSERT_EQ(members.size(), 1);
    EXPECT_EQ(members[0].header.method, c.expectedMethod.toStdString());
    EXPECT_EQ(members[0].header.originalSize, uint64_t(c.content.size()));
    EXPECT_EQ(members[0].header.level, 2);

    QStringList written;
    ASSERT_TRUE(lzh::extractArchive(archive, dir.filePath(QStringLiteral("x")), {}, &written, &error)) << error.toStdString();
    EXPECT_EQ(written, QStringList{QStringLiteral("member.bin")});
    EXPECT_EQ(dir.read(QStringLiteral("x/member.bin")), c.content);
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("x/member.bin"))).lastModified(), stamp) << "the stored time, not the extraction's";
}

INSTANTIATE_TEST_SUITE_P(
    Contents, LzhRoundTrip,
    ::testing::Values(RoundTripCase{"empty", QByteArray(), "-lh0-"},
                      RoundTripCase{"oneByte", QByteArray("A"), "-lh0-"},
                      RoundTripCase{"repetitive", QByteArray(300000, 'x') + QByteArray("tail"), "-lh5-"},
                      RoundTripCase{"longRunOnly", QByteArray(98304, 'A'), "-lh5-"},
                      RoundTripCase{"random", randomBytes(100000, 1), "-lh0-"},
                      RoundTripCase{"textOver64KiB", textLike(200000), "-lh5-"},
                      RoundTripCase{"mixedOver64KiB", textLike(70000) + randomBytes(3000, 2) + textLike(90000), "-lh5-"},
                      // Large enough to be parsed in parts on two threads, the parts unequally hard.
                      RoundTripCase{"mixedOver3MiB", textLike(1600000) + randomBytes(600000, 3) + textLike(1100000), "-lh5-"},
                      // Stored as it is once the packed form is seen to grow too large, parts still being parsed.
                      RoundTripCase{"incompressibleOver1MiB", randomBytes(1500000, 4), "-lh0-"}),
    [](const auto& info) { return std::string(info.param.label); });

// Names whose Shift_JIS form has 0x5C ("\\") as a second byte must stay one file name.
TEST(LzhNames, ShiftJisNamesSurviveWritingAndReading)
{
    TempDir dir;
    const QStringList names = {QStringLiteral("表.txt"), QStringLiteral("ソフト能力.Cds"), QStringLiteral("XXK-000001A.jpg")};
    QStringList sources;
    for (const QString& name : names)
        sources.append(dir.write(QStringLiteral("in/") + name, name.toUtf8()));
    const QString archive = dir.filePath(QStringLiteral("names.lzh"));
    QString error;
    ASSERT_TRUE(lzh::packFiles(archive, sources, &error)) << error.toStdString();

    QList<lzh::MemberEntry> members;
    ASSERT_TRUE(lzh::listArchive(archive, members, &error));
    ASSERT_EQ(members.size(), 3);
    EXPECT_EQ(members[0].header.name, sjis::encode(names[0]).toStdString());
    EXPECT_EQ(members[0].header.codePage, 932u);

    ASSERT_TRUE(lzh::extractArchive(archive, dir.filePath(QStringLiteral("x")), {}, nullptr, &error)) << error.toStdString();
    EXPECT_EQ(lzhtest::filesBelow(dir.filePath(QStringLiteral("x"))), QStringList({names[2], names[1], names[0]}));
    for (const QString& name : names)
        EXPECT_EQ(dir.read(QStringLiteral("x/") + name), name.toUtf8());
}

TEST(LzhNames, NameThatShiftJisCannotHoldIsRefused)
{
    TempDir dir;
    const QString source = dir.write(QStringLiteral("in/photo\U0001F600.jpg"), "x");
    QString error;
    EXPECT_FALSE(lzh::packFiles(dir.filePath(QStringLiteral("a.lzh")), {source}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a.lzh"))));
}

// The bytes the other readers rely on: the attribute byte 0x20 at 19, level 2, the OS id, the code
// page, and never a header size whose low byte is 0 (read as the end of the archive).
TEST(LzhHeader, WriterLaysOutTheBytesReadersExpect)
{
    for (const qsizetype nameLength : {5, 210}) {
        lzh::MemberHeader header;
        header.method = "-lh5-";
        header.name = std::string(size_t(nameLength - 4), 'a') + ".txt";
        header.modified = 1750000000;
        const QByteArray bytes = QByteArray::fromStdString(lzh::writeLevel2Header(header));
        const int size = uint8_t(bytes[0]) | uint8_t(bytes[1]) << 8;
        EXPECT_EQ(size, bytes.size());
        EXPECT_NE(size & 0xFF, 0) << nameLength;
        EXPECT_EQ(uint8_t(bytes[19]), 0x20);
        EXPECT_EQ(bytes[20], 2);
        EXPECT_EQ(bytes[23], 'M');
        EXPECT_TRUE(bytes.contains(QByteArray("\x07\x00\x46\xa4\x03\x00\x00", 7))) << "code page 932";
        const bool stamped = bytes.contains(QByteArray("\x07\x00\x54\x80\xe1\x4e\x68", 7));
        EXPECT_EQ(stamped, nameLength == 210) << "the time extension pads the size only when it is needed";
    }
}

TEST(LzhUpdate, PackingReplacesMembersOfTheSameNameInPlace)
{
    TempDir dir;
    const QString archive = dir.filePath(QStringLiteral("u.lzh"));
    QString error;
    ASSERT_TRUE(lzh::packFiles(archive, {dir.write(QStringLiteral("a/NT_TBL_MAIN.Cds"), "old main"),
                                         dir.write(QStringLiteral("a/keep.txt"), "kept")},
                               &error));
    // The same name in another case and from another folder replaces the member where it stood.
    ASSERT_TRUE(lzh::packFiles(archive, {dir.write(QStringLiteral("b/NT_TBL_MAIN.cds"), "new main"),
                                         dir.write(QStringLiteral("b/added.txt"), "added")},
                               &error))
        << error.toStdString();

    QList<lzh::MemberEntry> members;
    ASSERT_TRUE(lzh::listArchive(archive, members, &error));
    QStringList names;
    for (const auto& member : members)
        names.append(member.name);
    EXPECT_EQ(names, QStringList({"NT_TBL_MAIN.cds", "keep.txt", "added.txt"}));
    ASSERT_TRUE(lzh::extractArchive(archive, dir.filePath(QStringLiteral("x")), {}, nullptr, &error));
    EXPECT_EQ(dir.read(QStringLiteral("x/NT_TBL_MAIN.cds")), QByteArray("new main"));
    EXPECT_EQ(dir.read(QStringLiteral("x/keep.txt")), QByteArray("kept"));
}

TEST(LzhUpdate, DeletingMembersKeepsTheOthers)
{
    TempDir dir;
    const QString archive = dir.filePath(QStringLiteral("d.lzh"));
    QString error;
    ASSERT_TRUE(lzh::packFiles(archive, {dir.write(QStringLiteral("a/one.Cds"), "1"), dir.write(QStringLiteral("a/two.jpg"), "2"),
                                         dir.write(QStringLiteral("a/three.Cds"), "3")},
                               &error));
    int removed = 0;
    ASSERT_TRUE(lzh::deleteMembers(archive, {QStringLiteral("*.cds")}, &removed, &error)) << error.toStdString();
    EXPECT_EQ(removed, 2);
    QList<lzh::MemberEntry> members;
    ASSERT_TRUE(lzh::listArchive(archive, members, &error));
    ASSERT_EQ(members.size(), 1);
    EXPECT_EQ(members[0].name, QStringLiteral("two.jpg"));
}

// The encoder reads nothing past its input: data whose last bytes repeat at a recent distance is
// placed right before a page that cannot be read.
TEST(LzhEncoder, ReadsNothingPastTheEndOfItsInput)
{
    const std::string data("\x01\0\0\0\0\0\0\0\0\0\0<\x20thh\x01\0\0\0\0\0<\x20thh\x01\0\0\0\0\0\0\0\0\0\0<\x20thh", 43);
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    void* pages = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(pages, MAP_FAILED);
    auto* end = static_cast<uint8_t*>(pages) + page;
    ASSERT_EQ(mprotect(end, page, PROT_NONE), 0);
    std::memcpy(end - data.size(), data.data(), data.size());

    const auto encoded = lzh::encodeLh5(end - data.size(), data.size());
    ASSERT_TRUE(encoded.has_value());
    std::string decoded;
    ASSERT_TRUE(lzh::decodeStream(*encoded, data.size(), lzh::kLh5, [&](const uint8_t* bytes, size_t size) {
        decoded.append(reinterpret_cast<const char*>(bytes), size);
        return true;
    }, nullptr));
    EXPECT_EQ(decoded, data);
    munmap(pages, 2 * page);
}

} // namespace
