#include "EntryWindowFixture.h"

#include "app/DescriptionGrids.h"
#include "app/EntryParts.h"
#include "app/InputBehaviours.h"
#include "entry/DescriptionTables.h"
#include "widgets/TextMemo.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

using UI = UserInteraction;

namespace {

const QString kCut = QStringLiteral("文字制限をオーバーしました。\r\n制限を越えた分は削除されます。");

class RemainingBytesTest : public EntryWindowFixture
{
protected:
    void SetUp() override
    {
        EntryWindowFixture::SetUp();
        window->cycle().newRegistration();
    }
    QString counter(const QString& name) const { return find<QLabel>("lblRemain_" + name)->text(); }
    // A text of exactly `bytes` Shift_JIS bytes.
    static QString textOfBytes(int bytes) { return QString(bytes / 2, QChar(0x3042)) + QString(bytes % 2, QLatin1Char('a')); }
};

TEST_F(RemainingBytesTest, EveryLimitedMemoCountsDownToItsOwnLimit)
{
    for (const QString& name : app::kLimitedMemos)
        EXPECT_TRUE(window->control<QLabel>("lblRemain_" + name)) << name.toStdString();

    const struct
    {
        QString memo;
        int limit;
    } cases[] = {{"SUMMARY_DESC", 2000}, {"CERTIFY_NOTE", 2000}, {"SUMMARY", 255}, {"CERTIFY_PATENT_NO3", 255}, {app::parts::conditionTextMemo(2), 255}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.memo.toStdString());
        auto* memo = find<widgets::TextMemo>(c.memo);
        memo->setText(QString());
        EXPECT_EQ(counter(c.memo), QStringLiteral("残り %1 バイト").arg(c.limit));
        memo->setText(QStringLiteral("ab\r\nあ"));
        EXPECT_EQ(counter(c.memo), QStringLiteral("残り %1 バイト").arg(c.limit - 6)) << "a line break counts its two bytes";

        // At the limit nothing is cut; trailing blank lines count as the clean-up leaves them.
        memo->setText(textOfBytes(c.limit - 2) + QStringLiteral("\r\n\r\n\r\n"));
        EXPECT_EQ(counter(c.memo), QStringLiteral("残り 0 バイト"));
        const int boxes = int(ui.boxes().size());
        EXPECT_FALSE(window->behaviours().cutMemoToItsLimit(memo));
        EXPECT_EQ(ui.boxes().size(), boxes);

        // A half-width katakana takes the two bytes it will have once converted.
        memo->setText(textOfBytes(c.limit - 1) + QChar(0xFF71));
        EXPECT_EQ(counter(c.memo), QStringLiteral("1 バイト超過"));
        ui.expectBox(UI::Ok);
        EXPECT_TRUE(window->behaviours().cutMemoToItsLimit(memo));
        EXPECT_EQ(ui.boxTexts().last(), kCut);
        EXPECT_EQ(counter(c.memo), QStringLiteral("残り 1 バイト"));
    }
}

TEST_F(RemainingBytesTest, EachDescriptionGridCountsAsTheSaveCheckMeasuresItsTable)
{
    for (const app::parts::DescriptionTableNames& names : app::parts::kDescriptionTables) {
        SCOPED_TRACE(names.grid.toStdString());
        auto* grid = find<QTableWidget>(names.grid);
        // Emptied of the sample a new registration starts with.
        for (int r = 1; r <= entry::kTableCells; ++r)
            for (int c = 1; c <= entry::kTableCells; ++c)
                grid->item(r, c)->setText(QString());
        find<QLineEdit>(names.title)->clear();
        EXPECT_EQ(counter(names.grid), QStringLiteral("残り 2000 バイト"));
        // "1\t1\t0\t0", the cell and the empty title line: 7 + 2 + 2 + 2 bytes.
        grid->item(1, 1)->setText(QStringLiteral("あ"));
        EXPECT_EQ(counter(names.grid), QStringLiteral("残り 1987 バイト"));
        find<QLineEdit>(names.title)->setText(QStringLiteral("表"));
        EXPECT_EQ(counter(names.grid), QStringLiteral("残り 1985 バイト"));

        // Filled up to the limit the save check lets the table pass; one byte more it does not.
        grid->item(2, 1)->setText(textOfBytes(2000 - 15 - 2)); // a second row adds its text and a line break
        ASSERT_EQ(counter(names.grid), QStringLiteral("残り 0 バイト"));
        EXPECT_FALSE(entry::TableTextTooLong(window->descriptionGrids().contents(names.grid)));
        grid->item(2, 1)->setText(grid->item(2, 1)->text() + QLatin1Char('a'));
        EXPECT_EQ(counter(names.grid), QStringLiteral("1 バイト超過"));
        EXPECT_TRUE(entry::TableTextTooLong(window->descriptionGrids().contents(names.grid)));
    }
}

} // namespace
