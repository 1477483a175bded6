// Where the program keeps its data: --home, a build or portable copy beside the executable, or the
// user's own folder made from the data an installed package ships, and how a newer package's data
// reaches that folder without touching the user's registrations.
#include "store/DataModule.h"
#include "store/ProgramFolderLocation.h"
#include "store/ShippedDataInstall.h"
#include "store/Table.h"
#include "support/ScriptedUserInteraction.h"
#include "support/ShippedProgramFolder.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace store;

namespace {

// An unpacked installation under a temporary root: usr/bin (the executables' folder, without data)
// beside usr/share/vordell (the shipped data), and a user's data folder that does not exist yet.
class ProgramFolderLocationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(bin());
        testsupport::copyShippedProgramFolder(shipped());
    }

    QString bin() const { return dir.filePath(QStringLiteral("root/usr/bin")); }
    QString shipped() const { return dir.filePath(QStringLiteral("root/usr/share/vordell")); }
    QString user() const { return dir.filePath(QStringLiteral("home/.local/share/VORDELL")); }

    QString locate(const QString& home = QString())
    {
        QString error;
        const QString folder = locateProgramFolder(home, bin(), user(), &error);
        EXPECT_FALSE(folder.isEmpty()) << error.toStdString();
        return folder;
    }

    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void write(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // The shipped lookup table of the harbour offices with one office renamed, as a newer package
    // would ship it.
    void shipRenamedOffice()
    {
        const QString path = shipped() + QStringLiteral("/FLATT_FILES/NT_STBL_HAC_SAI.cds");
        QByteArray bytes = read(path);
        ASSERT_TRUE(bytes.contains(QStringLiteral("\"函館港湾事務所\"").toUtf8()));
        write(path, bytes.replace(QStringLiteral("\"函館港湾事務所\"").toUtf8(), QStringLiteral("\"函館港湾事務所（新）\"").toUtf8()));
    }

    testsupport::TempDir dir;
};

TEST_F(ProgramFolderLocationTest, ChoosesHomeThenAWritableDataFolderBesideTheExecutableThenTheUsersFolder)
{
    // --home wins even over a data folder beside the executable, and is taken as given.
    QDir().mkpath(bin() + QStringLiteral("/FLATT_FILES"));
    EXPECT_EQ(locate(dir.filePath(QStringLiteral("elsewhere"))), dir.filePath(QStringLiteral("elsewhere")));
    EXPECT_FALSE(QFileInfo::exists(user()));

    // A build or portable copy: the executable's folder.
    EXPECT_EQ(locate(), QDir(bin()).absolutePath());
    EXPECT_FALSE(QFileInfo::exists(user()));

    // An installation: the user's folder.
    QDir(bin() + QStringLiteral("/FLATT_FILES")).removeRecursively();
    EXPECT_EQ(locate(), QDir(user()).absolutePath());
}

TEST_F(ProgramFolderLocationTest, AReadOnlyDataFolderBesideTheExecutableLeadsToTheUsersFolder)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser may write into a read-only folder";
    const QString data = bin() + QStringLiteral("/FLATT_FILES");
    QDir().mkpath(data);
    QFile::setPermissions(data, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(locate(), QDir(user()).absolutePath());
    QFile::setPermissions(data, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(ProgramFolderLocationTest, FirstStartMakesTheUsersFolderFromTheShippedDataWritable)
{
    // Installed files belong to the system and are read-only for the user.
    QFile::setPermissions(shipped() + QStringLiteral("/HELP.TXT"), QFileDevice::ReadOwner | QFileDevice::ReadOther);
    const QString folder = locate();
    for (const char* relative : {"FLATT_FILES/NT_TBL_MAIN.cds", "FLATT_FILES/NT_STBL_HAC_SAI.cds", "Zero/NT_TBL_MAIN.Cds",
                                 "CNSTDEF.TXT", "HELP.TXT", "Template.htm", "Template4.htm"}) {
        const QString relativePath = QString::fromLatin1(relative);
        EXPECT_EQ(read(folder + QLatin1Char('/') + relativePath), read(shipped() + QLatin1Char('/') + relativePath)) << relative;
    }
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/HELP.TXT")).isWritable());
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/Temp")).isDir());
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/Images")).isDir());
    EXPECT_TRUE(QDir(folder + QStringLiteral("/FLATT_FILES")).entryList({QStringLiteral("_*")}, QDir::Files).isEmpty());
}

TEST_F(ProgramFolderLocationTest, NewerShippedDataKeepsRegistrationsAndHandsOverChangedLookupTables)
{
    const QString folder = locate();
    const QString data = folder + QStringLiteral("/FLATT_FILES/");
    const QByteArray registrations = "the user's registrations";
    write(data + QStringLiteral("NT_TBL_MAIN.cds"), registrations);
    // The user's copy names its file in other letters; it is still the same table.
    QFile::rename(data + QStringLiteral("PL_STBL_CLIENT_KIND.cds"), data + QStringLiteral("pl_stbl_client_kind.CDS"));
    const QByteArray kinds = read(data + QStringLiteral("pl_stbl_client_kind.CDS"));
    QFile::remove(data + QStringLiteral("NT_TBL_PICTURE.cds"));

    shipRenamedOffice();
    write(shipped() + QStringLiteral("/FLATT_FILES/NT_TBL_MAIN.cds"), "a newer empty table");
    write(shipped() + QStringLiteral("/FLATT_FILES/PL_STBL_CLIENT_KIND.cds"), "newer client kinds");
    write(shipped() + QStringLiteral("/HELP.TXT"), "newer help");
    const QByteArray office = read(data + QStringLiteral("NT_STBL_HAC_SAI.cds"));
    ASSERT_EQ(locate(), folder);

    EXPECT_EQ(read(data + QStringLiteral("NT_TBL_MAIN.cds")), registrations);
    EXPECT_FALSE(QFileInfo::exists(data + QStringLiteral("_NT_TBL_MAIN.cds")));
    EXPECT_EQ(read(data + QStringLiteral("NT_STBL_HAC_SAI.cds")), office);
    EXPECT_EQ(read(data + QStringLiteral("_NT_STBL_HAC_SAI.cds")), read(shipped() + QStringLiteral("/FLATT_FILES/NT_STBL_HAC_SAI.cds")));
    EXPECT_EQ(read(data + QStringLiteral("pl_stbl_client_kind.CDS")), kinds);
    EXPECT_EQ(read(data + QStringLiteral("_pl_stbl_client_kind.CDS")), "newer client kinds");
    EXPECT_EQ(read(data + QStringLiteral("NT_TBL_PICTURE.cds")), read(shipped() + QStringLiteral("/FLATT_FILES/NT_TBL_PICTURE.cds")));
    EXPECT_EQ(read(folder + QStringLiteral("/HELP.TXT")), "newer help");
    const QStringList handedOver = QDir(data).entryList({QStringLiteral("_*")}, QDir::Files);
    EXPECT_EQ(handedOver, QStringList({QStringLiteral("_NT_STBL_HAC_SAI.cds"), QStringLiteral("_pl_stbl_client_kind.CDS")}));
}

TEST_F(ProgramFolderLocationTest, TheNextStartTakesOverTheNewerLookupTableAndKeepsARegistrationMadeBefore)
{
    const QString folder = locate();
    testsupport::ScriptedUserInteraction ui;
    {
        DataModule dm(folder, &ui);
        ASSERT_TRUE(dm.start()) << dm.startError().toStdString();
        QString number;
        QString error;
        ASSERT_TRUE(dm.NextLocalNumber(&number, &error)) << error.toStdString();
        Table* main = dm.table(QStringLiteral("NT_TBL_MAIN"));
        main->field(QStringLiteral("REG_NO")).setString(number);
        main->field(QStringLiteral("TECH_TITLE")).setString(QStringLiteral("防波堤の新工法"));
        main->post();
        ASSERT_TRUE(dm.CloseAllTables());
    }

    shipRenamedOffice();
    ASSERT_EQ(locate(), folder);
    DataModule dm(folder, &ui);
    ASSERT_TRUE(dm.start()) << dm.startError().toStdString();
    EXPECT_TRUE(ui.boxes().isEmpty());
    EXPECT_TRUE(dm.table(QStringLiteral("NT_STBL_HAC_SAI"))->locate(QStringLiteral("HAC_SAI"), QStringLiteral("函館港湾事務所（新）")));
    Table* main = dm.table(QStringLiteral("NT_TBL_MAIN"));
    ASSERT_EQ(main->recordCount(), 1);
    EXPECT_EQ(main->field(QStringLiteral("TECH_TITLE")).asString(), QStringLiteral("防波堤の新工法"));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/FLATT_FILES/_NT_STBL_HAC_SAI.cds")));
}

TEST_F(ProgramFolderLocationTest, ALostRegistrationTableIsLeftForTheRestoreFromTheBackupNotReplacedByAnEmptyOne)
{
    const QString folder = locate();
    const QString data = folder + QStringLiteral("/FLATT_FILES/");
    testsupport::ScriptedUserInteraction ui;
    {
        DataModule dm(folder, &ui); // the start fills the automatic backup
        ASSERT_TRUE(dm.start()) << dm.startError().toStdString();
    }
    ASSERT_TRUE(QFileInfo::exists(data + QStringLiteral("CdsBK/NT_TBL_MAIN.cds")));
    QFile::remove(data + QStringLiteral("NT_TBL_MAIN.cds"));
    // A table a newer package adds is not in the backup: it arrives empty.
    write(shipped() + QStringLiteral("/FLATT_FILES/NT_TBL_ADDED.cds"), "a table of a newer layout");

    ASSERT_EQ(locate(), folder);
    EXPECT_FALSE(QFileInfo::exists(data + QStringLiteral("NT_TBL_MAIN.cds")));
    EXPECT_EQ(read(data + QStringLiteral("NT_TBL_ADDED.cds")), "a table of a newer layout");
}

TEST_F(ProgramFolderLocationTest, MissingShippedDataOrAnUnwritableUserFolderIsReportedPlainly)
{
    QString error;
    QDir(shipped()).removeRecursively();
    EXPECT_TRUE(locateProgramFolder(QString(), bin(), user(), &error).isEmpty());
    EXPECT_TRUE(error.startsWith(QStringLiteral("プログラムのデータが見つかりません。\r\n入力システムを再インストールして下さい。")))
        << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(user()));

    // The user's folder cannot be made where a file of that name stands.
    testsupport::copyShippedProgramFolder(shipped());
    write(user(), "not a folder");
    EXPECT_TRUE(locateProgramFolder(QString(), bin(), user(), &error).isEmpty());
    EXPECT_TRUE(error.startsWith(QStringLiteral("データフォルダを準備できません。\r\n"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(user()))) << error.toStdString();
}

TEST_F(ProgramFolderLocationTest, AUsersFolderMadeBeforeServesWhenTheShippedDataIsGone)
{
    const QString folder = locate();
    QDir(shipped()).removeRecursively();
    EXPECT_EQ(locate(), folder);
}

} // namespace
