#include "store/DataModule.h"
#include "store/Draft.h"
#include "store/Schema.h"
#include "support/CliRunner.h"
#include "support/ProgramFolderFixture.h"
#include "support/ScriptedUserInteraction.h"
#include "support/TempDir.h"

#include <QLockFile>
#include <gtest/gtest.h>

using testsupport::runCli;

namespace {

store::TableRows mainRow(const QString& number, const QString& title)
{
    store::TableRows rows{QStringLiteral("NT_TBL_MAIN"), store::schema::findTable(QStringLiteral("NT_TBL_MAIN"))->fields, {}};
    QVector<QVariant> row(rows.fields.size());
    for (int f = 0; f < rows.fields.size(); ++f) {
        if (rows.fields.at(f).name == QLatin1String("REG_NO"))
            row[f] = number;
        if (rows.fields.at(f).name == QLatin1String("TECH_TITLE"))
            row[f] = title;
    }
    rows.rows.append(row);
    return rows;
}

} // namespace

// "drafts" lists each changed item of each draft against the saved rows, prints nothing without
// drafts, reports a damaged one on stderr, and reads while another program holds the folder.
TEST(DraftCommands, ListsChangedItemsAgainstTheSavedRows)
{
    testsupport::TempDir dir;
    testsupport::writeEmptyProgramFolder(dir.path());
    {
        testsupport::ScriptedUserInteraction ui;
        store::DataModule dm(dir.path(), &ui);
        ASSERT_TRUE(dm.start());
        store::Table* main = dm.table(QStringLiteral("NT_TBL_MAIN"));
        main->append();
        main->field(QStringLiteral("REG_NO")).setString(QStringLiteral("XXK-000001"));
        main->field(QStringLiteral("TECH_TITLE")).setString(QStringLiteral("保存した名称"));
        main->post();
        ASSERT_TRUE(dm.CloseAllTables());
    }
    const QStringList home = {QStringLiteral("--home"), dir.path(), QStringLiteral("drafts")};
    auto none = runCli(home);
    EXPECT_EQ(none.exitCode, 0) << none.err.toStdString();
    EXPECT_TRUE(none.out.isEmpty());

    const store::ProgramFolder folder(dir.path());
    QLockFile running(dir.filePath(QStringLiteral("vordell.lock")));
    ASSERT_TRUE(running.tryLock(0)); // a window edits the folder meanwhile
    store::Draft edited;
    edited.number = QStringLiteral("XXK-000001");
    edited.page = 1;
    edited.changed = QDateTime(QDate(2026, 12, 11), QTime(3, 4, 5));
    edited.tables = {mainRow(edited.number, QStringLiteral("保存した名称\t続き"))};
    ASSERT_TRUE(store::drafts::write(store::drafts::pathFor(folder, edited.number), store::drafts::serialise(edited), nullptr));
    store::Draft created = edited;
    created.number = QStringLiteral("XXK-000002");
    created.isNew = true;
    created.tables = {mainRow(created.number, QStringLiteral("新しい技術"))};
    ASSERT_TRUE(store::drafts::write(store::drafts::pathFor(folder, created.number), store::drafts::serialise(created), nullptr));

    auto listed = runCli(home);
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_EQ(listed.out, QStringLiteral("XXK-000001\t2026/12/11 03:04:05\t名称・分類等\t技術名称\t保存した名称\t保存した名称\\t続き\n"
                                         "XXK-000002\t2026/12/11 03:04:05\t名称・分類等\t技術名称\t\t新しい技術\n"));
    EXPECT_TRUE(running.isLocked());

    dir.write(QStringLiteral("FLATT_FILES/Drafts/XXK-000003.draft"), "VORDELL-DRAFT\t1\n");
    auto damaged = runCli(home);
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.err.contains(QStringLiteral("XXK-000003.draft"))) << damaged.err.toStdString();
    EXPECT_EQ(damaged.out, listed.out);
}
