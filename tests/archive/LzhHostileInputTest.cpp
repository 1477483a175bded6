#include "LzhFixtures.h"

#include "archive/LzhArchive.h"
#include "archive/LzhBitWriter.h"
#include "archive/LzhDecoder.h"
#include "archive/LzhHeader.h"
#include "support/TempDir.h"

#include <QDir>
#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

using testsupport::TempDir;

class LzhHostileInput : public ::testing::Test
{
protected:
    // Extracts the archive bytes into "out" below a fresh folder; returns the error, empty on success.
    QString extract(const QByteArray& archiveBytes)
    {
        const QString archive = m_dir.write(QStringLiteral("in.lzh"), archiveBytes);
        QString error;
        lzh::extractArchive(archive, m_dir.filePath(QStringLiteral("work/out")), {}, nullptr, &error);
        return error;
    }
    QStringList written() const { return lzhtest::filesBelow(m_dir.filePath(QStringLiteral("work"))); }

    TempDir m_dir;
};

struct TraversalCase
{
    QByteArray storedName;
    const char* label;
};

class LzhTraversal : public LzhHostileInput, public ::testing::WithParamInterface<std::tuple<int, TraversalCase>>
{
};

// Whatever folder parts a name carries, the member lands in the target folder under its last part.
TEST_P(LzhTraversal, MemberIsWrittenByBareNameInsideTheFolder)
{
    const auto& [level, c] = GetParam();
    const QString error = extract(lzhtest::archiveOf({lzhtest::storedMember(level, c.storedName, "payload")}));
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(written(), QStringList{QStringLiteral("out/evil.txt")});
}

INSTANTIATE_TEST_SUITE_P(
    EveryHeaderLevel, LzhTraversal,
    ::testing::Combine(::testing::Values(0, 1, 2),
                       ::testing::Values(TraversalCase{"../evil.txt", "parent"}, TraversalCase{"..\\..\\evil.txt", "dosParent"},
                                         TraversalCase{"/tmp/evil.txt", "absolute"}, TraversalCase{"\\evil.txt", "dosAbsolute"},
                                         TraversalCase{"C:evil.txt", "driveRelative"}, TraversalCase{"C:\\evil.txt", "drive"},
                                         TraversalCase{"sub\xff..\xff" "evil.txt", "extensionSeparators"},
                                         TraversalCase{"sub\x81/evil.txt", "leadByteBeforeSlash"},
                                         TraversalCase{"sub\x81\xff" "evil.txt", "leadByteBeforeExtensionSeparator"})),
    [](const auto& info) { return "level" + std::to_string(std::get<0>(info.param)) + "_" + std::get<1>(info.param).label; });

TEST_F(LzhHostileInput, NameWithoutAFilePartIsRefusedAndOthersStillExtracted)
{
    const QString error = extract(lzhtest::archiveOf(
        {lzhtest::storedMember(0, "..", "x"), lzhtest::storedMember(1, "sub/..", "y"), lzhtest::storedMember(2, "ok.txt", "z")}));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(written(), QStringList{QStringLiteral("out/ok.txt")});
}

TEST_F(LzhHostileInput, ControlCharactersInNamesNeverReachTheDiskOrTheListing)
{
    const QByteArray archive = lzhtest::archiveOf({lzhtest::storedMember(2, "a\x01\x1b[2Jb\x7f.txt", "x")});
    QList<lzh::MemberEntry> members;
    QString error;
    ASSERT_TRUE(lzh::listArchive(m_dir.write(QStringLiteral("list.lzh"), archive), members, &error)) << error.toStdString();
    ASSERT_EQ(members.size(), 1);
    EXPECT_EQ(members[0].name, QStringLiteral("a__[2Jb_.txt"));
    EXPECT_TRUE(extract(archive).isEmpty());
    EXPECT_EQ(written(), QStringList{QStringLiteral("out/a__[2Jb_.txt")});
}

TEST_F(LzhHostileInput, MembersOfTheSameFileNameAreReportedNotOverwritten)
{
    const QString error = extract(lzhtest::archiveOf({lzhtest::storedMember(2, "one/same.txt", "first"),
                                                      lzhtest::storedMember(2, "two/same.txt", "second"),
                                                      lzhtest::storedMember(2, "other.txt", "third")}));
    EXPECT_TRUE(error.contains(QStringLiteral("two/same.txt"))) << error.toStdString();
    EXPECT_EQ(written(), (QStringList{QStringLiteral("out/other.txt"), QStringLiteral("out/same.txt")}));
    EXPECT_EQ(m_dir.read(QStringLiteral("work/out/same.txt")), QByteArray("first"));
}

TEST_F(LzhHostileInput, HugeDeclaredSizeIsRefusedWithoutWritingOrWaiting)
{
    TempDir source;
    const QString archive = source.filePath(QStringLiteral("a.lzh"));
    QString packError;
    ASSERT_TRUE(lzh::packFiles(archive, {source.write(QStringLiteral("t.txt"), QByteArray(5000, 'a'))}, &packError));
    QByteArray bytes = source.read(QStringLiteral("a.lzh"));
    // Claim 4 GiB - 1 from a few bytes of -lh5- data (the header CRC is recomputed below).
    lzh::MemberHeader header;
    size_t dataOffset = 0;
    std::string headerError;
    ASSERT_EQ(lzh::readMemberHeader({reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())}, dataOffset,
                                    header, &headerError),
              lzh::HeaderStatus::Member);
    const QByteArray data = bytes.mid(qsizetype(dataOffset), qsizetype(header.compressedSize));
    header.originalSize = 0xFFFFFFFFu;
    QElapsedTimer timer;
    timer.start();
    const QString error = extract(lzhtest::archiveOf({QByteArray::fromStdString(lzh::writeLevel2Header(header)) + data}));
    // Past the extraction's bound, it is refused before the data is looked at.
    EXPECT_TRUE(error.contains(QStringLiteral("unpacks to 4294967295 bytes, more than the limit"))) << error.toStdString();
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_TRUE(written().isEmpty());
}

TEST_F(LzhHostileInput, TruncatedArchiveIsReportedAndLeavesNoPartialMember)
{
    TempDir source;
    QByteArray content;
    for (int i = 0; i < 4000; ++i)
        content += QByteArray::number(i * 7919) + ' ';
    ASSERT_TRUE(lzh::packFiles(source.filePath(QStringLiteral("a.lzh")), {source.write(QStringLiteral("t.txt"), content)}, nullptr));
    const QByteArray whole = source.read(QStringLiteral("a.lzh"));
    for (const qsizetype cut : {qsizetype(10), qsizetype(40), whole.size() / 2, whole.size() - 3}) {
        SCOPED_TRACE(cut);
        const QString error = extract(whole.left(cut));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(written().isEmpty()) << written().join(',').toStdString();
    }
}

TEST_F(LzhHostileInput, WrongDataCrcIsReportedForStoredAndCompressedMembers)
{
    TempDir source;
    const QByteArray text = QByteArray("harbour works ").repeated(2000);
    ASSERT_TRUE(lzh::packFiles(source.filePath(QStringLiteral("a.lzh")), {source.write(QStringLiteral("c.txt"), text)}, nullptr));
    QByteArray compressed = source.read(QStringLiteral("a.lzh"));
    compressed[compressed.size() - 10] = char(compressed[compressed.size() - 10] ^ 0x01); // inside the data

    QByteArray stored = lzhtest::storedMember(0, "s.txt", "stored data");
    stored[stored.size() - 3] = 'X';

    for (const QByteArray& bytes : {compressed, lzhtest::archiveOf({stored})}) {
        const QString error = extract(bytes);
        EXPECT_TRUE(error.contains(QStringLiteral("CRC")) || error.contains(QStringLiteral("corrupt"))) << error.toStdString();
        EXPECT_TRUE(written().isEmpty()) << written().join(',').toStdString();
    }
}

TEST_F(LzhHostileInput, DamagedMemberDoesNotStopTheOthers)
{
    QByteArray damaged = lzhtest::storedMember(2, "bad.txt", "bad data");
    damaged[damaged.size() - 1] = '!';
    const QString error = extract(lzhtest::archiveOf({damaged, lzhtest::storedMember(2, "good.txt", "good")}));
    EXPECT_TRUE(error.contains(QStringLiteral("bad.txt")));
    EXPECT_EQ(written(), QStringList{QStringLiteral("out/good.txt")});
}

TEST_F(LzhHostileInput, WrongHeaderCrcOrChecksumIsReported)
{
    for (int level : {0, 1, 2}) {
        SCOPED_TRACE(level);
        QByteArray member = lzhtest::storedMember(level, "name.txt", "content");
        const qsizetype nameAt = member.indexOf("name.txt");
        member[nameAt] = 'N'; // the header no longer matches its checksum or CRC
        const QString error = extract(lzhtest::archiveOf({member}));
        EXPECT_TRUE(error.contains(level == 2 ? QStringLiteral("CRC") : QStringLiteral("checksum"))) << error.toStdString();
        EXPECT_TRUE(written().isEmpty());
    }
}

TEST_F(LzhHostileInput, NotAnArchiveIsReported)
{
    EXPECT_TRUE(extract("This is a text file, not an archive.\n").contains(QStringLiteral("not an LZH archive")));
}

// A zero-run code may claim up to 531 lengths of the 510-entry table; the run is cut at the table's
// end and the stream then fails as corrupt instead of writing past the table.
TEST(LzhDecoder, ZeroRunPastTheTableEndIsBounded)
{
    lzh::BitWriter bits;
    bits.put(1, 16);            // one token in the block
    bits.put(4, 5);             // length-code table: 4 entries ...
    bits.put(0, 3);
    bits.put(0, 3);
    bits.put(1, 3);             // ... code 2 (long zero run) and code 3 (length 1) one bit each
    bits.put(0, 2);
    bits.put(1, 3);
    bits.put(510, 9);           // literal table of 510 entries, then one run of 20 + 511 zeros
    bits.put(0, 1);
    bits.put(511, 9);
    bits.put(0, 4);             // position table: one symbol
    bits.put(0, 4);
    const std::vector<uint8_t> stream = bits.finish();
    std::string error;
    EXPECT_FALSE(lzh::decodeStream(stream, 10, lzh::kLh5, [](const uint8_t*, size_t) { return true; }, &error));
    EXPECT_FALSE(error.empty());
}

} // namespace
