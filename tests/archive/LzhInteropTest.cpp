// Interoperability with the independent LZH tools: four readers read what we write, and we read
// what the one writer writes, in every header level and method it offers.

#include "LzhFixtures.h"

#include "archive/LzhArchive.h"
#include "support/TempDir.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

using testsupport::TempDir;

// The files every interoperability archive holds: each method and size class.
QList<QPair<QString, QByteArray>> sampleFiles()
{
    QByteArray text;
    for (int i = 0; i < 9000; ++i)
        text += "NT_TBL_MAIN " + QByteArray::number(i % 97) + " harbour works\r\n";
    QByteArray random(70000, Qt::Uninitialized);
    QRandomGenerator generator(42);
    for (char& byte : random)
        byte = char(generator.bounded(256));
    return {{QStringLiteral("NT_TBL_MAIN.Cds"), text},
            {QStringLiteral("XXK-000001A.jpg"), random},
            {QStringLiteral("empty.txt"), QByteArray()},
            {QStringLiteral("one.txt"), QByteArray("1")},
            {QStringLiteral("repeat.bin"), QByteArray(200000, '\0') + QByteArray("end")},
            {QStringLiteral("run.bin"), QByteArray(98304, 'A')},
            {QStringLiteral("zeros.bin"), QByteArray(1 << 20, '\0')}};
}

QString requireTool(const char* name)
{
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
    // The tools are installed by scripts/install-deps; a missing one is a broken set-up, not a pass.
    EXPECT_FALSE(path.isEmpty()) << name << " is not installed (scripts/install-deps installs it)";
    return path;
}

class LzhInterop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QStringList paths;
        for (const auto& [name, content] : sampleFiles()) {
            paths.append(m_dir.write(QStringLiteral("src/") + name, content));
            m_names.append(name);
        }
        m_archive = m_dir.filePath(QStringLiteral("ours.lzh"));
        QString error;
        ASSERT_TRUE(lzh::packFiles(m_archive, paths, &error)) << error.toStdString();
    }

    void expectExtracted(const QString& folder)
    {
        for (const auto& [name, content] : sampleFiles()) {
            QFile file(folder + QLatin1Char('/') + name);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            EXPECT_EQ(file.readAll(), content) << name.toStdString();
        }
    }

    void expectListed(const lzhtest::ToolResult& listing)
    {
        ASSERT_EQ(listing.exitCode, 0) << listing.output.toStdString();
        for (const QString& name : m_names)
            EXPECT_TRUE(listing.output.contains(name.toUtf8())) << name.toStdString() << "\n" << listing.output.toStdString();
    }

    TempDir m_dir;
    QString m_archive;
    QStringList m_names;
};

TEST_F(LzhInterop, LhasaListsTestsAndExtracts)
{
    const QString lhasa = requireTool("lhasa");
    expectListed(lzhtest::runTool(lhasa, {QStringLiteral("l"), m_archive}));
    const auto test = lzhtest::runTool(lhasa, {QStringLiteral("t"), m_archive});
    EXPECT_EQ(test.exitCode, 0) << test.output.toStdString();
    const QString out = m_dir.filePath(QStringLiteral("lhasa"));
    const auto extract = lzhtest::runTool(lhasa, {QStringLiteral("xw=") + out, m_archive});
    EXPECT_EQ(extract.exitCode, 0) << extract.output.toStdString();
    expectExtracted(out);
}

TEST_F(LzhInterop, SevenZipListsTestsAndExtracts)
{
    const QString sevenZip = requireTool("7zz");
    expectListed(lzhtest::runTool(sevenZip, {QStringLiteral("l"), m_archive}));
    const auto test = lzhtest::runTool(sevenZip, {QStringLiteral("t"), m_archive});
    EXPECT_EQ(test.exitCode, 0) << test.output.toStdString();
    const QString out = m_dir.filePath(QStringLiteral("7z"));
    const auto extract = lzhtest::runTool(sevenZip, {QStringLiteral("x"), QStringLiteral("-o") + out, m_archive});
    EXPECT_EQ(extract.exitCode, 0) << extract.output.toStdString();
    expectExtracted(out);
}

TEST_F(LzhInterop, UnarListsTestsAndExtracts)
{
    const QString lsar = requireTool("lsar");
    const QString unar = requireTool("unar");
    expectListed(lzhtest::runTool(lsar, {m_archive}));
    const auto test = lzhtest::runTool(lsar, {QStringLiteral("-t"), m_archive});
    EXPECT_EQ(test.exitCode, 0) << test.output.toStdString();
    EXPECT_FALSE(test.output.contains("failed!")) << test.output.toStdString();
    const QString out = m_dir.filePath(QStringLiteral("unar"));
    const auto extract = lzhtest::runTool(unar, {QStringLiteral("-q"), QStringLiteral("-D"), QStringLiteral("-o"), out, m_archive});
    EXPECT_EQ(extract.exitCode, 0) << extract.output.toStdString();
    expectExtracted(out);
}

TEST_F(LzhInterop, BsdtarListsAndExtracts)
{
    const QString bsdtar = requireTool("bsdtar");
    expectListed(lzhtest::runTool(bsdtar, {QStringLiteral("-tf"), m_archive}));
    const QString out = m_dir.filePath(QStringLiteral("bsdtar"));
    QDir().mkpath(out);
    const auto extract = lzhtest::runTool(bsdtar, {QStringLiteral("-xf"), m_archive, QStringLiteral("-C"), out});
    EXPECT_EQ(extract.exitCode, 0) << extract.output.toStdString();
    expectExtracted(out);
}

// The readers agree on the Shift_JIS name when told the encoding (their guesses differ for short names).
TEST_F(LzhInterop, ShiftJisNameReadsBackInLhasaAndUnar)
{
    TempDir dir;
    const QString name = QStringLiteral("表ソ.txt");
    const QString archive = dir.filePath(QStringLiteral("n.lzh"));
    ASSERT_TRUE(lzh::packFiles(archive, {dir.write(QStringLiteral("src/") + name, "x")}, nullptr));
    const auto listing = lzhtest::runTool(requireTool("lsar"), {QStringLiteral("-e"), QStringLiteral("shift_jis"), archive});
    EXPECT_TRUE(listing.output.contains(name.toUtf8())) << listing.output.toStdString();
    const QString out = dir.filePath(QStringLiteral("unar"));
    lzhtest::runTool(requireTool("unar"), {QStringLiteral("-q"), QStringLiteral("-D"), QStringLiteral("-e"), QStringLiteral("shift_jis"),
                                           QStringLiteral("-o"), out, archive});
    EXPECT_TRUE(QFile::exists(out + QLatin1Char('/') + name));
}

struct WriterCase
{
    const char* command; // jlha command with header level and method switches
    QByteArray method;
    int level;
};

class LzhReadsJlha : public ::testing::TestWithParam<WriterCase>
{
};

TEST_P(LzhReadsJlha, ArchivesOfEveryLevelAndMethodReadBackIdentically)
{
    const WriterCase& c = GetParam();
    TempDir dir;
    QStringList names;
    for (const auto& [name, content] : sampleFiles()) {
        dir.write(QStringLiteral("src/") + name, content);
        names.append(name);
    }
    const auto packed = lzhtest::runTool(requireTool("jlha"), QStringList{QString::fromLatin1(c.command), QStringLiteral("../j.lzh")} + names,
                                         dir.filePath(QStringLiteral("src")));
    ASSERT_EQ(packed.exitCode, 0) << packed.output.toStdString();

    const QString archive = dir.filePath(QStringLiteral("j.lzh"));
    QList<lzh::MemberEntry> members;
    QString error;
    ASSERT_TRUE(lzh::listArchive(archive, members, &error)) << error.toStdString();
    ASSERT_EQ(members.size(), names.size());
    bool sawMethod = false;
    for (const auto& member : members) {
        EXPECT_EQ(member.header.level, c.level);
        sawMethod = sawMethod || member.header.method == c.method.toStdString();
    }
    EXPECT_TRUE(sawMethod);
    ASSERT_TRUE(lzh::extractArchive(archive, dir.filePath(QStringLiteral("out")), {}, nullptr, &error)) << error.toStdString();
    for (const auto& [name, content] : sampleFiles())
        EXPECT_EQ(dir.read(QStringLiteral("out/") + name), content) << name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(HeaderLevelsAndMethods, LzhReadsJlha,
                         ::testing::Values(WriterCase{"a0", "-lh5-", 0}, WriterCase{"a1", "-lh5-", 1}, WriterCase{"a2", "-lh5-", 2},
                                           WriterCase{"az0", "-lh0-", 0}, WriterCase{"az1", "-lh0-", 1}, WriterCase{"az2", "-lh0-", 2},
                                           WriterCase{"a2o6", "-lh6-", 2}, WriterCase{"a2o7", "-lh7-", 2}),
                         [](const auto& info) { return std::string(info.param.command); });

} // namespace
