#include "app/EditingCycle.h"
#include "RegistrationRows.h"
#include "store/DataModule.h"
#include "store/TableFile.h"
#include "support/ScriptedUserInteraction.h"
#include "support/ShippedProgramFolder.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using app::EditingCycle;
using testsupport::ScriptedUserInteraction;
using registrationrows::kRegistrationTables;
using UI = UserInteraction;

namespace {

const QString kSaveQuestion = QStringLiteral("編集データを保存しますか？");
const QString kComparisonMissing = QStringLiteral("「活用の効果の根拠」を入力していません。\r\n新技術の入力を終了しますか？");


// The screen as the cycle sees it: which page it shows, what the comparison page holds, the answer
// of the save check, and the steps the cycle asked for that touch photos and pages.
class RecordingScreen : public app::RegistrationScreen
{
public:
    bool onList = true;
    bool checkFails = false;
    QString typedComparisonTitle;
    QStringList steps;

    bool showsList() const override { return onList; }
    void showList() override
    {
        onList = true;
        steps << "showList";
    }
    void showEntryPages() override { onList = false; }
    void clearClassification() override {}
    void showNewRegistrationDefaults() override {}
    void comparisonCreated() override {}
    void showNewRegistration() override { onList = false; }
    void classificationOpened() override {}
    void comparisonOpened() override {}
    void showPhotoSlots() override {}
    void showOpenedRegistration() override {}
    void openedRegistrationShown() override {}
    bool saveCheckFails() override
    {
        steps << "saveCheck";
        return checkFails;
    }
    store::SaveInputs saveInputs() const override
    {
        store::SaveInputs inputs;
        inputs.compareTechTitle = typedComparisonTitle;
        return inputs;
    }
    void registrationSaved() override {}
    QString comparisonTitle() const override { return typedComparisonTitle; }
    void photosSaved(const QString& number) override { steps << "photosSaved " + number; }
    void photosAbandoned(const QString& number) override { steps << "photosAbandoned " + number; }
    void changesDropped() override { steps << "changesDropped"; }
};

// The cycle over the data module of a copy of the shipped program folder, wired as the main window
// wires it, with a screen that records what it is asked to show.
class EditingCycleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testsupport::copyShippedProgramFolder(dir.path());
        start();
    }

    void start()
    {
        dm = std::make_unique<store::DataModule>(dir.path(), &UserInteraction::current());
        ASSERT_TRUE(dm->start());
        screen = RecordingScreen();
        cycle = std::make_unique<EditingCycle>(*dm, screen);
        QObject::connect(dm.get(), &store::DataModule::MarkModified, cycle.get(), &EditingCycle::markModified);
        QObject::connect(dm.get(), &store::DataModule::MarkSaved, cycle.get(), &EditingCycle::markSaved);
    }

    // Closes from the list and starts again on the files.
    void restart()
    {
        ASSERT_TRUE(screen.onList);
        ASSERT_TRUE(cycle->mayClose()) << ui.boxTexts().join('|').toStdString();
        cycle.reset();
        dm.reset();
        start();
    }

    store::Table* table(const QString& name) const { return dm->table(name); }
    QString field(const QString& tableName, const QString& name) const { return table(tableName)->field(name).asString().trimmed(); }
    // What the user types into a box bound to `name` of `tableName`.
    void type(const QString& tableName, const QString& name, const QString& value)
    {
        store::Table* t = table(tableName);
        if (!t->isEditing())
            t->edit();
        t->field(name).setString(value);
    }
    QStringList valuesInMemory(const QString& tableName, const QString& fieldName) const
    {
        return registrationrows::valuesInMemory(*dm, tableName, fieldName);
    }
    QStringList valuesInFile(const QString& tableName, const QString& fieldName) const
    {
        return registrationrows::valuesInFile(*dm, tableName, fieldName);
    }
    void expectRegistrations(const QStringList& numbers) const { registrationrows::expectRegistrations(*dm, numbers); }
    // A new registration with a name and a conventional technology, saved.
    void saveNew(const QString& title)
    {
        cycle->newRegistration();
        type("NT_TBL_MAIN", "TECH_TITLE", title);
        screen.typedComparisonTitle = QStringLiteral("従来の工法");
        type("NT_TBL_COMPARE_MAIN", "BASE_UNIT", QStringLiteral("m"));
        cycle->markModified();
        ui.expectBox(UI::Yes);
        cycle->save();
    }

    testsupport::TempDir dir;
    ScriptedUserInteraction ui;
    RecordingScreen screen;
    std::unique_ptr<store::DataModule> dm;
    std::unique_ptr<EditingCycle> cycle;
};

TEST_F(EditingCycleTest, ANewRegistrationLeftAtOnceLeavesNoRowAndTheNextNumberGoesOn)
{
    cycle->newRegistration();
    EXPECT_EQ(field("NT_TBL_MAIN", "REG_NO"), QStringLiteral("XXK-000001"));
    EXPECT_EQ(cycle->mode(), EditingCycle::New);
    EXPECT_FALSE(screen.onList);
    EXPECT_FALSE(cycle->isModified());
    EXPECT_TRUE(field("NT_TBL_DESCRIPTION", "SUMMARY_DESC").startsWith(QStringLiteral("①何について")));

    ui.expectBox(UI::Yes); // the comparison is not filled in: leave all the same
    cycle->backToList();
    EXPECT_EQ(ui.boxTexts(), QStringList{kComparisonMissing});
    EXPECT_TRUE(screen.onList);
    EXPECT_EQ(cycle->mode(), EditingCycle::None);
    for (const QString& name : kRegistrationTables)
        EXPECT_TRUE(table(name)->allRows().isEmpty()) << name.toStdString();

    cycle->newRegistration();
    EXPECT_EQ(field("NT_TBL_MAIN", "REG_NO"), QStringLiteral("XXK-000002"));
}

// The save question, then the save check: only a Yes and a passed check write the registration.
TEST_F(EditingCycleTest, SaveWritesOnlyAfterYesAndAPassedCheck)
{
    cycle->newRegistration();
    type("NT_TBL_DETAIL", "SALES_SECTION", QStringLiteral("技術部"));
    ASSERT_TRUE(cycle->isModified());

    ui.expectBox(UI::No); // not now
    cycle->save();
    screen.checkFails = true;
    ui.expectBox(UI::Yes);
    cycle->save();
    EXPECT_TRUE(cycle->isModified());
    EXPECT_EQ(cycle->mode(), EditingCycle::New);
    EXPECT_EQ(screen.steps, QStringList{"saveCheck"}) << "a failed check writes nothing and keeps the photos";
    EXPECT_TRUE(valuesInFile("NT_TBL_MAIN", "REG_NO").isEmpty());

    screen.checkFails = false;
    ui.expectBox(UI::Yes);
    cycle->save();
    EXPECT_EQ(ui.boxes().last().text, kSaveQuestion);
    EXPECT_EQ(ui.boxes().last().caption, QStringLiteral("確認"));
    EXPECT_FALSE(cycle->isModified());
    EXPECT_EQ(cycle->mode(), EditingCycle::Edited);
    EXPECT_EQ(screen.steps, (QStringList{"saveCheck", "saveCheck", "photosSaved XXK-000001"}));
    EXPECT_EQ(valuesInFile("NT_TBL_DETAIL", "SALES_SECTION"), QStringList{QStringLiteral("技術部")}) << "a save reaches the files at once";
}

// "Yes" to the save question and then "No" to the comparison question: the registration is saved,
// stays open as an edited one, and the next "メニュー" keeps every one of its rows.
TEST_F(EditingCycleTest, ASaveOnTheWayToTheListMakesTheRegistrationAnEditedOne)
{
    cycle->newRegistration();
    type("NT_TBL_MAIN", "TECH_TITLE", QStringLiteral("桟橋の補修"));
    cycle->markModified();
    ui.expectBox(UI::Yes); // save
    ui.expectBox(UI::No);  // the comparison is missing: stay
    cycle->backToList();
    EXPECT_EQ(ui.boxTexts(), (QStringList{kSaveQuestion, kComparisonMissing}));
    EXPECT_EQ(cycle->mode(), EditingCycle::Edited);
    EXPECT_FALSE(cycle->isModified());
    EXPECT_FALSE(screen.onList);

    ui.expectBox(UI::Yes);
    cycle->backToList();
    ASSERT_TRUE(screen.onList);
    for (const char* name : {"NT_TBL_DETAIL", "NT_TBL_DESCRIPTION", "NT_TBL_MAIN"}) {
        EXPECT_EQ(valuesInMemory(QLatin1String(name), "REG_NO"), QStringList{"XXK-000001"}) << name;
        EXPECT_EQ(valuesInFile(QLatin1String(name), "REG_NO"), QStringList{"XXK-000001"}) << name;
    }
    restart();
    expectRegistrations({"XXK-000001"});
}

// "No" drops the changes: the rows are cancelled before the photos set aside come back, and a new
// registration is removed; a user who then stays goes on with a fresh one under a number.
TEST_F(EditingCycleTest, AfterANewRegistrationIsDiscardedTheUserStaysWithAFreshOne)
{
    cycle->newRegistration();
    type("NT_TBL_DETAIL", "SALES_SECTION", QStringLiteral("捨てる技術"));
    ui.expectBox(UI::No); // do not save
    ui.expectBox(UI::No); // the comparison is missing: stay
    cycle->backToList();
    EXPECT_EQ(screen.steps, (QStringList{"photosAbandoned XXK-000001", "changesDropped"}));
    EXPECT_FALSE(screen.onList);
    EXPECT_EQ(cycle->mode(), EditingCycle::New);
    EXPECT_EQ(field("NT_TBL_MAIN", "REG_NO"), QStringLiteral("XXK-000002"));
    EXPECT_EQ(field("NT_TBL_DETAIL", "SALES_SECTION"), QString());

    type("NT_TBL_MAIN", "TECH_TITLE", QStringLiteral("残す技術"));
    ui.expectBox(UI::Yes);
    cycle->save();
    EXPECT_EQ(valuesInFile("NT_TBL_MAIN", "TECH_TITLE"), QStringList{QStringLiteral("残す技術")});
    ui.expectBox(UI::Yes); // leave without the comparison
    cycle->backToList();
    restart();
    expectRegistrations({"XXK-000002"});
}

// "取消" asks first; OK drops an edited registration's changes and goes back to the list.
TEST_F(EditingCycleTest, DiscardingAskedChangesKeepsTheSavedRegistration)
{
    saveNew(QStringLiteral("岸壁"));
    type("NT_TBL_DETAIL", "SALES_SECTION", QStringLiteral("捨てる部署"));
    screen.steps.clear();
    ui.expectBox(UI::Cancel);
    cycle->discardChanges();
    EXPECT_FALSE(screen.onList);
    EXPECT_TRUE(cycle->isModified());

    ui.expectBox(UI::Ok);
    cycle->discardChanges();
    EXPECT_EQ(ui.boxes().last().text, QStringLiteral("データの変更を取り消して、メニューに戻ります。"));
    EXPECT_EQ(screen.steps, (QStringList{"photosAbandoned XXK-000001", "changesDropped", "showList"}));
    EXPECT_EQ(cycle->mode(), EditingCycle::None);
    EXPECT_EQ(field("NT_TBL_DETAIL", "SALES_SECTION"), QString());
    EXPECT_EQ(valuesInMemory("NT_TBL_MAIN", "TECH_TITLE"), QStringList{QStringLiteral("岸壁")});
}

// Deleting asks with the name and removes every row and the registration's own photos (and their
// set-aside copies), never those of a registration whose number contains its number.
TEST_F(EditingCycleTest, DeleteAsksWithTheNameAndRemovesTheRowsAndOnlyItsOwnPhotos)
{
    ui.expectBox(UI::Ok);
    cycle->deleteRegistration();
    EXPECT_EQ(ui.boxTexts(), QStringList{QStringLiteral("削除するデータがありません。")});
    EXPECT_EQ(ui.boxes().at(0).caption, QStringLiteral("注意"));

    saveNew(QStringLiteral("杭の打設工法"));
    cycle->backToList();
    const QStringList own = {"Images/XXK-000001A.jpg", "Images/XXK-000001G.gif", "Images/_XXK-000001B.gif"};
    const QStringList others = {"Images/XXK-000002A.jpg", "Images/AXXK-000001A.jpg", "Images/XXK-0000012A.jpg", "Images/_AXXK-000001S.gif"};
    for (const QString& name : own + others)
        dir.write(name, "photo");
    ui.clearBoxes();

    ui.expectBox(UI::No);
    cycle->deleteRegistration();
    EXPECT_EQ(ui.boxTexts(), QStringList{QStringLiteral("\"杭の打設工法\"を削除します。")});
    EXPECT_EQ(table("NT_TBL_MAIN")->recordCount(), 1);

    ui.expectBox(UI::Yes);
    cycle->deleteRegistration();
    for (const QString& name : kRegistrationTables)
        EXPECT_TRUE(table(name)->allRows().isEmpty()) << name.toStdString();
    EXPECT_TRUE(valuesInFile("NT_TBL_MAIN", "REG_NO").isEmpty()) << "the deletion reaches the data folder at once";
    for (const QString& name : own)
        EXPECT_FALSE(QFile::exists(dir.filePath(name))) << name.toStdString();
    for (const QString& name : others)
        EXPECT_TRUE(QFile::exists(dir.filePath(name))) << name.toStdString();
    restart();
    expectRegistrations({});
}

// A close whose tables cannot be written tells the user the file and the reason and keeps
// everything in place; once the way is clear, the close writes the posted rows without asking.
TEST_F(EditingCycleTest, ClosingThatCannotWriteKeepsEverythingInPlace)
{
    cycle->newRegistration();
    type("NT_TBL_MAIN", "TECH_TITLE", QStringLiteral("書けない工法"));
    screen.typedComparisonTitle = QStringLiteral("従来の工法");
    type("NT_TBL_COMPARE_MAIN", "BASE_UNIT", QStringLiteral("m"));
    cycle->markModified();
    // Something in the way of every write of NT_TBL_MAIN.
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds.part"))));
    ui.expectBox(UI::Yes); // save before closing
    ui.expectBox(UI::Ok);  // the save could not write
    ui.expectBox(UI::Ok);  // the close could not write
    EXPECT_FALSE(cycle->mayClose());
    ASSERT_EQ(ui.boxes().size(), 3) << ui.boxTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(ui.boxes().at(1).text.contains(QStringLiteral("NT_TBL_MAIN.cds"))) << ui.boxes().at(1).text.toStdString();
    EXPECT_TRUE(ui.boxes().at(2).text.contains(QStringLiteral("NT_TBL_MAIN.cds"))) << ui.boxes().at(2).text.toStdString();
    EXPECT_FALSE(cycle->tablesClosed());
    EXPECT_TRUE(table("NT_TBL_MAIN")->isActive());
    EXPECT_EQ(field("NT_TBL_MAIN", "TECH_TITLE"), QStringLiteral("書けない工法"));

    QDir(dir.filePath(QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds.part"))).removeRecursively();
    ui.clearBoxes();
    EXPECT_TRUE(cycle->mayClose()) << ui.boxTexts().join('|').toStdString();
    EXPECT_TRUE(cycle->tablesClosed());
    EXPECT_EQ(valuesInFile("NT_TBL_MAIN", "TECH_TITLE"), QStringList{QStringLiteral("書けない工法")});
}

// A new registration left without a save takes the records its dialogs had written out of the data
// folder at once, not only at the end of the run.
TEST_F(EditingCycleTest, ANewRegistrationLeftUnsavedTakesItsWrittenRecordsAlong)
{
    cycle->newRegistration();
    store::Table* records = table("PL_TBL_PROJECT_PRIVATE");
    records->append();
    records->field("PRIVATE_ID").setString("1");
    records->field("PJT_NAME").setString(QStringLiteral("護岸工事"));
    ASSERT_TRUE(records->post());
    ASSERT_TRUE(records->save(nullptr)); // as the record dialog writes its table
    ASSERT_EQ(valuesInFile("PL_TBL_PROJECT_PRIVATE", "REG_NO"), QStringList{"XXK-000001"});

    ui.expectBox(UI::Yes); // leave without the comparison
    cycle->backToList();
    ASSERT_TRUE(screen.onList);
    EXPECT_TRUE(valuesInMemory("PL_TBL_PROJECT_PRIVATE", "REG_NO").isEmpty());
    EXPECT_TRUE(valuesInFile("PL_TBL_PROJECT_PRIVATE", "REG_NO").isEmpty());
}

TEST_F(EditingCycleTest, OpeningARegistrationWithoutComparisonGivesItTheNumbersDigits)
{
    saveNew(QStringLiteral("消波ブロック"));
    cycle->backToList();
    ASSERT_TRUE(screen.onList);
    dm->DeleteAll(table("NT_TBL_COMPARE_MAIN"));
    cycle->openRegistration();
    EXPECT_EQ(cycle->mode(), EditingCycle::Edited);
    EXPECT_FALSE(cycle->isModified());
    EXPECT_EQ(table("NT_TBL_COMPARE_MAIN")->field("REC_ID").asInteger(), 1) << "XXK-000001 gives 1, never -1";
}


// Closing from the entry pages asks what the way back to the list asks; the program ends only when
// the answers allow it, and a user who stays after a new registration was dropped has a fresh one.
struct CloseCase
{
    const char* name;
    bool modified;
    std::vector<UI::Button> answers; // to the save question (when modified), then the comparison question
    bool closes;
    EditingCycle::Mode modeWhenStaying;
    QStringList numbersInFile;
};

void PrintTo(const CloseCase& c, std::ostream* os)
{
    *os << c.name;
}

class EditingCycleCloseTest : public EditingCycleTest, public ::testing::WithParamInterface<CloseCase>
{
};

TEST_P(EditingCycleCloseTest, ClosingFromTheEntryPages)
{
    const CloseCase& c = GetParam();
    cycle->newRegistration();
    if (c.modified)
        type("NT_TBL_DETAIL", "SALES_SECTION", QStringLiteral("技術部"));
    for (UI::Button answer : c.answers)
        ui.expectBox(answer);
    EXPECT_EQ(cycle->mayClose(), c.closes) << ui.boxTexts().join('|').toStdString();
    EXPECT_EQ(cycle->tablesClosed(), c.closes);
    if (!c.closes) {
        EXPECT_EQ(cycle->mode(), c.modeWhenStaying);
        EXPECT_FALSE(screen.onList);
        EXPECT_FALSE(field("NT_TBL_MAIN", "REG_NO").isEmpty()) << "the user stays with a registration that exists";
    }
    EXPECT_EQ(valuesInFile("NT_TBL_MAIN", "REG_NO"), c.numbersInFile);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, EditingCycleCloseTest,
    ::testing::Values(CloseCase{"UnchangedLeft", false, {UI::Yes}, true, EditingCycle::None, {}},
                      CloseCase{"UnchangedStaying", false, {UI::No}, false, EditingCycle::New, {}},
                      CloseCase{"Cancelled", true, {UI::Cancel}, false, EditingCycle::New, {}},
                      CloseCase{"DroppedAndLeft", true, {UI::No, UI::Yes}, true, EditingCycle::None, {}},
                      CloseCase{"DroppedAndStaying", true, {UI::No, UI::No}, false, EditingCycle::New, {}},
                      CloseCase{"SavedAndStaying", true, {UI::Yes, UI::No}, false, EditingCycle::Edited, {"XXK-000001"}},
                      CloseCase{"SavedAndLeft", true, {UI::Yes, UI::Yes}, true, EditingCycle::None, {"XXK-000001"}}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

} // namespace
