#include "EntryWindowFixture.h"

#include "app/PhotoSlots.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

using UI = UserInteraction;

namespace {

const QString kChosen = QStringLiteral("写真ファイルが指定されました。\r\n写真タイトルを入力してください。");

// A JPEG header giving `width` × 100 pixels, padded to `size` bytes and marked by `tag`.
QByteArray jpeg(int width, int size, char tag)
{
    QByteArray bytes = QByteArray::fromHex("FFD8 FFC0 0011 08 0064") + char(width >> 8) + char(width & 0xFF)
        + QByteArray::fromHex("03 011100 021101 031101");
    return bytes + QByteArray(size - bytes.size(), tag);
}

class PhotoSlotsTest : public EntryWindowFixture
{
protected:
    void SetUp() override
    {
        EntryWindowFixture::SetUp();
        ui.setDesktopFolder(dir.filePath("Desktop"));
        window->ActNewExecute();
        regNo = mainField("REG_NO");
    }
    QString imagesFile(const QString& name) const { return dir.filePath("Images/" + name); }
    // Picks a file for a slot and confirms the box that follows (accepted or refused).
    void select(const QString& letter, const QString& path)
    {
        ui.expectFile(path);
        ui.expectBox(UI::Ok);
        find<QPushButton>("BtnPICTURE_" + letter)->click();
    }
    void clear(const QString& letter)
    {
        ui.expectBox(UI::Ok);
        ui.expectBox(UI::Ok);
        find<QPushButton>("BtnCancelPICTURE_" + letter)->click();
    }
    bool slotFilled(const QString& letter) const
    {
        const bool filled = find("BtnCancelPICTURE_" + letter)->isEnabled();
        EXPECT_NE(filled, find("BtnPICTURE_" + letter)->isEnabled()) << letter.toStdString();
        EXPECT_EQ(filled, find("PICTURE_" + letter)->isEnabled()) << letter.toStdString();
        return filled;
    }

    QString regNo;
};

TEST_F(PhotoSlotsTest, ChosenPhotoIsCopiedUnderTheStoredName)
{
    const QString chosen = dir.write("Pictures/Photo.JPEG", jpeg(2000, 5000, 'n'));
    select("G", chosen);
    ASSERT_EQ(ui.boxTexts(), QStringList{kChosen});
    EXPECT_EQ(ui.boxes().first().caption, QStringLiteral("VORDELL"));
    EXPECT_EQ(ui.fileRequests().first().folder, dir.filePath("Desktop"));
    EXPECT_EQ(ui.fileRequests().first().filters, QStringList{QStringLiteral("イメージファイル|*.gif;*.jpg;*.jpeg")});

    EXPECT_EQ(dir.read("Images/" + regNo + "G.JPEG"), jpeg(2000, 5000, 'n'));
    store::Table* view = window->dm().table("NT_TBL_INFO_IMAGES5");
    EXPECT_EQ(view->field("IMAGES_FILE").asString(), regNo + "G.JPEG");
    EXPECT_EQ(view->field("IMAGES_TYPE").asString(), QStringLiteral("G"));
    EXPECT_EQ(view->field("REG_NO").asString().trimmed(), regNo);
    EXPECT_EQ(find<QLineEdit>("ImagePath_G")->text(), QStringLiteral("Photo.JPEG"));
    EXPECT_TRUE(slotFilled("G"));
    EXPECT_FALSE(slotFilled("H"));
    EXPECT_TRUE(window->isModified());

    // The next dialog starts in the folder of this photo.
    ui.expectFile(QString());
    find<QPushButton>("BtnPICTURE_H")->click();
    EXPECT_EQ(ui.fileRequests().last().folder, dir.filePath("Pictures"));
    EXPECT_FALSE(slotFilled("H"));
}

TEST_F(PhotoSlotsTest, TooWideOrTooLargePhotoIsRefused)
{
    const struct
    {
        const char* name;
        int width;
        int size;
        QString message;
    } cases[] = {{"wide.jpg", 601, 1000, QStringLiteral("画像の幅が大きすぎます。\r\n600ﾋﾟｸｾﾙ以内にしてください。")},
                 {"large.jpg", 600, 189440, QStringLiteral("写真には185KB以下のファイルを指定してください。")}};
    for (const auto& c : cases) {
        ui.clearBoxes();
        select("A", dir.write(QLatin1String(c.name), jpeg(c.width, c.size, 'x')));
        ASSERT_EQ(ui.boxTexts(), QStringList{c.message});
        EXPECT_EQ(ui.boxes().first().icon, UI::Icon::Error);
        EXPECT_FALSE(QFileInfo::exists(imagesFile(regNo + "A.jpg")));
        EXPECT_FALSE(slotFilled("A"));
    }
}

TEST_F(PhotoSlotsTest, ClearedPhotoComesBackWhenTheEditIsAbandoned)
{
    find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("技術"));
    find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
    select("A", dir.write("old.jpg", jpeg(600, 185000, 'o')));
    find<QLineEdit>("PICTURE_A")->setText(QStringLiteral("旧写真"));
    ui.expectBox(UI::Yes);
    window->ActPostExecute();

    clear("A");
    EXPECT_EQ(ui.boxes().at(ui.boxes().size() - 2).caption, QStringLiteral("確認"));
    EXPECT_EQ(ui.boxes().last().caption, QStringLiteral("注意"));
    EXPECT_FALSE(QFileInfo::exists(imagesFile(regNo + "A.jpg")));
    EXPECT_EQ(dir.read("Images/_" + regNo + "A.jpg"), jpeg(600, 185000, 'o'));
    EXPECT_FALSE(slotFilled("A"));
    EXPECT_TRUE(find<QLineEdit>("ImagePath_A")->text().isEmpty());
    EXPECT_TRUE(find<QLineEdit>("PICTURE_A")->text().isEmpty());

    // A second photo, cleared again: only the newer copy goes.
    select("A", dir.write("new.jpg", jpeg(100, 1000, 'n')));
    clear("A");
    select("A", dir.write("newer.gif", QByteArray("GIF89a") + QByteArray::fromHex("6400 6400")));
    EXPECT_EQ(dir.read("Images/_" + regNo + "A.jpg"), jpeg(600, 185000, 'o'));

    ui.expectBox(UI::No);
    window->BitBtn2Click();
    EXPECT_EQ(dir.read("Images/" + regNo + "A.jpg"), jpeg(600, 185000, 'o'));
    EXPECT_FALSE(QFileInfo::exists(imagesFile("_" + regNo + "A.jpg")));
    EXPECT_TRUE(QFileInfo::exists(imagesFile(regNo + "A.gif")));

    window->ActEditExecute();
    EXPECT_EQ(find<QLineEdit>("ImagePath_A")->text(), QStringLiteral("old.jpg"));
    EXPECT_EQ(find<QLineEdit>("PICTURE_A")->text(), QStringLiteral("旧写真"));
    EXPECT_TRUE(slotFilled("A"));
}

TEST_F(PhotoSlotsTest, CancelledEditKeepsThePhotoItsRowsName)
{
    find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("技術"));
    find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
    select("T", dir.write("old.jpg", jpeg(100, 1000, 'o')));
    ui.expectBox(UI::Yes);
    window->ActPostExecute();
    clear("T");
    ui.expectBox(UI::Ok);
    window->ActCancelExecute();
    EXPECT_EQ(dir.read("Images/" + regNo + "T.jpg"), jpeg(100, 1000, 'o'));
    EXPECT_EQ(QDir(dir.filePath("Images")).entryList(QDir::Files), QStringList{regNo + "T.jpg"});
}

TEST_F(PhotoSlotsTest, SaveGivesUpTheClearedPhoto)
{
    find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("技術"));
    find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
    select("S", dir.write("old.jpg", jpeg(100, 1000, 'o')));
    clear("S");
    ui.expectBox(UI::Yes);
    window->ActPostExecute();
    EXPECT_TRUE(QDir(dir.filePath("Images")).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(slotFilled("S"));
}

} // namespace
