// vordell-lzh, the extraction program without Qt, against the library functions of the program:
// the same files with the same bytes and times, the same messages, the same exit codes.

#include "LzhFixtures.h"

#include "archive/LzhArchive.h"
#include "archive/LzhHeader.h"
#include "support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStorageInfo>

#include <gtest/gtest.h>

namespace {

using testsupport::TempDir;

struct ToolRun
{
    int exitCode;
    QByteArray out;
    QByteArray err;
};

ToolRun run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

ToolRun runTool(const QStringList& arguments)
{
    return run(QStringLiteral(VORDELL_LZH), arguments);
}

// Each file below the folder with its bytes and modification time.
QStringList filesWithContent(const QString& folder)
{
    QStringList described;
    for (const QString& name : lzhtest::filesBelow(folder)) {
        QFile file(QDir(folder).filePath(name));
        const QFileInfo info(file);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        described.append(QStringLiteral("%1 %2 %3 %4")
                             .arg(name, QString::fromLatin1(file.readAll().toHex()))
                             .arg(info.lastModified().toSecsSinceEpoch())
                             .arg(int(info.permissions()), 0, 16));
    }
    return described;
}

QByteArray packed(const TempDir& dir, const QList<QPair<QString, QByteArray>>& files)
{
    QStringList paths;
    for (const auto& [name, content] : files)
        paths.append(dir.write(QStringLiteral("src/") + name, content));
    const QString archive = dir.filePath(QStringLiteral("packed.lzh"));
    QFile::remove(archive);
    EXPECT_TRUE(lzh::packFiles(archive, paths, nullptr));
    return dir.read(QStringLiteral("packed.lzh"));
}

// The -lh5- data of the first member with one byte changed in its middle.
QByteArray withDamagedData(QByteArray archive)
{
    const int headerSize = uint8_t(archive[0]) | uint8_t(archive[1]) << 8;
    const int dataSize = uint8_t(archive[7]) | uint8_t(archive[8]) << 8;
    archive[headerSize + dataSize / 2] = char(archive[headerSize + dataSize / 2] ^ 0x5A);
    return archive;
}

QByteArray licenceText()
{
    QByteArray text;
    for (int i = 0; i < 3000; ++i)
        text += "Clause " + QByteArray::number(i * 37 % 101) + " of the licence applies. ";
    return text;
}

struct ExtractionCase
{
    const char* label;
    std::function<QByteArray(const TempDir&)> archive; // null: no archive file at all
};

TEST(LzhTool, ExtractsTheSameFilesAndReportsTheSameAsTheLibrary)
{
    const QByteArray sjisTable = "\x95\x5c.txt";   // 表: its second byte is "\"
    const QByteArray unassigned = "\x85\x40.txt"; // a code that code page 932 leaves empty
    const QList<ExtractionCase> cases = {
        {"compressedAndStored", [](const TempDir& dir) {
             return packed(dir, {{QStringLiteral("text.txt"), licenceText()}, {QStringLiteral("photo.jpg"), QByteArray("\xff\xd8\xff\xe0", 4)}});
         }},
        {"everyHeaderLevelAndJapaneseNames", [&](const TempDir&) {
             return lzhtest::archiveOf({lzhtest::storedMember(0, "dir\\" + sjisTable, "zero"), lzhtest::storedMember(1, "\x83\x65\x83\x58\x83\x67.cds", "one"),
                                        lzhtest::storedMember(2, unassigned, "two"), lzhtest::storedMember(2, "a\x01\x1b" "b.txt", "three")});
         }},
        {"damagedMemberBesideAGoodOne", [](const TempDir& dir) {
             return withDamagedData(packed(dir, {{QStringLiteral("bad.txt"), licenceText()}, {QStringLiteral("good.txt"), "fine"}}));
         }},
        {"collidingAndUnusableNames", [](const TempDir&) {
             return lzhtest::archiveOf({lzhtest::storedMember(2, "a/same.txt", "first"), lzhtest::storedMember(1, "b\\same.txt", "second"),
                                        lzhtest::storedMember(0, "..", "none"), lzhtest::storedMember(2, "other.txt", "other")});
         }},
        {"truncated", [](const TempDir& dir) { return packed(dir, {{QStringLiteral("text.txt"), licenceText()}}).chopped(100); }},
        {"notAnArchive", [](const TempDir&) { return QByteArray("This is a text file, not an archive.\n"); }},
        {"missing", nullptr},
    };
    for (const ExtractionCase& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir dir;
        const QString archive = dir.filePath(QStringLiteral("in.lzh"));
        if (c.archive)
            dir.write(QStringLiteral("in.lzh"), c.archive(dir));

        QString error;
        QStringList written;
        const bool ok = lzh::extractArchive(archive, dir.filePath(QStringLiteral("library")), {}, &written, &error);
        const ToolRun tool = runTool({QStringLiteral("extract"), archive, dir.filePath(QStringLiteral("tool"))});

        EXPECT_EQ(tool.exitCode, ok ? 0 : 1);
        EXPECT_EQ(QString::fromUtf8(tool.err), ok ? QString() : QStringLiteral("vordell-lzh: %1\n").arg(error));
        EXPECT_TRUE(tool.out.isEmpty());
        EXPECT_EQ(filesWithContent(dir.filePath(QStringLiteral("tool"))), filesWithContent(dir.filePath(QStringLiteral("library"))));
        EXPECT_EQ(lzhtest::filesBelow(dir.filePath(QStringLiteral("library"))).size(), written.size());
    }
}

// A member that would unpack past the bound (1 GiB, or --max-size) is refused before any of it is
// written and the others are still extracted; members that together would not fit in the free
// space leave the folder untouched.
TEST(LzhTool, ExtractionIsBoundedBySizeAndFreeSpace)
{
    const auto declaring = [](const std::string& name, uint64_t declared) {
        lzh::MemberHeader header;
        header.method = "-lh5-";
        header.name = name;
        header.originalSize = declared;
        header.compressedSize = 4;
        return QByteArray::fromStdString(lzh::writeLevel2Header(header)) + QByteArray(4, '\x55');
    };
    TempDir dir;
    const QString archive = dir.write(QStringLiteral("in.lzh"), lzhtest::archiveOf({lzhtest::storedMember(2, "small.txt", "small"),
                                                                                    lzhtest::storedMember(2, "medium.txt", QByteArray(1000, 'm')),
                                                                                    declaring("huge.bin", uint64_t(3) << 30)}));
    const struct
    {
        QStringList options;
        QStringList extracted;
        QStringList refusals;
    } cases[] = {
        {{}, {"medium.txt", "small.txt"}, {"huge.bin: unpacks to 3221225472 bytes, more than the limit of 1073741824 bytes"}},
        {{"--max-size=100"}, {"small.txt"},
         {"medium.txt: unpacks to 1000 bytes, more than the limit of 100 bytes", "huge.bin: unpacks to 3221225472 bytes"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        TempDir target;
        const ToolRun tool = runTool(QStringList{QStringLiteral("extract")} + c.options + QStringList{archive, target.path()});
        EXPECT_EQ(tool.exitCode, 1);
        for (const QString& refusal : c.refusals)
            EXPECT_TRUE(QString::fromUtf8(tool.err).contains(refusal)) << tool.err.toStdString();
        EXPECT_EQ(lzhtest::filesBelow(target.path()), c.extracted);
    }
    // Members of 3 GiB each (an LZH header declares at most 4 GiB), more of them than fit.
    TempDir target;
    QByteArray endless = lzhtest::storedMember(2, "small.txt", "small");
    for (qint64 i = 0; i <= QStorageInfo(target.path()).bytesAvailable() / (qint64(3) << 30); ++i)
        endless += declaring("huge" + std::to_string(i) + ".bin", uint64_t(3) << 30);
    endless += QByteArray(1, '\0');
    const ToolRun tool = runTool({QStringLiteral("extract"), QStringLiteral("--max-size=9223372036854775807"),
                                  dir.write(QStringLiteral("endless.lzh"), endless), target.path()});
    EXPECT_EQ(tool.exitCode, 1);
    EXPECT_TRUE(tool.err.contains("bytes free in")) << tool.err.toStdString();
    EXPECT_TRUE(lzhtest::filesBelow(target.path()).isEmpty());
    for (const char* wrong : {"--max-size=0", "--max-size=", "--max-size=12k", "--size=5"})
        EXPECT_EQ(runTool({QStringLiteral("extract"), QLatin1String(wrong), archive, target.path()}).exitCode, 2) << wrong;
}

// list and test print what `vordell-cli lzh` prints; a wrong command line is a usage error.
TEST(LzhTool, ListTestAndUsageAnswerAsTheProgramsCommand)
{
    TempDir dir;
    const QString archive = dir.write(QStringLiteral("in.lzh"), withDamagedData(packed(dir, {{QStringLiteral("bad.txt"), licenceText()},
                                                                                          {QStringLiteral("表.txt"), "fine"}})));
    for (const QString& verb : {QStringLiteral("list"), QStringLiteral("test")}) {
        SCOPED_TRACE(verb.toStdString());
        const ToolRun program = run(QStringLiteral(VORDELL_CLI), {QStringLiteral("lzh"), verb, archive});
        const ToolRun tool = runTool({verb, archive});
        EXPECT_EQ(tool.exitCode, program.exitCode);
        EXPECT_EQ(tool.out, program.out);
        EXPECT_EQ(tool.err, QByteArray(program.err).replace("vordell-cli lzh: ", "vordell-lzh: "));
    }
    for (const QStringList& wrong : {QStringList{}, QStringList{QStringLiteral("extract"), archive}, QStringList{QStringLiteral("pack"), archive}}) {
        const ToolRun tool = runTool(wrong);
        EXPECT_EQ(tool.exitCode, 2);
        EXPECT_TRUE(tool.err.startsWith("usage: vordell-lzh")) << tool.err.toStdString();
    }
}

} // namespace
