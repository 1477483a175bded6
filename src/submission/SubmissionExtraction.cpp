#include "submission/SubmissionExtraction.h"

#include "archive/LzhArchive.h"
#include "entry/Photos.h"
#include "store/ProgramFolder.h"
#include "store/Schema.h"
#include "store/TableFile.h"
#include "store/WritableFolder.h"
#include "submission/SubmissionFiles.h"
#include "util/InputRules.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace submission {

namespace {

constexpr qint64 kRegistrations = 10000;
// Bytes of UTF-8 in the file for one Shift_JIS byte of text: a half-width katakana's three.
constexpr qint64 kFileBytesPerTextByte = 3;
// The fields' element, the document's frame and slack.
constexpr qint64 kHeaderBytes = 64 * 1024;
// The old-version data file is only recognised, never read; an old registration's file is far
// smaller.
constexpr qint64 kOldDataLimit = 64 * 1024 * 1024;
const QString kOldDataMember = QStringLiteral("NewTech.nt6");

// The most bytes one value of the field takes in a row, its name and quotes included.
qint64 largestAttributeBytes(const store::FieldDef& field)
{
    qint64 value = 0;
    switch (field.type) {
    case store::FieldType::FixedText:
    case store::FieldType::Text:
    case store::FieldType::Memo:
        value = kFileBytesPerTextByte * (field.width > 0 ? field.width : inputrules::kDescriptionMemoLimit);
        break;
    case store::FieldType::Float:
        value = 24; // "-1.2345678901234567e-308"
        break;
    case store::FieldType::Integer:
        value = 11;
        break;
    case store::FieldType::DateTime:
        value = 8;
        break;
    case store::FieldType::Lookup:
        return 0;
    }
    return field.name.toUtf8().size() + 4 + value;
}

QString tooLarge(const QString& shownMember, qint64 size, qint64 limit)
{
    return QStringLiteral("提出用ファイルの %1 は %2 バイトあり、上限の %3 バイトを超えています。").arg(shownMember).arg(size).arg(limit);
}

// The names of the photo members the image rows name: the stored file name, and the number and
// slot letter with each photo extension (the name the import looks for).
QSet<QString> namedPhotos(const QString& folder)
{
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> rows;
    QSet<QString> names;
    if (!store::TableFile::read(store::ProgramFolder::resolveIn(folder, memberName(QStringLiteral("NT_TBL_INFO_IMAGES"))), &fields,
                                &rows, nullptr))
        return names;
    QHash<QString, QString> texts; // upper-case field name → the row's text
    for (const QVector<QVariant>& row : std::as_const(rows)) {
        for (int f = 0; f < fields.size(); ++f)
            texts.insert(fields.at(f).name.toUpper(), row.value(f).toString().trimmed());
        if (!texts.value(QStringLiteral("IMAGES_FILE")).isEmpty())
            names.insert(texts.value(QStringLiteral("IMAGES_FILE")).toLower());
        if (texts.contains(QStringLiteral("REG_NO")) && texts.contains(QStringLiteral("IMAGES_TYPE"))) {
            const QString base = texts.value(QStringLiteral("REG_NO")) + texts.value(QStringLiteral("IMAGES_TYPE"));
            for (const char* extension : {".jpg", ".gif", ".jpeg"})
                names.insert((base + QLatin1String(extension)).toLower());
        }
    }
    return names;
}

// Why the extraction of a file into `folder` failed, `detail` being the archive reader's message:
// a file that is no archive is no submission file; a damaged archive is named with what is wrong
// in it; otherwise the folder could not take the members.
QString extractionProblem(const QString& path, const QString& folder, const QString& detail)
{
    if (!lzh::beginsAsArchive(path))
        return kNotSubmissionData;
    QStringList damaged;
    QString why;
    if (!lzh::testArchive(path, &damaged, &why))
        return kDamagedSubmissionFile.arg(QDir::toNativeSeparators(path)) + QStringLiteral("\r\n")
            + (damaged.isEmpty() ? why : damaged.join(QStringLiteral("\r\n")));
    const QString folderProblem = store::folderWriteProblem(folder);
    if (!folderProblem.isEmpty())
        return folderProblem + QStringLiteral("\r\n") + detail;
    return QStringLiteral("フォルダ %1 に書き込めません。\r\n%2").arg(QDir::toNativeSeparators(folder), detail);
}

// Extracts the members `limit` chooses after checking their declared sizes; `shown` names a member
// in a refusal.
bool extractChosen(const QString& path, const QString& folder, const std::function<qint64(const QString&)>& limit,
                   const std::function<QString(const QString&)>& shown, QStringList* written, QString* error)
{
    QList<lzh::MemberEntry> members;
    QString detail;
    if (!lzh::listArchive(path, members, &detail)) {
        *error = extractionProblem(path, folder, detail);
        return false;
    }
    for (const lzh::MemberEntry& member : std::as_const(members)) {
        const qint64 most = limit(member.name);
        if (most >= 0 && member.header.originalSize > quint64(most)) {
            *error = tooLarge(shown(member.name), qint64(member.header.originalSize), most);
            return false;
        }
    }
    if (!lzh::extractWithinLimits(path, folder, limit, written, &detail)) {
        *error = extractionProblem(path, folder, detail);
        return false;
    }
    return true;
}

} // namespace

int rowsPerRegistration(const QString& table)
{
    static const QHash<QString, int> rows = {
        {"NT_TBL_MAIN", 1},        {"NT_TBL_DETAIL", 1},          {"NT_TBL_DETAIL_FREE", 1},    {"NT_TBL_DESCRIPTION", 1},
        {"NT_TBL_PICTURE", 1},     {"NT_TBL_COMPARE_MAIN", 1},    {"NT_TBL_COMPANY", 40},       {"NT_TBL_EVALUATE_RESULT", 20},
        {"PL_TBL_PROJECT_MOC", 20}, {"PL_TBL_PROJECT_PRIVATE", 20}, {"NT_TBL_COMPARE_DETAIL", 50}, {"NT_TBL_CONST_CONDITION", 6},
        {"NT_TBL_INFO_IMAGES", 7},
    };
    return rows.value(table.toUpper());
}

qint64 tableMemberLimit(const QString& table)
{
    const store::schema::TableDef* def = store::schema::findTable(table);
    if (!def)
        return 0;
    qint64 rowBytes = qint64(sizeof "<ROW/>\n");
    for (const store::FieldDef& field : def->fields)
        rowBytes += largestAttributeBytes(field);
    const qint64 kinds = table.compare(QLatin1String("NT_TBL_COMPARE_DETAIL"), Qt::CaseInsensitive) == 0 ? 2 : 1;
    return kHeaderBytes + kRegistrations * rowsPerRegistration(def->name) * kinds * rowBytes;
}

qint64 photoMemberLimit()
{
    return photos::kMaxKiloBytes * 1024 - 1;
}

bool extractSubmission(const QString& path, const QString& folder, QString* error)
{
    QHash<QString, QString> tableOfMember; // lower-case member name → table
    for (const QString& table : registrationTableNames())
        tableOfMember.insert(memberName(table).toLower(), table);
    const auto tableLimit = [&](const QString& name) -> qint64 {
        const QString key = name.toLower();
        if (tableOfMember.contains(key))
            return tableMemberLimit(tableOfMember.value(key));
        return key == kOldDataMember.toLower() ? kOldDataLimit : -1;
    };
    if (!extractChosen(path, folder, tableLimit, [](const QString& name) { return name; }, nullptr, error))
        return false;

    const QSet<QString> photoNames = namedPhotos(folder);
    const auto photoLimit = [&](const QString& name) { return photoNames.contains(name.toLower()) ? photoMemberLimit() : qint64(-1); };
    const auto shownPhoto = [](const QString& name) { return QStringLiteral("写真 ") + name; };
    return extractChosen(path, folder, photoLimit, shownPhoto, nullptr, error);
}

QString photoRefusal(const QString& folder)
{
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.jpg"), QStringLiteral("*.gif"), QStringLiteral("*.jpeg")},
                                                     QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : names) {
        const QString refusal = photos::selectionRefusal(QDir(folder).filePath(name));
        if (!refusal.isEmpty())
            return QStringLiteral("写真 %1 は取り込めません。\r\n%2").arg(name, refusal);
    }
    return {};
}

QString rowCountRefusal(const QString& table, const QList<QVector<QVariant>>& rows, int kindField)
{
    const int most = rowsPerRegistration(table);
    if (most <= 0 || rows.size() <= most)
        return {};
    QHash<QString, int> perKind;
    for (const QVector<QVariant>& row : rows) {
        if (++perKind[kindField >= 0 ? row.value(kindField).toString().trimmed() : QString()] > most)
            return QStringLiteral("%1 に %2 行あります。1 件の登録に入力できるのは%3 %4 行までです。")
                .arg(memberName(table))
                .arg(rows.size())
                .arg(kindField >= 0 ? QStringLiteral("種類ごとに") : QString())
                .arg(most);
    }
    return {};
}

} // namespace submission
