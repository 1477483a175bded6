#include "EntryWindowFixture.h"

#include "app/ClassificationLists.h"
#include "entry/Classification.h"

#include <QLineEdit>
#include <QTest>

using UI = UserInteraction;
namespace cls = classification;

namespace {

const QString kHarbour = QStringLiteral("港湾・海岸工事");   // 010
const QString kGround = QStringLiteral("地盤改良工事");      // 020
const QString kReclaim = QStringLiteral("埋立工");           // 01002
const QString kSeaReclaim = QStringLiteral("海上埋立工");    // 0100201

class ClassificationListsTest : public EntryWindowFixture
{
protected:
    app::ClassificationLists& lists() const { return window->classification(); }
    // Opens each level's list of a slot and picks a title, level after level.
    void choosePath(int slot, const QStringList& titles)
    {
        for (int level = 1; level <= titles.size(); ++level) {
            lists().listOpened(level, slot);
            pick(cls::listBoxName(level, slot), titles.at(level - 1));
        }
    }
    QStringList codes(int slot) const
    {
        QStringList result;
        for (int level = 1; level <= cls::kLevels; ++level)
            result.append(mainField(cls::codeBoxName(level, slot)));
        return result;
    }
};

TEST_F(ClassificationListsTest, ListsFollowTheCodeOfTheLevelAbove)
{
    window->cycle().newRegistration();
    lists().listOpened(2, 1);
    EXPECT_TRUE(items("Level2").isEmpty());

    // The list is filled when the user presses on it to open it.
    auto* level1 = find<QComboBox>("Level1");
    QTest::mousePress(level1, Qt::LeftButton);
    level1->hidePopup();
    EXPECT_EQ(items("Level1").size(), 6);
    // The keys that open a list fill it as well: F4, Alt+Down and Down.
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_F4, Qt::NoModifier}, {Qt::Key_Down, Qt::AltModifier}, {Qt::Key_Down, Qt::NoModifier}}) {
        level1->clear();
        QTest::keyClick(level1, key, modifiers);
        level1->hidePopup();
        EXPECT_EQ(items("Level1").size(), 6) << int(key) << " " << int(modifiers);
    }
    EXPECT_EQ(items("Level1").first(), kHarbour); // slot 1 has no empty entry
    lists().listOpened(1, 2);
    EXPECT_EQ(items("Level1_2").size(), 7);
    EXPECT_EQ(items("Level1_2").first(), QString());

    choosePath(1, {kHarbour, kReclaim});
    EXPECT_EQ(codes(1), (QStringList{"010", "01002", "", ""}));
    lists().listOpened(3, 1);
    EXPECT_EQ(items("Level3"), (QStringList{kSeaReclaim, QStringLiteral("余水処理工")})); // 0100200 … 0100299
    pick("Level3", kSeaReclaim);
    lists().listOpened(4, 1);
    ASSERT_FALSE(items("Level4").isEmpty());
    pick("Level4", items("Level4").first());
    EXPECT_TRUE(codes(1).at(3).startsWith(QStringLiteral("0100201")));
    EXPECT_TRUE(window->cycle().isModified());
}

TEST_F(ClassificationListsTest, ChoiceEmptiesOnlyTheLevelsBelowInItsSlot)
{
    window->cycle().newRegistration();
    choosePath(1, {kHarbour, kReclaim, kSeaReclaim});
    choosePath(2, {kHarbour, kReclaim});
    const QStringList slot2 = codes(2);

    lists().listOpened(1, 1);
    pick("Level1", kGround);
    EXPECT_EQ(codes(1), (QStringList{"020", "", "", ""}));
    for (const char* name : {"Level2", "Level3", "Level4"})
        EXPECT_TRUE(find<QComboBox>(name)->currentText().isEmpty()) << name;
    EXPECT_EQ(codes(2), slot2);

    // A new level-2 choice discards level 3.
    choosePath(3, {kHarbour, kReclaim, kSeaReclaim});
    lists().listOpened(2, 3);
    pick("Level2_3", QStringLiteral("浚渫工"));
    EXPECT_EQ(codes(3), (QStringList{"010", "01001", "", ""}));

    // The empty first entry of a level-1 list empties the whole slot.
    lists().listOpened(1, 3);
    pick("Level1_3", QString());
    EXPECT_EQ(codes(3), (QStringList{"", "", "", ""}));
    EXPECT_EQ(codes(2), slot2);
}

TEST_F(ClassificationListsTest, ChoiceUsesTheRangeOfItsOwnSlot)
{
    window->cycle().newRegistration();
    choosePath(1, {kHarbour});
    choosePath(2, {kGround});
    lists().listOpened(2, 1);
    lists().listOpened(2, 2); // leaves the level-2 table filtered to the codes below 020
    pick("Level2", kReclaim);
    EXPECT_EQ(mainField("LEVEL2_COMBO"), QStringLiteral("01002"));
}

TEST_F(ClassificationListsTest, OpeningARegistrationShowsTheTitlesOfItsCodes)
{
    window->cycle().newRegistration();
    choosePath(1, {kHarbour, kReclaim, kSeaReclaim});
    choosePath(4, {kGround});
    find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("技術"));
    find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
    ui.expectBox(UI::Yes);
    window->cycle().save();
    window->cycle().backToList();
    for (int slot = 1; slot <= cls::kSlots; ++slot)
        for (int level = 1; level <= cls::kLevels; ++level)
            find<QComboBox>(cls::listBoxName(level, slot))->clear();
    lists().listOpened(2, 2); // a filter left from an earlier list
    window->dm().table(cls::levelTableName(2))->setFilter(QStringLiteral("CD >= 02000 and CD < 02100"));
    window->dm().table(cls::levelTableName(2))->setFiltered(true);

    window->cycle().openRegistration();
    EXPECT_EQ(find<QComboBox>("Level1")->currentText(), kHarbour);
    EXPECT_EQ(find<QComboBox>("Level2")->currentText(), kReclaim);
    EXPECT_EQ(find<QComboBox>("Level3")->currentText(), kSeaReclaim);
    EXPECT_TRUE(find<QComboBox>("Level4")->currentText().isEmpty());
    EXPECT_EQ(find<QComboBox>("Level1_4")->currentText(), kGround);
    EXPECT_FALSE(window->cycle().isModified());

    // A stored code without a row leaves its box as it was.
    find<QLineEdit>("LEVEL1_COMBO")->setText(QStringLiteral("999"));
    lists().SetGrpTitle();
    EXPECT_EQ(find<QComboBox>("Level1")->currentText(), kHarbour);
}

} // namespace
