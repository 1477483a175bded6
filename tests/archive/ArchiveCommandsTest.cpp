#include "LzhFixtures.h"

#include "support/TempDir.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <archive.h>
#include <archive_entry.h>

#include <gtest/gtest.h>

namespace {

using testsupport::TempDir;

struct CliRun
{
    int exitCode;
    QByteArray out;
    QByteArray err;
};

CliRun runCli(const QStringList& arguments, const QString& command = QStringLiteral("lzh"))
{
    QProcess process;
    process.start(QStringLiteral(VORDELL_CLI), QStringList{command} + arguments);
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

CliRun runArchive(const QStringList& arguments)
{
    return runCli(arguments, QStringLiteral("archive"));
}

QString requireTool(const char* name)
{
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
    // The tools are installed by scripts/install-deps; a missing one is a broken set-up, not a pass.
    EXPECT_FALSE(path.isEmpty()) << name << " is not installed (scripts/install-deps installs it)";
    return path;
}

// Every format the component reads, made by an independent tool (LZH by the program itself): the
// command lists the members, extracts them byte-identical by their bare names and tests the archive.
TEST(ArchiveCommands, ListExtractAndTestEveryFormat)
{
    TempDir dir;
    const QByteArray text = QByteArray("港湾 breakwater 0123456789\n").repeated(3000);
    const QByteArray small("x");
    dir.write(QStringLiteral("src/text.txt"), text);
    dir.write(QStringLiteral("src/sub/small.txt"), small);
    const QString src = dir.filePath(QStringLiteral("src"));
    const QStringList names{QStringLiteral("text.txt"), QStringLiteral("sub/small.txt")};
    struct Format
    {
        const char* archive;
        QString tool;
        QStringList arguments;
    } formats[] = {
        {"a.arj", requireTool("arj"), QStringList{"a", "-y", "../a.arj"} + names},
        {"a.zip", requireTool("bsdtar"), QStringList{"-a", "-cf", "../a.zip"} + names},
        {"a.tar", requireTool("bsdtar"), QStringList{"-cf", "../a.tar"} + names},
        {"a.tgz", requireTool("bsdtar"), QStringList{"-czf", "../a.tgz"} + names},
    };
    for (const Format& format : formats) {
        SCOPED_TRACE(format.archive);
        const lzhtest::ToolResult made = lzhtest::runTool(format.tool, format.arguments, src);
        ASSERT_EQ(made.exitCode, 0) << made.output.toStdString();
        const QString archive = dir.filePath(QString::fromLatin1(format.archive));

        const CliRun list = runArchive({QStringLiteral("list"), archive});
        ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
        const QList<QByteArray> lines = list.out.split('\n');
        ASSERT_EQ(lines.size(), 3) << list.out.toStdString(); // two members and the end of the last line
        EXPECT_EQ(lines[0].split('\t').value(1), QByteArray::number(text.size()));
        EXPECT_EQ(lines[0].split('\t').value(3), "text.txt");
        EXPECT_EQ(lines[1].split('\t').value(1), "1");
        EXPECT_TRUE(lines[1].split('\t').value(3).endsWith("small.txt")) << list.out.toStdString();

        const QString out = dir.filePath(QStringLiteral("out-") + QString::fromLatin1(format.archive));
        const CliRun extract = runArchive({QStringLiteral("extract"), archive, out});
        ASSERT_EQ(extract.exitCode, 0) << extract.err.toStdString();
        EXPECT_EQ(dir.read(QFileInfo(out).fileName() + QStringLiteral("/text.txt")), text);
        EXPECT_EQ(dir.read(QFileInfo(out).fileName() + QStringLiteral("/small.txt")), small);
        EXPECT_EQ(lzhtest::filesBelow(out).size(), 2);

        const CliRun test = runArchive({QStringLiteral("test"), archive});
        EXPECT_EQ(test.exitCode, 0) << test.err.toStdString();
    }
}

// A tar whose members try to leave the folder: names going up or starting at the root land inside by
// their bare names, links are not made (and said so), and a link already in the folder is replaced,
// not written through.
TEST(ArchiveCommands, NothingLeavesTheFolder)
{
    TempDir dir;
    const QString archivePath = dir.filePath(QStringLiteral("hostile.tar"));
    {
        archive* writer = archive_write_new();
        archive_write_set_format_pax_restricted(writer);
        ASSERT_EQ(archive_write_open_filename(writer, archivePath.toUtf8().constData()), ARCHIVE_OK);
        const auto add = [writer](const char* name, int type, const char* data, const char* symlink, const char* hardlink) {
            archive_entry* entry = archive_entry_new();
            archive_entry_set_pathname(entry, name);
            archive_entry_set_filetype(entry, unsigned(type));
            archive_entry_set_perm(entry, 0644);
            archive_entry_set_size(entry, la_int64_t(strlen(data)));
            if (symlink)
                archive_entry_set_symlink(entry, symlink);
            if (hardlink)
                archive_entry_set_hardlink(entry, hardlink);
            archive_write_header(writer, entry);
            archive_write_data(writer, data, strlen(data));
            archive_entry_free(entry);
        };
        add("../up.txt", AE_IFREG, "up", nullptr, nullptr);
        add("/abs/root.txt", AE_IFREG, "root", nullptr, nullptr);
        add("link", AE_IFLNK, "", "/tmp", nullptr);
        add("hard", AE_IFREG, "", nullptr, "/etc/passwd");
        add("ok/victim.txt", AE_IFREG, "archive data", nullptr, nullptr);
        archive_write_close(writer);
        archive_write_free(writer);
    }
    const QString victim = dir.write(QStringLiteral("victim.txt"), "outside");
    const QString out = dir.filePath(QStringLiteral("x/out"));
    QDir().mkpath(out);
    ASSERT_TRUE(QFile::link(victim, out + QStringLiteral("/victim.txt")));

    const CliRun extract = runArchive({QStringLiteral("extract"), archivePath, out});
    EXPECT_EQ(extract.exitCode, 1);
    EXPECT_TRUE(extract.err.contains("link: links and special files are not extracted")) << extract.err.toStdString();
    EXPECT_TRUE(extract.err.contains("hard: links and special files are not extracted")) << extract.err.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("x/out/up.txt")), QByteArray("up"));
    EXPECT_EQ(dir.read(QStringLiteral("x/out/root.txt")), QByteArray("root"));
    EXPECT_EQ(dir.read(QStringLiteral("x/out/victim.txt")), QByteArray("archive data"));
    EXPECT_FALSE(QFileInfo(out + QStringLiteral("/victim.txt")).isSymLink());
    EXPECT_EQ(dir.read(QStringLiteral("victim.txt")), QByteArray("outside"));
    EXPECT_EQ(lzhtest::filesBelow(dir.filePath(QStringLiteral("x"))),
              (QStringList{"out/root.txt", "out/up.txt", "out/victim.txt"}));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("x/up.txt"))));
}

TEST(ArchiveCommands, FailuresExitNonZeroWithAMessage)
{
    TempDir dir;
    const QString unknown = dir.write(QStringLiteral("a.dat"), "data");
    const CliRun format = runArchive({QStringLiteral("list"), unknown});
    EXPECT_EQ(format.exitCode, 1);
    EXPECT_TRUE(format.err.contains(QStringLiteral("書庫の形式を判別できません。").toUtf8())) << format.err.toStdString();

    const CliRun missing = runArchive({QStringLiteral("extract"), dir.filePath(QStringLiteral("none.zip")), dir.path()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("none.zip: no such file")) << missing.err.toStdString();

    const QString notZip = dir.write(QStringLiteral("b.zip"), "not a zip archive");
    for (const char* verb : {"list", "test"}) {
        const CliRun run = runArchive({QString::fromLatin1(verb), notZip});
        EXPECT_EQ(run.exitCode, 1) << verb;
        EXPECT_TRUE(run.err.startsWith("vordell-cli archive: ")) << run.err.toStdString();
    }

    const CliRun usage = runArchive({QStringLiteral("list")});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_TRUE(usage.err.startsWith("usage: vordell-cli archive list FILE")) << usage.err.toStdString();
}

} // namespace
