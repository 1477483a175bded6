#include "submission/SubmissionFiles.h"

#include "store/ProgramFolder.h"
#include "store/TableFile.h"
#include "util/FileWriting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace submission {

const QString kNotSubmissionData = QStringLiteral("新技術データではありません。");
const QString kDamagedSubmissionFile = QStringLiteral("提出用ファイル %1 は壊れているため、取り込めません。");
const QString kOldVersionData = QStringLiteral(
    "このファイルは旧バージョンの新技術データです。\r\n\r\n旧バージョンの新技術データを取り込む場合は、「NewTech.lzh」を解凍後、"
    "再度取り込みボタンを押して下さい。\r\nその際、ファイルの種類を「旧新技術データ」に変更し、「NewTech.nt6」を取り込んで下さい。");

const QStringList& registrationTableNames()
{
    static const QStringList names = {"NT_TBL_MAIN",           "NT_TBL_DETAIL",        "NT_TBL_DETAIL_FREE",     "NT_TBL_COMPANY",
                                      "NT_TBL_DESCRIPTION",    "NT_TBL_PICTURE",       "NT_TBL_CONST_CONDITION", "NT_TBL_COMPARE_MAIN",
                                      "NT_TBL_COMPARE_DETAIL", "NT_TBL_INFO_IMAGES",   "NT_TBL_EVALUATE_RESULT", "PL_TBL_PROJECT_MOC",
                                      "PL_TBL_PROJECT_PRIVATE"};
    return names;
}

QString memberName(const QString& table)
{
    return table + QStringLiteral(".Cds");
}

bool SetZeroFiles(const store::ProgramFolder& folder, QString* error)
{
    const QString temp = folder.path(QStringLiteral("Temp"));
    QDir().mkpath(temp);
    for (const QString& table : registrationTableNames()) {
        const QString target = folder.tempPath(memberName(table));
        if (QFileInfo::exists(target)) {
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
            QFile::remove(target);
        }
        QFile in(folder.templatePath(table));
        if (!in.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("%1: ファイルを開けません (%2)").arg(QDir::toNativeSeparators(in.fileName()), in.errorString());
            return false;
        }
        // Unbuffered: each write reaches the system, which tells why one fails.
        QFile out(target);
        QString why;
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) || !filewriting::copyAll(&in, &out, &why)) {
            *error = QStringLiteral("%1: 書き込みに失敗しました (%2)").arg(QDir::toNativeSeparators(target), why.isEmpty() ? out.errorString() : why);
            out.remove();
            return false;
        }
    }
    return true;
}

void DeleteTempFiles(const store::ProgramFolder& folder)
{
    const QDir temp(folder.path(QStringLiteral("Temp")));
    for (const QFileInfo& entry : temp.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile::setPermissions(entry.filePath(), entry.permissions() | QFileDevice::WriteOwner);
        QFile::remove(entry.filePath());
    }
}

QString CheckSubmissionFiles(const QString& folder)
{
    bool complete = true;
    for (const QString& table : registrationTableNames()) {
        if (table == QLatin1String("NT_TBL_DETAIL_FREE"))
            continue;
        if (!QFileInfo(store::ProgramFolder::resolveIn(folder, memberName(table))).isFile())
            complete = false;
    }
    if (complete)
        return QString();
    if (QFileInfo(store::ProgramFolder::resolveIn(folder, QStringLiteral("NewTech.nt6"))).isFile())
        return kOldVersionData;
    return kNotSubmissionData;
}

QString StripFileNameChars(const QString& text)
{
    static const QString removed = QStringLiteral("\\/:,;*?\"<>|￥／：，；＊？”＜＞｜");
    QString result = text;
    for (const QChar c : removed)
        result.remove(c);
    return result;
}

QString ProposedFileName(const QString& techTitle)
{
    QString name = StripFileNameChars(techTitle);
    // A title that came with line breaks or tabs (an import, an older paste) gives no file name
    // with control characters in it.
    name.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    name = name.trimmed();
    name.replace(QLatin1Char('%'), QStringLiteral("％"));
    name.replace(QLatin1Char('\''), QStringLiteral("’"));
    return name;
}

QString DataEditionCode(const QString& folder)
{
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> rows;
    if (!store::TableFile::read(store::ProgramFolder::resolveIn(folder, QStringLiteral("NT_TBL_MAIN.cds")), &fields, &rows, nullptr))
        return QStringLiteral("ks");
    int regNo = -1;
    for (int f = 0; f < fields.size(); ++f) {
        if (fields.at(f).name.compare(QLatin1String("REG_NO"), Qt::CaseInsensitive) == 0)
            regNo = f;
    }
    if (regNo < 0 || rows.isEmpty())
        return QStringLiteral("ks");
    const QString number = rows.first().value(regNo).toString();
    return number.mid(2, 1).toUpper() == QLatin1String("K") ? QStringLiteral("kw") : QStringLiteral("ks");
}

} // namespace submission
