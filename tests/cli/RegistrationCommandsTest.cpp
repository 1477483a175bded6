#include "store/DataModule.h"
#include "support/CliRunner.h"
#include "support/ProgramFolderFixture.h"
#include "support/ScriptedUserInteraction.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

using testsupport::runCli;

TEST(RegistrationCommands, ListAndNextNumberRunTheStart)
{
    testsupport::TempDir dir;
    testsupport::writeEmptyProgramFolder(dir.path());
    {
        testsupport::ScriptedUserInteraction ui;
        store::DataModule dm(dir.path(), &ui);
        ASSERT_TRUE(dm.start());
        store::Table* main = dm.table(QStringLiteral("NT_TBL_MAIN"));
        for (const char* number : {"XXK-000007", "TH-0001", "XXK-000002"}) {
            main->append();
            main->field(QStringLiteral("REG_NO")).setString(QLatin1String(number));
            main->field(QStringLiteral("TECH_TITLE")).setString(QStringLiteral("技術 %1").arg(QLatin1String(number)));
            main->post();
        }
        ASSERT_TRUE(dm.CloseAllTables());
    }
    const auto home = QStringList{QStringLiteral("--home"), dir.path()};

    auto listed = runCli(home + QStringList{QStringLiteral("list")});
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_EQ(listed.out, QStringLiteral("TH-0001\t技術 TH-0001\nXXK-000002\t技術 XXK-000002\nXXK-000007\t技術 XXK-000007\n"));
    auto next = runCli(home + QStringList{QStringLiteral("next-number")});
    EXPECT_EQ(next.exitCode, 0) << next.err.toStdString();
    EXPECT_EQ(next.out, QStringLiteral("XXK-000008\n"));
    // The command ends its process without closing the tables one by one: the folder is let go.
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("vordell.lock"))));

    // A broken data folder is not restored unless asked for.
    QFile::remove(dir.filePath(QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds")));
    listed = runCli(home + QStringList{QStringLiteral("list")});
    EXPECT_NE(listed.exitCode, 0);
    EXPECT_TRUE(listed.err.contains(QStringLiteral("システムを終了します。"))) << listed.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds"))));
    listed = runCli(QStringList{QStringLiteral("--restore-backup")} + home + QStringList{QStringLiteral("list")});
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_EQ(listed.out.count(QLatin1Char('\n')), 3);
}

// A command started while the program runs on the same folder is told and changes nothing.
TEST(RegistrationCommands, ACommandOnAFolderInUseIsRefusedInJapanese)
{
    testsupport::TempDir dir;
    testsupport::writeEmptyProgramFolder(dir.path());
    testsupport::ScriptedUserInteraction ui;
    store::DataModule running(dir.path(), &ui);
    ASSERT_TRUE(running.start());
    const QByteArray backupBefore = dir.read(QStringLiteral("FLATT_FILES/CdsBK/NT_TBL_MAIN.cds"));
    QFile::remove(dir.filePath(QStringLiteral("FLATT_FILES/CdsBK/NT_TBL_MAIN.cds")));

    const auto result = runCli({QStringLiteral("--home"), dir.path(), QStringLiteral("next-number")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(result.err.contains(QStringLiteral("データはほかのプログラムで使用中です。"))) << result.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("FLATT_FILES/CdsBK/NT_TBL_MAIN.cds")))) << "the backup was not refreshed";
    EXPECT_FALSE(backupBefore.isEmpty());
}

// A folder the user cannot write is named with that reason, not taken for a folder in use.
TEST(RegistrationCommands, AFolderThatCannotBeWrittenIsNamedAsSuch)
{
    testsupport::TempDir dir;
    const QString home = dir.filePath(QStringLiteral("home"));
    testsupport::writeEmptyProgramFolder(home);
    const auto readable = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), readable | QFileDevice::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(home, readable));
    const auto result = testsupport::runCliAsOrdinaryUser({QStringLiteral("--home"), home, QStringLiteral("list")});
    QFile::setPermissions(home, readable | QFileDevice::WriteOwner);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(result.err.contains(QStringLiteral("フォルダ %1 に書き込めません (Permission denied)").arg(home))) << result.err.toStdString();
    EXPECT_FALSE(result.err.contains(QStringLiteral("使用中")));
}
