#include "BenchData.h"

#include "store/Schema.h"
#include "store/TableFile.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <cstdio>
#include <optional>

namespace benchdata {

namespace {

struct RowCount
{
    const char* table;
    int full;
    int atLimits;
    int smallRows;
};

// Rows per registration.
// Rows per registration in each shape. The breakdown rows alternate between their two kinds.
const RowCount kRowsPerRegistration[] = {
    {"NT_TBL_MAIN", 1, 1, 1},             {"NT_TBL_DETAIL", 1, 1, 1},            {"NT_TBL_DETAIL_FREE", 1, 1, 1},
    {"NT_TBL_DESCRIPTION", 1, 1, 1},      {"NT_TBL_PICTURE", 1, 1, 1},           {"NT_TBL_COMPANY", 4, 40, 6},
    {"NT_TBL_EVALUATE_RESULT", 2, 20, 15}, {"PL_TBL_PROJECT_MOC", 3, 20, 15},    {"PL_TBL_PROJECT_PRIVATE", 3, 20, 15},
    {"NT_TBL_COMPARE_MAIN", 1, 1, 1},     {"NT_TBL_COMPARE_DETAIL", 12, 100, 40}, {"NT_TBL_CONST_CONDITION", 6, 6, 5},
    {"NT_TBL_INFO_IMAGES", 7, 7, 7},
};

int rowsPerRegistration(const RowCount& count, Shape shape)
{
    switch (shape) {
    case Shape::Full: return count.full;
    case Shape::AtLimits: return count.atLimits;
    case Shape::SmallRows: return count.smallRows;
    }
    return 0;
}

const QString kLongText = QStringLiteral(
    "本技術は、港湾構造物のケーソン据付において、GNSSと傾斜計による位置管理で据付精度を高め、"
    "潜水士による水中作業を減らして工期を短縮する技術である。\r\n従来工法に比べ、据付時の誤差を半分以下に抑え、"
    "安全性と施工性が向上する。");

// The values a registration needs to pass the checks of a save and an export: codes that their
// lookup tables hold (the group, one complete classification, the evaluating body) and a summary.
// Fields not listed here take the generated sample.
std::optional<QVariant> checkedValue(const QString& table, const QString& name, int registration)
{
    static const QHash<QString, QVariant> main = {
        {"GRP_CODE1", "01"},          {"LEVEL1_COMBO", "010"},      {"LEVEL2_COMBO", "01001"},
        {"LEVEL3_COMBO", "0100101"}, {"LEVEL4_COMBO", "010010101"},
    };
    if (table == QLatin1String("NT_TBL_MAIN")) {
        if (main.contains(name))
            return main.value(name);
        if (name.startsWith(QLatin1String("LEVEL")) && name.contains(QLatin1String("_COMBO")))
            return QVariant(); // the other classification slots stay empty
    }
    if (table == QLatin1String("NT_TBL_DETAIL") && name == QLatin1String("EVALUATE_ORGAN_CODE"))
        return QVariant(QStringLiteral("01"));
    if (table == QLatin1String("NT_TBL_DESCRIPTION") && name == QLatin1String("SUMMARY_DESC"))
        return QVariant(kLongText + QString::number(registration));
    // The description tables as their grids store them: columns, rows and header sizes, the
    // cells row by row, then the title.
    if (table == QLatin1String("NT_TBL_DESCRIPTION") && name.endsWith(QLatin1String("_TABLE")))
        return QVariant(QStringLiteral("3\t3\t1\t1\r\n項目\t従来技術\t新技術\r\n工期\t10日\t7日\r\n潜水作業\t%1時間\t4時間\r\n比較表")
                            .arg(registration % 20 + 8));
    return std::nullopt;
}

// `position` is the field's place in its table: one memo in four holds a long text, the others
// stay blank as most do in real registrations.
QVariant sampleValue(const QString& table, const store::FieldDef& field, int position, int registration, int n, Shape shape)
{
    const QString& name = field.name;
    if (const std::optional<QVariant> checked = checkedValue(table, name, registration))
        return *checked;
    if (name == QLatin1String("REG_NO"))
        return QStringLiteral("XXK-%1").arg(registration, 6, 10, QLatin1Char('0'));
    if (name == QLatin1String("REC_ID") || name.endsWith(QLatin1String("_ID")) || name == QLatin1String("ORD"))
        return name == QLatin1String("ORD") && field.isText() ? QVariant(QString::number(n % 6 + 1)) : QVariant(n + 1);
    if (name == QLatin1String("RECORD_TYPE"))
        return QString::number(n % 2);
    if (name.startsWith(QLatin1String("PICTURE_")))
        return {}; // photo file names: the data has no photo files
    if (name == QLatin1String("TECH_DVLP_YEAR"))
        return QStringLiteral("2020");
    if (shape == Shape::SmallRows && field.isText() && field.type != store::FieldType::FixedText)
        return field.type == store::FieldType::Memo ? QVariant() : QVariant(QString::number(n % 7));
    switch (field.type) {
    case store::FieldType::FixedText:
        return field.width <= 2 ? QString::number(n % 2) : QStringLiteral("%1").arg(n % 100);
    case store::FieldType::Text:
        return field.width > 0 && field.width < 8 ? QString::number(n % 7)
                                                  : QStringLiteral("港湾工事の技術情報 %1-%2").arg(registration).arg(n);
    case store::FieldType::Memo:
        return position % 4 == 0 ? QVariant(kLongText + QString::number(registration)) : QVariant();
    case store::FieldType::Float:
    case store::FieldType::Integer:
        return (n % 50) * 1000.5;
    case store::FieldType::DateTime:
        return QDate(2024, 4, 1).addDays(n % 365);
    case store::FieldType::Lookup:
        break;
    }
    return {};
}

bool copyFolder(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(path);
        if (it.fileInfo().isDir() ? !QDir().mkpath(target) : (QFile::exists(target) || !QFile::copy(path, target)))
            return false;
    }
    return true;
}

} // namespace

bool makeProgramFolder(const QString& home, int registrations, Shape shape)
{
    if (!QDir().mkpath(home) || !copyFolder(QStringLiteral(VORDELL_SOURCE_DIR "/data/program"), home)) {
        std::fprintf(stderr, "cannot copy the shipped program folder into %s\n", qPrintable(home));
        return false;
    }
    const QString data = home + QStringLiteral("/FLATT_FILES/");
    for (const RowCount& count : kRowsPerRegistration) {
        const QString table = QString::fromLatin1(count.table);
        const int perRegistration = rowsPerRegistration(count, shape);
        const store::schema::TableDef* def = store::schema::findTable(table);
        std::vector<QVector<QVariant>> rows;
        for (int r = 1; r <= registrations; ++r) {
            for (int n = 0; n < perRegistration; ++n) {
                QVector<QVariant> row(def->fields.size());
                for (int f = 0; f < def->fields.size(); ++f)
                    row[f] = sampleValue(table, def->fields.at(f), f, r, n, shape);
                // The comparison tables are linked by REC_ID, one comparison a registration.
                if (table == QLatin1String("NT_TBL_COMPARE_MAIN") || table == QLatin1String("NT_TBL_COMPARE_DETAIL"))
                    row[table == QLatin1String("NT_TBL_COMPARE_MAIN") ? 1 : 0] = r;
                rows.push_back(row);
            }
        }
        std::vector<const QVector<QVariant>*> pointers;
        for (const auto& row : rows)
            pointers.push_back(&row);
        QString error;
        if (!store::TableFile::write(data + table + QStringLiteral(".cds"), def->fields, pointers, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return false;
        }
    }
    return true;
}

} // namespace benchdata
