#include "store/BackupGenerations.h"
#include "store/DataModule.h"
#include "store/Schema.h"
#include "store/TableFile.h"
#include "support/ProgramFolderFixture.h"
#include "support/ScriptedUserInteraction.h"
#include "support/TempDir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QSysInfo>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <csignal>
#include <filesystem>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace store;
using testsupport::ScriptedUserInteraction;

namespace {

const QString kTitle = QStringLiteral("VORDELL");

class DataModuleTest : public ::testing::Test
{
protected:
    void SetUp() override { testsupport::writeEmptyProgramFolder(dir.path()); }

    QString data(const QString& name = QString()) const { return dir.filePath(QStringLiteral("FLATT_FILES/") + name); }

    std::unique_ptr<DataModule> start(bool expectOk = true, const QDateTime& now = QDateTime(QDate(2026, 12, 10), QTime(9, 30, 15)))
    {
        auto dm = std::make_unique<DataModule>(dir.path(), &ui);
        dm->setClock([now] { return now; });
        EXPECT_EQ(dm->start(), expectOk) << dm->startError().toStdString();
        return dm;
    }

    // A registration as the main window creates and saves it.
    static QString addRegistration(DataModule& dm, const QString& title)
    {
        QString number;
        QString error;
        EXPECT_TRUE(dm.NextLocalNumber(&number, &error)) << error.toStdString();
        Table* main = dm.table(QStringLiteral("NT_TBL_MAIN"));
        main->field(QStringLiteral("REG_NO")).setString(number);
        main->field(QStringLiteral("TECH_TITLE")).setString(title);
        for (const char* name : {"NT_TBL_DETAIL", "NT_TBL_DESCRIPTION", "NT_TBL_PICTURE", "NT_TBL_DETAIL_FREE"}) {
            Table* t = dm.table(QLatin1String(name));
            t->append();
            t->post();
        }
        main->post();
        return number.trimmed();
    }

    static void addContact(DataModule& dm, int recId, const QVariant& order, const QString& company)
    {
        Table* contacts = dm.table(QStringLiteral("NT_TBL_COMPANY"));
        contacts->append();
        contacts->field(QStringLiteral("REC_ID")).setInteger(recId);
        contacts->field(QStringLiteral("SALES_ORDER_OTHER")).setValue(order);
        contacts->field(QStringLiteral("SALES_COMPANY_OTHER")).setString(company);
        contacts->post();
    }

    static int rowsInFile(const QString& path)
    {
        QList<FieldDef> fields;
        QList<QVector<QVariant>> rows;
        QString error;
        EXPECT_TRUE(TableFile::read(path, &fields, &rows, &error)) << error.toStdString();
        return int(rows.size());
    }

    testsupport::TempDir dir;
    ScriptedUserInteraction ui;
};

} // namespace

TEST_F(DataModuleTest, NormalStartReplacesTheBackupWithEveryFileOfTheDataFolder)
{
    QDir().mkpath(data(QStringLiteral("CdsBK")));
    dir.write(QStringLiteral("FLATT_FILES/readme.txt"), "note");
    dir.write(QStringLiteral("FLATT_FILES/CdsBK/GONE.cds"), "old");
    dir.write(QStringLiteral("FLATT_FILES/CdsBK/keep.bak"), "kept");
    auto dm = start();
    EXPECT_TRUE(ui.boxes().isEmpty());
    const QStringList backup = QDir(data(QStringLiteral("CdsBK"))).entryList(QDir::Files);
    EXPECT_EQ(backup.size(), schema::registrationTables().size() + schema::lookupTables().size() + 2);
    EXPECT_TRUE(backup.contains(QStringLiteral("readme.txt")));
    EXPECT_TRUE(backup.contains(QStringLiteral("NT_TBL_MAIN.cds")));
    EXPECT_TRUE(backup.contains(QStringLiteral("keep.bak")));
    EXPECT_FALSE(backup.contains(QStringLiteral("GONE.cds")));

    // The views are set up over their tables, and the kinds of project are the built-in ones.
    EXPECT_TRUE(dm->table(QStringLiteral("CdsNT_TBL_INFO_IMAGES7"))->isActive());
    EXPECT_TRUE(dm->dataSource(QStringLiteral("DsNT_TBL_MAIN")));
    EXPECT_EQ(dm->table(QStringLiteral("PL_STBL_PJT_TYPE"))->recordCount(), 7);
}

TEST_F(DataModuleTest, BackupHoldsTheDataFolderAsItWasAtEachStart)
{
    const QString main = QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds");
    const QString backedUp = QStringLiteral("FLATT_FILES/CdsBK/NT_TBL_MAIN.cds");
    {
        auto dm = start();
        addRegistration(*dm, QStringLiteral("一"));
        ASSERT_TRUE(dm->CloseAllTables());
    }
    ASSERT_TRUE(start()->CloseAllTables());
    EXPECT_EQ(dir.read(backedUp), dir.read(main));
    // Changed between two runs without changing its size.
    QByteArray changed = dir.read(main);
    ASSERT_TRUE(changed.contains("一"));
    changed.replace("一", "二");
    dir.write(main, changed);
    {
        auto dm = start();
        EXPECT_EQ(dir.read(backedUp), changed);
        // A save after the start leaves the backup as the start made it.
        addRegistration(*dm, QStringLiteral("三"));
        ASSERT_TRUE(dm->WriteChangedTables());
        EXPECT_EQ(dir.read(backedUp), changed);
        ASSERT_TRUE(dm->CloseAllTables());
    }
    const QByteArray saved = dir.read(main);
    ASSERT_NE(saved, changed);
    ASSERT_TRUE(start()->CloseAllTables());
    EXPECT_EQ(dir.read(backedUp), saved);
}

TEST_F(DataModuleTest, BrokenDataFolderIsRestoredOnYesAndEndsTheRunOnNo)
{
    {
        auto dm = start();
        addRegistration(*dm, QStringLiteral("防波堤の新工法"));
        ASSERT_TRUE(dm->CloseAllTables());
    }
    start(); // the backup now holds the registration
    QFile::remove(data(QStringLiteral("NT_TBL_MAIN.cds")));
    dir.write(QStringLiteral("FLATT_FILES/NT_TBL_DETAIL.cds"), "<DATAPACKET");

    ui.expectBox(UserInteraction::No);
    ui.expectBox(UserInteraction::Ok);
    {
        auto dm = start(false);
        EXPECT_TRUE(dm->applicationTerminated());
        ASSERT_EQ(ui.boxes().size(), 2);
        EXPECT_EQ(ui.boxes().at(0).caption, kTitle);
        EXPECT_EQ(ui.boxes().at(0).text, QStringLiteral("データファイルが壊れている可能性があります。\r\nシステムの自動バックアップデータを読み込みますか？"
                                                        "\r\n（2026/12/10 09:30 のバックアップを読み込みます）"));
        EXPECT_EQ(ui.boxes().at(0).icon, UserInteraction::Icon::Question);
        EXPECT_EQ(ui.boxes().at(1).text, QStringLiteral("システムを終了します。"));
        EXPECT_EQ(ui.boxes().at(1).icon, UserInteraction::Icon::Error);
    }
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("NT_TBL_MAIN.cds")))) << "No leaves the data folder as it was";

    ui.clearBoxes();
    ui.expectBox(UserInteraction::Yes);
    auto dm = start();
    EXPECT_EQ(ui.boxes().size(), 1);
    Table* main = dm->table(QStringLiteral("NT_TBL_MAIN"));
    ASSERT_EQ(main->recordCount(), 1);
    EXPECT_EQ(main->field(QStringLiteral("TECH_TITLE")).asString(), QStringLiteral("防波堤の新工法"));
    EXPECT_EQ(dm->table(QStringLiteral("NT_TBL_DETAIL"))->recordCount(), 1);
}

TEST_F(DataModuleTest, BrokenDataFolderWithAnEmptyBackupEndsTheRun)
{
    QFile::remove(data(QStringLiteral("NT_TBL_COMPANY.cds")));
    ui.expectBox(UserInteraction::Yes);
    ui.expectBox(UserInteraction::Ok);
    auto dm = start(false);
    EXPECT_TRUE(dm->applicationTerminated());
    ASSERT_EQ(ui.boxes().size(), 2);
    EXPECT_EQ(ui.boxes().at(1).text, QStringLiteral("バックアップデータが見つかりません。\r\nシステムを終了します。"));
}

TEST_F(DataModuleTest, InstalledLayoutsAreTakenOver)
{
    {
        auto dm = start();
        addRegistration(*dm, QStringLiteral("一"));
        addRegistration(*dm, QStringLiteral("二"));
        ASSERT_TRUE(dm->CloseAllTables());
    }
    // NT_TBL_DETAIL gains a field at the end; NT_STBL_HAC_SAI is replaced; a "_" file of an
    // unknown table has nothing to replace.
    QList<FieldDef> wider = schema::findTable(QStringLiteral("NT_TBL_DETAIL"))->fields;
    wider.append(text(QStringLiteral("NEW_NOTE"), 100));
    ASSERT_TRUE(TableFile::writeEmpty(data(QStringLiteral("_NT_TBL_DETAIL.cds")), wider, nullptr));
    const QList<FieldDef> offices = {text(QStringLiteral("CD"), 10), text(QStringLiteral("HAC_SAI"), 255)};
    const QVector<QVariant> office = {QStringLiteral("0101"), QStringLiteral("新事務所")};
    ASSERT_TRUE(TableFile::write(data(QStringLiteral("_NT_STBL_HAC_SAI.cds")), offices, {&office}, nullptr));
    dir.write(QStringLiteral("FLATT_FILES/_NT_TBL_UNKNOWN.cds"), "x");

    for (int run = 0; run < 2; ++run) {
        ui.clearBoxes();
        ui.expectBox(UserInteraction::Ok);
        auto dm = start();
        ASSERT_EQ(ui.boxTexts(), QStringList{QStringLiteral("ファイルのインストールが不完全です。\r\n入力システムを再インストールして下さい。")})
            << "the message comes at every start";
        Table* detail = dm->table(QStringLiteral("NT_TBL_DETAIL"));
        detail->setMaster(nullptr, QString(), QString());
        EXPECT_EQ(detail->recordCount(), 2);
        ASSERT_GE(detail->fieldIndex(QStringLiteral("NEW_NOTE")), 0);
        EXPECT_TRUE(detail->field(QStringLiteral("NEW_NOTE")).isNull());
        EXPECT_EQ(dm->table(QStringLiteral("NT_STBL_HAC_SAI"))->recordCount(), 1);
    }
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("_NT_TBL_DETAIL.cds"))));
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("_NT_STBL_HAC_SAI.cds"))));
    EXPECT_TRUE(QFile::exists(data(QStringLiteral("_NT_TBL_UNKNOWN.cds"))));
    EXPECT_EQ(rowsInFile(data(QStringLiteral("BackUp/20261210093015/NT_TBL_DETAIL.cds"))), 2);
    QList<FieldDef> templateFields;
    QList<QVector<QVariant>> templateRows;
    ASSERT_TRUE(TableFile::read(dir.filePath(QStringLiteral("Zero/NT_TBL_DETAIL.Cds")), &templateFields, &templateRows, nullptr));
    EXPECT_EQ(templateFields.last().name, QStringLiteral("NEW_NOTE"));
}

TEST_F(DataModuleTest, RenumberContactsKeepsTheirOrderPerRegistration)
{
    QString first;
    {
        auto dm = start();
        first = addRegistration(*dm, QStringLiteral("一"));
        addContact(*dm, 1, 2.5, QStringLiteral("A社"));
        addContact(*dm, 2, 1, QStringLiteral("B社"));
        addContact(*dm, 3, QVariant(), QStringLiteral("C社"));
        addRegistration(*dm, QStringLiteral("二"));
        addContact(*dm, 1, 7, QStringLiteral("D社"));
        ASSERT_TRUE(dm->CloseAllTables());
    }
    auto dm = start();
    dm->RenumberContacts(data(QStringLiteral("NT_TBL_COMPANY.cds")));
    QList<FieldDef> fields;
    QList<QVector<QVariant>> rows;
    ASSERT_TRUE(TableFile::read(data(QStringLiteral("NT_TBL_COMPANY.cds")), &fields, &rows, nullptr));
    QMap<QString, double> orders;
    for (const auto& row : rows)
        orders.insert(row.at(2).toString(), row.at(11).toDouble());
    EXPECT_EQ(orders, (QMap<QString, double>{{"A社", 3}, {"B社", 2}, {"C社", 1}, {"D社", 1}}));
}

TEST_F(DataModuleTest, StartShowsTheControlsOfADetailTableOnlyTheCurrentRegistrationsRows)
{
    {
        auto dm = start();
        addRegistration(*dm, QStringLiteral("一"));
        addContact(*dm, 1, 1, QStringLiteral("A社"));
        addContact(*dm, 2, 2, QStringLiteral("B社"));
        addRegistration(*dm, QStringLiteral("二"));
        addContact(*dm, 1, 1, QStringLiteral("C社"));
        ASSERT_TRUE(dm->CloseAllTables());
    }
    // A control bound to the contacts before the start (as the window's are) must never be shown
    // the contacts of every registration at once: a list of panels would build one for each.
    DataModule dm(dir.path(), &ui);
    Table* contacts = dm.table(QStringLiteral("NT_TBL_COMPANY"));
    QList<int> shown;
    QObject::connect(contacts, &Table::recordChanged, [&] { shown << (contacts->isActive() ? contacts->recordCount() : -1); });
    // The same for the views over the detail tables (the grids of the comparison, of the records):
    // they tell their controls nothing before they are linked and filtered.
    QStringList toldUnlinked;
    for (const schema::ViewDef& def : schema::views()) {
        Table* view = dm.table(def.name);
        QObject::connect(view, &Table::recordChanged, [&toldUnlinked, view] {
            if (view->isActive() && !view->master())
                toldUnlinked << view->name();
        });
    }
    ASSERT_TRUE(dm.start()) << dm.startError().toStdString();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.last(), 2);
    EXPECT_LE(*std::max_element(shown.begin(), shown.end()), 2) << "rows shown: " << ::testing::PrintToString(std::vector<int>(shown.begin(), shown.end()));
    EXPECT_TRUE(toldUnlinked.isEmpty()) << toldUnlinked.join(QLatin1Char(' ')).toStdString();
}

TEST_F(DataModuleTest, SaveDropsEmptyRowsAndJoinsPostCodes)
{
    auto dm = start();
    addRegistration(*dm, QStringLiteral("一"));
    Table* compareMain = dm->table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    compareMain->append();
    compareMain->field(QStringLiteral("REC_ID")).setInteger(1);
    compareMain->post();
    Table* breakdown = dm->table(QStringLiteral("CdsNT_TBL_COMPARE_DETAIL1"));
    breakdown->append();
    breakdown->field(QStringLiteral("RECORD_TYPE")).setString(QStringLiteral("0"));
    breakdown->field(QStringLiteral("PRICE")).setFloat(1000);
    breakdown->post();
    ASSERT_EQ(dm->table(QStringLiteral("NT_TBL_COMPARE_DETAIL"))->recordCount(), 1);
    addContact(*dm, 1, 1, QStringLiteral("A社"));
    addContact(*dm, 2, QVariant(), QString()); // only REC_ID and REG_NO
    addContact(*dm, 3, QVariant(), QString());

    SaveInputs inputs;
    inputs.salesPostCode1 = QStringLiteral("100");          // second part missing
    inputs.salesPostCodeBusiness1 = QStringLiteral(" 105 ");
    inputs.salesPostCodeBusiness2 = QStringLiteral("0001");
    inputs.compareCostRate = QStringLiteral("12");
    dm->PostAllTables(inputs);

    Table* detail = dm->table(QStringLiteral("NT_TBL_DETAIL"));
    EXPECT_EQ(detail->state(), Table::State::Browse);
    EXPECT_TRUE(detail->field(QStringLiteral("SALES_POST_CODE")).isNull());
    EXPECT_EQ(detail->field(QStringLiteral("SALES_POST_CODE_BUSINESS")).asString(), QStringLiteral("〒105-0001"));
    EXPECT_EQ(detail->field(QStringLiteral("COMPARE_COST_RATE")).asFloat(), 12);
    Table* contacts = dm->table(QStringLiteral("NT_TBL_COMPANY"));
    ASSERT_EQ(contacts->recordCount(), 1);
    EXPECT_EQ(contacts->field(QStringLiteral("SALES_COMPANY_OTHER")).asString(), QStringLiteral("A社"));
    // An empty conventional technology name removes the comparison, and its file says so at once.
    EXPECT_EQ(compareMain->recordCount(), 0);
    EXPECT_EQ(dm->table(QStringLiteral("NT_TBL_COMPARE_DETAIL"))->recordCount(), 0);
    EXPECT_EQ(rowsInFile(data(QStringLiteral("NT_TBL_COMPARE_MAIN.cds"))), 0);
    EXPECT_EQ(rowsInFile(data(QStringLiteral("NT_TBL_COMPARE_DETAIL.cds"))), 0);

    // An empty row between others goes too; with or without one, the contacts end on their last row.
    for (const bool emptyBetween : {true, false}) {
        addContact(*dm, 2, 2, QStringLiteral("B社"));
        if (emptyBetween)
            addContact(*dm, 3, QVariant(), QString());
        addContact(*dm, 4, 4, QStringLiteral("C社"));
        contacts->first();
        dm->PostAllTables(inputs);
        QStringList companies;
        for (int row = 0; row < contacts->recordCount(); ++row)
            companies << contacts->visibleValue(row, contacts->fieldIndex(QStringLiteral("SALES_COMPANY_OTHER"))).toString();
        EXPECT_EQ(companies, (QStringList{QStringLiteral("A社"), QStringLiteral("B社"), QStringLiteral("C社")}));
        EXPECT_EQ(contacts->recNo(), 3);
        contacts->last();
        contacts->remove();
        contacts->last();
        contacts->remove();
    }
}

TEST_F(DataModuleTest, DeleteRegistrationRowsRemovesOnlyTheCurrentRegistration)
{
    auto dm = start();
    addRegistration(*dm, QStringLiteral("残す"));
    addContact(*dm, 1, 1, QStringLiteral("A社"));
    const QString doomed = addRegistration(*dm, QStringLiteral("消す"));
    addContact(*dm, 1, 1, QStringLiteral("B社"));
    addContact(*dm, 2, 2, QStringLiteral("C社"));
    Table* condition = dm->table(QStringLiteral("CdsNT_TBL_CONST_CONDITION_2"));
    condition->append();
    condition->field(QStringLiteral("ORD")).setString(QStringLiteral("2"));
    condition->post();
    ASSERT_TRUE(dm->WriteChangedTables());

    Table* main = dm->table(QStringLiteral("NT_TBL_MAIN"));
    ASSERT_TRUE(main->locate(QStringLiteral("REG_NO"), doomed));
    dm->DeleteRegistrationRows();
    for (Table* t : dm->registrationDetailTables())
        EXPECT_EQ(t->recordCount(), 0) << t->objectName().toStdString();
    EXPECT_EQ(rowsInFile(data(QStringLiteral("NT_TBL_COMPANY.cds"))), 1);
    EXPECT_EQ(rowsInFile(data(QStringLiteral("NT_TBL_DETAIL.cds"))), 1);
    EXPECT_EQ(rowsInFile(data(QStringLiteral("NT_TBL_CONST_CONDITION.cds"))), 0);
    main->first();
    EXPECT_EQ(dm->table(QStringLiteral("NT_TBL_COMPANY"))->recordCount(), 1);
    EXPECT_EQ(dm->table(QStringLiteral("NT_TBL_DETAIL"))->recordCount(), 1);
}

TEST_F(DataModuleTest, NextLocalNumberScansTheTablesAndCountsWithinTheRun)
{
    auto dm = start();
    QString number;
    QString error;
    ASSERT_TRUE(dm->NextLocalNumber(&number, &error));
    EXPECT_EQ(number, QStringLiteral("XXK-000001 "));
    EXPECT_EQ(dm->table(QStringLiteral("NT_TBL_MAIN"))->state(), Table::State::Insert);
    dm->table(QStringLiteral("NT_TBL_MAIN"))->cancel();
    ASSERT_TRUE(dm->NextLocalNumber(&number, &error));
    EXPECT_EQ(number, QStringLiteral("XXK-000002 ")) << "an unsaved number is not issued twice";
    dm->table(QStringLiteral("NT_TBL_MAIN"))->cancel();

    // A lower-case number found only in a detail table counts.
    Table* picture = dm->table(QStringLiteral("NT_TBL_PICTURE"));
    const auto holdOnly = [&](const QString& regNo) {
        picture->emptyTable();
        QVector<QVariant> row(picture->fieldCount());
        row[0] = regNo;
        picture->appendRowValues(row);
    };
    holdOnly(QStringLiteral("xxk-000020"));
    ASSERT_TRUE(dm->NextLocalNumber(&number, &error));
    EXPECT_EQ(number, QStringLiteral("XXK-000021 "));
    dm->table(QStringLiteral("NT_TBL_MAIN"))->cancel();

    holdOnly(QStringLiteral("XXK-999999"));
    EXPECT_FALSE(dm->NextLocalNumber(&number, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("XXK-999999")));
    EXPECT_EQ(dm->table(QStringLiteral("NT_TBL_MAIN"))->state(), Table::State::Browse);

    holdOnly(QStringLiteral("XXK-12A"));
    EXPECT_FALSE(dm->NextLocalNumber(&number, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("XXK-12A")));
}

TEST_F(DataModuleTest, TableEventsDriveTheModifiedState)
{
    auto dm = start();
    QSignalSpy modified(dm.get(), &DataModule::MarkModified);
    QSignalSpy saved(dm.get(), &DataModule::MarkSaved);
    addRegistration(*dm, QStringLiteral("一"));
    modified.clear();
    saved.clear();
    Table* detail = dm->table(QStringLiteral("NT_TBL_DETAIL"));
    detail->edit();
    EXPECT_EQ(modified.count(), 1);
    detail->post();
    EXPECT_EQ(saved.count(), 1);

    // The edit that follows a page change is the loading of the memos: it posts silently.
    dm->setSilentDescription(true);
    Table* description = dm->table(QStringLiteral("NT_TBL_DESCRIPTION"));
    description->edit();
    EXPECT_EQ(description->state(), Table::State::Browse);
    EXPECT_FALSE(dm->silentDescription());
    EXPECT_EQ(modified.count(), 1);
    description->edit();
    EXPECT_EQ(modified.count(), 2);
}

// A process killed at any moment while saving never leaves a table file that fails to open.
TEST_F(DataModuleTest, KilledWhileSavingLeavesEveryFileReadable)
{
    {
        auto dm = start();
        ASSERT_TRUE(dm->CloseAllTables());
    }
    std::mt19937 random(11);
    for (int round = 0; round < 8; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ScriptedUserInteraction quiet;
            DataModule dm(dir.path(), &quiet);
            if (!dm.start())
                _exit(3);
            for (int i = 0;; ++i) {
                addRegistration(dm, QStringLiteral("港湾技術%1").arg(i));
                for (int c = 1; c <= 5; ++c)
                    addContact(dm, c, c, QStringLiteral("会社%1").arg(c));
                dm.WriteChangedTables();
            }
        }
        usleep(std::uniform_int_distribution<int>(50000, 400000)(random));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process ended by itself";
        for (const auto& def : schema::registrationTables() + schema::lookupTables()) {
            QList<FieldDef> fields;
            QList<QVector<QVariant>> rows;
            QString error;
            EXPECT_TRUE(TableFile::read(data(def.name + QStringLiteral(".cds")), &fields, &rows, &error))
                << "round " << round << ": " << error.toStdString();
        }
    }
}

TEST_F(DataModuleTest, CancelledComparisonRecomputesItsFigures)
{
    const struct
    {
        QList<double> newPrices, oldPrices;
        double n, o, rate, wholeRate;
    } cases[] = {
        {{1000.004, 999.994}, {2500}, 2000, 2500, 20, 20},
        {{2501}, {1000, 1000}, 2501, 2000, -25.05, -25},
        {{333}, {}, 333, 0, 0, 0},
    };
    auto dm = start();
    addRegistration(*dm, QStringLiteral("一"));
    Table* compareMain = dm->table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    Table* detail = dm->table(QStringLiteral("NT_TBL_DETAIL"));
    compareMain->append();
    compareMain->field(QStringLiteral("REC_ID")).setInteger(1);
    compareMain->post();
    for (const auto& c : cases) {
        dm->DeleteAll(dm->table(QStringLiteral("NT_TBL_COMPARE_DETAIL")));
        for (const auto& [view, prices] : {std::pair{"CdsNT_TBL_COMPARE_DETAIL1", c.newPrices}, std::pair{"CdsNT_TBL_COMPARE_DETAIL2", c.oldPrices}}) {
            Table* t = dm->table(QLatin1String(view));
            for (double price : prices) {
                t->append();
                t->field(QStringLiteral("RECORD_TYPE")).setString(QLatin1String(view).endsWith(QLatin1Char('1')) ? QStringLiteral("0") : QStringLiteral("1"));
                t->field(QStringLiteral("PRICE")).setFloat(price);
                t->post();
            }
        }
        compareMain->edit();
        compareMain->field(QStringLiteral("RATE_COST")).setFloat(999);
        compareMain->cancel();
        EXPECT_DOUBLE_EQ(compareMain->field(QStringLiteral("N_COST")).asFloat(), c.n);
        EXPECT_DOUBLE_EQ(compareMain->field(QStringLiteral("O_COST")).asFloat(), c.o);
        EXPECT_DOUBLE_EQ(compareMain->field(QStringLiteral("RATE_COST")).asFloat(), c.rate);
        detail->edit();
        detail->cancel();
        EXPECT_DOUBLE_EQ(detail->field(QStringLiteral("COMPARE_COST_RATE")).asFloat(), c.wholeRate);
    }
    // chkData keeps the stored rate equal to the comparison's, rounded half away from zero.
    compareMain->edit();
    compareMain->field(QStringLiteral("RATE_COST")).setFloat(-12.5);
    compareMain->post();
    dm->chkData();
    EXPECT_EQ(detail->state(), Table::State::Edit);
    EXPECT_DOUBLE_EQ(detail->field(QStringLiteral("COMPARE_COST_RATE")).asFloat(), -13);
}

TEST_F(DataModuleTest, ErrorEvasionGivesARegistrationWithoutNumberTheReservedOne)
{
    auto dm = start();
    Table* main = dm->table(QStringLiteral("NT_TBL_MAIN"));
    main->append();
    main->field(QStringLiteral("TECH_TITLE")).setString(QStringLiteral("番号なし"));
    main->post();
    dm->table(QStringLiteral("NT_TBL_DETAIL"))->append();
    dm->table(QStringLiteral("NT_TBL_DETAIL"))->field(QStringLiteral("SALES_COMPANY")).setString(QStringLiteral("A社"));
    dm->table(QStringLiteral("NT_TBL_DETAIL"))->post();
    addContact(*dm, 1, 1, QStringLiteral("B社"));
    addContact(*dm, 2, 2, QStringLiteral("C社"));

    ui.expectBox(UserInteraction::Ok);
    dm->ErrorEvasion();
    EXPECT_TRUE(ui.boxes().last().text.startsWith(QStringLiteral("選択データにエラーが発生しました。\r\n\r\nすべての写真")));
    EXPECT_EQ(main->field(QStringLiteral("REG_NO")).asString(), QStringLiteral("XXK-990001"));
    EXPECT_EQ(dm->table(QStringLiteral("NT_TBL_DETAIL"))->field(QStringLiteral("SALES_COMPANY")).asString(), QStringLiteral("A社"));
    EXPECT_EQ(dm->table(QStringLiteral("NT_TBL_COMPANY"))->recordCount(), 2);
}

// Restoring checks the backup first, replaces only what the backup holds, and keeps each file it
// replaces in a stamped folder.
TEST_F(DataModuleTest, RestoreNeverDestroysGoodData)
{
    {
        auto dm = start();
        addRegistration(*dm, QStringLiteral("防波堤"));
        for (int c = 1; c <= 3; ++c)
            addContact(*dm, c, c, QStringLiteral("会社%1").arg(c));
        ASSERT_TRUE(dm->CloseAllTables());
    }
    start(); // the backup now holds the registration
    QDir(data(QStringLiteral("CdsBK.1"))).removeRecursively(); // and no older generation does
    const QByteArray contacts = dir.read(QStringLiteral("FLATT_FILES/NT_TBL_COMPANY.cds"));
    QFile::remove(data(QStringLiteral("CdsBK/NT_TBL_COMPANY.cds")));
    dir.write(QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds"), "<DATAPACKET");

    // A broken copy in the backup: nothing is touched, the run ends naming the file.
    const QByteArray goodDetail = dir.read(QStringLiteral("FLATT_FILES/CdsBK/NT_TBL_DETAIL.cds"));
    dir.write(QStringLiteral("FLATT_FILES/CdsBK/NT_TBL_DETAIL.cds"), "<DATAPACKET><ROWDATA>");
    ui.expectBox(UserInteraction::Yes);
    ui.expectBox(UserInteraction::Ok);
    start(false);
    ASSERT_EQ(ui.boxes().size(), 2);
    EXPECT_TRUE(ui.boxes().at(1).text.contains(QStringLiteral("NT_TBL_DETAIL.cds"))) << ui.boxes().at(1).text.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds")), "<DATAPACKET");
    EXPECT_FALSE(QFileInfo::exists(data(QStringLiteral("BackUp"))));

    // A backup without the contacts: the contacts on file stay as they are.
    dir.write(QStringLiteral("FLATT_FILES/CdsBK/NT_TBL_DETAIL.cds"), goodDetail);
    ui.clearBoxes();
    ui.expectBox(UserInteraction::Yes);
    auto dm = start();
    EXPECT_EQ(ui.boxes().size(), 1);
    EXPECT_EQ(dm->table(QStringLiteral("NT_TBL_MAIN"))->recordCount(), 1);
    EXPECT_EQ(dir.read(QStringLiteral("FLATT_FILES/NT_TBL_COMPANY.cds")), contacts);
    EXPECT_EQ(dir.read(QStringLiteral("FLATT_FILES/BackUp/20261210093015/NT_TBL_MAIN.cds")), "<DATAPACKET");
}

// The backup is built beside the old one and swapped in whole; a failure keeps the old one and
// is told; a start killed during the swap finds its backup again.
TEST_F(DataModuleTest, BackupRefreshKeepsTheOldBackupUntilTheNewOneIsComplete)
{
    start();
    dir.write(QStringLiteral("FLATT_FILES/CdsBK/marker.cds"), "old backup");
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nowhere")), data(QStringLiteral("ghost.txt"))));
    ui.expectBox(UserInteraction::Ok);
    start();
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_TRUE(ui.boxes().at(0).text.contains(QStringLiteral("ghost.txt"))) << ui.boxes().at(0).text.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("FLATT_FILES/CdsBK/marker.cds")), "old backup");
    EXPECT_FALSE(QFileInfo::exists(data(QStringLiteral("CdsBK.new"))));

    QFile::remove(data(QStringLiteral("ghost.txt")));
    ASSERT_TRUE(QDir().rename(data(QStringLiteral("CdsBK")), data(QStringLiteral("CdsBK.old"))));
    dir.write(QStringLiteral("FLATT_FILES/CdsBK.new/NT_TBL_MAIN.cds"), "half");
    ui.clearBoxes();
    start();
    EXPECT_TRUE(ui.boxes().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(data(QStringLiteral("CdsBK.old"))));
    EXPECT_FALSE(QFileInfo::exists(data(QStringLiteral("CdsBK.new"))));
    EXPECT_EQ(rowsInFile(data(QStringLiteral("CdsBK/NT_TBL_MAIN.cds"))), 0);
    EXPECT_FALSE(QFileInfo::exists(data(QStringLiteral("CdsBK/marker.cds"))));
}

// A set of writes a crash interrupted is completed at the next start when its journal and parts
// are whole, and rolled back when a part is not; parts without a journal are dropped.
TEST_F(DataModuleTest, StartCompletesOrRollsBackAnInterruptedSetOfWrites)
{
    const auto layout = [](const QString& name) {
        QList<FieldDef> fields;
        for (const FieldDef& field : schema::findTable(name)->fields) {
            if (field.isStored())
                fields.append(field);
        }
        return fields;
    };
    const auto stagePart = [&](const QString& table, const QString& regNo) {
        QList<FieldDef> fields = layout(table);
        QVector<QVariant> row(fields.size());
        for (int f = 0; f < fields.size(); ++f) {
            if (fields.at(f).name == QLatin1String("REG_NO"))
                row[f] = regNo;
        }
        const QString part = data(table + QStringLiteral(".cds.part"));
        EXPECT_TRUE(TableFile::write(part, fields, {&row}, nullptr));
        return QByteArray::number(QFileInfo(part).size()) + "\tFLATT_FILES/" + table.toUtf8() + ".cds.part\tFLATT_FILES/"
            + table.toUtf8() + ".cds\n";
    };
    for (const bool whole : {false, true}) {
        QByteArray journal = stagePart(QStringLiteral("NT_TBL_MAIN"), QStringLiteral("XXK-000001"));
        journal += stagePart(QStringLiteral("NT_TBL_DETAIL"), QStringLiteral("XXK-000001"));
        if (!whole)
            dir.write(QStringLiteral("FLATT_FILES/NT_TBL_DETAIL.cds.part"), "cut");
        dir.write(QStringLiteral("write-set.journal"), journal + "end\n");
        dir.write(QStringLiteral("Zero/NT_TBL_MAIN.Cds.part"), "stray");
        auto dm = start();
        EXPECT_TRUE(ui.boxes().isEmpty());
        Table* detail = dm->table(QStringLiteral("NT_TBL_DETAIL"));
        detail->setMaster(nullptr, QString(), QString());
        EXPECT_EQ(dm->table(QStringLiteral("NT_TBL_MAIN"))->recordCount(), whole ? 1 : 0);
        EXPECT_EQ(detail->recordCount(), whole ? 1 : 0);
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("write-set.journal"))));
        EXPECT_TRUE(QDir(data()).entryList({QStringLiteral("*.part")}).isEmpty());
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("Zero/NT_TBL_MAIN.Cds.part"))));
    }
}

// A failed write reaches the caller with the file and the reason, changes no file of its set,
// and a close that cannot write keeps every table open.
TEST_F(DataModuleTest, AFailedWriteIsReportedAndChangesNothing)
{
    auto dm = start();
    const QByteArray mainBefore = dir.read(QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds"));
    addRegistration(*dm, QStringLiteral("満杯"));
    const QString part = data(QStringLiteral("NT_TBL_DETAIL.cds.part"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), part));
    QString error;
    EXPECT_FALSE(dm->WriteChangedTables(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("NT_TBL_DETAIL.cds"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("No space left on device"))) << error.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds")), mainBefore);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("write-set.journal"))));

    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), part));
    EXPECT_FALSE(dm->CloseAllTables(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("NT_TBL_DETAIL.cds"))) << error.toStdString();
    EXPECT_TRUE(dm->table(QStringLiteral("NT_TBL_MAIN"))->isActive());
    EXPECT_EQ(dm->table(QStringLiteral("NT_TBL_MAIN"))->recordCount(), 1);

    // The delete tells the user itself.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), part));
    ui.expectBox(UserInteraction::Ok);
    EXPECT_FALSE(dm->DeleteRegistration());
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_TRUE(ui.boxes().at(0).text.contains(QStringLiteral("NT_TBL_DETAIL.cds")));

    ASSERT_TRUE(dm->CloseAllTables(&error)) << error.toStdString();
    EXPECT_EQ(rowsInFile(data(QStringLiteral("NT_TBL_MAIN.cds"))), 0);
}

// One run at a time on a program folder: a second one is told and touches nothing; a lock left
// by a run that ended without releasing it does not stand in the way.
TEST_F(DataModuleTest, ASecondRunOnTheSameFolderIsRefusedAndTouchesNothing)
{
    {
        auto first = start();
        dir.write(QStringLiteral("FLATT_FILES/CdsBK/marker.cds"), "kept");
        ui.expectBox(UserInteraction::Ok);
        auto second = start(false);
        EXPECT_TRUE(second->applicationTerminated());
        EXPECT_FALSE(second->holdsFolder());
        ASSERT_EQ(ui.boxes().size(), 1);
        EXPECT_EQ(ui.boxes().at(0).text,
                  QStringLiteral("データはほかのプログラムで使用中です。\r\n先に起動しているプログラムを終了してから、もう一度お試しください。"));
        EXPECT_EQ(dir.read(QStringLiteral("FLATT_FILES/CdsBK/marker.cds")), "kept");
    }
    dir.write(QStringLiteral("vordell.lock"), "999999\nvordell\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    ui.clearBoxes();
    start();
    EXPECT_TRUE(ui.boxes().isEmpty());

    // Runs killed at any moment of taking the lock: before writing who holds it, or while
    // taking over a lock left before, with the helper file that leaves. Each is taken over at once.
    const QByteArray deadRun = "999999\nvordell\n" + QSysInfo::machineHostName().toUtf8() + "\n";
    const QList<std::pair<QByteArray, std::optional<QByteArray>>> leftovers = {
        {"", std::nullopt}, {"", QByteArray()}, {deadRun, QByteArray()}, {deadRun, deadRun}};
    for (const auto& [lockContent, helper] : leftovers) {
        dir.write(QStringLiteral("vordell.lock"), lockContent);
        if (helper)
            dir.write(QStringLiteral("vordell.lock.rmlock"), *helper);
        QElapsedTimer timer;
        timer.start();
        auto again = start();
        EXPECT_LT(timer.elapsed(), 2000);
        EXPECT_TRUE(again->holdsFolder());
        EXPECT_TRUE(ui.boxes().isEmpty()) << ui.boxTexts().join('\n').toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("vordell.lock.rmlock"))));
        ASSERT_TRUE(again->CloseAllTables());
    }
}

// The backup keeps the last five distinct states of the data folder: a start that finds the data as
// the newest backup holds it adds none, and a file that did not change is shared, not copied.
TEST_F(DataModuleTest, BackupKeepsTheLastFiveDistinctGenerations)
{
    const auto generation = [this](int age) { return data(age == 0 ? QStringLiteral("CdsBK") : QStringLiteral("CdsBK.%1").arg(age)); };
    for (int run = 1; run <= 6; ++run) {
        auto dm = start(true, QDateTime(QDate(2026, 12, run), QTime(8, 0)));
        addRegistration(*dm, QStringLiteral("登録%1").arg(run));
        ASSERT_TRUE(dm->CloseAllTables());
    }
    const QByteArray newest = dir.read(QStringLiteral("FLATT_FILES/CdsBK/NT_TBL_MAIN.cds"));
    start(true, QDateTime(QDate(2026, 12, 20), QTime(8, 0)));
    start(true, QDateTime(QDate(2026, 12, 21), QTime(8, 0)));
    for (int age = 0; age < 5; ++age) {
        ASSERT_TRUE(QFileInfo(generation(age)).isDir()) << age;
        // Made by the starts of the 20th (the six registrations) and of the 6th … 3rd.
        EXPECT_EQ(rowsInFile(generation(age) + QStringLiteral("/NT_TBL_MAIN.cds")), 6 - age) << age;
    }
    EXPECT_FALSE(QFileInfo::exists(generation(5)));
    EXPECT_NE(dir.read(QStringLiteral("FLATT_FILES/CdsBK/NT_TBL_MAIN.cds")), newest);
    EXPECT_EQ(store::BackupGenerations::madeAt(generation(0)).date(), QDate(2026, 12, 20));
    // The lookup tables never changed: one file under five names.
    EXPECT_EQ(std::filesystem::hard_link_count(generation(4).toStdString() + "/NT_STBL_HAC_SAI.cds"), 5u);
    EXPECT_TRUE(QDir(data()).entryList({QStringLiteral("CdsBK.*")}, QDir::Dirs).size() == 4);
}

// Tables that read well but whose rows do not join are broken data: the start asks, naming the
// date of the backup it will use, and restores the newest generation that is itself sound.
TEST_F(DataModuleTest, DamagedButWellFormedTablesAreRestoredFromTheNewestSoundBackup)
{
    for (int run = 1; run <= 2; ++run) {
        auto dm = start(true, QDateTime(QDate(2026, 12, run), QTime(8, 15)));
        addRegistration(*dm, QStringLiteral("登録%1").arg(run));
        ASSERT_TRUE(dm->CloseAllTables());
    }
    start(true, QDateTime(QDate(2026, 12, 3), QTime(8, 15))); // CdsBK: both, CdsBK.1: the first only
    const QByteArray main = dir.read(QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds"));
    const int firstRow = main.indexOf("<ROW ");
    const QByteArray row = main.mid(firstRow, main.indexOf('\n', firstRow) + 1 - firstRow);
    const QByteArray repeated = QByteArray(main).insert(firstRow, row);
    struct Damage
    {
        const char* file;
        QByteArray bytes;
        const char* named;
    };
    for (const Damage& damage : {Damage{"NT_TBL_MAIN.cds", repeated, "XXK-000001"}}) {
        SCOPED_TRACE(damage.file);
        const QString file = QStringLiteral("FLATT_FILES/") + QLatin1String(damage.file);
        const QByteArray good = dir.read(file);
        dir.write(file, damage.bytes);
        ui.clearBoxes();
        ui.expectBox(UserInteraction::No);
        ui.expectBox(UserInteraction::Ok);
        auto refused = start(false);
        EXPECT_TRUE(refused->startError().contains(QLatin1String(damage.named))) << refused->startError().toStdString();
        ASSERT_EQ(ui.boxes().size(), 2);
        EXPECT_TRUE(ui.boxes().at(0).text.endsWith(QStringLiteral("（2026/12/03 08:15 のバックアップを読み込みます）")));
        EXPECT_EQ(dir.read(file), damage.bytes) << "No leaves the data folder as it was";
        dir.write(file, good);
    }

    // The newest backup is damaged the same way: the one before it is used.
    dir.write(QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds"), repeated);
    QFile::remove(data(QStringLiteral("CdsBK/NT_TBL_MAIN.cds")));
    dir.write(QStringLiteral("FLATT_FILES/CdsBK/NT_TBL_MAIN.cds"), repeated);
    ui.clearBoxes();
    ui.expectBox(UserInteraction::Yes);
    auto dm = start();
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_TRUE(ui.boxes().at(0).text.endsWith(QStringLiteral("（2026/12/02 08:15 のバックアップを読み込みます）")));
    Table* restored = dm->table(QStringLiteral("NT_TBL_MAIN"));
    ASSERT_EQ(restored->recordCount(), 1);
    EXPECT_EQ(restored->field(QStringLiteral("TECH_TITLE")).asString(), QStringLiteral("登録1"));
}
