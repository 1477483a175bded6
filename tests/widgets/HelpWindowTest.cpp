#include "support/ScriptedUserInteraction.h"
#include "support/TempDir.h"
#include "util/HelpWindow.h"
#include "util/SjisText.h"
#include "util/TextEscapes.h"

#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

TEST(HelpWindowTest, ShowsTheHelpFileWithFullWidthPercentSigns)
{
    testsupport::TempDir folder;
    folder.write("help.txt", sjis::encode(QStringLiteral("使い方\r\n進捗100%\r\n\r\n最後の行")));
    testsupport::ScriptedUserInteraction user;
    HelpWindow help(folder.path());
    EXPECT_TRUE(help.helpFileRead());
    EXPECT_EQ(help.windowTitle(), "ヘルプ");
    EXPECT_EQ(help.memo()->objectName(), "Memo1");
    EXPECT_TRUE(help.memo()->isReadOnly());
    EXPECT_EQ(help.memo()->toPlainText(), QStringLiteral("使い方\n進捗100％\n\n最後の行"));
}

TEST(HelpWindowTest, WithoutTheHelpFileTellsTheUserAndStaysEmpty)
{
    testsupport::TempDir folder;
    testsupport::ScriptedUserInteraction user;
    user.expectBox(UserInteraction::Ok);
    HelpWindow help(folder.path());
    EXPECT_FALSE(help.helpFileRead());
    ASSERT_EQ(user.boxes().size(), 1);
    EXPECT_EQ(user.boxes().at(0).caption, "注意");
    EXPECT_EQ(user.boxes().at(0).text, "ヘルプファイルがありません。");
    EXPECT_EQ(user.boxes().at(0).icon, UserInteraction::Icon::Warning);
    EXPECT_EQ(user.boxes().at(0).buttons, UserInteraction::Buttons(UserInteraction::Ok));
    EXPECT_TRUE(help.memo()->toPlainText().isEmpty());
}

TEST(TextEscapesTest, EscapesBlanksTabsAndQuotesAndGivesThemBack)
{
    const QString text = QStringLiteral("a b\t\"c\"  全角");
    EXPECT_EQ(EscapeBlanks(text), QStringLiteral("aspacespacespacebtabtabtabdabdabdabcdabdabdabspacespacespacespacespacespace全角"));
    EXPECT_EQ(UnescapeBlanks(EscapeBlanks(text)), text);
    // An escape word in the text itself comes back as the character it stands for.
    EXPECT_EQ(UnescapeBlanks(QStringLiteral("xtabtabtaby")), QStringLiteral("x\ty"));
    EXPECT_EQ(EscapeBlanks(QString()), QString());
}

} // namespace
