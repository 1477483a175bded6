#include "LzhFixtures.h"

#include "archive/ArchiveFile.h"
#include "archive/ArjArchive.h"
#include "support/TempDir.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

using testsupport::TempDir;

// Files of every shape the methods treat differently: long repetitive text (matches across the
// window), bytes that do not compress, an empty file, one byte, and a file in a folder.
const QList<std::pair<QString, QByteArray>>& sampleFiles()
{
    static const QList<std::pair<QString, QByteArray>> files = [] {
        QByteArray text;
        for (int i = 0; i < 20000; ++i)
            text += QByteArray::number(i * 7 % 1000) + (i % 13 ? " " : "\n");
        QByteArray noise(40000, '\0');
        QRandomGenerator random(26);
        for (char& c : noise)
            c = char(random.bounded(256));
        return QList<std::pair<QString, QByteArray>>{
            {QStringLiteral("text.txt"), text},
            {QStringLiteral("noise.bin"), noise},
            {QStringLiteral("empty.dat"), QByteArray()},
            {QStringLiteral("one.txt"), QByteArray("x")},
            {QStringLiteral("sub/表.txt"), QByteArray("日本語のテキスト").repeated(300)},
        };
    }();
    return files;
}

QString bareName(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

class ArjArchiveTest : public ::testing::Test
{
protected:
    // An archive of the sample files made by the arj tool with the given method.
    QString makeArchive(int method)
    {
        const QString arj = QStandardPaths::findExecutable(QStringLiteral("arj"));
        // The tool is installed by scripts/install-deps; a missing one is a broken set-up, not a pass.
        EXPECT_FALSE(arj.isEmpty()) << "arj is not installed (scripts/install-deps installs it)";
        QStringList arguments{QStringLiteral("a"), QStringLiteral("-m%1").arg(method), QStringLiteral("-y"),
                              QStringLiteral("m%1.arj").arg(method)};
        for (const auto& [name, bytes] : sampleFiles()) {
            dir.write(QStringLiteral("src/") + name, bytes);
            arguments.append(name);
        }
        const lzhtest::ToolResult made = lzhtest::runTool(arj, arguments, dir.filePath(QStringLiteral("src")));
        EXPECT_EQ(made.exitCode, 0) << made.output.toStdString();
        return dir.filePath(QStringLiteral("src/m%1.arj").arg(method));
    }

    TempDir dir;
};

TEST_F(ArjArchiveTest, ArchivesOfTheArjToolListExtractAndTestByteIdentical)
{
    for (int method = 0; method <= 4; ++method) {
        SCOPED_TRACE(method);
        const QString archive = makeArchive(method);

        ArchiveFile file(nullptr);
        ArchiverError error;
        ASSERT_TRUE(file.SetFileName(archive, error)) << error.Message.toStdString();
        ASSERT_EQ(file.type(), atArj);
        QList<archiver::IndividualInfo> members;
        ASSERT_TRUE(file.ListMembers(&members, error)) << error.Message.toStdString();
        ASSERT_EQ(members.size(), sampleFiles().size());
        for (int i = 0; i < members.size(); ++i) {
            EXPECT_EQ(bareName(members[i].fileName), bareName(sampleFiles()[i].first));
            EXPECT_EQ(members[i].originalSize, quint64(sampleFiles()[i].second.size()));
        }

        std::vector<std::string> problems;
        std::string testError;
        EXPECT_TRUE(arj::testArchive(QFile::encodeName(archive).toStdString(), &problems, &testError)) << testError;

        const QString out = dir.filePath(QStringLiteral("out%1").arg(method));
        file.Options()->x = 0;
        int result = -1;
        ASSERT_TRUE(file.ExtractFiles(nullptr, out, nullptr, result, error));
        EXPECT_EQ(result, 0) << file.archiver()->Output.toStdString();
        for (const auto& [name, bytes] : sampleFiles())
            EXPECT_EQ(dir.read(QStringLiteral("out%1/").arg(method) + bareName(name)), bytes) << name.toStdString();
        EXPECT_EQ(lzhtest::filesBelow(out).size(), sampleFiles().size());
    }
}

// A damaged member fails its CRC, leaves no file behind, and does not stop the others.
TEST_F(ArjArchiveTest, ADamagedMemberIsReportedAndTheOthersExtracted)
{
    const QString archive = makeArchive(1);
    QByteArray bytes = dir.read(QStringLiteral("src/m1.arj"));
    arj::Archive reading;
    ASSERT_TRUE(reading.open(QFile::encodeName(archive).toStdString(), nullptr));
    const arj::Member& text = reading.members().front();
    ASSERT_EQ(text.name, "text.txt");
    bytes[qsizetype(text.dataOffset + text.compressedSize / 2)] ^= 0x55;
    const QString damaged = dir.write(QStringLiteral("damaged.arj"), bytes);

    std::vector<std::string> problems;
    std::string error;
    EXPECT_FALSE(arj::testArchive(QFile::encodeName(damaged).toStdString(), &problems, &error));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems.front().rfind("text.txt: ", 0), 0u) << problems.front();

    const QString out = dir.filePath(QStringLiteral("out"));
    std::vector<std::string> written;
    EXPECT_FALSE(arj::extractArchive(QFile::encodeName(damaged).toStdString(), QFile::encodeName(out).toStdString(), {},
                                     &written, &error));
    EXPECT_NE(error.find("text.txt: "), std::string::npos) << error;
    EXPECT_EQ(written.size(), sampleFiles().size() - 1);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out/text.txt"))));
    EXPECT_EQ(lzhtest::filesBelow(out).size(), sampleFiles().size() - 1); // no temporary file left

    for (const QByteArray& notArj : {QByteArray("not an archive at all"), bytes.left(60)}) {
        const QString path = dir.write(QStringLiteral("bad.arj"), notArj);
        EXPECT_FALSE(arj::testArchive(QFile::encodeName(path).toStdString(), nullptr, &error));
        EXPECT_NE(error.find("bad.arj: "), std::string::npos) << error;
    }
}

TEST_F(ArjArchiveTest, PackingIsRefusedWithTheComponentsMessage)
{
    ArchiveFile file(nullptr);
    ArchiverError error;
    ASSERT_TRUE(file.SetFileName(dir.filePath(QStringLiteral("new.arj")), error)) << error.Message.toStdString();
    int result = 0;
    EXPECT_FALSE(file.PackFiles(nullptr, dir.path(), {QStringLiteral("*.*")}, result, error));
    EXPECT_EQ(error.Message, QStringLiteral("お使いの UNARJ32J.DLL は書庫の作成機能をサポートしていません。"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("new.arj"))));
}

} // namespace
