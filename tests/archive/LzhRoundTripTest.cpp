#include "archive/LzhArchive.h"
#include "support/TempDir.h"
#include "util/SjisText.h"

#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

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
    const QString archive = dir.filePath(QStringLiteral("out.lzh"));
    QString error;
    ASSERT_TRUE(lzh::packFiles(archive, {source}, &error)) << error.toStdString();

    QList<lzh::MemberEntry> members;
    ASSERT_TRUE(lzh::listArchive(archive, members, &error)) << error.toStdString();
    ASSERT_EQ(members.size(), 1);
    EXPECT_EQ(members[0].header.method, c.expectedMethod);
    EXPECT_EQ(members[0].header.originalSize, uint64_t(c.content.size()));
    EXPECT_EQ(members[0].header.level, 2);

    QStringList written;
    ASSERT_TRUE(lzh::extractArchive(archive, dir.filePath(QStringLiteral("x")), {}, &written, &error)) << error.toStdString();
    EXPECT_EQ(written, QStringList{QStringLiteral("member.bin")});
    EXPECT_EQ(dir.read(QStringLiteral("x/member.bin")), c.content);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, LzhRoundTrip,
    ::testing::Values(RoundTripCase{"empty", QByteArray(), "-lh0-"},
                      RoundTripCase{"oneByte", QByteArray("A"), "-lh0-"},
                      RoundTripCase{"repetitive", QByteArray(300000, 'x') + QByteArray("tail"), "-lh5-"},
                      RoundTripCase{"random", randomBytes(100000, 1), "-lh0-"},
                      RoundTripCase{"textOver64KiB", textLike(200000), "-lh5-"},
                      RoundTripCase{"mixedOver64KiB", textLike(70000) + randomBytes(3000, 2) + textLike(90000), "-lh5-"}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
