#include "store/DataModule.h"
#include "store/Schema.h"
#include "submission/RegistrationRows.h"
#include "support/CliRunner.h"
#include "support/ProgramFolderFixture.h"
#include "support/ScriptedUserInteraction.h"
#include "support/TempDir.h"

#include <QDate>
#include <QFile>
#include <gtest/gtest.h>

using testsupport::runCli;

namespace {

const QString kOriginal = QStringLiteral("XXK-000001");

// A value of every stored field of a row of `table`, different from field to field and row to row.
store::Table::RowValues sampleRow(const store::Table& table, const QString& number, int n)
{
    store::Table::RowValues row(table.fieldCount());
    for (int f = 0; f < table.fieldCount(); ++f) {
        const store::FieldDef& field = table.fields().at(f);
        switch (field.type) {
        case store::FieldType::FixedText:
        case store::FieldType::Text:
            row[f] = field.width > 0 && field.width < 4 ? QString::number((f + n) % 10) : QStringLiteral("内容%1-%2").arg(f).arg(n);
            break;
        case store::FieldType::Memo:
            row[f] = QStringLiteral("長い説明 %1 の %2\r\n二行目").arg(field.name).arg(n);
            break;
        case store::FieldType::Float:
        case store::FieldType::Integer:
            row[f] = f * 10 + n;
            break;
        case store::FieldType::DateTime:
            row[f] = QDate(2024, 4, 1).addDays(f + n);
            break;
        case store::FieldType::Lookup:
            break;
        }
    }
    const auto set = [&](const char* name, const QVariant& value) {
        if (const int index = table.fieldIndex(QLatin1String(name)); index >= 0)
            row[index] = value;
    };
    set("REG_NO", number);
    set("REC_ID", 1); // the comparison's identifier
    return row;
}

// Registration XXK-000001 with rows in every table (two in the tables that take several), two
// photos, and a second registration beside it whose rows must not be copied.
void writeFullRegistration(const QString& home)
{
    testsupport::ScriptedUserInteraction ui;
    store::DataModule dm(home, &ui);
    ASSERT_TRUE(dm.start());
    for (const QString& number : {kOriginal, QStringLiteral("XXK-000002")}) {
        for (store::Table* table : dm.registrationTables()) {
            if (table->name() == QLatin1String("NT_TBL_INFO_IMAGES"))
                continue; // below, with the photos
            const bool several = !QStringList{"NT_TBL_MAIN", "NT_TBL_DETAIL", "NT_TBL_DETAIL_FREE", "NT_TBL_DESCRIPTION",
                                              "NT_TBL_PICTURE", "NT_TBL_COMPARE_MAIN", "NT_TBL_INFO_IMAGES"}
                                      .contains(table->name());
            for (int n = 0; n < (several ? 2 : 1); ++n) {
                store::Table::RowValues row = sampleRow(*table, number, n);
                if (table->name() == QLatin1String("NT_TBL_COMPARE_MAIN") || table->name() == QLatin1String("NT_TBL_COMPARE_DETAIL"))
                    row[table->fieldIndex(QStringLiteral("REC_ID"))] = number.mid(4).toInt();
                if (table->name() == QLatin1String("NT_TBL_COMPANY")) {
                    // Numbered out of order, as years of editing leave them.
                    row[table->fieldIndex(QStringLiteral("REC_ID"))] = n == 0 ? 3 : 7;
                    row[table->fieldIndex(QStringLiteral("SALES_ORDER_OTHER"))] = n == 0 ? 5 : 2;
                }
                table->appendRowValues(row);
            }
        }
    }
    // The two photo rows of the original, and their files.
    store::Table* images = dm.table(QStringLiteral("NT_TBL_INFO_IMAGES"));
    for (const auto& [slot, file] : {std::pair{"A", "XXK-000001A.jpg"}, {"B", "XXK-000001B.gif"}}) {
        store::Table::RowValues row = sampleRow(*images, kOriginal, 0);
        row[images->fieldIndex(QStringLiteral("IMAGES_TYPE"))] = QLatin1String(slot);
        row[images->fieldIndex(QStringLiteral("IMAGES_FILE"))] = QLatin1String(file);
        images->appendRowValues(row);
    }
    ASSERT_TRUE(dm.CloseAllTables());
}

// The rows of a registration as text, with what a copy changes left out: the number, the
// comparison identifier, the photo file names' numbers, the database's dates and the version.
QStringList comparable(const QString& table, const store::Table& live, const QList<store::Table::RowValues>& rows, const QString& number)
{
    QStringList texts;
    for (store::Table::RowValues row : rows) {
        for (const char* name : {"REG_NO", "REG_DATE", "DB_RENEW_DATE", "REG_VERSION"}) {
            if (const int index = live.fieldIndex(QLatin1String(name)); index >= 0)
                row[index] = QVariant();
        }
        if (table.startsWith(QLatin1String("NT_TBL_COMPARE")))
            row[live.fieldIndex(QStringLiteral("REC_ID"))] = QVariant();
        if (table == QLatin1String("NT_TBL_COMPANY")) {
            row[live.fieldIndex(QStringLiteral("REC_ID"))] = QVariant();
            row[live.fieldIndex(QStringLiteral("SALES_ORDER_OTHER"))] = QVariant();
        }
        QStringList values;
        for (int f = 0; f < row.size(); ++f)
            values << store::valueText(live.fields().at(f), row.at(f)).replace(number, QStringLiteral("#"));
        texts << values.join(QLatin1Char('|'));
    }
    texts.sort();
    return texts;
}

} // namespace

TEST(DuplicateCommand, CopiesEveryTableAndThePhotosUnderTheNextNumber)
{
    testsupport::TempDir dir;
    testsupport::writeEmptyProgramFolder(dir.path());
    writeFullRegistration(dir.path());
    dir.write(QStringLiteral("Images/XXK-000001A.jpg"), QByteArray("\xff\xd8 photo A \x00\x01", 13));
    dir.write(QStringLiteral("Images/XXK-000001B.gif"), "GIF89a photo B");
    const auto home = QStringList{QStringLiteral("--home"), dir.path()};

    const auto copied = runCli(home + QStringList{QStringLiteral("duplicate"), kOriginal});
    ASSERT_EQ(copied.exitCode, 0) << copied.err.toStdString();
    EXPECT_EQ(copied.out, QStringLiteral("XXK-000003\n"));
    const QString copy = QStringLiteral("XXK-000003");

    testsupport::ScriptedUserInteraction ui;
    store::DataModule dm(dir.path(), &ui);
    ASSERT_TRUE(dm.start());
    const submission::RegistrationRowSet original = submission::registrationRows(dm, kOriginal);
    const submission::RegistrationRowSet copiedRows = submission::registrationRows(dm, copy);
    ASSERT_EQ(submission::appendOrder().size(), 13);
    for (const QString& table : submission::appendOrder()) {
        const store::Table& live = *dm.table(table);
        ASSERT_FALSE(original.value(table).isEmpty()) << table.toStdString();
        EXPECT_EQ(comparable(table, live, copiedRows.value(table), copy), comparable(table, live, original.value(table), kOriginal))
            << table.toStdString();
    }
    // What identifies the original stays with it.
    const store::Table& main = *dm.table(QStringLiteral("NT_TBL_MAIN"));
    const store::Table::RowValues copiedMain = copiedRows.value(QStringLiteral("NT_TBL_MAIN")).constFirst();
    for (const char* name : {"REG_DATE", "DB_RENEW_DATE", "REG_VERSION"})
        EXPECT_TRUE(copiedMain.at(main.fieldIndex(QLatin1String(name))).isNull()) << name;
    const store::Table& sheets = *dm.table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    EXPECT_EQ(copiedRows.value(QStringLiteral("NT_TBL_COMPARE_MAIN")).constFirst().at(sheets.fieldIndex(QStringLiteral("REC_ID"))).toInt(), 3);
    EXPECT_EQ(copiedRows.value(QStringLiteral("NT_TBL_COMPARE_DETAIL")).size(), 2);
    // The contacts numbered 1, 2 as an import numbers them: REC_ID in their order, the display
    // order from 1 in theirs.
    const store::Table& contacts = *dm.table(QStringLiteral("NT_TBL_COMPANY"));
    QStringList numbering;
    for (const store::Table::RowValues& row : copiedRows.value(QStringLiteral("NT_TBL_COMPANY")))
        numbering << QStringLiteral("%1:%2").arg(row.at(contacts.fieldIndex(QStringLiteral("REC_ID"))).toInt())
                         .arg(row.at(contacts.fieldIndex(QStringLiteral("SALES_ORDER_OTHER"))).toInt());
    numbering.sort();
    EXPECT_EQ(numbering, (QStringList{"1:2", "2:1"}));

    // The photos are copies, named for the new number; the originals stay.
    EXPECT_EQ(dir.read(QStringLiteral("Images/XXK-000003A.jpg")), dir.read(QStringLiteral("Images/XXK-000001A.jpg")));
    EXPECT_EQ(dir.read(QStringLiteral("Images/XXK-000003B.gif")), dir.read(QStringLiteral("Images/XXK-000001B.gif")));
    EXPECT_FALSE(dir.read(QStringLiteral("Images/XXK-000001A.jpg")).isEmpty());
    EXPECT_TRUE(dm.saveTimes().contains(copy));
    EXPECT_FALSE(dm.saveTimes().contains(kOriginal));
    ASSERT_TRUE(dm.CloseAllTables());

    // A number that is not there is refused, and nothing changes.
    const QByteArray mainBefore = dir.read(QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds"));
    const auto refused = runCli(home + QStringList{QStringLiteral("duplicate"), QStringLiteral("XXK-000099")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("XXK-000099"))) << refused.err.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("FLATT_FILES/NT_TBL_MAIN.cds")), mainBefore);
    EXPECT_EQ(runCli(home + QStringList{QStringLiteral("duplicate")}).exitCode, 2);
}

TEST(DuplicateCommand, ListFindsNamesWhateverTheWidthAndCaseTyped)
{
    testsupport::TempDir dir;
    testsupport::writeEmptyProgramFolder(dir.path());
    {
        testsupport::ScriptedUserInteraction ui;
        store::DataModule dm(dir.path(), &ui);
        ASSERT_TRUE(dm.start());
        store::Table* main = dm.table(QStringLiteral("NT_TBL_MAIN"));
        const QList<QStringList> rows = {
            {"XXK-000001", "ケーソン式防波堤の急速施工", "", ""},
            {"XXK-000002", "消波ブロック", "ｹｰｿﾝ式防波堤にも", ""},    // half-width, as imported data may hold it
            {"XXK-000003", "桟橋の補修", "", "ケーソン式防波堤工業"},
            {"XXK-000004", "ケーソン据付", "防波堤", "ＡＢＣ建設"},
            {"TH-0005", "Caisson Method", "", ""},
        };
        for (const QStringList& row : rows) {
            main->append();
            for (int f = 0; f < 4; ++f)
                main->field(QStringList{"REG_NO", "TECH_TITLE", "TECH_SUBTITLE", "TECH_DVLP_COMPANY"}.at(f)).setString(row.at(f));
            main->post();
        }
        ASSERT_TRUE(dm.CloseAllTables());
    }
    const auto home = QStringList{QStringLiteral("--home"), dir.path()};
    const auto numbers = [&](const QString& text) {
        const auto listed = runCli(home + QStringList{QStringLiteral("list"), text});
        EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
        QStringList found;
        for (const QString& line : listed.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            found << line.section(QLatin1Char('\t'), 0, 0);
        return found;
    };
    EXPECT_EQ(numbers(QStringLiteral("ｹｰｿﾝ式防波堤")), (QStringList{"XXK-000001", "XXK-000002", "XXK-000003"}));
    EXPECT_EQ(numbers(QStringLiteral("ケーソン式防波堤")), (QStringList{"XXK-000001", "XXK-000002", "XXK-000003"}));
    EXPECT_EQ(numbers(QStringLiteral("abc")), QStringList{"XXK-000004"});
    EXPECT_EQ(numbers(QStringLiteral("ＣＡＩＳＳＯＮ")), QStringList{"TH-0005"});
    EXPECT_EQ(numbers(QStringLiteral("xxk-000003")), QStringList{"XXK-000003"});
    EXPECT_EQ(numbers(QStringLiteral("　防波堤 ")).size(), 4) << "blanks around the text do not count";
    EXPECT_TRUE(numbers(QStringLiteral("存在しない名前")).isEmpty());
    EXPECT_EQ(numbers(QString()).size(), 5);
}
