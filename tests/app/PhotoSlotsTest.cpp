#include "EntryWindowFixture.h"
#include "support/PhotoBytes.h"

#include "app/PhotoSlots.h"
#include "archive/LzhArchive.h"
#include "entry/Photos.h"
#include "store/TableFile.h"
#include "submission/SubmissionFiles.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using UI = UserInteraction;

namespace {

const QString kChosen = QStringLiteral("写真ファイルが指定されました。\r\n写真タイトルを入力してください。");

// A JPEG picture `width` pixels wide, padded behind its end with `tag` to `size` bytes (at least one).
QByteArray jpeg(int width, int size, char tag)
{
    const QByteArray bytes = testsupport::jpegPhoto(width, 8);
    return bytes + QByteArray(std::max(1, size - int(bytes.size())), tag);
}

class PhotoSlotsTest : public EntryWindowFixture
{
protected:
    void SetUp() override
    {
        EntryWindowFixture::SetUp();
        ui.setDesktopFolder(dir.filePath("Desktop"));
        window->cycle().newRegistration();
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
    const QString chosen = dir.write("Pictures/Photo.JPEG", jpeg(600, 5000, 'n'));
    select("G", chosen);
    ASSERT_EQ(ui.boxTexts(), QStringList{kChosen});
    EXPECT_EQ(ui.boxes().first().caption, QStringLiteral("VORDELL"));
    EXPECT_EQ(ui.fileRequests().first().folder, dir.filePath("Desktop"));
    EXPECT_EQ(ui.fileRequests().first().filters, QStringList{QStringLiteral("イメージファイル|*.gif;*.jpg;*.jpeg")});

    EXPECT_EQ(dir.read("Images/" + regNo + "G.JPEG"), jpeg(600, 5000, 'n'));
    store::Table* view = window->dm().table("NT_TBL_INFO_IMAGES5");
    EXPECT_EQ(view->field("IMAGES_FILE").asString(), regNo + "G.JPEG");
    EXPECT_EQ(view->field("IMAGES_TYPE").asString(), QStringLiteral("G"));
    EXPECT_EQ(view->field("REG_NO").asString().trimmed(), regNo);
    EXPECT_EQ(find<QLineEdit>("ImagePath_G")->text(), QStringLiteral("Photo.JPEG"));
    EXPECT_FALSE(find("ImagePath_G")->isEnabled()) << "the chosen name is shown, never typed";
    EXPECT_TRUE(slotFilled("G"));
    EXPECT_FALSE(slotFilled("H"));
    EXPECT_TRUE(window->cycle().isModified());

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

TEST_F(PhotoSlotsTest, WhatIsNoPictureOrHasANameShiftJisCannotHoldIsRefused)
{
    const struct
    {
        const char* name;
        QByteArray bytes;
        QString message; // contained in the one box shown
    } cases[] = {{"text.jpg", "kein Bild", QStringLiteral("写真にはGIFまたはJPEG形式の画像ファイルを指定してください。")},
                 {"empty.jpg", {}, QStringLiteral("写真にはGIFまたはJPEG形式の画像ファイルを指定してください。")},
                 {"caf\u00e9.jpg", jpeg(100, 1000, 'c'), QStringLiteral("「\u00e9」(U+00E9)")},
                 {"\U0001F600.jpg", jpeg(100, 1000, 'e'), QStringLiteral("(U+1F600)")}};
    for (const auto& c : cases) {
        ui.clearBoxes();
        select("A", dir.write(QString::fromUtf8(c.name), c.bytes));
        ASSERT_EQ(ui.boxes().size(), 1) << c.name;
        EXPECT_TRUE(ui.boxes().first().text.contains(c.message)) << ui.boxes().first().text.toStdString();
        EXPECT_TRUE(QDir(dir.filePath("Images")).entryList(QDir::Files).isEmpty()) << c.name;
        EXPECT_FALSE(window->dm().table("NT_TBL_INFO_IMAGES1")->isEditing()) << c.name;
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
    window->cycle().save();

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
    select("A", dir.write("newer.gif", testsupport::gifPhoto(100, 100)));
    EXPECT_EQ(dir.read("Images/_" + regNo + "A.jpg"), jpeg(600, 185000, 'o'));

    ui.expectBox(UI::No);
    window->cycle().backToList();
    EXPECT_EQ(dir.read("Images/" + regNo + "A.jpg"), jpeg(600, 185000, 'o'));
    // The new copy goes with the edit that made it: no row names it.
    EXPECT_EQ(QDir(dir.filePath("Images")).entryList(QDir::Files), QStringList{regNo + "A.jpg"});

    window->cycle().openRegistration();
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
    window->cycle().save();
    clear("T");
    ui.expectBox(UI::Ok);
    window->cycle().discardChanges();
    EXPECT_EQ(dir.read("Images/" + regNo + "T.jpg"), jpeg(100, 1000, 'o'));
    EXPECT_EQ(QDir(dir.filePath("Images")).entryList(QDir::Files), QStringList{regNo + "T.jpg"});
}

// A slot's row is still being inserted while its photo is cleared or chosen again: it must stay
// pending, for the abandoned edit to drop.
TEST_F(PhotoSlotsTest, APhotoChosenAndClearedInAnAbandonedEditLeavesNoRowOrFile)
{
    find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("技術"));
    find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
    ui.expectBox(UI::Yes);
    window->cycle().save();
    struct Case
    {
        const char* name;
        std::function<void()> abandon;
    };
    const Case cases[] = {
        {"取消", [this] { ui.expectBox(UI::Ok); window->cycle().discardChanges(); }},
        {"メニュー, No", [this] { ui.expectBox(UI::No); window->cycle().backToList(); }},
        {"chosen again, 取消", [this] {
             select("A", dir.write("b.gif", testsupport::gifPhoto(100, 100)));
             ui.expectBox(UI::Ok);
             window->cycle().discardChanges();
         }},
    };
    for (const Case& c : cases) {
        select("A", dir.write("a.jpg", jpeg(100, 1000, 'a')));
        clear("A");
        c.abandon();
        EXPECT_EQ(window->pages()->currentIndex(), 0) << c.name;
        EXPECT_TRUE(photos::namedFiles(*window->dm().table("NT_TBL_INFO_IMAGES"), regNo).isEmpty()) << c.name;
        EXPECT_TRUE(QDir(dir.filePath("Images")).entryList(QDir::Files).isEmpty()) << c.name;
        window->cycle().openRegistration();
        EXPECT_FALSE(slotFilled("A")) << c.name;
    }
}

TEST_F(PhotoSlotsTest, SaveGivesUpTheClearedPhoto)
{
    find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("技術"));
    find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
    select("S", dir.write("old.jpg", jpeg(100, 1000, 'o')));
    clear("S");
    ui.expectBox(UI::Yes);
    window->cycle().save();
    EXPECT_TRUE(QDir(dir.filePath("Images")).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(slotFilled("S"));
}

TEST_F(PhotoSlotsTest, AbandonedNewRegistrationLeavesNoPhotoRowOrFile)
{
    const auto rowsOfImages = [this](const QString& number) {
        return photos::namedFiles(*window->dm().table("NT_TBL_INFO_IMAGES"), number);
    };
    const auto abandonWithMenuNo = [this] {
        ui.expectBox(UI::No);
        ui.expectBox(UI::Yes); // the comparison, gone with the registration, is missing: leave all the same
        window->cycle().backToList();
    };
    const auto abandonWithCancel = [this] {
        ui.expectBox(UI::Ok);
        window->cycle().discardChanges();
    };
    for (const auto& abandon : {std::function<void()>(abandonWithMenuNo), std::function<void()>(abandonWithCancel)}) {
        find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
        const QString number = mainField("REG_NO");
        select("A", dir.write("a.jpg", jpeg(100, 1000, 'a')));
        ASSERT_TRUE(QFileInfo::exists(imagesFile(number + "A.jpg")));
        abandon();
        EXPECT_EQ(window->pages()->currentIndex(), 0) << ui.boxTexts().join('|').toStdString();
        EXPECT_TRUE(rowsOfImages(number).isEmpty()) << number.toStdString();
        EXPECT_TRUE(QDir(dir.filePath("Images")).entryList(QDir::Files).isEmpty()) << number.toStdString();
        window->cycle().newRegistration();
    }

    // Closing the window and answering No: the table file holds no row of it either.
    find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
    select("B", dir.write("b.jpg", jpeg(100, 1000, 'b')));
    ui.expectBox(UI::No);
    ui.expectBox(UI::Yes);
    ASSERT_TRUE(window->cycle().mayClose());
    EXPECT_TRUE(QDir(dir.filePath("Images")).entryList(QDir::Files).isEmpty());
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> rows;
    ASSERT_TRUE(store::TableFile::read(dir.filePath("FLATT_FILES/NT_TBL_INFO_IMAGES.cds"), &fields, &rows, nullptr));
    EXPECT_TRUE(rows.isEmpty());
}

TEST_F(PhotoSlotsTest, ASetAsideFileFromBeforeTheLastSaveNeverComesBackOverTheSavedPhoto)
{
    find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("技術"));
    find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
    select("A", dir.write("new.jpg", jpeg(100, 1000, 'n')));
    ui.expectBox(UI::Yes);
    window->cycle().save();
    // A set-aside copy the save could not give up (or an earlier run left behind).
    dir.write("Images/_" + regNo + "A.jpg", jpeg(100, 1000, 'o'));

    find<QLineEdit>("PICTURE_A")->setText(QStringLiteral("題"));
    ui.expectBox(UI::No);
    window->cycle().backToList();
    EXPECT_EQ(dir.read("Images/" + regNo + "A.jpg"), jpeg(100, 1000, 'n'));

    // Cleared now, it is the saved photo that is set aside and comes back.
    window->cycle().openRegistration();
    clear("A");
    ui.expectBox(UI::No);
    window->cycle().backToList();
    EXPECT_EQ(dir.read("Images/" + regNo + "A.jpg"), jpeg(100, 1000, 'n'));
}

TEST_F(PhotoSlotsTest, APhotoThatCannotBeRestoredIsReported)
{
    find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("技術"));
    find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
    select("T", dir.write("t.jpg", jpeg(100, 1000, 't')));
    ui.expectBox(UI::Yes);
    window->cycle().save();
    clear("T");
    // Something now stands where the photo must come back, and cannot be replaced.
    dir.write("Images/" + regNo + "T.jpg/inside", "x");
    ui.clearBoxes();
    ui.expectBox(UI::No);
    ui.expectBox(UI::Ok);
    window->cycle().backToList();
    ASSERT_EQ(ui.boxes().size(), 2);
    EXPECT_EQ(ui.boxes().last().icon, UI::Icon::Error);
    EXPECT_TRUE(ui.boxes().last().text.startsWith(QStringLiteral("画像ファイルをもとに戻せませんでした。\r\n")));
    EXPECT_TRUE(ui.boxes().last().text.contains("_" + regNo + "T.jpg"));
    EXPECT_EQ(dir.read("Images/_" + regNo + "T.jpg"), jpeg(100, 1000, 't')) << "the photo itself is kept";
}

TEST_F(PhotoSlotsTest, SubmissionHoldsExactlyThePhotosTheRowsNameAfterARefusalAReplacementAndAClearing)
{
    find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("防波堤の新工法"));
    find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
    // A: refused at selection (no picture), then one that the save check refuses (over 185000 bytes).
    select("A", dir.write("notes.jpg", "kein Bild"));
    select("A", dir.write("large.jpg", jpeg(600, 186000, 'l')));
    find<QLineEdit>("PICTURE_A")->setText(QStringLiteral("全景"));
    // B: a JPEG replaced by a GIF.
    select("B", dir.write("b.jpg", jpeg(100, 1000, 'b')));
    clear("B");
    const QByteArray gif = testsupport::gifPhoto(100, 100, QByteArray(50, 'g'));
    select("B", dir.write("b.gif", gif));
    // S: chosen and cleared.
    select("S", dir.write("s.jpg", jpeg(100, 1000, 's')));
    clear("S");

    ui.expectBox(UI::Yes);
    ui.expectBox(UI::Ok);
    window->cycle().save();
    ASSERT_EQ(window->cycle().mode(), 0) << "photo A fails the save check";
    find<QLineEdit>("PICTURE_A")->clear();
    ui.expectBox(UI::Yes);
    window->cycle().save();
    ASSERT_EQ(window->cycle().mode(), 1) << ui.boxTexts().join('|').toStdString();
    window->cycle().backToList();
    ASSERT_EQ(window->pages()->currentIndex(), 0) << ui.boxTexts().join('|').toStdString();

    store::Table* main = window->dm().table("NT_TBL_MAIN");
    main->edit();
    for (const auto& [field, value] : QList<std::pair<const char*, const char*>>{
             {"TECH_DVLP_YEAR", "2024"}, {"GRP_CODE1", "01"}, {"LEVEL1_COMBO", "010"}, {"LEVEL2_COMBO", "01001"},
             {"LEVEL3_COMBO", "0100101"}, {"LEVEL4_COMBO", "010010101"}})
        main->field(QLatin1String(field)).setString(QLatin1String(value));
    main->post();
    store::Table* sheet = window->dm().table("NT_TBL_COMPARE_MAIN");
    sheet->edit();
    sheet->field("BASE_UNIT").setString("m");
    sheet->post();
    ui.clearBoxes();
    const QString path = dir.filePath("Desktop/submission.lzh");
    QDir().mkpath(dir.filePath("Desktop"));
    ui.expectFile(path);
    ui.expectBox(UI::Ok);
    window->exportSubmissionFile();
    ASSERT_TRUE(QFileInfo::exists(path)) << ui.boxTexts().join('|').toStdString();

    const QStringList named = photos::namedFiles(*window->dm().table("NT_TBL_INFO_IMAGES"), regNo);
    EXPECT_EQ(named, QStringList{regNo + "B.gif"});
    EXPECT_EQ(QDir(dir.filePath("Images")).entryList(QDir::Files), named);
    QList<lzh::MemberEntry> members;
    ASSERT_TRUE(lzh::listArchive(path, members, nullptr));
    QStringList names;
    for (const lzh::MemberEntry& member : members)
        names.append(member.name);
    QStringList expected = named;
    for (const QString& table : submission::registrationTableNames())
        expected.append(submission::memberName(table));
    names.sort();
    expected.sort();
    EXPECT_EQ(names, expected);
}

} // namespace

TEST_F(PhotoSlotsTest, EachSlotPreviewsThePhotoItHoldsAndAnEmptySlotNone)
{
    const auto preview = [this](const QString& letter) { return find<QLabel>("ImagePreview_" + letter)->pixmap(); };
    for (const QString& letter : {"A", "B", "S", "T", "G", "H", "I"})
        EXPECT_TRUE(preview(letter).isNull()) << "a new registration shows no picture in " << letter.toStdString();

    // A wide photo in A, a tall one in B: each scaled into the preview with its proportions kept.
    select("A", dir.write("wide.gif", testsupport::gifPhoto(400, 100)));
    select("B", dir.write("tall.jpg", testsupport::jpegPhoto(60, 240)));
    EXPECT_EQ(preview("A").size(), QSize(80, 20));
    EXPECT_EQ(preview("B").size(), QSize(15, 60));
    EXPECT_TRUE(preview("S").isNull());

    // Cleared, the slot shows nothing; a photo chosen again shows the new picture.
    clear("A");
    EXPECT_TRUE(preview("A").isNull());
    select("A", dir.write("square.gif", testsupport::gifPhoto(100, 100)));
    EXPECT_EQ(preview("A").size(), QSize(60, 60));

    // Another registration shows its own photos (none); back to this one, they are there again.
    find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("写真のある技術"));
    find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
    ui.expectBox(UI::Yes);
    window->cycle().save();
    window->cycle().backToList();
    window->cycle().newRegistration();
    EXPECT_TRUE(preview("A").isNull());
    EXPECT_TRUE(preview("B").isNull());
    window->cycle().backToList();
    window->cycle().openRegistration();
    EXPECT_EQ(preview("A").size(), QSize(60, 60));
    EXPECT_EQ(preview("B").size(), QSize(15, 60));

    // A copy that is gone shows nothing rather than the picture shown before.
    window->cycle().backToList();
    ASSERT_TRUE(QFile::remove(imagesFile(regNo + "B.jpg")));
    window->cycle().openRegistration();
    EXPECT_TRUE(preview("B").isNull());
    EXPECT_FALSE(preview("A").isNull());
}
