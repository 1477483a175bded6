#include "EntryWindowFixture.h"
#include "RegistrationRows.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

using UI = UserInteraction;

namespace {

class PatentBlocksTest : public EntryWindowFixture
{
protected:
    void SetUp() override
    {
        EntryWindowFixture::SetUp();
        window->cycle().newRegistration();
        find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("防波堤の新工法"));
        find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
    }
    QString code(const char* tableName, const QString& field) const
    {
        return window->dm().table(QLatin1String(tableName))->field(field).asString().trimmed();
    }
    QRadioButton* button(const QString& name) const { return find<QRadioButton>(name); }
    // Saved, back to the list and opened again.
    void saveAndReopen()
    {
        ui.expectBox(UI::Yes);
        window->cycle().save();
        window->cycle().backToList();
        window->cycle().openRegistration();
    }
};

} // namespace

TEST_F(PatentBlocksTest, APatentNumberActivatesItsBlockAndItsRemovalEmptiesIt)
{
    const QStringList fields = {"CERTIFY_PATENT_FLG2", "CERTIFY_PATENT_GENERAL2", "CERTIFY_PATENT_PRIVATE2"};
    for (const QString& field : fields)
        EXPECT_EQ(code("NT_TBL_PICTURE", field), QStringLiteral("9"));
    EXPECT_FALSE(find("CERTIFY_PATENTEE2")->isEnabled());

    find<QPlainTextEdit>("CERTIFY_PATENT_NO2")->setPlainText(QStringLiteral("特許第123号"));
    for (const QString& field : fields)
        EXPECT_EQ(code("NT_TBL_PICTURE", field), QStringLiteral("0")) << field.toStdString();
    for (const char* name : {"RbCERTIFY_PATENT_FLG_N2", "RbCERTIFY_PATENT_GENERAL_N2", "RbCERTIFY_PATENT_PRIVATE_N2"})
        EXPECT_TRUE(button(name)->isChecked() && button(name)->isEnabled()) << name;
    EXPECT_TRUE(find("CERTIFY_PATENTEE2")->isEnabled());

    button("RbCERTIFY_PATENT_GENERAL_Y2")->click();
    EXPECT_EQ(code("NT_TBL_PICTURE", "CERTIFY_PATENT_GENERAL2"), QStringLiteral("1"));
    find<QLineEdit>("CERTIFY_PATENTEE2")->setText(QStringLiteral("港湾建設"));

    find<QPlainTextEdit>("CERTIFY_PATENT_NO2")->clear();
    for (const QString& field : fields)
        EXPECT_EQ(code("NT_TBL_PICTURE", field), QStringLiteral("9")) << field.toStdString();
    EXPECT_TRUE(find<QLineEdit>("CERTIFY_PATENTEE2")->text().isEmpty());
    EXPECT_TRUE(code("NT_TBL_PICTURE", "CERTIFY_PATENTEE2").isEmpty());
    EXPECT_FALSE(button("RbCERTIFY_PATENT_GENERAL_Y2")->isChecked() || button("RbCERTIFY_PATENT_GENERAL_Y2")->isEnabled());

    // A stored "有り" is shown when the registration is opened again.
    find<QPlainTextEdit>("CERTIFY_PATENT_NO3")->setPlainText(QStringLiteral("特許第456号"));
    button("RbCERTIFY_PATENT_GENERAL_Y3")->click();
    saveAndReopen();
    EXPECT_TRUE(button("RbCERTIFY_PATENT_GENERAL_Y3")->isChecked());
    EXPECT_TRUE(button("RbCERTIFY_PATENT_FLG_N3")->isChecked());
    EXPECT_FALSE(button("RbCERTIFY_PATENT_FLG_Y2")->isEnabled());
    // Pressing the button already chosen records nothing.
    ASSERT_FALSE(find("BitBtnPost")->isEnabled());
    button("RbCERTIFY_PATENT_GENERAL_Y3")->click();
    EXPECT_FALSE(find("BitBtnPost")->isEnabled());
    button("RbCERTIFY_PATENT_GENERAL_N3")->click();
    EXPECT_TRUE(find("BitBtnPost")->isEnabled());
    EXPECT_EQ(code("NT_TBL_PICTURE", "CERTIFY_PATENT_GENERAL3"), QStringLiteral("0"));
}

TEST_F(PatentBlocksTest, UtilityModelStatusDecidesItsNumberAndLicences)
{
    button("RbCERTIFY_IDEA_STAT1")->click();
    EXPECT_EQ(code("NT_TBL_DETAIL", "CERTIFY_IDEA_STAT"), QStringLiteral("1"));
    EXPECT_TRUE(button("RbCERTIFY_IDEA_GENERAL_N")->isChecked());
    EXPECT_TRUE(button("RbCERTIFY_IDEA_PRIVATE_N")->isChecked());
    EXPECT_EQ(code("NT_TBL_DETAIL", "CERTIFY_IDEA_GENERAL"), QStringLiteral("0"));
    find<QLineEdit>("CERTIFY_IDEA_NO")->setText(QStringLiteral("実用第1号"));
    button("RbCERTIFY_IDEA_GENERAL_Y")->click();
    EXPECT_EQ(code("NT_TBL_DETAIL", "CERTIFY_IDEA_GENERAL"), QStringLiteral("1"));

    button("RbCERTIFY_IDEA_STAT2")->click();
    EXPECT_EQ(code("NT_TBL_DETAIL", "CERTIFY_IDEA_STAT"), QStringLiteral("2"));
    EXPECT_EQ(code("NT_TBL_DETAIL", "CERTIFY_IDEA_GENERAL"), QStringLiteral("9"));
    EXPECT_EQ(code("NT_TBL_DETAIL", "CERTIFY_IDEA_PRIVATE"), QStringLiteral("9"));
    EXPECT_TRUE(find<QLineEdit>("CERTIFY_IDEA_NO")->text().isEmpty());
    EXPECT_FALSE(find("CERTIFY_IDEA_NO")->isEnabled());
    EXPECT_FALSE(button("RbCERTIFY_IDEA_GENERAL_Y")->isChecked() || button("RbCERTIFY_IDEA_GENERAL_N")->isEnabled());

    // Older data's status 5 opens as a granted model with an exclusive licence only.
    window->dm().table("NT_TBL_DETAIL")->field("CERTIFY_IDEA_STAT").setString("5");
    saveAndReopen();
    EXPECT_TRUE(button("RbCERTIFY_IDEA_STAT1")->isChecked());
    EXPECT_TRUE(button("RbCERTIFY_IDEA_GENERAL_N")->isChecked());
    EXPECT_TRUE(button("RbCERTIFY_IDEA_PRIVATE_Y")->isChecked());
    EXPECT_EQ(code("NT_TBL_DETAIL", "CERTIFY_IDEA_STAT") + code("NT_TBL_DETAIL", "CERTIFY_IDEA_GENERAL")
                  + code("NT_TBL_DETAIL", "CERTIFY_IDEA_PRIVATE"),
              QStringLiteral("101"));
}

TEST_F(PatentBlocksTest, OtherTargetEnablesItsTextBox)
{
    EXPECT_FALSE(find("TERGET_OTHER")->isEnabled());
    find<QAbstractButton>("TERGET_OTHER_YN")->click();
    EXPECT_TRUE(find("TERGET_OTHER")->isEnabled());
    find<QAbstractButton>("TERGET_OTHER_YN")->click();
    EXPECT_FALSE(find("TERGET_OTHER")->isEnabled());
}

// A registration saved with a patent, then a new one: no patent row without its number appears, in
// memory or in the file, however often a new registration is begun.
TEST_F(PatentBlocksTest, ANewRegistrationAfterOneWithAPatentLeavesNoRowWithoutItsNumber)
{
    find<QPlainTextEdit>("CERTIFY_PATENT_NO1")->setPlainText(QStringLiteral("特許第123号"));
    find<QLineEdit>("CERTIFY_PATENTEE1")->setText(QStringLiteral("港湾建設"));
    ui.expectBox(UI::Yes);
    window->cycle().save();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        window->cycle().backToList();
        ASSERT_EQ(window->pages()->currentIndex(), 0) << ui.boxTexts().join('|').toStdString();
        window->cycle().newRegistration();
        for (const QStringList& numbers : {registrationrows::valuesInMemory(window->dm(), "NT_TBL_PICTURE", "REG_NO"),
                                           registrationrows::valuesInFile(window->dm(), "NT_TBL_PICTURE", "REG_NO")})
            EXPECT_FALSE(numbers.contains(QString())) << numbers.join(',').toStdString();
        find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("次の工法"));
        find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
        ui.expectBox(UI::Yes);
        window->cycle().save();
        for (const QStringList& numbers : {registrationrows::valuesInMemory(window->dm(), "NT_TBL_PICTURE", "REG_NO"),
                                           registrationrows::valuesInFile(window->dm(), "NT_TBL_PICTURE", "REG_NO")})
            EXPECT_FALSE(numbers.contains(QString())) << numbers.join(',').toStdString();
    }
    EXPECT_EQ(registrationrows::valuesInFile(window->dm(), "NT_TBL_PICTURE", "CERTIFY_PATENTEE1").count(QStringLiteral("港湾建設")), 1);
}
