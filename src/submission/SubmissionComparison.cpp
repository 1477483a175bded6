#include "submission/SubmissionComparison.h"

#include "entry/Classification.h"
#include "entry/ItemCaptions.h"
#include "report/DescriptionGrid.h"
#include "store/DataModule.h"
#include "store/ProgramFolder.h"
#include "store/TableFile.h"
#include "submission/RegistrationProblems.h"
#include "submission/SubmissionFiles.h"
#include "submission/SubmissionHistory.h"
#include "util/NumberText.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>

namespace submission {

namespace {

using Row = RegistrationValues::Row;

const QString kMain = QStringLiteral("NT_TBL_MAIN");
const QString kImages = QStringLiteral("NT_TBL_INFO_IMAGES");
const QString kConditions = QStringLiteral("NT_TBL_CONST_CONDITION");
const QString kBreakdown = QStringLiteral("NT_TBL_COMPARE_DETAIL");
const QString kSheet = QStringLiteral("NT_TBL_COMPARE_MAIN");
const QStringList kOneRowTables = {kMain, "NT_TBL_DETAIL", "NT_TBL_DETAIL_FREE", "NT_TBL_DESCRIPTION", "NT_TBL_PICTURE", kSheet};
// Row tables and the field that orders their rows.
const QList<std::pair<QString, QString>> kRowTables = {{"NT_TBL_COMPANY", "SALES_ORDER_OTHER"},
                                                       {"NT_TBL_EVALUATE_RESULT", "EVALUATE_ID"},
                                                       {"PL_TBL_PROJECT_MOC", "MOC_ID"},
                                                       {"PL_TBL_PROJECT_PRIVATE", "PRIVATE_ID"},
                                                       {kBreakdown, "ORD"}};
const QStringList kConditionFields = {"ORD", "TYPE", "NAME", "TXT", "MIN_VAL", "MAX_VAL", "F_UNIT"};
const QStringList kPhotoSlots = {"A", "B", "S", "T", "G", "H", "I"};

QString valueText(const QVariant& value, store::FieldType type)
{
    if (value.isNull())
        return QString();
    switch (type) {
    case store::FieldType::DateTime:
        return value.toDate().toString(QStringLiteral("yyyy/MM/dd"));
    case store::FieldType::Float:
        return numbertext::format(value.toDouble());
    case store::FieldType::FixedText:
        return value.toString().trimmed(); // padded to its width when stored
    default:
        return value.toString();
    }
}

Row rowOf(const QList<store::FieldDef>& fields, const QVector<QVariant>& values)
{
    Row row;
    for (int i = 0; i < fields.size() && i < values.size(); ++i) {
        if (fields.at(i).isStored())
            row.insert(fields.at(i).name.toUpper(), valueText(values.at(i), fields.at(i).type));
    }
    return row;
}

// The photo files of a registration's image rows found in `folder`, by content.
QHash<QString, QByteArray> photoDigests(const QList<Row>& images, const QString& folder)
{
    QHash<QString, QByteArray> digests;
    for (const Row& image : images) {
        const QString letter = image.value(QStringLiteral("IMAGES_TYPE"));
        const QString name = image.value(QStringLiteral("IMAGES_FILE"));
        if (letter.isEmpty() || image.value(QStringLiteral("IMAGES_ORIGINAL")).isEmpty())
            continue;
        digests.insert(letter, name.isEmpty() ? QByteArray() : fileSha256(store::ProgramFolder::resolveIn(folder, name)));
    }
    return digests;
}

QString rowsOrderField(const QString& table)
{
    for (const auto& [name, order] : kRowTables) {
        if (name == table)
            return order;
    }
    return QString();
}

void sortRows(const QString& table, QList<Row>& rows)
{
    const QString order = table == kConditions ? QStringLiteral("ORD") : rowsOrderField(table);
    if (order.isEmpty())
        return;
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
        double x = 0, y = 0;
        const bool nx = numbertext::parse(a.value(order), &x);
        const bool ny = numbertext::parse(b.value(order), &y);
        return nx && ny ? x < y : a.value(order) < b.value(order);
    });
}

// ---------------------------------------------------------------- comparing

class Comparison
{
public:
    Comparison(const RegistrationValues& file, const RegistrationValues& now, const CodeNames& names)
        : m_file(file)
        , m_now(now)
        , m_names(names)
    {
    }

    QList<Difference> run()
    {
        for (const QString& table : kOneRowTables)
            oneRowTable(table);
        for (int slot = 1; slot <= classification::kSlots; ++slot)
            classificationSlot(slot);
        for (const QString& field : captions::descriptionTableFields())
            descriptionTable(field);
        for (const auto& [table, order] : kRowTables) {
            if (table == kBreakdown) {
                rowTable(table, QStringLiteral("0"));
                rowTable(table, QStringLiteral("1"));
            } else {
                rowTable(table, QString());
            }
        }
        conditions();
        photos();
        static const QStringList pages = {inputcheck::kNamesPage, inputcheck::kSummaryPage, inputcheck::kComparisonPage,
                                          inputcheck::kRecordsPage};
        std::stable_sort(m_differences.begin(), m_differences.end(),
                         [](const Difference& a, const Difference& b) { return pages.indexOf(a.page) < pages.indexOf(b.page); });
        return m_differences;
    }

private:
    static Row first(const RegistrationValues& values, const QString& table)
    {
        const QList<Row> rows = values.tables.value(table);
        return rows.isEmpty() ? Row() : rows.first();
    }
    QString shown(const captions::Item& item, const QString& stored) const
    {
        return captions::shownValue(item, stored, [this](const QString& table, const QString& code) { return m_names.name(table, code); });
    }
    void add(const captions::Item& item, const QString& caption, const QString& inFile, const QString& now)
    {
        m_differences.append({item.page, caption, inFile, now, item.control});
    }

    void oneRowTable(const QString& table)
    {
        const Row file = first(m_file, table);
        const Row now = first(m_now, table);
        for (const QString& field : captions::shownFields(table)) {
            const QString a = file.value(field);
            const QString b = now.value(field);
            if (a == b)
                continue;
            const captions::Item item = captions::fieldItem(table, field);
            const QString shownA = shown(item, a);
            const QString shownB = shown(item, b);
            if (shownA != shownB)
                add(item, item.caption, shownA, shownB);
        }
    }

    QString classificationText(const Row& main, int slot) const
    {
        QStringList names;
        for (int level = 1; level <= classification::kLevels; ++level) {
            const QString code = main.value(classification::codeBoxName(level, slot));
            if (code.isEmpty())
                break;
            const QString name = m_names.name(classification::levelTableName(level), code);
            names.append(name.isEmpty() ? code : name);
        }
        return names.join(QStringLiteral(" ＞ "));
    }
    void classificationSlot(int slot)
    {
        const Row file = first(m_file, kMain);
        const Row now = first(m_now, kMain);
        bool same = true;
        for (int level = 1; level <= classification::kLevels; ++level)
            same = same && file.value(classification::codeBoxName(level, slot)) == now.value(classification::codeBoxName(level, slot));
        if (!same) {
            const captions::Item item = captions::classificationItem(slot);
            add(item, item.caption, classificationText(file, slot), classificationText(now, slot));
        }
    }

    void descriptionTable(const QString& field)
    {
        const QString a = first(m_file, QStringLiteral("NT_TBL_DESCRIPTION")).value(field);
        const QString b = first(m_now, QStringLiteral("NT_TBL_DESCRIPTION")).value(field);
        if (a == b)
            return;
        const captions::Item item = captions::descriptionTableItem(field);
        const report::DescriptionGrid file = report::DescriptionGrid::fromStoredText(a);
        const report::DescriptionGrid now = report::DescriptionGrid::fromStoredText(b);
        const auto compare = [&](const QString& part, const QString& x, const QString& y) {
            if (x != y)
                add(item, item.caption + QLatin1Char(' ') + part, x, y);
        };
        compare(QStringLiteral("タイトル"), file.title, now.title);
        compare(QStringLiteral("見出し列数"), file.headerColumns, now.headerColumns);
        compare(QStringLiteral("見出し行数"), file.headerRows, now.headerRows);
        for (int row = 1; row < report::DescriptionGrid::kSize; ++row) {
            for (int column = 1; column < report::DescriptionGrid::kSize; ++column)
                compare(QChar(u'A' + column - 1) + QString::number(row), file.cell(column, row), now.cell(column, row));
        }
    }

    // ---- rows matched by content

    QStringList rowKey(const QString& table, const Row& row) const
    {
        QStringList key;
        for (const QString& field : captions::shownFields(table))
            key.append(row.value(field));
        return key;
    }
    QList<Row> rowsOf(const RegistrationValues& values, const QString& table, const QString& recordType) const
    {
        QList<Row> rows;
        for (const Row& row : values.tables.value(table)) {
            if (recordType.isNull() || row.value(QStringLiteral("RECORD_TYPE")) == recordType)
                rows.append(row);
        }
        sortRows(table, rows);
        return rows;
    }
    QString summary(const QString& table, const Row& row) const
    {
        QStringList parts;
        for (const QString& field : captions::shownFields(table)) {
            const QString text = shown(captions::fieldItem(table, field), row.value(field));
            if (!text.isEmpty())
                parts.append(text);
        }
        return parts.join(QStringLiteral(" / "));
    }
    // Two rows that are one row edited: they agree on their first shown field or on at least
    // half of their fields.
    bool sameRow(const QStringList& a, const QStringList& b) const
    {
        int equal = 0;
        for (int i = 0; i < a.size(); ++i)
            equal += a.at(i) == b.at(i) ? 1 : 0;
        return (!a.isEmpty() && !a.first().isEmpty() && a.first() == b.first()) || equal * 2 >= a.size();
    }

    void rowTable(const QString& table, const QString& recordType)
    {
        const QList<Row> file = rowsOf(m_file, table, recordType);
        const QList<Row> now = rowsOf(m_now, table, recordType);
        QList<QStringList> a, b;
        for (const Row& row : file)
            a.append(rowKey(table, row));
        for (const Row& row : now)
            b.append(rowKey(table, row));
        // The longest common sequence of equal rows anchors the rest.
        const int n = a.size(), m = b.size();
        QVector<QVector<int>> common(n + 1, QVector<int>(m + 1, 0));
        for (int i = n - 1; i >= 0; --i)
            for (int j = m - 1; j >= 0; --j)
                common[i][j] = a.at(i) == b.at(j) ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
        const captions::Item rows = captions::rowsItem(table, recordType);
        QList<int> gapA, gapB;
        const auto flush = [&] {
            int k = 0;
            for (; k < gapA.size() && k < gapB.size() && sameRow(a.at(gapA.at(k)), b.at(gapB.at(k))); ++k)
                changedRow(table, rows, gapB.at(k) + 1, file.at(gapA.at(k)), now.at(gapB.at(k)));
            for (int x = k; x < gapA.size(); ++x)
                add(rows, rows.caption + QStringLiteral(" %1件目（削除）").arg(gapA.at(x) + 1), summary(table, file.at(gapA.at(x))), QString());
            for (int y = k; y < gapB.size(); ++y)
                add(rows, rows.caption + QStringLiteral(" %1件目（追加）").arg(gapB.at(y) + 1), QString(), summary(table, now.at(gapB.at(y))));
            gapA.clear();
            gapB.clear();
        };
        int i = 0, j = 0;
        while (i < n || j < m) {
            if (i < n && j < m && a.at(i) == b.at(j)) {
                flush();
                ++i;
                ++j;
            } else if (j >= m || (i < n && common[i + 1][j] >= common[i][j + 1])) {
                gapA.append(i++);
            } else {
                gapB.append(j++);
            }
        }
        flush();
    }
    void changedRow(const QString& table, const captions::Item& rows, int position, const Row& file, const Row& now)
    {
        for (const QString& field : captions::shownFields(table)) {
            const captions::Item item = captions::fieldItem(table, field);
            const QString a = shown(item, file.value(field));
            const QString b = shown(item, now.value(field));
            if (a != b)
                add(rows, rows.caption + QStringLiteral(" %1件目（変更） %2").arg(position).arg(item.caption), a, b);
        }
    }

    // ---- conditions, by their item number

    // The level-3 code the registration's conditions are defined for.
    static QString conditionCode(const RegistrationValues& values)
    {
        const Row main = values.tables.value(kMain).value(0);
        return conditions::definitionCode(main.value(QStringLiteral("LEVEL1_COMBO")), main.value(QStringLiteral("LEVEL2_COMBO")),
                                          main.value(QStringLiteral("LEVEL3_COMBO")));
    }
    // A condition's value as the summary page shows it: the chosen choices' own texts, numbers
    // with their unit. Without its definition, the stored value is described.
    static QString conditionText(const Row& row, const QHash<int, conditions::ItemDefinition>& items)
    {
        if (row.isEmpty())
            return QString();
        const auto definition = items.constFind(row.value(QStringLiteral("ORD")).toInt());
        if (definition != items.cend() && definition->kind == row.value(QStringLiteral("TYPE"))) {
            const QString stored = row.value(QStringLiteral("TXT"));
            const QString value = conditions::shownCondition(*definition, conditions::controlsOfStoredText(stored), stored,
                                                             row.value(QStringLiteral("MIN_VAL")), row.value(QStringLiteral("MAX_VAL")))
                                      .value;
            return value.isEmpty() && (definition->kind == QLatin1String("M") || definition->kind == QLatin1String("S"))
                ? QStringLiteral("（選択なし）")
                : value;
        }
        const QString type = row.value(QStringLiteral("TYPE"));
        const QString text = row.value(QStringLiteral("TXT"));
        const QString unit = row.value(QStringLiteral("F_UNIT"));
        if (type == QLatin1String("M")) {
            QStringList chosen;
            for (int k = 0; k < text.size(); ++k) {
                if (text.at(k) == QLatin1Char('1'))
                    chosen.append(QStringLiteral("%1番目").arg(k + 1));
            }
            return chosen.isEmpty() ? QStringLiteral("（選択なし）") : QStringLiteral("選択：") + chosen.join(QStringLiteral("・"));
        }
        if (type == QLatin1String("S"))
            return text.isEmpty() ? QStringLiteral("（選択なし）") : QStringLiteral("選択：%1番目").arg(text.toInt() + 1);
        if (type == QLatin1String("N"))
            return row.value(QStringLiteral("MIN_VAL")) + unit;
        if (type == QLatin1String("R"))
            return row.value(QStringLiteral("MIN_VAL")) + QStringLiteral("～") + row.value(QStringLiteral("MAX_VAL")) + unit;
        return text;
    }
    void conditions()
    {
        QHash<QString, Row> file, now;
        for (const Row& row : m_file.tables.value(kConditions))
            file.insert(row.value(QStringLiteral("ORD")), row);
        for (const Row& row : m_now.tables.value(kConditions))
            now.insert(row.value(QStringLiteral("ORD")), row);
        const QHash<int, conditions::ItemDefinition> fileItems = m_names.conditionItems(conditionCode(m_file));
        const QHash<int, conditions::ItemDefinition> nowItems = m_names.conditionItems(conditionCode(m_now));
        for (int item = 1; item <= 6; ++item) {
            const QString ord = QString::number(item);
            const Row a = file.value(ord);
            const Row b = now.value(ord);
            const QString x = conditionText(a, fileItems);
            const QString y = conditionText(b, nowItems);
            const QString name = b.isEmpty() ? a.value(QStringLiteral("NAME")) : b.value(QStringLiteral("NAME"));
            if (x == y && a.value(QStringLiteral("NAME")) == b.value(QStringLiteral("NAME")))
                continue;
            captions::Item where = captions::conditionsItem();
            where.control = QStringLiteral("CnstItem") + ord;
            add(where, where.caption + QLatin1Char(' ') + (name.isEmpty() ? ord : name), x, y);
        }
    }

    // ---- photos, by their content

    void photos()
    {
        QHash<QString, QString> fileNames, nowNames;
        for (const Row& row : m_file.tables.value(kImages))
            fileNames.insert(row.value(QStringLiteral("IMAGES_TYPE")), row.value(QStringLiteral("IMAGES_ORIGINAL")));
        for (const Row& row : m_now.tables.value(kImages))
            nowNames.insert(row.value(QStringLiteral("IMAGES_TYPE")), row.value(QStringLiteral("IMAGES_ORIGINAL")));
        for (const QString& letter : kPhotoSlots) {
            const bool inFile = m_file.photos.contains(letter);
            const bool inNow = m_now.photos.contains(letter);
            if (!inFile && !inNow)
                continue;
            const QString a = fileNames.value(letter);
            QString b = nowNames.value(letter);
            if (inFile == inNow && a == b && m_file.photos.value(letter) == m_now.photos.value(letter))
                continue;
            if (inFile && inNow && a == b)
                b += QStringLiteral("（別の画像）");
            const captions::Item item = captions::photoItem(letter);
            add(item, item.caption, inFile ? a : QString(), inNow ? b : QString());
        }
    }

    const RegistrationValues& m_file;
    const RegistrationValues& m_now;
    const CodeNames& m_names;
    QList<Difference> m_differences;
};

// FNV-1a over the UTF-16 code units: the same value in every run and version, and cheap enough
// for the long texts of every registration.
quint64 rowHash(const QString& text)
{
    quint64 hash = 14695981039346656037ull;
    for (const QChar c : text) {
        hash ^= c.unicode();
        hash *= 1099511628211ull;
    }
    return hash;
}

// The fields a table's fingerprint covers: what the comparison reads.
QStringList fingerprintFields(const QString& table)
{
    QStringList fields = captions::shownFields(table);
    if (table == kMain) {
        for (int slot = 1; slot <= classification::kSlots; ++slot)
            for (int level = 1; level <= classification::kLevels; ++level)
                fields.append(classification::codeBoxName(level, slot));
    } else if (table == QLatin1String("NT_TBL_DESCRIPTION")) {
        fields += captions::descriptionTableFields();
    } else if (table == kConditions) {
        fields = kConditionFields;
    } else if (table == kImages) {
        fields = {QStringLiteral("IMAGES_TYPE"), QStringLiteral("IMAGES_ORIGINAL"), QStringLiteral("IMAGES_FILE")};
    } else if (table == kBreakdown) {
        fields.prepend(QStringLiteral("RECORD_TYPE"));
    }
    return fields;
}

} // namespace

QString Difference::line() const
{
    QStringList parts = {page, caption, inFile, now};
    for (QString& part : parts)
        part.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\t'), QLatin1Char(' '));
    return parts.join(QLatin1Char('\t'));
}

RegistrationValues storedValues(const store::DataModule& dm, const QString& regNo)
{
    RegistrationValues values;
    QString sheetId;
    for (store::Table* table : dm.registrationTables()) {
        const QList<store::FieldDef>& fields = table->fields();
        const int regIndex = table->fieldIndex(QStringLiteral("REG_NO"));
        if (regIndex < 0)
            continue;
        QList<Row>& rows = values.tables[table->name()];
        table->forEachStoredRowWhere(
            regIndex, [&regNo](const QVariant& value) { return value.toString().trimmed() == regNo; },
            [&](const QVector<QVariant>& stored) { rows.append(rowOf(fields, stored)); });
        if (table->name() == kSheet && !rows.isEmpty())
            sheetId = rows.first().value(QStringLiteral("REC_ID"));
    }
    // The breakdown rows belong to the registration through its comparison sheet.
    store::Table* breakdown = dm.table(kBreakdown);
    const int idIndex = breakdown->fieldIndex(QStringLiteral("REC_ID"));
    QList<Row>& rows = values.tables[kBreakdown];
    if (!sheetId.isEmpty() && idIndex >= 0) {
        breakdown->forEachStoredRowWhere(
            idIndex, [&sheetId](const QVariant& value) { return !value.isNull() && numbertext::format(value.toDouble()) == sheetId; },
            [&](const QVector<QVariant>& stored) { rows.append(rowOf(breakdown->fields(), stored)); });
    }
    values.photos = photoDigests(values.tables.value(kImages), dm.folder().path(QStringLiteral("Images")));
    return values;
}

bool submissionValues(const QString& path, RegistrationValues* values, QString* error)
{
    QTemporaryDir folder;
    if (!folder.isValid()) {
        *error = folder.errorString();
        return false;
    }
    if (!ExtractSubmissionFile(path, folder.path(), error))
        return false;
    const QString problem = CheckSubmissionFiles(folder.path());
    if (!problem.isEmpty()) {
        *error = problem;
        return false;
    }
    RegistrationValues read;
    for (const QString& member : QDir(folder.path()).entryList({QStringLiteral("*.cds")}, QDir::Files)) {
        QList<store::FieldDef> fields;
        QList<QVector<QVariant>> rows;
        if (!store::TableFile::read(QDir(folder.path()).filePath(member), &fields, &rows, error))
            return false;
        QList<Row>& table = read.tables[QFileInfo(member).completeBaseName().toUpper()];
        for (const QVector<QVariant>& row : std::as_const(rows))
            table.append(rowOf(fields, row));
    }
    if (read.tables.value(kMain).size() != 1) {
        *error = kNotSubmissionData;
        return false;
    }
    read.photos = photoDigests(read.tables.value(kImages), folder.path());
    *values = read;
    return true;
}

CodeNames::CodeNames(const store::DataModule& dm)
    : m_conditionDefinitions(dm.folder().path(conditions::kDefinitionFileName))
{
    for (store::Table* table : dm.lookupTables()) {
        if (table->fields().size() < 2)
            continue;
        QHash<QString, QString>& names = m_names[table->name().toUpper()];
        table->forEachStoredRow([&](const QVector<QVariant>& row) {
            if (row.size() >= 2)
                names.insert(valueText(row.at(0), table->fields().at(0).type).trimmed(), row.at(1).toString().trimmed());
        });
    }
}

QHash<int, conditions::ItemDefinition> CodeNames::conditionItems(const QString& code) const
{
    if (code.isEmpty())
        return {};
    const auto known = m_conditionItems.constFind(code);
    if (known != m_conditionItems.cend())
        return *known;
    QList<conditions::ItemDefinition> definitions;
    QString ignored; // without the file, the values are shown as stored
    QHash<int, conditions::ItemDefinition>& items = m_conditionItems[code];
    if (!m_conditionDefinitions.isEmpty() && conditions::readDefinitions(m_conditionDefinitions, code, &definitions, &ignored)) {
        for (const conditions::ItemDefinition& definition : std::as_const(definitions)) {
            if (definition.item > 0)
                items.insert(definition.item, definition);
        }
    }
    return items;
}

QString CodeNames::name(const QString& table, const QString& code) const
{
    return m_names.value(table.toUpper()).value(code.trimmed());
}

QList<Difference> compareRegistrations(const RegistrationValues& inFile, const RegistrationValues& now, const CodeNames& names)
{
    return Comparison(inFile, now, names).run();
}

namespace {

QHash<QString, QByteArray> fingerprintsOf(const store::DataModule& dm, const QSet<QString>* only)
{
    // Per registration, a hash of each row's compared fields; sorted, so that the order the rows
    // are stored in does not count.
    QHash<QString, QVector<quint64>> lines;
    QHash<QString, QString> regOfSheet;
    const QString imagesFolder = dm.folder().path(QStringLiteral("Images"));
    // `owner` names the registration of a row from the value of its field `ownerField`.
    const auto collect = [&](store::Table* table, int ownerField, const std::function<QString(const QVariant&)>& owner) {
        QList<int> indexes;
        for (const QString& field : fingerprintFields(table->name()))
            indexes.append(table->fieldIndex(field));
        const QString name = table->name();
        const bool images = name == kImages;
        const int fileIndex = table->fieldIndex(QStringLiteral("IMAGES_FILE"));
        const auto wanted = [&](const QVariant& value) {
            const QString reg = owner(value);
            return !reg.isEmpty() && (!only || only->contains(reg));
        };
        table->forEachStoredRowWhere(ownerField, wanted, [&](const QVector<QVariant>& row) {
            const QString reg = owner(row.value(ownerField));
            QString line = name;
            for (int index : std::as_const(indexes)) {
                line += QLatin1Char('\x1f');
                if (index >= 0 && index < row.size())
                    line += valueText(row.at(index), table->fields().at(index).type);
            }
            if (images && fileIndex >= 0 && fileIndex < row.size()) {
                const QFileInfo photo(store::ProgramFolder::resolveIn(imagesFolder, row.at(fileIndex).toString().trimmed()));
                line += QStringLiteral("\x1f%1\x1f%2").arg(photo.size()).arg(photo.lastModified().toMSecsSinceEpoch());
            }
            lines[reg].append(rowHash(line));
        });
    };
    for (store::Table* table : dm.registrationTables()) {
        const int regIndex = table->fieldIndex(QStringLiteral("REG_NO"));
        if (regIndex < 0)
            continue;
        collect(table, regIndex, [](const QVariant& value) { return value.toString().trimmed(); });
        if (table->name() == kSheet) {
            const int idIndex = table->fieldIndex(QStringLiteral("REC_ID"));
            table->forEachStoredRowValues([&](const auto& valueOf) {
                const QVariant id = valueOf(idIndex);
                if (!id.isNull())
                    regOfSheet.insert(numbertext::format(id.toDouble()), valueOf(regIndex).toString().trimmed());
            });
        }
    }
    store::Table* breakdown = dm.table(kBreakdown);
    const int idIndex = breakdown->fieldIndex(QStringLiteral("REC_ID"));
    collect(breakdown, idIndex, [&](const QVariant& value) {
        return value.isNull() ? QString() : regOfSheet.value(numbertext::format(value.toDouble()));
    });
    QHash<QString, QByteArray> fingerprints;
    for (auto it = lines.begin(); it != lines.end(); ++it) {
        std::sort(it->begin(), it->end());
        const QByteArrayView bytes(reinterpret_cast<const char*>(it->constData()), it->size() * qsizetype(sizeof(quint64)));
        fingerprints.insert(it.key(), QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    }
    return fingerprints;
}

} // namespace

QHash<QString, QByteArray> registrationFingerprints(const store::DataModule& dm)
{
    return fingerprintsOf(dm, nullptr);
}

QHash<QString, QByteArray> registrationFingerprints(const store::DataModule& dm, const QSet<QString>& numbers)
{
    return fingerprintsOf(dm, &numbers);
}

} // namespace submission
