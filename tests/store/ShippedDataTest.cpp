// The data shipped in data/program: the table files and templates must have the layouts the program
// declares, the code lists must fit the way the screens select from them, and the two text files
// must be plain Shift_JIS in the form the program reads.
#include "store/Schema.h"
#include "store/Table.h"
#include "util/SjisText.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <memory>

using namespace store;
using namespace store::schema;

namespace {

const QString kProgramDir = QStringLiteral(VORDELL_SOURCE_DIR "/data/program/");

// Opens a table file taking the layout from the file, as the program opens lookup tables.
std::unique_ptr<Table> openFile(const QString& relativePath)
{
    auto table = std::make_unique<Table>(relativePath);
    table->setFileName(kProgramDir + relativePath);
    QString error;
    EXPECT_TRUE(table->open(&error)) << qPrintable(relativePath) << ": " << qPrintable(error);
    return table;
}

std::unique_ptr<Table> openLookup(const QString& name)
{
    return openFile(QStringLiteral("FLATT_FILES/") + name + QStringLiteral(".cds"));
}

// name:type:width of every field that is stored in a file.
QStringList storedSignature(const QList<FieldDef>& fields)
{
    QStringList list;
    for (const FieldDef& f : fields) {
        if (f.isStored())
            list << QStringLiteral("%1:%2:%3").arg(f.name).arg(int(f.type)).arg(f.width);
    }
    return list;
}

// The first field of each visible row, as text.
QStringList codes(Table& table)
{
    QStringList list;
    for (table.first(); !table.eof(); table.next())
        list << table.field(0).asString();
    return list;
}

// Bytes of a shipped text file, which must decode from Shift_JIS and encode back to the same bytes.
QString readShiftJis(const QString& name)
{
    QFile file(kProgramDir + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(name);
    const QByteArray bytes = file.readAll();
    const QString text = sjis::decode(bytes);
    EXPECT_FALSE(text.contains(QChar(0xFFFD))) << qPrintable(name);
    EXPECT_EQ(sjis::encode(text), bytes) << qPrintable(name) << " does not survive a round trip through Shift_JIS";
    return text;
}

// Splits Windows text into lines; every line must end in CR LF.
QStringList windowsLines(const QString& text, const QString& name)
{
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n"))) << qPrintable(name);
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    for (const QString& line : lines)
        EXPECT_FALSE(line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n'))) << qPrintable(name);
    return lines;
}

} // namespace

TEST(ShippedData, TableFilesAndTemplatesHaveTheDeclaredLayouts)
{
    for (const TableDef& def : registrationTables()) {
        for (const QString& path : {QStringLiteral("FLATT_FILES/%1.cds").arg(def.name), QStringLiteral("Zero/%1.Cds").arg(def.name)}) {
            auto table = openFile(path);
            EXPECT_EQ(storedSignature(table->fields()), storedSignature(def.fields)) << qPrintable(path);
            EXPECT_EQ(table->recordCount(), 0) << qPrintable(path);
        }
    }
    for (const TableDef& def : lookupTables()) {
        auto table = openLookup(def.name);
        EXPECT_EQ(storedSignature(table->fields()), storedSignature(def.fields)) << qPrintable(def.name);
        EXPECT_GT(table->recordCount(), 0) << qPrintable(def.name);
        const QStringList list = codes(*table);
        EXPECT_EQ(QSet<QString>(list.begin(), list.end()).size(), list.size()) << qPrintable(def.name) << " repeats a code";
        for (table->first(); !table->eof(); table->next())
            EXPECT_FALSE(table->field(1).asString().trimmed().isEmpty()) << qPrintable(def.name) << " has an empty title";
    }
}

TEST(ShippedData, FixedListsHoldTheRowsTheProgramReliesOn)
{
    auto projectTypes = openLookup(QStringLiteral("PL_STBL_PJT_TYPE"));
    EXPECT_EQ(projectTypes->allRows(), findTable(QStringLiteral("PL_STBL_PJT_TYPE"))->initialRows);

    auto clientKinds = openLookup(QStringLiteral("PL_STBL_CLIENT_KIND"));
    ASSERT_TRUE(clientKinds->locate(QStringLiteral("CD"), QStringLiteral("0")));
    EXPECT_EQ(clientKinds->field(1).asString(), QStringLiteral("その他公共機関"));
    ASSERT_TRUE(clientKinds->locate(QStringLiteral("CD"), QStringLiteral("1")));
    EXPECT_EQ(clientKinds->field(1).asString(), QStringLiteral("民間"));
}

// Level 1 to 4 live in GRP3, GRP4, GRP5 and GRP2; each code is its parent's code and two digits.
TEST(ShippedData, ClassificationCodesFormOneHierarchy)
{
    const char* levelTables[] = {"NT_STBL_INFO_GRP3", "NT_STBL_INFO_GRP4", "NT_STBL_INFO_GRP5", "NT_STBL_INFO_GRP2"};
    QList<QSet<QString>> levels;
    for (int level = 0; level < 4; ++level) {
        auto table = openLookup(QLatin1String(levelTables[level]));
        const QStringList list = codes(*table);
        const QRegularExpression form(QStringLiteral("^\\d{%1}$").arg(3 + 2 * level));
        for (const QString& code : list) {
            EXPECT_TRUE(form.match(code).hasMatch()) << levelTables[level] << " " << qPrintable(code);
            if (level > 0)
                EXPECT_TRUE(levels.at(level - 1).contains(code.left(code.size() - 2))) << qPrintable(code) << " has no parent";
        }
        levels << QSet<QString>(list.begin(), list.end());
    }
    // Every branch reaches level 3, so each choice on levels 1 and 2 offers something below it.
    for (int level = 0; level < 2; ++level) {
        for (const QString& code : levels.at(level)) {
            const auto& below = levels.at(level + 1);
            EXPECT_TRUE(std::any_of(below.begin(), below.end(), [&](const QString& c) { return c.startsWith(code); }))
                << qPrintable(code) << " has no subdivision";
        }
    }
}

// The office list of a bureau is the offices whose code lies in the range the bureau's code gives:
// bureau "081" → CD >= 8100 and CD < 8200. Every office must be offered by exactly one bureau.
TEST(ShippedData, EachOfficeLiesInTheRangeOfOneBureau)
{
    auto bureaus = openLookup(QStringLiteral("PL_STBL_CLIENT_MOC"));
    auto offices = openLookup(QStringLiteral("NT_STBL_HAC_SAI"));
    const QStringList allOffices = codes(*offices);

    QMap<QString, int> offeredBy;
    for (const QString& bureau : codes(*bureaus)) {
        const QString low = bureau.mid(1) + QStringLiteral("00");
        const QString filter = QStringLiteral("CD >= %1 and CD < %2").arg(low).arg(low.toInt() + 100);
        ASSERT_TRUE(offices->setFilter(filter));
        offices->setFiltered(true);
        const QStringList offered = codes(*offices);
        EXPECT_FALSE(offered.isEmpty()) << "bureau " << qPrintable(bureau) << " offers no office";
        for (const QString& office : offered)
            ++offeredBy[office];
    }
    for (const QString& office : allOffices)
        EXPECT_EQ(offeredBy.value(office), 1) << "office " << qPrintable(office);
}

TEST(ShippedData, ConstructionConditionDefinitionsFollowTheFileFormat)
{
    auto levelThree = openLookup(QStringLiteral("NT_STBL_INFO_GRP5"));
    const QStringList levelThreeCodes = codes(*levelThree);

    const QStringList lines = windowsLines(readShiftJis(QStringLiteral("CNSTDEF.TXT")), QStringLiteral("CNSTDEF.TXT"));
    ASSERT_FALSE(lines.isEmpty());
    QMap<QString, int> lastItem;
    QSet<QString> kinds;
    for (const QString& line : lines) {
        const QStringList f = line.split(QLatin1Char('\t'));
        ASSERT_GE(f.size(), 4) << qPrintable(line);
        ASSERT_LE(f.size(), 5) << qPrintable(line);
        EXPECT_TRUE(levelThreeCodes.contains(f[0])) << qPrintable(line);
        EXPECT_EQ(f[1].toInt(), lastItem.value(f[0]) + 1) << "items of a code run 1, 2, 3 …: " << qPrintable(line);
        lastItem[f[0]] = f[1].toInt();
        EXPECT_LE(f[1].toInt(), 6) << qPrintable(line);
        EXPECT_FALSE(f[3].isEmpty()) << qPrintable(line);
        const QString& kind = f[2];
        kinds << kind;
        ASSERT_TRUE(QStringLiteral("MNRST").contains(kind) && kind.size() == 1) << qPrintable(line);
        if (kind == QLatin1String("M") || kind == QLatin1String("S")) {
            ASSERT_EQ(f.size(), 5) << qPrintable(line);
            const int choices = f[4].split(QLatin1Char('/')).size();
            EXPECT_GE(choices, 2) << qPrintable(line);
            EXPECT_LE(choices, 7) << qPrintable(line);
        }
    }
    EXPECT_EQ(kinds, (QSet<QString>{"M", "N", "R", "S", "T"}));
}

TEST(ShippedData, HelpTextIsWindowsShiftJisText)
{
    const QStringList lines = windowsLines(readShiftJis(QStringLiteral("HELP.TXT")), QStringLiteral("HELP.TXT"));
    EXPECT_GT(lines.size(), 50);
    // The help names the commands by the captions the user sees, and the work kept beside the tables.
    const QString text = lines.join(QLatin1Char('\n'));
    for (const char* topic : {"［入力チェック］", "［PDF保存］", "［複製して新規作成］", "［前回提出との比較］", "「検索」欄", "下書き", "［復元する］",
                              "［破棄する］", "「Submitted」", "「Drafts」", "残り 312 バイト"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(topic))) << topic;
}
