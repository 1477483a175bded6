#include "archive/LzhArchive.h"
#include "archive/LzhHeader.h"
#include "entry/Conditions.h"
#include "entry/Photos.h"
#include "support/PhotoBytes.h"
#include "store/DataModule.h"
#include "store/TableFile.h"
#include "submission/DataUpgrade.h"
#include "submission/SubmissionChanges.h"
#include "submission/SubmissionCheck.h"
#include "submission/SubmissionExport.h"
#include "submission/SubmissionExtraction.h"
#include "submission/SubmissionFiles.h"
#include "submission/SubmissionImport.h"
#include "support/CliRunner.h"
#include "support/ScriptedUserInteraction.h"
#include "support/ShippedProgramFolder.h"
#include "support/TempDir.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << text.toStdString();
}

inline void PrintTo(const QVariant& value, std::ostream* os)
{
    *os << (value.isNull() ? std::string("null") : value.toString().toStdString());
}

using store::Table;
using submission::SubmissionExport;
using submission::SubmissionImport;
using testsupport::ScriptedUserInteraction;

namespace {

const QString kOldNumber = QStringLiteral("XXK-000005");

// Every file below a folder with its bytes, by relative path.
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        files.insert(QDir(folder).relativeFilePath(path), file.readAll());
    }
    return files;
}

// Everything below a folder made writable (or, with `writable` false, readable only) for anyone.
void setPermissionsBelow(const QString& folder, bool writable)
{
    const auto all = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    const auto write = writable ? QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther : QFileDevice::Permissions();
    const auto enter = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        QFile::setPermissions(entry.filePath(), all | write | (entry.isDir() ? enter : QFileDevice::Permissions()));
    }
    QFile::setPermissions(folder, all | write | enter);
}

const QByteArray kPhotoS = testsupport::gifPhoto(100, 20, "-s");
// A GIF too wide for a photo.
const QByteArray kWidePhoto = testsupport::gifPhoto(700, 2);

class SubmissionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testsupport::copyShippedProgramFolder(home.path());
        dm = std::make_unique<store::DataModule>(home.path(), &ui);
        ASSERT_TRUE(dm->start()) << dm->startError().toStdString();
        addRegistration(QStringLiteral("XXK-000001"), QStringLiteral("別の技術"));
        addRegistration(kOldNumber, QStringLiteral("防波堤/の新工法"));
        // Photos of the registration (one named with an upper-case extension) and of another one.
        // Pictures that decode whole (a JPEG and a GIF 100 pixels wide), told apart by what follows them.
        const QByteArray jpegHeader = testsupport::jpegPhoto(100, 20);
        photoA = jpegHeader + QByteArray(5000, 'a') + QByteArray("jpeg");
        home.write(QStringLiteral("Images/XXK-000005A.jpg"), photoA);
        home.write(QStringLiteral("Images/XXK-000005S.GIF"), kPhotoS);
        home.write(QStringLiteral("Images/XXK-000001A.jpg"), jpegHeader + "other");
        addPhotoRow(kOldNumber, QStringLiteral("A"), QStringLiteral(".jpg"));
        addPhotoRow(kOldNumber, QStringLiteral("S"), QStringLiteral(".GIF"));
        addPhotoRow(QStringLiteral("XXK-000001"), QStringLiteral("A"), QStringLiteral(".jpg"));
        ASSERT_TRUE(dm->WriteChangedTables());
        ASSERT_TRUE(main()->locate(QStringLiteral("REG_NO"), kOldNumber));
        ui.setDesktopFolder(out.path());
    }

    Table* main() const { return dm->table(QStringLiteral("NT_TBL_MAIN")); }

    // A value for every stored field, so that a lost or shifted field shows in the comparison.
    static QVariant sampleValue(const store::FieldDef& field, int serial)
    {
        switch (field.type) {
        case store::FieldType::Float:
        case store::FieldType::Integer: return 10 + serial;
        case store::FieldType::DateTime: return QDate(2024, 1, 1 + serial);
        case store::FieldType::Lookup: return QVariant();
        default: {
            const QString text = QStringLiteral("%1%2").arg(serial).arg(field.name);
            return field.width > 0 ? text.left(field.width) : text;
        }
        }
    }

    void appendRow(const QString& table, const QString& regNo, int serial, const QHash<QString, QVariant>& values = {})
    {
        Table* t = dm->table(table);
        Table::RowValues row;
        for (const store::FieldDef& field : t->fields())
            row.append(values.contains(field.name) ? values.value(field.name) : sampleValue(field, serial));
        row[t->fieldIndex(QStringLiteral("REG_NO"))] = regNo;
        t->appendRowValues(row);
    }

    // A registration that passes the submission check, with rows in every table.
    void addRegistration(const QString& regNo, const QString& title)
    {
        const int number = regNo.mid(4).toInt();
        QHash<QString, QVariant> mainValues = {{"TECH_TITLE", title},         {"TECH_DVLP_YEAR", "2024"},
                                               {"GRP_CODE1", "01"},          {"LEVEL1_COMBO", "010"},
                                               {"LEVEL2_COMBO", "01001"},    {"LEVEL3_COMBO", "0100101"},
                                               {"LEVEL4_COMBO", "010010101"}, {"REG_VERSION", 7800}};
        for (int slot = 2; slot <= 5; ++slot) {
            for (int level = 1; level <= 4; ++level)
                mainValues.insert(QStringLiteral("LEVEL%1_COMBO%2").arg(level).arg(slot), QVariant());
        }
        appendRow(QStringLiteral("NT_TBL_MAIN"), regNo, number, mainValues);
        for (const char* table : {"NT_TBL_DETAIL", "NT_TBL_DETAIL_FREE", "NT_TBL_DESCRIPTION", "NT_TBL_PICTURE", "NT_TBL_EVALUATE_RESULT",
                                  "PL_TBL_PROJECT_MOC", "PL_TBL_PROJECT_PRIVATE", "NT_TBL_CONST_CONDITION"})
            appendRow(QLatin1String(table), regNo, number);
        for (int contact : {7, 3})
            appendRow(QStringLiteral("NT_TBL_COMPANY"), regNo, number + contact, {{"REC_ID", contact}});
        appendRow(QStringLiteral("NT_TBL_COMPARE_MAIN"), regNo, number, {{"REC_ID", number}});
        for (int ord : {1, 2}) {
            Table* detail = dm->table(QStringLiteral("NT_TBL_COMPARE_DETAIL"));
            Table::RowValues row;
            for (const store::FieldDef& field : detail->fields())
                row.append(sampleValue(field, number + ord));
            row[detail->fieldIndex(QStringLiteral("REC_ID"))] = number;
            detail->appendRowValues(row);
        }
    }

    // An export to `path` (an earlier submission file "old.lzh") that fails: one error box saying
    // the packing failed, the earlier file as it was, no partial archive and no working files left.
    // Returns the box's text.
    QString expectExportFailureKeepingTheOldFile(const QString& path)
    {
        ui.expectBox(UserInteraction::Ok);
        SubmissionExport exporter(*dm, ui);
        EXPECT_EQ(exporter.exportSubmissionFile(path), SubmissionExport::Outcome::Failed);
        EXPECT_EQ(ui.boxes().size(), 1);
        const QString message = ui.boxes().isEmpty() ? QString() : ui.boxes().first().text;
        EXPECT_EQ(ui.boxes().value(0).icon, UserInteraction::Icon::Error);
        EXPECT_TRUE(message.startsWith(submission::kPackFailed)) << message.toStdString();
        EXPECT_EQ(out.read(QStringLiteral("old.lzh")), QByteArray("the earlier submission file"));
        EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.lzh"}) << "no partial archive is left";
        EXPECT_TRUE(tempFiles().isEmpty());
        return message;
    }

    void addPhotoRow(const QString& regNo, const QString& slot, const QString& extension)
    {
        appendRow(QStringLiteral("NT_TBL_INFO_IMAGES"), regNo, 0,
                  {{"IMAGES_TYPE", slot}, {"IMAGES_FILE", regNo + slot + extension}, {"IMAGES_ORIGINAL", "C:/photos/" + slot + extension}});
    }

    // The stored rows of a table that belong to a registration, without the fields the import
    // renumbers.
    QList<Table::RowValues> rowsOf(const QString& table, const QString& regNo, int sheetId) const
    {
        Table* t = dm->table(table);
        const bool bySheet = table == QLatin1String("NT_TBL_COMPARE_DETAIL");
        const int key = t->fieldIndex(bySheet ? QStringLiteral("REC_ID") : QStringLiteral("REG_NO"));
        QList<Table::RowValues> rows;
        for (Table::RowValues row : t->allRows()) {
            if (bySheet ? row.at(key).toInt() != sheetId : row.at(key).toString() != regNo)
                continue;
            for (const char* renumbered : {"REG_NO", "REC_ID", "IMAGES_FILE", "SALES_ORDER_OTHER"}) {
                const int index = t->fieldIndex(QLatin1String(renumbered));
                if (index >= 0)
                    row[index] = QVariant();
            }
            rows.append(row);
        }
        // The import numbers contacts in their former order: compare without regard to order.
        std::sort(rows.begin(), rows.end(), [](const Table::RowValues& a, const Table::RowValues& b) {
            return QVariant(a.toList()).toStringList().join('|') < QVariant(b.toList()).toStringList().join('|');
        });
        return rows;
    }

    QString exportTo(const QString& name)
    {
        const QString path = out.filePath(name);
        ui.expectBox(UserInteraction::Ok); // the completion message
        SubmissionExport exporter(*dm, ui);
        EXPECT_EQ(exporter.exportSubmissionFile(path), SubmissionExport::Outcome::Written) << ui.boxTexts().join('\n').toStdString();
        return path;
    }

    QStringList tempFiles() const { return QDir(home.filePath(QStringLiteral("Temp"))).entryList(QDir::Files | QDir::Hidden); }

    testsupport::TempDir home;
    testsupport::TempDir out;
    ScriptedUserInteraction ui;
    std::unique_ptr<store::DataModule> dm;
    QByteArray photoA;
};

TEST_F(SubmissionTest, ExportThenImportBringsBackEveryRowAndPhotoUnderANewNumber)
{
    const QString path = exportTo(QStringLiteral("提出.lzh"));
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_EQ(ui.boxes().first().caption, QStringLiteral("VORDELL"));
    EXPECT_EQ(ui.boxes().first().icon, UserInteraction::Icon::None);
    EXPECT_EQ(ui.boxes().first().text,
              QStringLiteral("\"%1\"にファイル\"提出.lzh\"をエクスポートしました。").arg(QDir::toNativeSeparators(out.path() + "/")));
    EXPECT_TRUE(tempFiles().isEmpty());
    // The stamps are in the live row, and the selection stays on the exported registration.
    EXPECT_EQ(main()->field(QStringLiteral("REG_NO")).asString(), kOldNumber);
    EXPECT_EQ(main()->field(QStringLiteral("DATA_TYPE_CODE")).asString(), QStringLiteral("1"));

    ui.clearBoxes();
    SubmissionImport importer(*dm, ui);
    ASSERT_EQ(importer.ImportSubmissionFile(path), SubmissionImport::Outcome::Imported) << ui.boxTexts().join('\n').toStdString();
    EXPECT_TRUE(ui.boxes().isEmpty()) << ui.boxTexts().join('\n').toStdString();
    const QString newNumber = QStringLiteral("XXK-000006");
    EXPECT_EQ(importer.importedNumber(), newNumber);
    EXPECT_EQ(main()->field(QStringLiteral("REG_NO")).asString(), newNumber);

    for (const QString& table : submission::registrationTableNames()) {
        const auto before = rowsOf(table, kOldNumber, 5);
        EXPECT_FALSE(before.isEmpty()) << table.toStdString();
        EXPECT_EQ(rowsOf(table, newNumber, 6), before) << table.toStdString();
    }
    // Renumbered fields: contacts 1, 2 in their former order, the comparison sheet by the number.
    Table* contacts = dm->table(QStringLiteral("NT_TBL_COMPANY"));
    QList<int> contactIds;
    QStringList contactNames;
    for (const Table::RowValues& row : contacts->allRows()) {
        if (row.at(contacts->fieldIndex(QStringLiteral("REG_NO"))).toString() == newNumber) {
            contactIds << row.at(contacts->fieldIndex(QStringLiteral("REC_ID"))).toInt();
            contactNames << row.at(contacts->fieldIndex(QStringLiteral("SALES_COMPANY_OTHER"))).toString();
        }
    }
    EXPECT_EQ(contactIds, (QList<int>{1, 2}));
    EXPECT_TRUE(contactNames.at(0).startsWith(QStringLiteral("8"))) << "contact REC_ID 3 comes first";
    Table* sheet = dm->table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    sheet->setFiltered(false);
    EXPECT_EQ(rowsOf(QStringLiteral("NT_TBL_COMPARE_DETAIL"), QString(), 6).size(), 2);

    // The photos moved under the new number, the ".GIF" one as ".gif", and the rows name them.
    const QDir images(home.filePath(QStringLiteral("Images")));
    EXPECT_EQ(home.read(QStringLiteral("Images/XXK-000006A.jpg")), photoA);
    EXPECT_EQ(home.read(QStringLiteral("Images/XXK-000006S.gif")), kPhotoS);
    EXPECT_TRUE(images.exists(QStringLiteral("XXK-000005A.jpg")));
    Table* photos = dm->table(QStringLiteral("NT_TBL_INFO_IMAGES"));
    QStringList files;
    for (const Table::RowValues& row : photos->allRows()) {
        if (row.at(photos->fieldIndex(QStringLiteral("REG_NO"))).toString() == newNumber)
            files << row.at(photos->fieldIndex(QStringLiteral("IMAGES_FILE"))).toString();
    }
    files.sort();
    EXPECT_EQ(files, (QStringList{"XXK-000006A.jpg", "XXK-000006S.gif"}));
    EXPECT_TRUE(tempFiles().isEmpty());

    // Each merged table was written at once.
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> rows;
    ASSERT_TRUE(store::TableFile::read(home.filePath(QStringLiteral("FLATT_FILES/NT_TBL_COMPANY.cds")), &fields, &rows, nullptr));
    EXPECT_EQ(rows.size(), 6);
}

// The export and the import hold the program until they end; they say at each table that they go
// on, so that the screen can show meanwhile what is being done.
TEST_F(SubmissionTest, ExportAndImportSayAtEachTableThatTheyGoOn)
{
    const auto expectEachTableSaid = [](const QStringList& work, const QString& what) {
        ASSERT_FALSE(work.isEmpty());
        EXPECT_EQ(work.first(), QStringLiteral("begins: ") + what);
        EXPECT_EQ(work.last(), QStringLiteral("ends"));
        EXPECT_EQ(work.count(QStringLiteral("begins: ") + what), 1) << work.join(',').toStdString();
        EXPECT_GE(work.count(QStringLiteral("goes on")), submission::registrationTableNames().size()) << work.join(',').toStdString();
    };
    const QString path = exportTo(QStringLiteral("提出.lzh"));
    expectEachTableSaid(ui.work(), QStringLiteral("提出用ファイルを作成しています…"));

    const qsizetype exported = ui.work().size();
    SubmissionImport importer(*dm, ui);
    ASSERT_EQ(importer.ImportSubmissionFile(path), SubmissionImport::Outcome::Imported) << ui.boxTexts().join('\n').toStdString();
    expectEachTableSaid(ui.work().mid(exported), QStringLiteral("データを取り込んでいます…"));
}

TEST_F(SubmissionTest, SubmissionFileHoldsTheThirteenTablesAndTheRegistrationsPhotosForLhasa)
{
    // Files of the registration's number that no row names: a refused photo, a slot's old extension.
    home.write(QStringLiteral("Images/XXK-000005B.jpg"), "refused");
    home.write(QStringLiteral("Images/XXK-000005A.gif"), "GIF89a-replaced");
    const QString path = exportTo(QStringLiteral("a.lzh"));
    const QString lhasa = QStandardPaths::findExecutable(QStringLiteral("lhasa"));
    ASSERT_FALSE(lhasa.isEmpty()) << "lhasa is not installed (scripts/install-deps installs it)";
    const QString extracted = out.filePath(QStringLiteral("x"));
    QDir().mkpath(extracted);
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(lhasa, {QStringLiteral("xw=") + extracted, path});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAll().toStdString();

    QStringList expected;
    for (const QString& table : submission::registrationTableNames())
        expected << submission::memberName(table);
    expected << QStringLiteral("XXK-000005A.jpg") << QStringLiteral("XXK-000005S.GIF");
    expected.sort();
    // lhasa shows the all-capital names of MS-DOS archives in lower case.
    QMap<QString, QByteArray> files;
    for (const auto& [name, bytes] : snapshot(extracted).asKeyValueRange())
        files.insert(name.toLower(), bytes);
    for (QString& name : expected)
        name = name.toLower();
    expected.sort();
    EXPECT_EQ(files.keys(), expected);
    EXPECT_EQ(files.value(QStringLiteral("xxk-000005a.jpg")), photoA);

    // The main member is the stamped row of the registration alone.
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> rows;
    ASSERT_TRUE(store::TableFile::read(extracted + QStringLiteral("/NT_TBL_MAIN.Cds"), &fields, &rows, nullptr));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(submission::ReadDataVersion(extracted + QStringLiteral("/NT_TBL_MAIN.Cds")), QStringLiteral("7800"));
}

TEST_F(SubmissionTest, FailedPackKeepsTheOldSubmissionFileAndAGoodOneReplacesIt)
{
    const QString path = out.write(QStringLiteral("old.lzh"), "the earlier submission file");
    // A photo whose name an LZH header cannot hold makes the packing fail.
    const QString badPhoto = home.write(QStringLiteral("Images/XXK-000005G\U0001F600.jpg"), testsupport::jpegPhoto(100, 20));
    addPhotoRow(kOldNumber, QStringLiteral("G"), QStringLiteral("\U0001F600.jpg"));
    // A failed export changes no table: not the stamps of the data version and kind either.
    main()->edit();
    main()->field(QStringLiteral("REG_VERSION")).setInteger(7300);
    main()->field(QStringLiteral("DATA_TYPE_CODE")).setString(QStringLiteral("0"));
    ASSERT_TRUE(main()->post());
    ASSERT_TRUE(dm->WriteChangedTables());
    expectExportFailureKeepingTheOldFile(path);
    EXPECT_EQ(main()->field(QStringLiteral("REG_NO")).asString(), kOldNumber);
    EXPECT_EQ(main()->field(QStringLiteral("REG_VERSION")).asString(), QStringLiteral("7300"));
    EXPECT_EQ(main()->field(QStringLiteral("DATA_TYPE_CODE")).asString(), QStringLiteral("0"));
    EXPECT_FALSE(main()->isChangedSinceRead());

    // Without that photo and its row the export succeeds.
    QFile::remove(badPhoto);
    Table* images = dm->table(QStringLiteral("NT_TBL_INFO_IMAGES"));
    ASSERT_TRUE(images->locate(QStringLiteral("IMAGES_FILE"), QStringLiteral("XXK-000005G\U0001F600.jpg")));
    images->remove();
    exportTo(QStringLiteral("old.lzh"));
    QList<lzh::MemberEntry> members;
    ASSERT_TRUE(lzh::listArchive(path, members, nullptr));
    EXPECT_EQ(members.size(), 15);
}

TEST_F(SubmissionTest, MissingItemsStopTheExportWithOneListAndAnOpenLevelWithoutCandidatesIsFilled)
{
    main()->edit();
    main()->field(QStringLiteral("TECH_DVLP_YEAR")).clear();
    main()->field(QStringLiteral("LEVEL3_COMBO")).clear(); // "01001" has subdivisions: a choice is missing
    // Slot 2 stops at "0100104", which has no subdivisions: complete.
    main()->field(QStringLiteral("LEVEL1_COMBO2")).setString(QStringLiteral("010"));
    main()->field(QStringLiteral("LEVEL2_COMBO2")).setString(QStringLiteral("01001"));
    main()->field(QStringLiteral("LEVEL3_COMBO2")).setString(QStringLiteral("0100104"));
    main()->post();

    ui.expectBox(UserInteraction::Ok);
    SubmissionExport exporter(*dm, ui);
    EXPECT_EQ(exporter.exportSubmissionFile(out.filePath(QStringLiteral("a.lzh"))), SubmissionExport::Outcome::Stopped);
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_EQ(ui.boxes().first().caption, QStringLiteral("エラー"));
    EXPECT_EQ(ui.boxes().first().text, submission::kMissingItemsMessage + QStringLiteral("\r\n･ 技術開発年(半角で数値)\r\n･ 分類(選択)"));
    EXPECT_EQ(main()->field(QStringLiteral("LEVEL4_COMBO2")).asString(), QStringLiteral("010010400"));
    EXPECT_FALSE(QFile::exists(out.filePath(QStringLiteral("a.lzh"))));
}

TEST(SubmissionFileName, ProposedNameDropsWhatAFileNameCannotHold)
{
    const QList<std::pair<QString, QString>> cases = {
        {QStringLiteral("A/B:C*?"), QStringLiteral("ABC")},
        {QStringLiteral(" 100%の'技術' "), QStringLiteral("100％の’技術’")},
        {QStringLiteral("港湾＜新＞／工法｜"), QStringLiteral("港湾新工法")},
        {QStringLiteral(" \\ <> "), QString()},
        {QStringLiteral("防波堤\r\n補強\t工法\n"), QStringLiteral("防波堤補強工法")},
    };
    for (const auto& [title, proposed] : cases)
        EXPECT_EQ(submission::ProposedFileName(title), proposed) << title.toStdString();
}

// The submission file of the registration with its main table rewritten by `rewriteMain`.
// The rows of an exported member, as field name → value of its one row.
QHash<QString, QString> exportedRow(const QString& member)
{
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> rows;
    EXPECT_TRUE(store::TableFile::read(member, &fields, &rows, nullptr));
    QHash<QString, QString> row;
    for (int f = 0; f < fields.size() && !rows.isEmpty(); ++f)
        row.insert(fields.at(f).name, rows.first().value(f).toString());
    return row;
}

// The submitted rates agree with the comparison sheet even when the registration was not saved
// after the sheet changed them.
TEST_F(SubmissionTest, ExportedRatesAgreeWithTheComparisonSheet)
{
    Table* sheet = dm->table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    sheet->edit();
    sheet->field(QStringLiteral("RATE_COST")).setString(QStringLiteral("12.5"));
    sheet->field(QStringLiteral("RATE_PROCESS")).setString(QStringLiteral("-7.25"));
    ASSERT_TRUE(sheet->post());
    Table* detail = dm->table(QStringLiteral("NT_TBL_DETAIL"));
    detail->edit();
    detail->field(QStringLiteral("COMPARE_COST_RATE")).setString(QStringLiteral("3"));
    detail->field(QStringLiteral("COMPARE_PROCESS_RATE")).setString(QStringLiteral("3"));
    ASSERT_TRUE(detail->post());

    const QString path = exportTo(QStringLiteral("rates.lzh"));
    const QString members = out.filePath(QStringLiteral("members"));
    ASSERT_TRUE(lzh::extractArchive(path, members, {}, nullptr, nullptr));
    const QHash<QString, QString> exported = exportedRow(members + QStringLiteral("/NT_TBL_DETAIL.Cds"));
    EXPECT_EQ(exported.value(QStringLiteral("COMPARE_COST_RATE")), QStringLiteral("13"));
    EXPECT_EQ(exported.value(QStringLiteral("COMPARE_PROCESS_RATE")), QStringLiteral("7.25"));
    EXPECT_EQ(detail->field(QStringLiteral("COMPARE_PROCESS_RATE")).asString(), QStringLiteral("7.25")) << "the stored row agrees too";
}

// Any of the thirteen files that cannot be prepared ends the export with a message, and the
// earlier submission file stays as it was.
TEST_F(SubmissionTest, AWorkingFileThatCannotBePreparedEndsTheExport)
{
    const QString path = out.write(QStringLiteral("old.lzh"), "the earlier submission file");
    QFile::remove(home.filePath(QStringLiteral("Zero/NT_TBL_COMPANY.Cds")));
    ASSERT_FALSE(QFileInfo::exists(dm->folder().templatePath(QStringLiteral("NT_TBL_COMPANY"))));
    const QString message = expectExportFailureKeepingTheOldFile(path);
    EXPECT_TRUE(message.contains(QStringLiteral("NT_TBL_COMPANY"))) << message.toStdString();
}

class ImportVariantsTest : public SubmissionTest
{
protected:
    void SetUp() override
    {
        SubmissionTest::SetUp();
        const QString path = exportTo(QStringLiteral("base.lzh"));
        members = out.filePath(QStringLiteral("members"));
        ASSERT_TRUE(lzh::extractArchive(path, members, {}, nullptr, nullptr));
        ui.clearBoxes();
        before = snapshot(home.filePath(QStringLiteral("FLATT_FILES")));
    }

    QString repack(const QString& name)
    {
        const QString path = out.filePath(name);
        QStringList files;
        for (const QString& file : QDir(members).entryList(QDir::Files))
            files << QDir(members).filePath(file);
        QString error;
        EXPECT_TRUE(lzh::packFiles(path, files, &error)) << error.toStdString();
        return path;
    }

    // Rewrites a member table: its last `dropped` fields removed and REG_VERSION / REG_NO set.
    void rewriteMain(int dropped, const QVariant& version, const QString& regNo = kOldNumber)
    {
        const QString file = members + QStringLiteral("/NT_TBL_MAIN.Cds");
        QList<store::FieldDef> fields;
        QList<QVector<QVariant>> rows;
        ASSERT_TRUE(store::TableFile::read(file, &fields, &rows, nullptr));
        for (int f = 0; f < fields.size(); ++f) {
            if (fields.at(f).name == QLatin1String("REG_VERSION"))
                rows[0][f] = version;
            if (fields.at(f).name == QLatin1String("REG_NO"))
                rows[0][f] = regNo;
        }
        fields = fields.mid(0, fields.size() - dropped);
        rows[0].resize(fields.size());
        QString error;
        ASSERT_TRUE(store::TableFile::write(file, fields, {&rows.at(0)}, &error)) << error.toStdString();
    }

    QString members;
    QMap<QString, QByteArray> before;
};

TEST_F(ImportVariantsTest, OlderLayoutIsUpgradedBeforeItsRowsAreMerged)
{
    const int current = main()->fieldCount();
    const Table::RowValues original = rowsOf(QStringLiteral("NT_TBL_MAIN"), kOldNumber, 0).value(0);
    rewriteMain(3, 7300);
    QFile::remove(members + QStringLiteral("/NT_TBL_DETAIL_FREE.Cds")); // older data has no free items
    const QString path = repack(QStringLiteral("old.lzh"));

    for (int notice = 0; notice < 3; ++notice) // steps from 7300: 7300, 7400, 7500
        ui.expectBox(UserInteraction::Ok);
    SubmissionImport importer(*dm, ui);
    ASSERT_EQ(importer.ImportSubmissionFile(path), SubmissionImport::Outcome::Imported) << ui.boxTexts().join('\n').toStdString();
    EXPECT_EQ(ui.boxTexts(), QStringList(3, submission::kUpgradeNotice));
    ASSERT_EQ(main()->field(QStringLiteral("REG_NO")).asString(), QStringLiteral("XXK-000006"));
    EXPECT_EQ(main()->field(QStringLiteral("REG_VERSION")).asInteger(), 7300);
    // The older fields keep their values, the fields the older layout lacked are empty.
    const Table::RowValues upgraded = rowsOf(QStringLiteral("NT_TBL_MAIN"), QStringLiteral("XXK-000006"), 0).value(0);
    const int version = main()->fieldIndex(QStringLiteral("REG_VERSION"));
    for (int f = 0; f < current - 3; ++f) {
        if (f != version)
            EXPECT_EQ(upgraded.value(f), original.value(f)) << main()->field(f).name().toStdString();
    }
    for (int f = current - 3; f < current; ++f)
        EXPECT_TRUE(upgraded.value(f).isNull()) << main()->field(f).name().toStdString();
    EXPECT_TRUE(tempFiles().isEmpty()) << "no Z file is left";
}

TEST_F(ImportVariantsTest, DataVersionDecidesTheUpgradeSteps)
{
    struct Case
    {
        QVariant version;
        QStringList boxes;
        bool imported;
    };
    const QList<Case> cases = {
        {7800, {}, true},
        {QVariant(), QStringList(5, submission::kUpgradeNotice), true}, // counts as 7000
        {6500, QStringList(5, submission::kUpgradeNotice), true},
        {7700, {submission::kUpgradeNotice}, true},
        {7900, {submission::kDataTooNew}, false},
    };
    int imported = 0;
    for (const Case& c : cases) {
        rewriteMain(0, c.version);
        const QString path = repack(QStringLiteral("v.lzh"));
        ui.clearBoxes();
        for (int box = 0; box < c.boxes.size(); ++box)
            ui.expectBox(UserInteraction::Ok);
        SubmissionImport importer(*dm, ui);
        const auto outcome = importer.ImportSubmissionFile(path);
        EXPECT_EQ(outcome == SubmissionImport::Outcome::Imported, c.imported) << c.version.toString().toStdString();
        EXPECT_EQ(ui.boxTexts(), c.boxes) << c.version.toString().toStdString();
        imported += c.imported ? 1 : 0;
        QFile::remove(path);
    }
    EXPECT_EQ(main()->recordCount(), 2 + imported);
}

TEST_F(ImportVariantsTest, OtherEditionIsConvertedAfterYesAndLeftOutAfterNo)
{
    rewriteMain(0, 7800, QStringLiteral("TH-0042"));
    const QString path = repack(QStringLiteral("other.lzh"));

    ui.expectBox(UserInteraction::No);
    SubmissionImport importer(*dm, ui);
    EXPECT_EQ(importer.ImportSubmissionFile(path), SubmissionImport::Outcome::Refused);
    EXPECT_EQ(snapshot(home.filePath(QStringLiteral("FLATT_FILES"))), before);

    ui.clearBoxes();
    ui.expectBox(UserInteraction::Yes);
    ui.expectBox(UserInteraction::Ok);
    ASSERT_EQ(importer.ImportSubmissionFile(path), SubmissionImport::Outcome::Imported);
    EXPECT_EQ(ui.boxTexts(), (QStringList{submission::kOtherEditionQuestion, submission::kOtherEditionNotice}));
    const QString number = importer.importedNumber();
    EXPECT_TRUE(rowsOf(QStringLiteral("PL_TBL_PROJECT_MOC"), number, 0).isEmpty());
    EXPECT_TRUE(rowsOf(QStringLiteral("NT_TBL_CONST_CONDITION"), number, 0).isEmpty());
    EXPECT_TRUE(main()->field(QStringLiteral("LEVEL1_COMBO")).isNull());
    Table* detail = dm->table(QStringLiteral("NT_TBL_DETAIL"));
    ASSERT_EQ(detail->recordCount(), 1);
    EXPECT_TRUE(detail->field(QStringLiteral("EVALUATE_MOC_NO")).isNull());
    EXPECT_EQ(detail->field(QStringLiteral("RESULTS_MOC")).asInteger(), 0);
    EXPECT_FALSE(detail->field(QStringLiteral("COMPARE_TECH_TITLE")).isNull());
}

// A member that cannot be read as its table refuses the whole registration with the engine's
// message: no row is merged, no photo moved and no number used.
TEST_F(ImportVariantsTest, AMemberThatCannotBeReadRefusesTheWholeRegistration)
{
    const QByteArray detail = out.read(QStringLiteral("members/NT_TBL_DETAIL.Cds"));
    const QByteArray breakdown = out.read(QStringLiteral("members/NT_TBL_COMPARE_DETAIL.Cds"));
    const auto restore = [&] {
        rewriteMain(0, 7800);
        out.write(QStringLiteral("members/NT_TBL_DETAIL.Cds"), detail);
        out.write(QStringLiteral("members/NT_TBL_COMPARE_DETAIL.Cds"), breakdown);
    };
    const QList<std::pair<const char*, std::function<void()>>> cases = {
        {"a main table missing a field", [&] { rewriteMain(1, 7800); }},
        {"a detail table of garbage", [&] { out.write(QStringLiteral("members/NT_TBL_DETAIL.Cds"), "garbage"); }},
        {"a price that is no number", [&] {
             QByteArray bytes = breakdown;
             const int at = bytes.indexOf("PRICE=\"");
             ASSERT_GE(at, 0);
             bytes.insert(at + 7, "12a");
             out.write(QStringLiteral("members/NT_TBL_COMPARE_DETAIL.Cds"), bytes);
         }},
    };
    const auto images = snapshot(home.filePath(QStringLiteral("Images")));
    QHash<QString, int> rowsBefore;
    for (const QString& table : submission::registrationTableNames())
        rowsBefore.insert(table, dm->table(table)->allRows().size());
    for (const auto& [name, spoil] : cases) {
        restore();
        spoil();
        const QString path = repack(QStringLiteral("spoilt.lzh"));
        ui.clearBoxes();
        ui.expectBox(UserInteraction::Ok);
        SubmissionImport importer(*dm, ui);
        EXPECT_EQ(importer.ImportSubmissionFile(path), SubmissionImport::Outcome::Refused) << name;
        ASSERT_EQ(ui.boxes().size(), 1) << name;
        EXPECT_EQ(ui.boxes().first().icon, UserInteraction::Icon::Error) << name;
        EXPECT_EQ(ui.boxes().first().caption, QStringLiteral("VORDELL")) << name;
        EXPECT_TRUE(tempFiles().isEmpty()) << name;
        for (const QString& table : submission::registrationTableNames())
            EXPECT_EQ(dm->table(table)->allRows().size(), rowsBefore.value(table)) << name << " " << table.toStdString();
        EXPECT_EQ(snapshot(home.filePath(QStringLiteral("FLATT_FILES"))), before) << name;
        EXPECT_EQ(snapshot(home.filePath(QStringLiteral("Images"))), images) << name;
        QFile::remove(path);
    }
    QString number;
    ASSERT_TRUE(dm->NextLocalNumber(&number, nullptr));
    EXPECT_EQ(number.trimmed(), QStringLiteral("XXK-000006")) << "no number was used";
}

// A file that is no submission file is told so; a damaged one, or one that the working folder
// cannot take, is refused with the real cause. Nothing changes either way.
TEST_F(ImportVariantsTest, BrokenOrForeignFilesAreRefusedWithTheirMessageAndChangeNothing)
{
    const QByteArray good = out.read(QStringLiteral("base.lzh"));
    QFile::remove(members + QStringLiteral("/NT_TBL_EVALUATE_RESULT.Cds"));
    const QString incomplete = repack(QStringLiteral("incomplete.lzh"));
    const QString oldData = out.filePath(QStringLiteral("NewTech.lzh"));
    ASSERT_TRUE(lzh::packFiles(oldData, {out.write(QStringLiteral("NewTech.nt6"), "old data")}, nullptr));
    // A member's data altered: its CRC no longer matches.
    QByteArray altered = good;
    altered[altered.size() / 2] = char(altered.at(altered.size() / 2) ^ 0x55);
    const QString truncated = out.write(QStringLiteral("truncated.lzh"), good.left(good.size() / 2));
    const QString crc = out.write(QStringLiteral("crc.lzh"), altered);
    const QString damaged = submission::kDamagedSubmissionFile;
    struct Case
    {
        QString path;
        QString message; // the whole text of a caution, or the start of an error
        bool caution;
    };
    const QList<Case> cases = {
        {out.write(QStringLiteral("text.lzh"), "this is not an archive"), submission::kNotSubmissionData, true},
        {out.write(QStringLiteral("empty.lzh"), ""), submission::kNotSubmissionData, true},
        {out.filePath(QStringLiteral("missing.lzh")), submission::kNotSubmissionData, true},
        {incomplete, submission::kNotSubmissionData, true},
        {oldData, submission::kOldVersionData, true},
        {truncated, damaged.arg(truncated) + QStringLiteral("\r\n"), false},
        {crc, damaged.arg(crc) + QStringLiteral("\r\n"), false},
    };
    const auto images = snapshot(home.filePath(QStringLiteral("Images")));
    for (const Case& c : cases) {
        ui.clearBoxes();
        ui.expectBox(UserInteraction::Ok);
        SubmissionImport importer(*dm, ui);
        EXPECT_EQ(importer.ImportSubmissionFile(c.path), SubmissionImport::Outcome::Refused) << c.path.toStdString();
        ASSERT_EQ(ui.boxes().size(), 1) << ui.boxTexts().join('\n').toStdString();
        const QString text = ui.boxes().first().text;
        if (c.caution) {
            EXPECT_EQ(text, c.message) << c.path.toStdString();
            EXPECT_EQ(ui.boxes().first().caption, QStringLiteral("注意"));
        } else {
            EXPECT_TRUE(text.startsWith(c.message) && text.size() > c.message.size()) << text.toStdString();
            EXPECT_EQ(ui.boxes().first().icon, UserInteraction::Icon::Error);
        }
        EXPECT_TRUE(tempFiles().isEmpty()) << c.path.toStdString();
    }
    EXPECT_EQ(main()->recordCount(), 2);
    EXPECT_EQ(snapshot(home.filePath(QStringLiteral("FLATT_FILES"))), before);
    EXPECT_EQ(snapshot(home.filePath(QStringLiteral("Images"))), images);
}

// A working folder that cannot be written (here a file where Temp should be) is named with the
// reason; the file imported is not blamed.
TEST_F(ImportVariantsTest, AWorkingFolderThatCannotBeWrittenIsNamed)
{
    const QString temp = home.filePath(QStringLiteral("Temp"));
    ASSERT_TRUE(QDir(temp).removeRecursively());
    home.write(QStringLiteral("Temp"), "a file");
    ui.expectBox(UserInteraction::Ok);
    SubmissionImport importer(*dm, ui);
    EXPECT_EQ(importer.ImportSubmissionFile(out.filePath(QStringLiteral("base.lzh"))), SubmissionImport::Outcome::Refused);
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_TRUE(ui.boxes().first().text.startsWith(QStringLiteral("フォルダ %1 に書き込めません (Not a directory)").arg(temp)))
        << ui.boxes().first().text.toStdString();
    EXPECT_EQ(main()->recordCount(), 2);
}

// A registration whose tables or photos cannot be stored (a disk that is full by then) is not
// imported: the tables in memory and on disk and the photo folder stay as they were, and the same
// file imports whole once there is room.
TEST_F(ImportVariantsTest, AFailedWriteTakesTheWholeImportBack)
{
    const QString path = out.filePath(QStringLiteral("base.lzh"));
    const auto images = snapshot(home.filePath(QStringLiteral("Images")));
    QHash<QString, std::pair<int, bool>> tablesBefore;
    for (const QString& table : submission::registrationTableNames())
        tablesBefore.insert(table, {int(dm->table(table)->allRows().size()), dm->table(table)->isChangedSinceRead()});
    // The part of a file being written is "<file>.part"; the first number tried is XXK-000006.
    for (const QString& full : {QStringLiteral("Images/XXK-000006A.jpg.part"), QStringLiteral("FLATT_FILES/NT_TBL_DETAIL.cds.part")}) {
        ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), home.filePath(full)));
        ui.clearBoxes();
        ui.expectBox(UserInteraction::Ok);
        SubmissionImport importer(*dm, ui);
        EXPECT_EQ(importer.ImportSubmissionFile(path), SubmissionImport::Outcome::Refused) << full.toStdString();
        EXPECT_TRUE(importer.importedNumber().isEmpty());
        ASSERT_EQ(ui.boxes().size(), 1);
        const QString message = ui.boxes().first().text;
        EXPECT_TRUE(message.contains(QFileInfo(full).completeBaseName())) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("No space left on device"))) << message.toStdString();
        for (const QString& table : submission::registrationTableNames()) {
            const std::pair<int, bool> now = {int(dm->table(table)->allRows().size()), dm->table(table)->isChangedSinceRead()};
            EXPECT_EQ(now, tablesBefore.value(table)) << table.toStdString();
        }
        EXPECT_EQ(snapshot(home.filePath(QStringLiteral("FLATT_FILES"))), before);
        EXPECT_EQ(snapshot(home.filePath(QStringLiteral("Images"))), images);
        EXPECT_TRUE(tempFiles().isEmpty());
        QFile::remove(home.filePath(full));
    }

    ui.clearBoxes();
    SubmissionImport importer(*dm, ui);
    ASSERT_EQ(importer.ImportSubmissionFile(path), SubmissionImport::Outcome::Imported) << ui.boxTexts().join('\n').toStdString();
    const QString number = importer.importedNumber();
    EXPECT_EQ(home.read(QStringLiteral("Images/%1A.jpg").arg(number)), photoA);
    for (const QString& table : submission::registrationTableNames())
        EXPECT_EQ(rowsOf(table, number, number.mid(4).toInt()), rowsOf(table, kOldNumber, 5)) << table.toStdString();
}

namespace {

// A member whose header declares `declared` bytes; its few bytes of data are never decoded.
QByteArray declaredMember(const QString& name, quint64 declared)
{
    lzh::MemberHeader header;
    header.method = "-lh5-";
    header.name = name.toStdString();
    header.originalSize = declared;
    header.compressedSize = 4;
    return QByteArray::fromStdString(lzh::writeLevel2Header(header)) + QByteArray(4, '\x55');
}

} // namespace

// A submission file is extracted member by member: the tables and the photos its image rows name,
// each within its limit; an imported photo passes the checks of a chosen one; and a table with
// more rows than the program can enter is refused. A refusal names the member and its bound and
// leaves everything as it was.
TEST_F(ImportVariantsTest, OnlyTheMembersOfASubmissionAreTakenEachWithinItsBound)
{
    // The file packed from the members with `extra` appended, the member `replaced` left out.
    int packed = 0;
    const auto packedWith = [&](const QByteArray& extra, const QString& replaced = QString()) {
        const QString aside = out.filePath(QStringLiteral("aside"));
        if (!replaced.isEmpty())
            QFile::rename(members + QLatin1Char('/') + replaced, aside);
        const QString name = QStringLiteral("bounded%1.lzh").arg(++packed);
        repack(name);
        if (!replaced.isEmpty())
            QFile::rename(aside, members + QLatin1Char('/') + replaced);
        QByteArray bytes = out.read(name);
        bytes.chop(1); // the end mark
        return out.write(name, bytes + extra + QByteArray(1, '\0'));
    };
    const QByteArray photo = out.read(QStringLiteral("members/XXK-000005A.jpg"));
    const QByteArray contacts = out.read(QStringLiteral("members/NT_TBL_COMPANY.Cds"));
    const auto withMemberFile = [&](const QString& name, const QByteArray& bytes) {
        const QByteArray kept = out.read(QStringLiteral("members/") + name);
        out.write(QStringLiteral("members/") + name, bytes);
        const QString path = packedWith({});
        out.write(QStringLiteral("members/") + name, kept);
        return path;
    };
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> contactRows;
    ASSERT_TRUE(store::TableFile::read(members + QStringLiteral("/NT_TBL_COMPANY.Cds"), &fields, &contactRows, nullptr));
    std::vector<const QVector<QVariant>*> manyContacts(41, &contactRows.first());
    QBuffer manyContactsFile;
    manyContactsFile.open(QIODevice::WriteOnly);
    ASSERT_TRUE(store::TableFile::write(&manyContactsFile, fields, manyContacts, nullptr));

    const QList<std::pair<QString, QStringList>> refused = {
        {packedWith(declaredMember(QStringLiteral("NT_TBL_MAIN.Cds"), quint64(1) << 30), QStringLiteral("NT_TBL_MAIN.Cds")),
         {"NT_TBL_MAIN.Cds は 1073741824 バイトあり", QStringLiteral("上限の %1 バイト").arg(submission::tableMemberLimit("NT_TBL_MAIN"))}},
        {packedWith(declaredMember(QStringLiteral("XXK-000005A.jpg"), quint64(256) << 20), QStringLiteral("XXK-000005A.jpg")),
         {"写真 XXK-000005A.jpg は 268435456 バイトあり", "上限の 189439 バイト"}},
        {withMemberFile(QStringLiteral("XXK-000005A.jpg"), QByteArray(2000, ' ')),
         {"写真 XXK-000005A.jpg は取り込めません。\r\n" + photos::kNotAPhoto}},
        {withMemberFile(QStringLiteral("XXK-000005S.GIF"), kWidePhoto), {"写真 XXK-000005S.GIF は取り込めません。\r\n画像の幅が大きすぎます。"}},
        {withMemberFile(QStringLiteral("NT_TBL_COMPANY.Cds"), manyContactsFile.data()),
         {"NT_TBL_COMPANY.Cds に 41 行あります。1 件の登録に入力できるのは 40 行までです。"}},
    };
    const auto images = snapshot(home.filePath(QStringLiteral("Images")));
    for (const auto& [path, mentions] : refused) {
        SCOPED_TRACE(mentions.first().toStdString());
        ui.clearBoxes();
        ui.expectBox(UserInteraction::Ok);
        SubmissionImport importer(*dm, ui);
        EXPECT_EQ(importer.ImportSubmissionFile(path), SubmissionImport::Outcome::Refused);
        ASSERT_EQ(ui.boxes().size(), 1);
        for (const QString& mention : mentions)
            EXPECT_TRUE(ui.boxes().first().text.contains(mention)) << ui.boxTexts().join('\n').toStdString();
        EXPECT_TRUE(tempFiles().isEmpty());
        EXPECT_EQ(snapshot(home.filePath(QStringLiteral("FLATT_FILES"))), before);
        EXPECT_EQ(snapshot(home.filePath(QStringLiteral("Images"))), images);
    }

    // A member the submission does not consist of is left in the archive, however large.
    ui.clearBoxes();
    SubmissionImport importer(*dm, ui);
    EXPECT_EQ(importer.ImportSubmissionFile(packedWith(declaredMember(QStringLiteral("XXK-000005B.jpg"), quint64(3) << 30))),
              SubmissionImport::Outcome::Imported) << ui.boxTexts().join('\n').toStdString();
    EXPECT_TRUE(ui.boxes().isEmpty());
    EXPECT_TRUE(tempFiles().isEmpty());
    EXPECT_EQ(home.read(QStringLiteral("Images/XXK-000006A.jpg")), photo);
    EXPECT_FALSE(QFileInfo::exists(home.filePath(QStringLiteral("Images/XXK-000006B.jpg"))));
}

// Every table member's bound lies far above one registration's table, below what an LZH header
// can declare, and for the one-row main table below a gigabyte; a photo's is the photo rules' own.
TEST(SubmissionLimits, TableMembersAreBoundedByTenThousandFullRegistrations)
{
    for (const QString& table : submission::registrationTableNames()) {
        SCOPED_TRACE(table.toStdString());
        EXPECT_GT(submission::rowsPerRegistration(table), 0);
        EXPECT_GT(submission::tableMemberLimit(table), 10000 * 1000);
        EXPECT_LT(submission::tableMemberLimit(table), qint64(4) << 30);
    }
    EXPECT_LT(submission::tableMemberLimit(QStringLiteral("NT_TBL_MAIN")), qint64(1) << 30);
    EXPECT_EQ(submission::photoMemberLimit(), 185 * 1024 - 1);
}

TEST_F(SubmissionTest, ImportDialogOffersBothKindsAndOldDataIsDeclared)
{
    ui.expectFile(out.filePath(QStringLiteral("NewTech.nt6")), 1);
    ui.expectBox(UserInteraction::Ok);
    SubmissionImport importer(*dm, ui);
    EXPECT_EQ(importer.importSubmissionFile(), SubmissionImport::Outcome::Refused);
    ASSERT_EQ(ui.fileRequests().size(), 1);
    EXPECT_EQ(ui.fileRequests().first().filters, (QStringList{"新技術データ|*.lzh", "旧新技術データ|NewTech.nt6"}));
    EXPECT_EQ(ui.fileRequests().first().folder, out.path());
    EXPECT_EQ(ui.boxTexts(), QStringList{submission::kOldDataNotSupported});

    // The next opening starts in the folder of the file chosen last.
    const QString other = out.filePath(QStringLiteral("sub"));
    QDir().mkpath(other);
    ui.expectFile(other + QStringLiteral("/NewTech.nt6"), 1);
    ui.expectBox(UserInteraction::Ok);
    importer.importSubmissionFile();
    ui.expectFile(QString());
    EXPECT_EQ(importer.importSubmissionFile(), SubmissionImport::Outcome::Cancelled);
    EXPECT_EQ(ui.fileRequests().last().folder, other);
}

TEST_F(SubmissionTest, CommandLineCheckListsEveryProblemOfARegistrationOrSubmissionFile)
{
    // XXK-000001 mended: no evaluation, no photo titles.
    ASSERT_TRUE(main()->locate(QStringLiteral("REG_NO"), QStringLiteral("XXK-000001")));
    Table* detail = dm->table(QStringLiteral("NT_TBL_DETAIL"));
    detail->edit();
    for (const char* field : {"EVALUATE_MOC_NO", "EVALUATE_MOC_DATE", "EVALUATE_PRIVATE_NO", "EVALUATE_PRIVATE_DATE", "EVALUATE_ORGAN_CODE"})
        detail->field(QLatin1String(field)).clear();
    detail->post();
    Table* pictures = dm->table(QStringLiteral("NT_TBL_PICTURE"));
    pictures->edit();
    for (const char* slot : {"A", "B", "S", "T", "G", "H", "I"})
        pictures->field(QStringLiteral("PICTURE_") + QLatin1String(slot)).clear();
    pictures->post();
    ASSERT_TRUE(main()->locate(QStringLiteral("REG_NO"), kOldNumber));
    const QString path = exportTo(QStringLiteral("check.lzh"));
    // Photo S replaced, after the export, by one too wide to be handed in.
    home.write(QStringLiteral("Images/XXK-000005S.GIF"), testsupport::gifPhoto(700, 2));
    ASSERT_TRUE(dm->CloseAllTables());
    dm.reset();
    const QByteArray storedMain = home.read(QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds"));

    const QStringList homeArgs = {QStringLiteral("--home"), home.path()};
    auto result = testsupport::runCli(homeArgs + QStringList{"check", "XXK-000001"});
    EXPECT_EQ(result.exitCode, 0) << result.out.toStdString() << result.err.toStdString();
    EXPECT_TRUE(result.out.isEmpty());

    // Photos B, T, G, H and I are titled without a photo, photo S is 700 pixels wide (in the
    // program folder, not in the submission file) and the evaluating body's code is unknown.
    const QString missingPhoto = QStringLiteral("\t保存\t画像ファイルが見つかりません。 画像ファイルを選択し直して下さい。\n");
    const QString organ = QStringLiteral("施工実績等\t保存\t評価機関を選択してください。\n");
    const QString records = organ + organ + QStringLiteral("施工実績等") + missingPhoto + QStringLiteral("施工実績等") + missingPhoto
        + QStringLiteral("施工実績等") + missingPhoto + QStringLiteral("施工実績等") + missingPhoto;
    const QString expected = QStringLiteral("概要") + missingPhoto
        + QStringLiteral("従来技術との比較\t保存\t画像の幅が大きすぎます。 600ﾋﾟｸｾﾙ以内にしてください。\n") + records;
    result = testsupport::runCli(homeArgs + QStringList{"check", kOldNumber});
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    EXPECT_EQ(result.out, expected);
    // The submission file of the same registration, by the same rules, without importing it.
    result = testsupport::runCli(homeArgs + QStringList{"check", path});
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    EXPECT_EQ(result.out, QStringLiteral("概要") + missingPhoto + records);
    EXPECT_EQ(home.read(QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds")), storedMain);

    result = testsupport::runCli(homeArgs + QStringList{"check", out.write(QStringLiteral("bad.lzh"), "junk")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.out.isEmpty());
    result = testsupport::runCli(homeArgs + QStringList{"check", "XXK-999999"});
    EXPECT_EQ(result.exitCode, 2);
}

TEST_F(SubmissionTest, CommandLineExportsAndImports)
{
    dm.reset();
    const QStringList homeArgs = {QStringLiteral("--home"), home.path()};
    const QString path = out.filePath(QStringLiteral("cli.lzh"));
    auto result = testsupport::runCli(homeArgs + QStringList{"export", kOldNumber, path});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    ASSERT_TRUE(QFile::exists(path));
    result = testsupport::runCli(homeArgs + QStringList{"export", "XXK-999999", path});
    EXPECT_EQ(result.exitCode, 1);

    result = testsupport::runCli(homeArgs + QStringList{"import", path});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QStringLiteral("XXK-000006\n"));
    EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("Images/XXK-000006A.jpg"))));

    result = testsupport::runCli(homeArgs + QStringList{"import", out.write(QStringLiteral("bad.lzh"), "junk")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains(submission::kNotSubmissionData)) << result.err.toStdString();
    // A registration whose photo cannot be stored prints no number and fails, leaving nothing.
    const QString images = home.filePath(QStringLiteral("Images"));
    const auto imagesBefore = snapshot(images);
    setPermissionsBelow(home.path(), true);
    setPermissionsBelow(out.path(), true);
    setPermissionsBelow(images, false);
    result = testsupport::runCliAsOrdinaryUser(homeArgs + QStringList{"import", path});
    setPermissionsBelow(images, true);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("Images/XXK-000007A.jpg.part: 書き込みに失敗しました (Permission denied)")))
        << result.err.toStdString();
    EXPECT_EQ(snapshot(images), imagesBefore);
    result = testsupport::runCli(homeArgs + QStringList{"list"});
    EXPECT_EQ(result.out.count(QLatin1Char('\n')), 3) << result.out.toStdString();
}

// An export into a folder the user cannot write names the file and the reason, and changes no
// table.
TEST_F(SubmissionTest, AnExportIntoAFolderThatCannotBeWrittenNamesTheFileAndTheReason)
{
    ASSERT_TRUE(dm->CloseAllTables());
    dm.reset();
    const QByteArray mainBefore = home.read(QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds"));
    setPermissionsBelow(home.path(), true);
    const QString target = out.filePath(QStringLiteral("closed"));
    QDir().mkpath(target);
    setPermissionsBelow(out.path(), true);
    setPermissionsBelow(target, false);
    const QString path = target + QStringLiteral("/a.lzh");
    const auto result = testsupport::runCliAsOrdinaryUser({QStringLiteral("--home"), home.path(), QStringLiteral("export"), kOldNumber, path});
    setPermissionsBelow(target, true);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains(submission::kPackFailed)) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(path)) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("Permission denied"))) << result.err.toStdString();
    EXPECT_FALSE(result.err.contains(QStringLiteral("LZH ("))) << result.err.toStdString();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(home.read(QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds")), mainBefore);
}

// ---------------------------------------------------------------- kept submissions and changes

class ChangesTest : public SubmissionTest
{
protected:
    // The values of the submission file exported now, and of the registration as saved.
    void exportAndRead()
    {
        ASSERT_TRUE(submission::submissionValues(exportTo(QStringLiteral("kept.lzh")), &file, &error)) << error.toStdString();
        now = submission::storedValues(*dm, kOldNumber);
    }
    QList<submission::Difference> differences() const { return submission::compareRegistrations(file, now, submission::CodeNames(*dm)); }
    static QString lines(const QList<submission::Difference>& list)
    {
        QStringList out;
        for (const submission::Difference& d : list)
            out.append(d.line());
        return out.join('\n');
    }
    static submission::RegistrationValues::Row& firstRow(submission::RegistrationValues& values, const QString& table)
    {
        return values.tables[table].first();
    }

    submission::RegistrationValues file;
    submission::RegistrationValues now;
    QString error;
};

TEST_F(ChangesTest, EachChangeIsOneLineWithTheCaptionTheScreensShow)
{
    exportAndRead();
    ASSERT_TRUE(differences().isEmpty()) << lines(differences()).toStdString();
    using Values = submission::RegistrationValues;
    struct Case
    {
        const char* what;
        std::function<void(Values&)> change;
        QString page, caption, inFile, now;
    };
    const QList<Case> cases = {
        {"text", [](Values& v) { firstRow(v, "NT_TBL_MAIN")["TECH_TITLE"] = QStringLiteral("新しい名称"); },
         QStringLiteral("名称・分類等"), QStringLiteral("技術名称"), QStringLiteral("防波堤/の新工法"), QStringLiteral("新しい名称")},
        {"grid cell",
         [](Values& v) {
             firstRow(v, "NT_TBL_DESCRIPTION")["SUMMARY_TABLE"] = QStringLiteral("2\t2\t0\t0\r\na\tb\r\nc\td\r\n");
             firstRow(v, "NT_TBL_DESCRIPTION")["SUMMARY_TABLE"].replace(QStringLiteral("d"), QStringLiteral("D"));
         },
         QStringLiteral("概要"), QStringLiteral("概要の表 B2"), QStringLiteral("d"), QStringLiteral("D")},
        {"contact added",
         [](Values& v) { v.tables["NT_TBL_COMPANY"].append({{"SALES_COMPANY_OTHER", QStringLiteral("港湾建設")}, {"SALES_ORDER_OTHER", "99"}}); },
         QStringLiteral("名称・分類等"), QStringLiteral("問合せ先（その他） 3件目（追加）"), QString(), QStringLiteral("港湾建設")},
        {"record removed", [](Values& v) { v.tables["PL_TBL_PROJECT_MOC"].clear(); }, QStringLiteral("施工実績等"),
         QStringLiteral("施工実績（国土交通省） 1件目（削除）"), QString(), QString()},
        {"photo replaced",
         [](Values& v) {
             v.photos["A"] = "another picture";
             for (auto& row : v.tables["NT_TBL_INFO_IMAGES"])
                 if (row["IMAGES_TYPE"] == "A")
                     row["IMAGES_ORIGINAL"] = QStringLiteral("D:/新しい写真.jpg");
         },
         QStringLiteral("概要"), QStringLiteral("概要の写真"), QStringLiteral("C:/photos/A.jpg"), QStringLiteral("D:/新しい写真.jpg")},
        {"code changed", [](Values& v) { firstRow(v, "PL_TBL_PROJECT_MOC")["PJT_TYPE_CODE"] = "9"; }, QStringLiteral("施工実績等"),
         QStringLiteral("施工実績（国土交通省） 1件目（変更） 事業種類"), QString(), QStringLiteral("その他")},
        {"classification", [](Values& v) { firstRow(v, "NT_TBL_MAIN")["LEVEL4_COMBO"] = "010010102"; }, QStringLiteral("名称・分類等"),
         QStringLiteral("分類"), QString(), QString()},
        {"condition value", [](Values& v) { firstRow(v, "NT_TBL_CONST_CONDITION")["TXT"] = QStringLiteral("水深 10m 以下"); },
         QStringLiteral("概要"), QStringLiteral("施工条件 5NAME"), QStringLiteral("5TXT"), QStringLiteral("水深 10m 以下")},
        // Choices by their own texts, as the class's condition items name them.
        {"condition choices",
         [](Values& v) {
             v.tables["NT_TBL_CONST_CONDITION"].append({{"ORD", "3"}, {"TYPE", "M"}, {"NAME", QStringLiteral("対象土質")}, {"TXT", "1010000"}});
         },
         QStringLiteral("概要"), QStringLiteral("施工条件 対象土質"), QString(), QStringLiteral("粘性土、礫混じり土")},
        {"condition choice",
         [](Values& v) {
             v.tables["NT_TBL_CONST_CONDITION"].append(
                 {{"ORD", "4"}, {"TYPE", "S"}, {"NAME", QStringLiteral("汚濁防止膜の併用")}, {"TXT", conditions::choiceText(1)}});
         },
         QStringLiteral("概要"), QStringLiteral("施工条件 汚濁防止膜の併用"), QString(), QStringLiteral("不要")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Values before = file;
        now = submission::storedValues(*dm, kOldNumber);
        if (QString(c.what) == "grid cell") {
            // The same table in the file, with one cell different now.
            firstRow(file, "NT_TBL_DESCRIPTION")["SUMMARY_TABLE"] = QStringLiteral("2\t2\t0\t0\r\na\tb\r\nc\td\r\n");
            firstRow(now, "NT_TBL_DESCRIPTION")["SUMMARY_TABLE"] = QStringLiteral("2\t2\t0\t0\r\na\tb\r\nc\td\r\n");
        }
        c.change(now);
        const QList<submission::Difference> found = differences();
        ASSERT_EQ(found.size(), 1) << lines(found).toStdString();
        EXPECT_EQ(found.first().page, c.page);
        EXPECT_EQ(found.first().caption, c.caption);
        if (!c.inFile.isNull())
            EXPECT_EQ(found.first().inFile, c.inFile);
        if (!c.now.isNull())
            EXPECT_EQ(found.first().now, c.now);
        EXPECT_FALSE(found.first().caption.contains(QStringLiteral("_"))) << "no field name: " << found.first().line().toStdString();
        file = before;
    }
}

TEST_F(ChangesTest, StampsAndRenumberingAreNoDifferencesAndAReexportShowsNothing)
{
    exportAndRead();
    // What the export stamps and what an import renumbers.
    firstRow(now, "NT_TBL_MAIN")["REG_VERSION"] = "7000";
    firstRow(now, "NT_TBL_MAIN")["DATA_TYPE_CODE"] = "0";
    firstRow(now, "NT_TBL_DETAIL")["COMPARE_COST_RATE"] = "99";
    for (auto& row : now.tables["NT_TBL_COMPANY"]) {
        row["REC_ID"] = QString::number(row["REC_ID"].toInt() + 10);
        row["SALES_ORDER_OTHER"] = QString::number(row["SALES_ORDER_OTHER"].toDouble() * 3);
    }
    for (auto& row : now.tables["NT_TBL_COMPARE_DETAIL"])
        row["ORD"] = QString::number(row["ORD"].toInt() + 5);
    for (auto& row : now.tables["NT_TBL_INFO_IMAGES"])
        row["IMAGES_FILE"] = "XXK-000099" + row["IMAGES_TYPE"] + ".jpg";
    EXPECT_TRUE(differences().isEmpty()) << lines(differences()).toStdString();

    // Exported again, the kept file is the newest and nothing differs.
    exportTo(QStringLiteral("again.lzh"));
    const submission::ChangesSinceSubmission changes = submission::changesSinceLastSubmission(*dm, kOldNumber);
    EXPECT_TRUE(changes.compared) << changes.error.toStdString();
    EXPECT_TRUE(changes.differences.isEmpty()) << lines(changes.differences).toStdString();
    EXPECT_TRUE(changes.against.startsWith(QStringLiteral("again.lzh"))) << changes.against.toStdString();
}

TEST_F(ChangesTest, ExportAndImportKeepTheirFilesAndDeleteMovesThemAside)
{
    submission::SubmissionHistory history(dm->folder());
    int tick = 0;
    const auto clock = [&tick] { return QDateTime(QDate(2026, 3, 1), QTime(9, 0).addSecs(tick++)); };
    const QString path = exportTo(QStringLiteral("march.lzh"));
    QString why;
    ASSERT_TRUE(history.load(&why)) << why.toStdString();
    const QList<submission::KeptSubmission> kept = history.entries(kOldNumber);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(kept.first().kindName(), QStringLiteral("提出"));
    EXPECT_EQ(kept.first().userName, QStringLiteral("march.lzh"));
    EXPECT_EQ(kept.first().size, QFileInfo(path).size());
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.first().sha256, QCryptographicHash::hash(written.readAll(), QCryptographicHash::Sha256).toHex());
    EXPECT_TRUE(history.problemOf(kept.first()).isEmpty());
    EXPECT_FALSE(history.changedSinceLastSubmission(kOldNumber, submission::registrationFingerprints(*dm).value(kOldNumber)));

    // The imported registration is compared with the file received.
    SubmissionImport importer(*dm, ui);
    ASSERT_EQ(importer.ImportSubmissionFile(path), SubmissionImport::Outcome::Imported) << ui.boxTexts().join('\n').toStdString();
    const QString imported = importer.importedNumber();
    const submission::ChangesSinceSubmission changes = submission::changesSinceLastSubmission(*dm, imported);
    ASSERT_TRUE(changes.compared) << changes.error.toStdString();
    EXPECT_TRUE(changes.differences.isEmpty()) << lines(changes.differences).toStdString();
    ASSERT_TRUE(history.load(&why));
    ASSERT_EQ(history.entries(imported).size(), 1);
    EXPECT_EQ(history.entries(imported).first().kindName(), QStringLiteral("取り込み"));
    EXPECT_FALSE(history.changedSinceLastSubmission(imported, submission::registrationFingerprints(*dm).value(imported)));
    ASSERT_TRUE(main()->locate(QStringLiteral("REG_NO"), imported));
    main()->edit();
    main()->field(QStringLiteral("TECH_TITLE")).setString(QStringLiteral("改良版"));
    main()->post();
    EXPECT_TRUE(history.changedSinceLastSubmission(imported, submission::registrationFingerprints(*dm).value(imported)));

    // Deleting moves the kept files aside; the index follows them; nothing is deleted.
    history.setClock(clock);
    ASSERT_TRUE(history.setAside(kOldNumber, &why)) << why.toStdString();
    EXPECT_TRUE(history.entries(kOldNumber).isEmpty());
    EXPECT_FALSE(history.lastSubmission(kOldNumber).has_value());
    EXPECT_FALSE(QFileInfo::exists(home.filePath(QStringLiteral("FLATT_FILES/Submitted/") + kOldNumber)));
    const QStringList aside = QDir(home.filePath(QStringLiteral("FLATT_FILES/Submitted/Deleted"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(aside.first().startsWith(kOldNumber));
    EXPECT_EQ(QDir(home.filePath(QStringLiteral("FLATT_FILES/Submitted/Deleted/") + aside.first())).entryList(QDir::Files).size(), 1);
    submission::SubmissionHistory reread(dm->folder());
    ASSERT_TRUE(reread.load(&why));
    EXPECT_TRUE(reread.entries(kOldNumber).isEmpty());
    EXPECT_EQ(reread.entries(imported).size(), 1);
}

TEST_F(ChangesTest, AMissingOrDamagedKeptFileIsNamedAndTheNewestReadableOneIsUsed)
{
    exportTo(QStringLiteral("first.lzh"));
    exportTo(QStringLiteral("second.lzh"));
    submission::SubmissionHistory history(dm->folder());
    QString why;
    ASSERT_TRUE(history.load(&why));
    const QList<submission::KeptSubmission> kept = history.entries(kOldNumber);
    ASSERT_EQ(kept.size(), 2);
    ASSERT_EQ(kept.first().userName, QStringLiteral("second.lzh"));
    {
        QFile damaged(history.pathOf(kept.first()));
        ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
        damaged.seek(40);
        damaged.write("xxxx");
    }
    submission::ChangesSinceSubmission changes = submission::changesSinceLastSubmission(*dm, kOldNumber);
    ASSERT_TRUE(changes.compared);
    ASSERT_EQ(changes.notes.size(), 2) << changes.notes.join('\n').toStdString();
    EXPECT_TRUE(changes.notes.at(0).contains(QFileInfo(history.pathOf(kept.first())).fileName())) << changes.notes.at(0).toStdString();
    EXPECT_TRUE(changes.notes.at(0).contains(QStringLiteral("壊れています")));
    EXPECT_TRUE(changes.notes.at(1).contains(QStringLiteral("first.lzh")));

    QFile::remove(history.pathOf(kept.at(1)));
    changes = submission::changesSinceLastSubmission(*dm, kOldNumber);
    EXPECT_FALSE(changes.compared);
    EXPECT_TRUE(changes.error.contains(QStringLiteral("ありません"))) << changes.error.toStdString();
}

TEST_F(ChangesTest, TheExportShowsWhatChangedBeforeItsFileDialogOnceSomethingWasHandedIn)
{
    QStringList reviewed;
    bool goOn = true;
    const auto review = [&](const QString& regNo) {
        reviewed.append(regNo);
        return goOn;
    };
    // Nothing handed in yet: straight to the file dialog.
    SubmissionExport first(*dm, ui);
    first.setChangesReview(review);
    ui.expectFile(out.filePath(QStringLiteral("first.lzh")));
    ui.expectBox(UserInteraction::Ok);
    ASSERT_EQ(first.exportSubmissionFile(), SubmissionExport::Outcome::Written) << ui.boxTexts().join('\n').toStdString();
    EXPECT_TRUE(reviewed.isEmpty());

    // Handed in before: the changes come first, and stopping there writes nothing.
    goOn = false;
    SubmissionExport stopped(*dm, ui);
    stopped.setChangesReview(review);
    EXPECT_EQ(stopped.exportSubmissionFile(), SubmissionExport::Outcome::Cancelled);
    EXPECT_EQ(reviewed, QStringList{kOldNumber});
    EXPECT_EQ(ui.fileRequests().size(), 1) << "no file dialog after stopping";

    goOn = true;
    SubmissionExport again(*dm, ui);
    again.setChangesReview(review);
    ui.expectFile(out.filePath(QStringLiteral("second.lzh")));
    ui.expectBox(UserInteraction::Ok);
    EXPECT_EQ(again.exportSubmissionFile(), SubmissionExport::Outcome::Written);
    submission::SubmissionHistory history(dm->folder());
    ASSERT_TRUE(history.load(&error));
    EXPECT_EQ(history.entries(kOldNumber).size(), 2);
    EXPECT_EQ(history.entries(kOldNumber).first().userName, QStringLiteral("second.lzh"));
}

TEST_F(ChangesTest, CommandLineShowsAChangedTitleAndTheKeptFile)
{
    dm.reset();
    const QStringList homeArgs = {QStringLiteral("--home"), home.path()};
    auto result = testsupport::runCli(homeArgs + QStringList{"diff", kOldNumber});
    EXPECT_EQ(result.exitCode, 2) << "nothing kept yet";
    const QString path = out.filePath(QStringLiteral("sent.lzh"));
    ASSERT_EQ(testsupport::runCli(homeArgs + QStringList{"export", kOldNumber, path}).exitCode, 0);
    result = testsupport::runCli(homeArgs + QStringList{"diff", kOldNumber});
    EXPECT_EQ(result.exitCode, 0) << result.out.toStdString() << result.err.toStdString();
    EXPECT_TRUE(result.out.isEmpty());

    {
        store::DataModule saved(home.path(), &ui);
        ASSERT_TRUE(saved.start());
        Table* t = saved.table(QStringLiteral("NT_TBL_MAIN"));
        ASSERT_TRUE(t->locate(QStringLiteral("REG_NO"), kOldNumber));
        t->edit();
        t->field(QStringLiteral("TECH_TITLE")).setString(QStringLiteral("防波堤の新工法（改訂）"));
        t->post();
        ASSERT_TRUE(saved.CloseAllTables());
    }
    const auto before = snapshot(home.filePath(QStringLiteral("FLATT_FILES")));
    result = testsupport::runCli(homeArgs + QStringList{"diff", kOldNumber});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, QStringLiteral("名称・分類等\t技術名称\t防波堤/の新工法\t防波堤の新工法（改訂）\n"));
    result = testsupport::runCli(homeArgs + QStringList{"diff", kOldNumber, path});
    EXPECT_EQ(result.exitCode, 1);
    result = testsupport::runCli(homeArgs + QStringList{"diff", kOldNumber, out.write(QStringLiteral("bad.lzh"), "junk")});
    EXPECT_EQ(result.exitCode, 2);

    result = testsupport::runCli(homeArgs + QStringList{"history", kOldNumber});
    EXPECT_EQ(result.exitCode, 0);
    const QStringList fields = result.out.trimmed().split('\t');
    ASSERT_EQ(fields.size(), 5) << result.out.toStdString();
    EXPECT_EQ(fields.at(1), QStringLiteral("提出"));
    EXPECT_EQ(fields.at(2), QStringLiteral("sent.lzh"));
    EXPECT_EQ(fields.at(3), QString::number(QFileInfo(path).size()));
    EXPECT_EQ(fields.at(4).size(), 64);
    // Reading changes nothing but the backup refreshed at start.
    auto after = snapshot(home.filePath(QStringLiteral("FLATT_FILES")));
    for (auto* files : {&after})
        for (const QString& name : files->keys())
            if (name.startsWith(QStringLiteral("CdsBK")))
                files->remove(name);
    auto beforeData = before;
    for (const QString& name : beforeData.keys())
        if (name.startsWith(QStringLiteral("CdsBK")))
            beforeData.remove(name);
    EXPECT_EQ(after.keys(), beforeData.keys());
    EXPECT_TRUE(QFileInfo::exists(home.filePath(QStringLiteral("FLATT_FILES/CdsBK/Submitted.idx")))) << "the backup covers the index";
}

} // namespace
