#include "LzhFixtures.h"

#include "support/TempDir.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

using testsupport::TempDir;

struct CliRun
{
    int exitCode;
    QByteArray out;
    QByteArray err;
};

CliRun runCli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(VORDELL_CLI), QStringList{QStringLiteral("lzh")} + arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

TEST(LzhCommands, PackListTestExtract)
{
    TempDir dir;
    const QString a = dir.write(QStringLiteral("src/NT_TBL_MAIN.Cds"), QByteArray("row ").repeated(500));
    const QString b = dir.write(QStringLiteral("src/表.txt"), "x");
    const QString archive = dir.filePath(QStringLiteral("a.lzh"));

    CliRun run = runCli({QStringLiteral("pack"), archive, a, b});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    run = runCli({QStringLiteral("list"), archive});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QByteArray("-lh5-\t2000\t") + QByteArray::number(run.out.split('\t')[2].toInt()) + "\tNT_TBL_MAIN.Cds\n"
                           + QStringLiteral("-lh0-\t1\t1\t表.txt\n").toUtf8());

    EXPECT_EQ(runCli({QStringLiteral("test"), archive}).exitCode, 0);

    run = runCli({QStringLiteral("extract"), archive, dir.filePath(QStringLiteral("out"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("out/NT_TBL_MAIN.Cds")), QByteArray("row ").repeated(500));
    EXPECT_EQ(dir.read(QStringLiteral("out/表.txt")), QByteArray("x"));
}

TEST(LzhCommands, FailuresExitNonZeroWithAMessage)
{
    TempDir dir;
    QByteArray damaged = lzhtest::storedMember(2, "d.txt", "data");
    damaged[damaged.size() - 1] = '?';
    const QString damagedArchive = dir.write(QStringLiteral("damaged.lzh"), lzhtest::archiveOf({damaged}));

    const CliRun test = runCli({QStringLiteral("test"), damagedArchive});
    EXPECT_EQ(test.exitCode, 1);
    EXPECT_TRUE(test.err.contains("d.txt: the member's data has a wrong CRC")) << test.err.toStdString();

    const CliRun missing = runCli({QStringLiteral("list"), dir.filePath(QStringLiteral("none.lzh"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("cannot open the archive")) << missing.err.toStdString();

    const CliRun packMissing = runCli({QStringLiteral("pack"), dir.filePath(QStringLiteral("p.lzh")), dir.filePath(QStringLiteral("nofile"))});
    EXPECT_EQ(packMissing.exitCode, 1);
    EXPECT_TRUE(packMissing.err.contains("cannot read")) << packMissing.err.toStdString();

    const CliRun usage = runCli({QStringLiteral("extract"), damagedArchive});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_TRUE(usage.err.startsWith("usage: vordell-cli lzh pack")) << usage.err.toStdString();
}

} // namespace
