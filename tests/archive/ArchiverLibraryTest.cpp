#include "LzhFixtures.h"

#include "archive/ArchiveFile.h"
#include "archive/ArchiverFormats.h"
#include "archive/LzhArchive.h"
#include "support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

using testsupport::TempDir;

QStringList memberNames(const QString& archive)
{
    QList<lzh::MemberEntry> members;
    EXPECT_TRUE(lzh::listArchive(archive, members, nullptr));
    QStringList names;
    for (const auto& member : members)
        names.append(member.name);
    return names;
}

// A program folder with the working tables and photos of two registrations.
class SubmissionFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir.write(QStringLiteral("V/Temp/NT_TBL_MAIN.Cds"), "main v1");
        m_dir.write(QStringLiteral("V/Temp/NT_TBL_DETAIL.Cds"), "detail");
        m_dir.write(QStringLiteral("V/Temp/notes.txt"), "not a table");
        m_dir.write(QStringLiteral("V/Images/XXK-000001A.jpg"), "photo A");
        m_dir.write(QStringLiteral("V/Images/XXK-000001B.gif"), "photo B");
        m_dir.write(QStringLiteral("V/Images/XXK-000002A.jpg"), "other registration");
        m_patterns = {m_dir.filePath(QStringLiteral("V/Temp/*.Cds")), m_dir.filePath(QStringLiteral("V/Images/XXK-000001*.*"))};
        m_archive = m_dir.filePath(QStringLiteral("out/提出.lzh"));
        QDir().mkpath(m_dir.filePath(QStringLiteral("out")));
    }

    int pack()
    {
        ArchiveFile file(nullptr);
        ArchiverError error;
        EXPECT_TRUE(file.SetFileName(m_archive, error));
        EXPECT_TRUE(file.SetArchiverType(atLha, error));
        file.Options()->x = 0;
        file.Options()->n = 1;
        int result = -1;
        EXPECT_TRUE(file.PackFiles(nullptr, QString(), m_patterns, result, error)) << error.Message.toStdString();
        EXPECT_TRUE(file.LastCommandLine().startsWith(QStringLiteral("u -+ -n1 -x0  \"")));
        return result;
    }

    TempDir m_dir;
    QStringList m_patterns;
    QString m_archive;
};

TEST_F(SubmissionFolder, ExportCommandPacksThePatternsFlat)
{
    EXPECT_EQ(pack(), archiver::kResultOk);
    EXPECT_EQ(memberNames(m_archive), QStringList({"NT_TBL_DETAIL.Cds", "NT_TBL_MAIN.Cds", "XXK-000001A.jpg", "XXK-000001B.gif"}));
}

TEST_F(SubmissionFolder, PackingAgainReplacesMembersOfTheSameName)
{
    ASSERT_EQ(pack(), archiver::kResultOk);
    m_dir.write(QStringLiteral("V/Temp/NT_TBL_MAIN.Cds"), "main v2");
    m_dir.write(QStringLiteral("V/Temp/NT_TBL_COMPANY.Cds"), "company");
    ASSERT_EQ(pack(), archiver::kResultOk);
    EXPECT_EQ(memberNames(m_archive).size(), 5);
    ASSERT_TRUE(lzh::extractArchive(m_archive, m_dir.filePath(QStringLiteral("x")), {}, nullptr, nullptr));
    EXPECT_EQ(m_dir.read(QStringLiteral("x/NT_TBL_MAIN.Cds")), QByteArray("main v2"));
}

TEST_F(SubmissionFolder, ImportCommandExtractsEveryMemberIntoTheFolder)
{
    ASSERT_EQ(pack(), archiver::kResultOk);
    ArchiveFile file(nullptr);
    ArchiverError error;
    ASSERT_TRUE(file.SetFileName(m_archive, error));
    ASSERT_TRUE(file.SetArchiverType(atLha, error));
    file.Options()->x = 1;
    file.Options()->n = 1;
    const QString temp = m_dir.filePath(QStringLiteral("import/Temp"));
    int result = -1;
    ASSERT_TRUE(file.ExtractFiles(nullptr, temp, nullptr, result, error));
    EXPECT_EQ(result, archiver::kResultOk);
    EXPECT_EQ(file.LastCommandLine(), QStringLiteral("x -+ -n1 -x1  \"%1\" \"%2\\\" ").arg(m_archive, temp));
    EXPECT_EQ(lzhtest::filesBelow(temp), QStringList({"NT_TBL_DETAIL.Cds", "NT_TBL_MAIN.Cds", "XXK-000001A.jpg", "XXK-000001B.gif"}));
    EXPECT_EQ(m_dir.read(QStringLiteral("import/Temp/XXK-000001A.jpg")), QByteArray("photo A"));
}

TEST_F(SubmissionFolder, FailuresComeBackAsLibraryResults)
{
    ArchiveFile file(nullptr);
    ArchiverError error;
    ASSERT_TRUE(file.SetFileName(m_archive, error));
    int result = 0;
    ASSERT_TRUE(file.PackFiles(nullptr, QString(), {m_dir.filePath(QStringLiteral("V/Temp/*.none"))}, result, error));
    EXPECT_EQ(result, archiver::kResultNoFile);
    EXPECT_FALSE(QFile::exists(m_archive));

    m_dir.write(QStringLiteral("out/broken.lzh"), "not an archive at all");
    ASSERT_TRUE(file.SetFileName(m_dir.filePath(QStringLiteral("out/broken.lzh")), error));
    ASSERT_TRUE(file.ExtractFiles(nullptr, m_dir.filePath(QStringLiteral("x")), nullptr, result, error));
    EXPECT_EQ(result, archiver::kResultBadArchive);
}

TEST_F(SubmissionFolder, DeleteAndListingThroughTheLibrary)
{
    ASSERT_EQ(pack(), archiver::kResultOk);
    LhaArchiver lha;
    ArchiverError error;
    ASSERT_TRUE(lha.Startup(error));
    int result = -1;
    const QStringList photos = {QStringLiteral("*.jpg"), QStringLiteral("*.gif")};
    ASSERT_TRUE(lha.Delete(nullptr, m_archive, &photos, QString(), ArchiverOptions(), result, error));
    EXPECT_EQ(result, archiver::kResultOk);

    archiver::ArchiveHandle handle = lha.OpenArchive(nullptr, m_archive, 0, error);
    ASSERT_NE(handle, nullptr);
    archiver::IndividualInfo info;
    QStringList listed;
    for (int code = lha.FindFirst(handle, QStringLiteral("*.*"), &info, error); code == 0; code = lha.FindNext(handle, &info, error))
        listed.append(info.fileName);
    EXPECT_EQ(listed, QStringList({"NT_TBL_DETAIL.Cds", "NT_TBL_MAIN.Cds"}));
    EXPECT_EQ(lha.FindFirst(handle, QStringLiteral("*main*"), &info, error), 0);
    EXPECT_EQ(info.fileName, QStringLiteral("NT_TBL_MAIN.Cds"));
    EXPECT_EQ(info.method, QStringLiteral("-lh0-"));
    EXPECT_TRUE(lha.CloseArchive(handle, error));

    EXPECT_EQ(lha.OpenArchive(nullptr, m_dir.filePath(QStringLiteral("V/Temp/notes.txt")), 0, error), nullptr);
    ASSERT_TRUE(lha.MakeSfx(nullptr, m_archive, ArchiverOptions(), result, error));
    EXPECT_EQ(result, archiver::kResultNotSupported);
}

struct FormatCase
{
    const char* archiveName;
};

class LibarchiveFormats : public SubmissionFolder, public ::testing::WithParamInterface<FormatCase>
{
};

// ZIP, TAR and compressed TAR are packed and extracted by the libarchive-backed libraries.
TEST_P(LibarchiveFormats, PackAndExtractRoundTrip)
{
    const QString archive = m_dir.filePath(QStringLiteral("out/") + QString::fromLatin1(GetParam().archiveName));
    ArchiveFile file(nullptr);
    ArchiverError error;
    ASSERT_TRUE(file.SetFileName(archive, error)) << error.Message.toStdString();
    file.Options()->x = 0;
    int result = -1;
    ASSERT_TRUE(file.PackFiles(nullptr, QString(), m_patterns, result, error)) << error.Message.toStdString();
    ASSERT_EQ(result, archiver::kResultOk) << file.LastCommandLine().toStdString();
    const QString out = m_dir.filePath(QStringLiteral("x"));
    ASSERT_TRUE(file.ExtractFiles(nullptr, out, nullptr, result, error));
    ASSERT_EQ(result, archiver::kResultOk) << file.LastCommandLine().toStdString();
    EXPECT_EQ(lzhtest::filesBelow(out), QStringList({"NT_TBL_DETAIL.Cds", "NT_TBL_MAIN.Cds", "XXK-000001A.jpg", "XXK-000001B.gif"}));
    EXPECT_EQ(m_dir.read(QStringLiteral("x/NT_TBL_MAIN.Cds")), QByteArray("main v1"));
}

INSTANTIATE_TEST_SUITE_P(Formats, LibarchiveFormats,
                         ::testing::Values(FormatCase{"a.zip"}, FormatCase{"a.tar"}, FormatCase{"a.tgz"}));

TEST_F(SubmissionFolder, CabPackingIsNotOffered)
{
    ArchiveFile file(nullptr);
    ArchiverError error;
    ASSERT_TRUE(file.SetFileName(m_dir.filePath(QStringLiteral("out/a.cab")), error));
    int result = 0;
    ASSERT_TRUE(file.PackFiles(nullptr, QString(), m_patterns, result, error));
    EXPECT_EQ(result, archiver::kResultNotSupported);
}

TEST(CommandLineParsing, SplitsQuotedWordsSwitchesAndTheFolder)
{
    const archiver::CommandLine line =
        archiver::parseCommandLine("x -+ -n1 \"-wC:\\w\\\"  \"/a b/x.lzh\" \"/out dir/\\\" \"*.Cds\" ");
    EXPECT_EQ(line.command, QStringLiteral("x"));
    EXPECT_EQ(line.switches, QStringList({"-+", "-n1", "-wC:\\w\\"}));
    EXPECT_EQ(line.archive, QStringLiteral("/a b/x.lzh"));
    EXPECT_EQ(line.folder, QStringLiteral("/out dir/"));
    EXPECT_EQ(line.files, QStringList{QStringLiteral("*.Cds")});
}

} // namespace
