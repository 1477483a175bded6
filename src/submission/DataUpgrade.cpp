#include "submission/DataUpgrade.h"

#include "store/DataModule.h"
#include "store/TableFile.h"
#include "util/NumberText.h"
#include "util/UserInteraction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace submission {

const QString kUpgradeFailed =
    QStringLiteral("データファイルのバージョンアップに失敗しました。\r\nデータの取り込みをもう一度やり直して下さい。");
const QString kUpgradeNotice = QStringLiteral(
    "このデータは古いバージョンのデータです。\r\nデータのバージョンアップを行います。\r\nバージョンアップの内容はヘルプを参照して下さい。");
const QString kDataTooNew = QStringLiteral("このデータを取り込めません。\r\nVORDELLのバージョンアップを行って下さい。");

namespace {

constexpr int kOldestVersion = 7000;

bool readTableFile(const QString& path, QList<store::FieldDef>* fields, QList<QVector<QVariant>>* rows)
{
    return QFileInfo(path).isFile() && store::TableFile::read(path, fields, rows, nullptr);
}

void stampMain(store::DataModule& dm, const QString& field, const QString& value)
{
    store::Table* main = dm.table(QStringLiteral("NT_TBL_MAIN"));
    if (!main->isEditing()) {
        if (main->isEmpty())
            main->append();
        else
            main->edit();
    }
    main->field(field).setString(value);
    main->post();
}

// A template of Zero\ found whatever the case of its name, made writable; empty when missing.
QString FindTemplateFile(const QString& folder, const QString& name)
{
    const QString path = store::ProgramFolder::resolveIn(folder, name);
    if (!QFileInfo(path).isFile())
        return QString();
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    return path;
}

bool copyOver(const QString& from, const QString& to)
{
    if (from.isEmpty())
        return false;
    if (QFileInfo::exists(to)) {
        QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::WriteOwner);
        if (!QFile::remove(to))
            return false;
    }
    return QFile::copy(from, to);
}

} // namespace

QString ReadDataVersion(const QString& mainTableFile)
{
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> rows;
    if (!readTableFile(mainTableFile, &fields, &rows) || rows.isEmpty())
        return QString();
    for (int f = 0; f < fields.size(); ++f) {
        if (fields.at(f).name.compare(QLatin1String("REG_VERSION"), Qt::CaseInsensitive) != 0)
            continue;
        const QVariant value = rows.first().value(f);
        QString text = value.isNull() ? QString()
            : value.typeId() == QMetaType::Double ? numbertext::format(value.toDouble())
                                                    : value.toString().trimmed();
        bool whole = false;
        const qint64 number = text.toLongLong(&whole);
        if (whole && number < kOldestVersion)
            text.clear();
        return text;
    }
    return QString();
}

void StampDataVersion(store::DataModule& dm)
{
    QString version = QString::number(CurrentDataVersion());
    if (version == QString::number(kOldestVersion))
        version.clear();
    stampMain(dm, QStringLiteral("REG_VERSION"), version);
}

void StampDataType(store::DataModule& dm)
{
    stampMain(dm, QStringLiteral("DATA_TYPE_CODE"), QStringLiteral("1"));
}

QString DataUpgrade::folderFile(const QString& name) const
{
    return store::ProgramFolder::resolveIn(m_folder, name);
}

bool DataUpgrade::sameFieldCount(const QString& table) const
{
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> rows;
    if (!readTableFile(folderFile(table + QStringLiteral(".cds")), &fields, &rows))
        return false;
    return fields.size() == m_dm.table(table)->fieldCount();
}

bool DataUpgrade::DetailAndCompanyCurrent() const
{
    return sameFieldCount(QStringLiteral("NT_TBL_DETAIL")) && sameFieldCount(QStringLiteral("NT_TBL_COMPANY"));
}

bool DataUpgrade::LayoutsCurrent() const
{
    return sameFieldCount(QStringLiteral("NT_TBL_MAIN")) && DetailAndCompanyCurrent();
}

QString DataUpgrade::EnsureFreeItemFile()
{
    const QString source = FindTemplateFile(m_dm.folder().path(QStringLiteral("Zero")), QStringLiteral("NT_TBL_DETAIL_FREE.cds"));
    if (!copyOver(source, folderFile(QStringLiteral("NT_TBL_DETAIL_FREE.cds"))))
        return kUpgradeFailed;
    return QString();
}

QString DataUpgrade::RebuildTables(const QStringList& tables)
{
    const QString zero = m_dm.folder().path(QStringLiteral("Zero"));
    // First every template is put beside its table as "Z" + name, then the rows are carried over.
    for (const QString& table : tables) {
        const QString name = table + QStringLiteral(".cds");
        copyOver(FindTemplateFile(zero, name), QDir(m_folder).filePath(QStringLiteral("Z") + name));
    }
    for (const QString& table : tables) {
        const QString name = table + QStringLiteral(".cds");
        const QString oldFile = folderFile(name);
        const QString newFile = QDir(m_folder).filePath(QStringLiteral("Z") + name);
        if (!QFileInfo(oldFile).isFile() || !QFileInfo(newFile).isFile() || m_dm.CarryOverTable(oldFile, newFile, false) != 0)
            return kUpgradeFailed;
        if (!QFile::remove(oldFile) || !QFile::rename(newFile, oldFile))
            return kUpgradeFailed;
    }
    return QString();
}

QString DataUpgrade::UpgradeFrom7000()
{
    if (DetailAndCompanyCurrent())
        return QString();
    return RebuildTables({QStringLiteral("NT_TBL_DETAIL"), QStringLiteral("NT_TBL_COMPANY")});
}

QString DataUpgrade::UpgradeFrom7100()
{
    if (LayoutsCurrent())
        return QString();
    return RebuildTables({QStringLiteral("NT_TBL_MAIN"), QStringLiteral("NT_TBL_DETAIL"), QStringLiteral("NT_TBL_COMPANY")});
}

QString DataUpgrade::UpgradeFrom7200()
{
    QString result = EnsureFreeItemFile();
    if (result.isEmpty() && !LayoutsCurrent())
        result = RebuildTables({QStringLiteral("NT_TBL_MAIN"), QStringLiteral("NT_TBL_DETAIL"), QStringLiteral("NT_TBL_COMPANY")});
    return result;
}

QString DataUpgrade::UpgradeFrom7300()
{
    QString result = EnsureFreeItemFile();
    if (result.isEmpty() && !LayoutsCurrent())
        result = RebuildTables({QStringLiteral("NT_TBL_MAIN")});
    return result;
}

QString DataUpgrade::UpgradeFrom7400()
{
    QString result = EnsureFreeItemFile();
    if (result.isEmpty() && !LayoutsCurrent()) {
        result = RebuildTables({QStringLiteral("NT_TBL_DETAIL")});
        if (result.isEmpty())
            result = EnsureFreeItemFile();
    }
    return result;
}

QString DataUpgrade::UpgradeFrom7500()
{
    QString result = EnsureFreeItemFile();
    if (result.isEmpty() && !LayoutsCurrent())
        result = RebuildTables({QStringLiteral("NT_TBL_DETAIL"), QStringLiteral("NT_TBL_DESCRIPTION"), QStringLiteral("NT_TBL_PICTURE")});
    return result;
}

QString DataUpgrade::UpgradeOtherVersion()
{
    return EnsureFreeItemFile();
}

QString DataUpgrade::runStep(int step)
{
    switch (step) {
    case 1: return UpgradeFrom7000();
    case 2: return UpgradeFrom7100();
    case 3: return UpgradeFrom7200();
    case 4: return UpgradeFrom7300();
    case 5: return UpgradeFrom7400();
    case 6: return UpgradeFrom7500();
    default: return UpgradeOtherVersion();
    }
}

bool DataUpgrade::ReportUpgradeStep(const QString& message)
{
    if (message.isEmpty()) {
        m_ui.warn(kProgramTitle, kUpgradeNotice);
        return true;
    }
    m_ui.error(kProgramTitle, message);
    return false;
}

bool DataUpgrade::UpgradeImportedData(const QString& folder)
{
    m_folder = folder;
    const QString current = QString::number(CurrentDataVersion());
    QString version = ReadDataVersion(folderFile(QStringLiteral("NT_TBL_MAIN.cds")));
    if (version == current)
        return true;
    if (version.isEmpty())
        version = QString::number(kOldestVersion);
    bool whole = false;
    const qint64 number = version.toLongLong(&whole);
    if (!whole) {
        // A version that is not a whole number cannot be placed among the known ones.
        m_ui.error(kProgramTitle, kUpgradeFailed);
        return false;
    }

    static const QList<std::pair<qint64, int>> firstStepOf = {{7000, 2}, {7100, 2}, {7200, 3}, {7300, 4}, {7400, 5}, {7500, 6}};
    int first = 0;
    for (const auto& [known, step] : firstStepOf) {
        if (known == number)
            first = step;
    }
    QList<int> steps;
    if (number == kOldestVersion) {
        const QString result = UpgradeFrom7000();
        if (!result.isEmpty()) {
            ReportUpgradeStep(result);
            return false;
        }
    }
    if (first > 0) {
        for (int step = first; step <= 6; ++step)
            steps.append(step);
    } else if (number > CurrentDataVersion()) {
        m_ui.error(kProgramTitle, kDataTooNew);
        return false;
    } else {
        steps.append(7);
    }
    // Every step of the sequence runs, also after an earlier one failed.
    bool success = true;
    for (int step : steps) {
        if (!ReportUpgradeStep(runStep(step)))
            success = false;
    }
    return success;
}

} // namespace submission
