#include "store/Draft.h"

#include "store/DurableFiles.h"
#include "store/Schema.h"
#include "store/TableFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace store {

QVariant TableRows::value(int row, const QString& field) const
{
    if (row < 0 || row >= rows.size())
        return {};
    for (int f = 0; f < fields.size(); ++f) {
        if (fields.at(f).name.compare(field, Qt::CaseInsensitive) == 0)
            return f < rows.at(row).size() ? rows.at(row).at(f) : QVariant();
    }
    return {};
}

const TableRows* Draft::rowsOf(const QString& table) const
{
    for (const TableRows& rows : tables) {
        if (rows.table == table)
            return &rows;
    }
    return nullptr;
}

QString Draft::techTitle() const
{
    const TableRows* main = rowsOf(QStringLiteral("NT_TBL_MAIN"));
    return main ? main->value(0, QStringLiteral("TECH_TITLE")).toString() : QString();
}

namespace drafts {

namespace {

const QByteArray kMagic = "VORDELL-DRAFT";
const QString kSuffix = QStringLiteral(".draft");
const QString kTemporarySuffix = QStringLiteral(".draft.part");

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A registration number as a file name: characters other than letters, digits and "-" become "_".
QString fileNameOf(const QString& number)
{
    QString name;
    for (const QChar c : number.trimmed())
        name += (c.isLetterOrNumber() && c.unicode() < 128) || c == QLatin1Char('-') ? c : QLatin1Char('_');
    return name.isEmpty() ? QStringLiteral("_") : name;
}

// Reads one header line "key<TAB>value" at `*at`.
bool headerLine(const QByteArray& bytes, qsizetype* at, const QByteArray& key, QByteArray* value)
{
    const qsizetype end = bytes.indexOf('\n', *at);
    if (end < 0)
        return false;
    const QByteArray line = bytes.mid(*at, end - *at);
    if (!line.startsWith(key + '\t'))
        return false;
    *value = line.mid(key.size() + 1);
    *at = end + 1;
    return true;
}

} // namespace

QString folder(const ProgramFolder& programFolder)
{
    return programFolder.path(QStringLiteral("FLATT_FILES\\Drafts"));
}

QString discardedFolder(const ProgramFolder& programFolder)
{
    return programFolder.path(QStringLiteral("FLATT_FILES\\Drafts\\Discarded"));
}

QString damagedFolder(const ProgramFolder& programFolder)
{
    return programFolder.path(QStringLiteral("FLATT_FILES\\Drafts\\Damaged"));
}

QString pathFor(const ProgramFolder& programFolder, const QString& number)
{
    return QDir(folder(programFolder)).filePath(fileNameOf(number) + kSuffix);
}

QStringList list(const ProgramFolder& programFolder)
{
    QStringList paths;
    const QFileInfoList entries = QDir(folder(programFolder)).entryInfoList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (entry.isFile() && !entry.isSymLink())
            paths << entry.filePath();
    }
    return paths;
}

QByteArray serialise(const Draft& draft)
{
    QByteArray out;
    out += kMagic + '\t' + QByteArray::number(kLayoutVersion) + '\n';
    out += "number\t" + draft.number.trimmed().toUtf8() + '\n';
    out += QByteArray("new\t") + (draft.isNew ? "1" : "0") + '\n';
    out += "page\t" + QByteArray::number(draft.page) + '\n';
    out += "changed\t" + draft.changed.toUTC().toString(Qt::ISODateWithMs).toLatin1() + '\n';
    for (const TableRows& table : draft.tables) {
        QByteArray packet;
        QBuffer buffer(&packet);
        buffer.open(QIODevice::WriteOnly);
        std::vector<const QVector<QVariant>*> rows;
        rows.reserve(size_t(table.rows.size()));
        for (const QVector<QVariant>& row : table.rows)
            rows.push_back(&row);
        TableFile::write(&buffer, table.fields, rows, nullptr);
        out += "table\t" + table.table.toLatin1() + '\t' + QByteArray::number(packet.size()) + '\n';
        out += packet;
        out += '\n';
    }
    out += "end\n";
    return out;
}

bool parse(const QByteArray& bytes, const QString& shownPath, Draft* draft, QString* error)
{
    const auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(shown(shownPath), why);
        return false;
    };
    if (bytes.size() > kMaxDraftBytes)
        return fail(QStringLiteral("下書きが大きすぎます (上限 %1 バイト)").arg(kMaxDraftBytes));
    qsizetype at = 0;
    QByteArray value;
    if (!headerLine(bytes, &at, kMagic, &value))
        return fail(QStringLiteral("下書きのファイルではありません"));
    if (value != QByteArray::number(kLayoutVersion))
        return fail(QStringLiteral("この版では読めない形式の下書きです (形式 %1)").arg(QString::fromLatin1(value.left(10))));
    Draft result;
    if (!headerLine(bytes, &at, "number", &value) || value.isEmpty() || value.size() > 40)
        return fail(QStringLiteral("登録番号がありません"));
    result.number = QString::fromUtf8(value);
    if (!headerLine(bytes, &at, "new", &value) || (value != "0" && value != "1"))
        return fail(QStringLiteral("新規の印が読めません"));
    result.isNew = value == "1";
    bool ok = false;
    if (!headerLine(bytes, &at, "page", &value) || (result.page = value.toInt(&ok), !ok) || result.page < 0 || result.page > 16)
        return fail(QStringLiteral("ページが読めません"));
    if (!headerLine(bytes, &at, "changed", &value) || !(result.changed = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODateWithMs)).isValid())
        return fail(QStringLiteral("変更時刻が読めません"));
    result.changed = result.changed.toLocalTime();
    QStringList seen;
    while (true) {
        if (bytes.mid(at) == "end\n")
            break;
        const qsizetype end = bytes.indexOf('\n', at);
        const QList<QByteArray> parts = end < 0 ? QList<QByteArray>() : bytes.mid(at, end - at).split('\t');
        if (parts.size() != 3 || parts.at(0) != "table")
            return fail(QStringLiteral("%1 バイト目: 表の見出しがありません (途中で切れています)").arg(at + 1));
        const QString name = QString::fromLatin1(parts.at(1));
        const schema::TableDef* def = schema::findTable(name);
        if (!def || def->group != schema::TableGroup::Registration || seen.contains(name))
            return fail(QStringLiteral("%1 バイト目: 登録の表ではありません").arg(at + 1));
        seen << name;
        const qsizetype size = parts.at(2).toLongLong(&ok);
        const qsizetype from = end + 1;
        if (!ok || size < 0 || from + size + 1 > bytes.size() || bytes.at(from + size) != '\n')
            return fail(QStringLiteral("%1 の行が途中で切れています").arg(name));
        TableRows table;
        table.table = name;
        QString why;
        if (!TableFile::parse(bytes.mid(from, size), shownPath + QLatin1Char('#') + name, &table.fields, &table.rows, &why)) {
            if (error)
                *error = why;
            return false;
        }
        result.tables.append(table);
        at = from + size + 1;
    }
    if (!result.rowsOf(QStringLiteral("NT_TBL_MAIN")) || result.rowsOf(QStringLiteral("NT_TBL_MAIN"))->rows.size() != 1)
        return fail(QStringLiteral("登録の行がありません"));
    *draft = result;
    return true;
}

bool read(const QString& path, Draft* draft, QString* error)
{
    QFile file(path);
    const QFileInfo info(path);
    if (!info.isFile()) {
        if (error)
            *error = QStringLiteral("%1: 通常のファイルではありません").arg(shown(path));
        return false;
    }
    if (info.size() > kMaxDraftBytes)
        return parse(QByteArray(kMaxDraftBytes + 1, '\0'), path, draft, error);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: ファイルを開けません (%2)").arg(shown(path), file.errorString());
        return false;
    }
    return parse(file.read(kMaxDraftBytes + 1), path, draft, error);
}

bool write(const QString& path, const QByteArray& bytes, QString* error)
{
    const QString folderPath = QFileInfo(path).absolutePath();
    const auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("%1: 下書きを書き込めません (%2)").arg(shown(path), why);
        return false;
    };
    if (!QDir().mkpath(folderPath))
        return fail(QStringLiteral("フォルダーを作れません"));
    const QString temporary = path.chopped(kSuffix.size()) + kTemporarySuffix;
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(file.errorString());
    const bool written = file.write(bytes) == bytes.size() && flushToDisk(&file);
    file.close();
    if (!written) {
        const QString why = file.errorString();
        QFile::remove(temporary);
        return fail(why);
    }
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temporary);
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (!syncFolder(folderPath, nullptr))
        return fail(QStringLiteral("フォルダーを同期できません"));
    return true;
}

bool remove(const QString& path)
{
    QFile::remove(path.chopped(kSuffix.size()) + kTemporarySuffix);
    const bool removed = !QFileInfo::exists(path) || QFile::remove(path);
    syncFolder(QFileInfo(path).absolutePath(), nullptr);
    return removed;
}

bool moveAside(const QString& path, const QString& toFolder, QString* movedTo, QString* error)
{
    if (!QDir().mkpath(toFolder)) {
        if (error)
            *error = QStringLiteral("%1: フォルダーを作れません").arg(shown(toFolder));
        return false;
    }
    const QFileInfo source(path);
    QString target = QDir(toFolder).filePath(source.fileName());
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = QDir(toFolder).filePath(source.completeBaseName() + QStringLiteral("-%1.").arg(n) + source.suffix());
    if (!QFile::rename(path, target)) {
        if (error)
            *error = QStringLiteral("%1: %2 へ移せません").arg(shown(path), shown(toFolder));
        return false;
    }
    syncFolder(toFolder, nullptr);
    syncFolder(source.absolutePath(), nullptr);
    if (movedTo)
        *movedTo = target;
    return true;
}

QList<TableRows> savedRows(const ProgramFolder& programFolder, const QString& number, QString* error)
{
    QList<TableRows> tables;
    QStringList comparisonIds;
    for (const schema::TableDef& def : schema::registrationTables()) {
        TableRows all;
        all.table = def.name;
        QString why;
        if (!TableFile::read(programFolder.tablePath(def.name), &all.fields, &all.rows, &why) && error && error->isEmpty())
            *error = why;
        const bool byComparison = def.name == QLatin1String("NT_TBL_COMPARE_DETAIL");
        TableRows mine{def.name, all.fields, {}};
        for (int row = 0; row < all.rows.size(); ++row) {
            const QString key = all.value(row, byComparison ? QStringLiteral("REC_ID") : QStringLiteral("REG_NO")).toString().trimmed();
            if (byComparison ? comparisonIds.contains(key) : key == number.trimmed())
                mine.rows.append(all.rows.at(row));
        }
        if (def.name == QLatin1String("NT_TBL_COMPARE_MAIN")) {
            for (int row = 0; row < mine.rows.size(); ++row)
                comparisonIds << mine.value(row, QStringLiteral("REC_ID")).toString().trimmed();
        }
        tables.append(mine);
    }
    return tables;
}

} // namespace drafts

} // namespace store
