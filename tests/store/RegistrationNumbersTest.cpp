#include "store/ProgramFolder.h"
#include "store/RegistrationNumbers.h"
#include "store/Table.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace store;

TEST(RegistrationNumbers, PhotoSlotOfFileName)
{
    const struct
    {
        const char* name;
        const char* slot;
    } cases[] = {
        {"THK-000123A.jpg", "A"}, {"TH-000123A.gif", "A"}, {"XXK-000001I.jpg", "I"}, {"photo1.jpg", ""},
        {"thk-000123A.jpg", ""},  {"THK-000123", ""},      {"QS-12S.tar.gz", "S"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PhotoSlotOfFileName(QString::fromLatin1(c.name)), QString::fromLatin1(c.slot)) << c.name;
}

TEST(RegistrationNumbers, GetMaxIDAndRowLimit)
{
    Table records(QStringLiteral("PL_TBL_PROJECT_MOC"));
    records.setDeclaredFields({floatField("MOC_ID"), fixedText("REG_NO", 10)});
    records.createDataSet();
    EXPECT_EQ(GetMaxID(&records, 0), QStringLiteral("1"));
    for (const QVariant& id : {QVariant(1), QVariant(5), QVariant(), QVariant(2)})
        records.appendRowValues({id, QStringLiteral("XXK-000001")});
    records.setRecNo(2);
    EXPECT_EQ(GetMaxID(&records, 0), QStringLiteral("6"));
    EXPECT_EQ(records.recNo(), 2) << "the current row is kept";
    EXPECT_TRUE(GetDBGridRowCount(&records, 5));
    EXPECT_FALSE(GetDBGridRowCount(&records, 4));
}

TEST(RegistrationNumbers, FilesAndFolderNamesResolveWhateverTheirCase)
{
    testsupport::TempDir dir;
    dir.write(QStringLiteral("Zero/NT_TBL_MAIN.Cds"), "x");
    dir.write(QStringLiteral("flatt_files/NT_TBL_MAIN.CDS"), "abc");
    dir.write(QStringLiteral("Images/_XXK-000001A.jpg"), "12345");
    dir.write(QStringLiteral("Images/_XXK-000001B.jpg"), "1");
    const ProgramFolder folder(dir.path());
    EXPECT_EQ(folder.tablePath(QStringLiteral("NT_TBL_MAIN")), dir.filePath(QStringLiteral("flatt_files/NT_TBL_MAIN.CDS")));
    EXPECT_EQ(folder.path(QStringLiteral("ZERO\\nt_tbl_main.cds")), dir.filePath(QStringLiteral("Zero/NT_TBL_MAIN.Cds")));
    EXPECT_EQ(folder.tempPath(QStringLiteral("NT_TBL_MAIN.Cds")), dir.filePath(QStringLiteral("Temp/NT_TBL_MAIN.Cds")))
        << "a name that does not exist yet is kept as given";

    const QString images = dir.filePath(QStringLiteral("Images"));
    EXPECT_EQ(FndFile(images, QStringLiteral("_*.*")), dir.filePath(QStringLiteral("Images/_XXK-000001A.jpg")));
    EXPECT_TRUE(FndFile(images, QStringLiteral("XXK-*.*")).isEmpty());
    EXPECT_EQ(FileSizeOf(dir.filePath(QStringLiteral("Images/_XXK-000001A.jpg"))), 5);
    EXPECT_EQ(FileSizeOf(dir.filePath(QStringLiteral("Images/none.jpg"))), 0);
}
