#include "LzhFixtures.h"

#include "archive/ArchiveFile.h"
#include "archive/ArchiverFormats.h"
#include "archive/CommandOptions.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using testsupport::TempDir;

// Makes a library unavailable for one test.
class WithoutLibrary
{
public:
    explicit WithoutLibrary(QString name)
        : m_name(std::move(name))
    {
        archiver::setLibraryAvailable(m_name, false);
    }
    ~WithoutLibrary() { archiver::setLibraryAvailable(m_name, true); }

private:
    QString m_name;
};

TEST(CommandOptions, BuildsSwitchesAsTheLibrariesRead)
{
    CommandOptions cmd;
    cmd.AddNumber(QStringLiteral("x"), 0);
    cmd.AddNumber(QStringLiteral("n"), -1);
    cmd.AddQuoted(QStringLiteral("jo"), QStringLiteral(" "));
    cmd.AddQuoted(QStringLiteral("jo"), QString());
    cmd.AddQuoted(QString(), QString());
    cmd.AddList(QStringLiteral("jx"), {QStringLiteral("a"), QStringLiteral("b")});
    cmd.AddFolder(QStringLiteral("w"), QStringLiteral("C:\\work"));
    cmd.AddFolder(QString(), QStringLiteral("C:\\Temp\\"));
    cmd.AddFolder(QStringLiteral("w"), QString());
    cmd.AddFolder(QStringLiteral("w"), QStringLiteral(" "));
    cmd.Add(QString());
    EXPECT_EQ(cmd.Text, QStringLiteral(" -x0 \"-jo\" \"\" \"-jxa\" \"-jxb\" \"-wC:\\work\\\" \"C:\\Temp\\\" "));
}

TEST(ArchiverOptions, DefaultsAndSettingsByName)
{
    ArchiverOptions options;
    EXPECT_EQ(options.property("a").toInt(), -1);
    EXPECT_EQ(options.property("gw").toInt(), -1);
    EXPECT_EQ(options.property("w").toString(), QStringLiteral(" "));
    EXPECT_EQ(options.property("jz").toString(), QStringLiteral(" "));
    EXPECT_TRUE(options.property("jx").toStringList().isEmpty());
    EXPECT_TRUE(options.property("UserOptions").toString().isEmpty());
    EXPECT_TRUE(options.setProperty("x", 1));
    EXPECT_EQ(options.x, 1);
}

TEST(LhaArchiver, CommandLinesOfExportAndImport)
{
    ArchiverOptions options;
    options.x = 0;
    options.n = 1;
    LhaArchiver lha;
    const QStringList patterns = {QStringLiteral("C:\\V\\Temp\\*.Cds"), QStringLiteral("C:\\V\\Images\\XXK-000001*.*")};
    EXPECT_EQ(lha.MakeCommandLine(QStringLiteral("u"), QStringLiteral("C:\\out.lzh"), &patterns, QString(), options),
              QStringLiteral("u -+ -n1 -x0  \"C:\\out.lzh\" \"C:\\V\\Temp\\*.Cds\" \"C:\\V\\Images\\XXK-000001*.*\" "));
    options.x = 1;
    EXPECT_EQ(lha.MakeCommandLine(QStringLiteral("x"), QStringLiteral("C:\\in.lzh"), nullptr, QStringLiteral("C:\\V\\Temp"), options),
              QStringLiteral("x -+ -n1 -x1  \"C:\\in.lzh\" \"C:\\V\\Temp\\\" "));
}

TEST(ArchiverFormats, SwitchesOfTheOtherFormats)
{
    ArchiverOptions options;
    options.c = 1;
    options.n = 1;
    options.x = 0;
    const QStringList files = {QStringLiteral("f")};
    EXPECT_EQ(ZipArchiver().MakeCommandLine(QStringLiteral("-x"), QStringLiteral("a.zip"), &files, QStringLiteral("d"), options),
              QStringLiteral("-x -o --i -j  \"a.zip\" \"d\\\" \"f\" "));
    EXPECT_EQ(ZipArchiver().MakeCommandLine(QStringLiteral("-ru"), QStringLiteral("a.zip"), &files, QStringLiteral("d"), options),
              QStringLiteral("-ru -o -j  \"a.zip\" \"f\" "));
    EXPECT_EQ(CabArchiver().MakeCommandLine(QStringLiteral("-x"), QStringLiteral("a.cab"), nullptr, QString(), options),
              QStringLiteral("-x -o -i -j  \"a.cab\" "));
    ArchiverOptions tar;
    tar.a = 0;
    EXPECT_EQ(TgzArchiver().MakeCommandLine(QStringLiteral("x"), QStringLiteral("a.tgz"), nullptr, QStringLiteral("d"), tar),
              QStringLiteral("x -I -g -z6  -f \"a.tgz\" -o \"d\\\" "));
    EXPECT_EQ(TarArchiver().MakeCommandLine(QStringLiteral("c"), QStringLiteral("a.tar"), &files, QString(), tar),
              QStringLiteral("c -I -g  -f \"a.tar\" \"f\" "));
}

struct TypeCase
{
    const char* name;
    ArchiverType type;
};

class ArchiverTypeOfFileTest : public ::testing::TestWithParam<TypeCase>
{
};

TEST_P(ArchiverTypeOfFileTest, ExtensionDecidesCaseIgnored)
{
    EXPECT_EQ(ArchiverTypeOfFile(QString::fromUtf8(GetParam().name)), GetParam().type);
}

INSTANTIATE_TEST_SUITE_P(Extensions, ArchiverTypeOfFileTest,
                         ::testing::Values(TypeCase{"a.LZH", atLha}, TypeCase{"a.tar.gz", atTgz}, TypeCase{"a.Z", atTgz},
                                           TypeCase{"a.taz", atTgz}, TypeCase{"a.tgz", atTgz}, TypeCase{"a.tar", atTar},
                                           TypeCase{"a.zip", atZip}, TypeCase{"a.cab", atCab}, TypeCase{"a.arj", atArj},
                                           TypeCase{"a.dat", atNone}, TypeCase{"noextension", atNone}));

// A self-extracting program is probed: a program with an LZH archive after it is LZH, one with a
// ZIP archive is ZIP, a program with neither stays undetermined.
TEST(ArchiverTypeOfFile, ProgramsAreProbed)
{
    TempDir dir;
    const QByteArray stub = QByteArray("MZ\x90\0", 4) + QByteArray(3000, '\x11');
    dir.write(QStringLiteral("lzh.exe"), stub + lzhtest::archiveOf({lzhtest::storedMember(2, "a.txt", "a")}));
    dir.write(QStringLiteral("plain.exe"), stub);
    const QString zipSource = dir.write(QStringLiteral("z/a.txt"), "zip member");
    ArchiveFile zip(nullptr);
    ArchiverError error;
    int result = -1;
    ASSERT_TRUE(zip.SetFileName(dir.filePath(QStringLiteral("z.zip")), error));
    ASSERT_TRUE(zip.PackFiles(nullptr, QString(), {zipSource}, result, error));
    ASSERT_EQ(result, 0);
    QFile::copy(dir.filePath(QStringLiteral("z.zip")), dir.filePath(QStringLiteral("zip.exe")));

    EXPECT_EQ(ArchiverTypeOfFile(dir.filePath(QStringLiteral("lzh.exe"))), atLha);
    EXPECT_EQ(ArchiverTypeOfFile(dir.filePath(QStringLiteral("zip.exe"))), atZip);
    EXPECT_EQ(ArchiverTypeOfFile(dir.filePath(QStringLiteral("plain.exe"))), atNone);
    WithoutLibrary noLha(QStringLiteral("UNLHA32.DLL"));
    EXPECT_EQ(ArchiverTypeOfFile(dir.filePath(QStringLiteral("lzh.exe"))), atNone);
}

TEST(ArchiveFile, NewComponentAndTypeChanges)
{
    ArchiveFile file(nullptr);
    EXPECT_EQ(file.type(), atAutoDetect);
    EXPECT_TRUE(file.FileName().isEmpty());
    EXPECT_EQ(file.archiver(), nullptr);
    EXPECT_EQ(file.Options()->x, -1);

    ArchiverError error;
    ASSERT_TRUE(file.SetArchiverType(atLha, error));
    Archiver* lha = file.archiver();
    EXPECT_NE(dynamic_cast<LhaArchiver*>(lha), nullptr);
    EXPECT_TRUE(file.SetArchiverType(atNone, error));
    EXPECT_EQ(file.type(), atLha);
    EXPECT_EQ(file.archiver(), lha);

    EXPECT_FALSE(file.SetArchiverType(atAutoDetect, error));
    EXPECT_EQ(error.Message, QStringLiteral("現在のバージョンではこの形式の書庫をサポートしていません。"));
    EXPECT_EQ(file.archiver(), lha);

    ASSERT_TRUE(file.SetFileName(QStringLiteral("x.TGZ"), error));
    EXPECT_EQ(file.type(), atTgz);
    EXPECT_NE(dynamic_cast<TgzArchiver*>(file.archiver()), nullptr);
}

TEST(ArchiveFile, UnknownExtensionCannotBePacked)
{
    ArchiveFile file(nullptr);
    ArchiverError error;
    ASSERT_TRUE(file.SetFileName(QStringLiteral("data.dat"), error));
    EXPECT_EQ(file.archiver(), nullptr);
    int result = 0;
    EXPECT_FALSE(file.PackFiles(nullptr, QString(), {QStringLiteral("x")}, result, error));
    EXPECT_EQ(error.Message, QStringLiteral("書庫の形式を判別できません。"));
    EXPECT_FALSE(file.ExtractFiles(nullptr, QStringLiteral("d"), nullptr, result, error));
    EXPECT_EQ(error.Message, QStringLiteral("書庫の形式を判別できません。"));
}

struct MissingCase
{
    const char* library;
    const char* fileName;
    const char* message;
};

class MissingLibrary : public ::testing::TestWithParam<MissingCase>
{
};

// Choosing a format whose library is missing fails with the format's message and keeps the
// component as it was.
TEST_P(MissingLibrary, FormatReportsItsLibrary)
{
    const MissingCase& c = GetParam();
    WithoutLibrary missing(QString::fromLatin1(c.library));
    WithoutLibrary alsoMissing(QStringLiteral("LMZIP32.DLL")); // ZIP needs both gone
    ArchiveFile file(nullptr);
    ArchiverError error;
    if (QString::fromLatin1(c.library) != QLatin1String("UNLHA32.DLL"))
        ASSERT_TRUE(file.SetArchiverType(atLha, error));
    const ArchiverType typeBefore = file.type();
    const Archiver* archiverBefore = file.archiver();
    EXPECT_FALSE(file.SetFileName(QString::fromLatin1(c.fileName), error));
    EXPECT_EQ(error.Message, QString::fromUtf8(c.message));
    EXPECT_EQ(file.type(), typeBefore);
    EXPECT_EQ(file.archiver(), archiverBefore);
    EXPECT_TRUE(file.FileName().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, MissingLibrary,
    ::testing::Values(MissingCase{"UNLHA32.DLL", "a.lzh", "この機能の使用には UNLHA32.DLL が 必要です。"},
                      MissingCase{"UNARJ32J.DLL", "a.arj", "この機能の使用には UNARJ32J.DLL が 必要です。"},
                      MissingCase{"tar32.dll", "a.tar", "この機能の使用には tar32.dll が 必要です。"},
                      MissingCase{"CAB32.DLL", "a.cab", "CAB 形式書庫を扱うには CAB32.DLL が 必要です。"},
                      MissingCase{"UNZIP32.DLL", "a.zip", "ZIP 形式書庫を扱うには UNZIP32.DLL または LMZIP32.DLL が 必要です。"}));

TEST(Archiver, OperationsNotOffered)
{
    ArchiverError error;
    int result = 0;
    ArchiverOptions options;
    ZipArchiver zip;
    EXPECT_FALSE(zip.Delete(nullptr, QStringLiteral("a.zip"), nullptr, QString(), options, result, error));
    EXPECT_EQ(error.Message, QStringLiteral("この形式の書庫ではファイルの削除をサポートしておりません。"));
    EXPECT_FALSE(zip.MakeSfx(nullptr, QStringLiteral("a.zip"), options, result, error));
    EXPECT_EQ(error.Message, QStringLiteral("ＺＩＰ形式書庫から自己解凍書庫を作成する機能はサポートされていません。"));
    ArjArchiver arj;
    EXPECT_FALSE(arj.Pack(nullptr, QStringLiteral("a.arj"), nullptr, QString(), options, result, error));
    EXPECT_EQ(error.Message, QStringLiteral("お使いの UNARJ32J.DLL は書庫の作成機能をサポートしていません。"));
    EXPECT_FALSE(arj.MakeSfx(nullptr, QStringLiteral("a.arj"), options, result, error));
    EXPECT_EQ(error.Message, QStringLiteral("お使いの UNARJ32J.DLL は自己解凍書庫の作成機能をサポートしていません。"));

    WithoutLibrary noLmzip(QStringLiteral("LMZIP32.DLL"));
    EXPECT_FALSE(zip.Pack(nullptr, QStringLiteral("a.zip"), nullptr, QString(), options, result, error));
    EXPECT_EQ(error.Message, QStringLiteral("ZIP 形式書庫の作成には LMZIP32.DLL が必要です。"));
}

TEST(GetEntry, MissingEntryNamesLibraryAndEntry)
{
    const archiver::Library* library = archiver::loadLibrary(QStringLiteral("unlha32.dll"));
    ASSERT_NE(library, nullptr);
    ArchiverError error;
    EXPECT_NE(GetEntry(library, QStringLiteral("Unlha"), error), nullptr);
    EXPECT_EQ(GetEntry(library, QStringLiteral("UnlhaGetRunning"), error), nullptr);
    EXPECT_EQ(error.Message, QStringLiteral("UNLHA32.DLL に UnlhaGetRunning のエントリが見つかりません。"));
}

} // namespace
