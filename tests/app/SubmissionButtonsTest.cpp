#include "app/MainWindow.h"
#include "store/Table.h"
#include "submission/SubmissionCheck.h"
#include "support/ScriptedUserInteraction.h"
#include "support/ShippedProgramFolder.h"
#include "support/TempDir.h"
#include <QTableView>

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <gtest/gtest.h>

using UI = UserInteraction;

namespace {

// The list page's "提出用ファイル作成" and "データ取り込み" on a registration entered in the window.
class SubmissionButtonsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testsupport::copyShippedProgramFolder(dir.path());
        ui.setDesktopFolder(out.path());
        window = std::make_unique<app::MainWindow>(dir.path());
        ASSERT_TRUE(window->start());
        window->cycle().newRegistration();
        window->control<QLineEdit>(QStringLiteral("TECH_TITLE"))->setText(QStringLiteral("消波ブロック: 新型"));
        ui.expectBox(UI::Yes);
        window->cycle().save();
        EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("保存しました。"));
        ui.expectBox(UI::Yes); // no comparison with a conventional technology: leave all the same
        window->cycle().backToList();
        ASSERT_EQ(window->pages()->currentIndex(), 0) << ui.boxTexts().join('|').toStdString();
        ui.clearBoxes();
    }

    void click(const char* name) { window->control<QPushButton>(QLatin1String(name))->click(); }
    store::Table* main() const { return window->dm().table(QStringLiteral("NT_TBL_MAIN")); }
    // The year, the group and a complete classification: with the title, all a submission file needs.
    void fillWhatTheSubmissionNeeds()
    {
        main()->edit();
        for (const auto& [field, value] : QList<std::pair<const char*, const char*>>{
                 {"TECH_DVLP_YEAR", "2024"}, {"GRP_CODE1", "01"}, {"LEVEL1_COMBO", "010"}, {"LEVEL2_COMBO", "01001"},
                 {"LEVEL3_COMBO", "0100101"}, {"LEVEL4_COMBO", "010010101"}})
            main()->field(QLatin1String(field)).setString(QLatin1String(value));
        main()->post();
    }

    testsupport::TempDir dir;
    testsupport::TempDir out;
    testsupport::ScriptedUserInteraction ui;
    std::unique_ptr<app::MainWindow> window;
};

TEST_F(SubmissionButtonsTest, ExportChecksFirstThenWritesTheFileThatImportAddsAgain)
{
    EXPECT_TRUE(window->control<QPushButton>(QStringLiteral("Button2"))->isEnabled());
    EXPECT_TRUE(window->control<QPushButton>(QStringLiteral("Button3"))->isEnabled());

    ui.expectBox(UI::Ok);
    click("Button2");
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_TRUE(ui.boxes().first().text.startsWith(submission::kMissingItemsMessage));
    EXPECT_TRUE(ui.fileRequests().isEmpty());

    fillWhatTheSubmissionNeeds();
    ui.clearBoxes();
    const QString path = out.filePath(QStringLiteral("消波ブロック 新型.lzh"));
    ui.expectFile(path);
    ui.expectBox(UI::Ok);
    click("Button2");
    ASSERT_EQ(ui.fileRequests().size(), 1);
    EXPECT_EQ(ui.fileRequests().first().fileName, QStringLiteral("消波ブロック 新型"));
    EXPECT_EQ(ui.fileRequests().first().folder, out.path());
    EXPECT_TRUE(QFile::exists(path)) << ui.boxTexts().join('|').toStdString();
    EXPECT_FALSE(window->control<QPushButton>(QStringLiteral("BitBtnPost"))->isEnabled());

    ui.clearBoxes();
    ui.expectFile(path);
    click("Button3");
    EXPECT_TRUE(ui.boxes().isEmpty()) << ui.boxTexts().join('|').toStdString();
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("XXK-000002 として取り込みました。"));
    EXPECT_EQ(window->control<QTableView>(QStringLiteral("DBGrid1"))->model()->rowCount(), 2);
    EXPECT_EQ(main()->field(QStringLiteral("REG_NO")).asString(), QStringLiteral("XXK-000002"));
    EXPECT_EQ(main()->field(QStringLiteral("TECH_TITLE")).asString(), QStringLiteral("消波ブロック: 新型"));
}

// After an export, a new registration left unchanged through メニュー is removed like any other.
TEST_F(SubmissionButtonsTest, ANewRegistrationLeftUnchangedAfterAnExportIsRemoved)
{
    fillWhatTheSubmissionNeeds();
    const QString path = out.filePath(QStringLiteral("out.lzh"));
    ui.expectFile(path);
    ui.expectBox(UI::Ok);
    click("Button2");
    ASSERT_TRUE(QFile::exists(path)) << ui.boxTexts().join('|').toStdString();

    click("Button5");
    ASSERT_EQ(main()->field(QStringLiteral("REG_NO")).asString(), QStringLiteral("XXK-000002"));
    ui.expectBox(UI::Yes); // no comparison: leave all the same
    click("BitBtn2");
    EXPECT_EQ(window->pages()->currentIndex(), 0);
    EXPECT_EQ(main()->recordCount(), 1);
    EXPECT_EQ(main()->field(QStringLiteral("REG_NO")).asString(), QStringLiteral("XXK-000001"));
}

// A registration whose image row names a photo that is no longer in the folder is not handed in:
// the export refuses it, naming the slot and its title, and writes nothing.
TEST_F(SubmissionButtonsTest, ARegistrationWhosePhotoIsMissingIsNotExported)
{
    fillWhatTheSubmissionNeeds();
    store::Table* images = window->dm().table(QStringLiteral("NT_TBL_INFO_IMAGES"));
    images->append();
    images->field(QStringLiteral("REG_NO")).setString(QStringLiteral("XXK-000001"));
    images->field(QStringLiteral("IMAGES_TYPE")).setString(QStringLiteral("B"));
    images->field(QStringLiteral("IMAGES_FILE")).setString(QStringLiteral("XXK-000001B.jpg"));
    ASSERT_TRUE(images->post());
    store::Table* pictures = window->dm().table(QStringLiteral("NT_TBL_PICTURE"));
    pictures->edit();
    pictures->field(QStringLiteral("PICTURE_B")).setString(QStringLiteral("施工状況"));
    ASSERT_TRUE(pictures->post());

    ui.expectBox(UI::Ok);
    click("Button2");
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_TRUE(ui.fileRequests().isEmpty()) << "refused before a file is chosen";
    EXPECT_EQ(ui.boxes().first().icon, UI::Icon::Error);
    EXPECT_TRUE(ui.boxes().first().text.contains(QStringLiteral("写真B")) && ui.boxes().first().text.contains(QStringLiteral("施工状況")))
        << ui.boxes().first().text.toStdString();
    EXPECT_TRUE(ui.boxes().first().text.contains(QStringLiteral("画像ファイルが見つかりません。"))) << ui.boxes().first().text.toStdString();
}

} // namespace
