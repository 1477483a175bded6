#include "support/CliRunner.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using testsupport::CliResult;
using testsupport::runCli;

TEST(TextCommands, NormalizeWritesTheNormalisedText)
{
    const CliResult result = runCli({QStringLiteral("normalize")}, u"ｶﾞｯｺｳ ＡＢＣ１２３\n"_s.toUtf8());
    EXPECT_EQ(result.exitCode, 0) << qPrintable(result.err);
    EXPECT_EQ(result.out, u"ガッコウ ABC123\n"_s);
}

TEST(TextCommands, NormalizeRefusesInvalidUtf8)
{
    const CliResult result = runCli({QStringLiteral("normalize")}, QByteArray("ab\xff", 3));
    EXPECT_NE(result.exitCode, 0);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(result.err.contains(QStringLiteral("UTF-8"))) << qPrintable(result.err);
}

TEST(TextCommands, SjisLengthCountsBytesIncludingTheNewline)
{
    const CliResult result = runCli({QStringLiteral("sjis-length")}, u"あa①〜\n"_s.toUtf8());
    EXPECT_EQ(result.exitCode, 0) << qPrintable(result.err);
    EXPECT_EQ(result.out, QStringLiteral("8\n"));
}

TEST(TextCommands, SjisLengthRefusesAnUnencodableCharacter)
{
    const CliResult result = runCli({QStringLiteral("sjis-length")}, u"a😀\n"_s.toUtf8());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_EQ(result.err, u"「😀」(U+1F600) はシフトJISで表せない文字のため使用できません。\n"_s);
}
