#include "entry/Patents.h"

#include <gtest/gtest.h>

using patents::IdeaCodes;

TEST(Patents, ButtonsRecordTheirCodes)
{
    const auto choice = patents::patentButtonChoice("RbCERTIFY_PATENT_GENERAL_Y3", "CERTIFY_PATENT_GENERAL");
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->field, QStringLiteral("CERTIFY_PATENT_GENERAL3"));
    EXPECT_EQ(choice->code, QStringLiteral("1"));
    EXPECT_EQ(patents::patentButtonChoice("RbCERTIFY_PATENT_FLG_N5", "CERTIFY_PATENT_FLG")->code, QStringLiteral("0"));
    EXPECT_FALSE(patents::patentButtonChoice("RbCERTIFY_PATENT_FLG_N5", "CERTIFY_PATENT_PRIVATE"));

    EXPECT_EQ(patents::licenceButtonCode("RbCERTIFY_IDEA_PRIVATE_Y", "CERTIFY_IDEA_PRIVATE"), QStringLiteral("1"));
    EXPECT_EQ(patents::licenceButtonCode("RbCERTIFY_IDEA_PRIVATE_N", "CERTIFY_IDEA_PRIVATE"), QStringLiteral("0"));

    EXPECT_EQ(patents::statusButtonCode("RbCERTIFY_IDEA_STAT3", "CERTIFY_IDEA_STAT"), QStringLiteral("3"));
    EXPECT_EQ(patents::statusButtonCode("RbCERTIFY_IDEA_STAT6", "CERTIFY_IDEA_STAT"), QStringLiteral("1"));
    EXPECT_FALSE(patents::statusButtonCode("RbCERTIFY_IDEA_STAT7", "CERTIFY_IDEA_STAT"));
}

TEST(Patents, ActiveBlockShowsGrantedOrElseNo)
{
    EXPECT_EQ(patents::activeCode("1"), QStringLiteral("1"));
    for (const char* stored : {"0", "9", ""})
        EXPECT_EQ(patents::activeCode(stored), QStringLiteral("0")) << stored;
}

TEST(Patents, UtilityModelCodes)
{
    const struct
    {
        IdeaCodes stored;
        IdeaCodes opened;
    } cases[] = {
        {{"", "1", "1"}, {"4", "9", "9"}},
        {{"5", "", ""}, {"1", "0", "1"}}, // older data: granted with an exclusive licence
        {{"1", "9", "1"}, {"1", "0", "1"}},
        {{"1", "", "0"}, {"1", "0", "0"}},
        {{"2", "1", "0"}, {"2", "9", "9"}},
        {{"4", "0", "0"}, {"4", "9", "9"}},
    };
    for (const auto& c : cases) {
        const IdeaCodes opened = patents::whenOpened(c.stored);
        EXPECT_EQ(opened.status, c.opened.status) << c.stored.status.toStdString();
        EXPECT_EQ(opened.general, c.opened.general) << c.stored.status.toStdString();
        EXPECT_EQ(opened.exclusive, c.opened.exclusive) << c.stored.status.toStdString();
    }
    // Choosing "出願中" drops the licences; choosing "有り" again answers both with "無し".
    const IdeaCodes pending = patents::afterStatusChoice({"2", "1", "0"});
    EXPECT_EQ(pending.general, QStringLiteral("9"));
    const IdeaCodes granted = patents::afterStatusChoice({"1", pending.general, pending.exclusive});
    EXPECT_EQ(granted.general, QStringLiteral("0"));
    EXPECT_EQ(granted.exclusive, QStringLiteral("0"));
}
