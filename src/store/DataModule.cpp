#include "store/DataModule.h"

#include "comparison/CostRate.h"
#include "store/BackupGenerations.h"
#include "store/ChangedTables.h"
#include "store/DataSource.h"
#include "store/DurableFiles.h"
#include "store/FolderLock.h"
#include "store/RegistrationKeys.h"
#include "store/RegistrationNumbers.h"
#include "store/SaveTimes.h"
#include "store/Schema.h"
#include "store/TableFile.h"
#include "store/WriteSet.h"
#include "util/NumberText.h"
#include "util/PostCode.h"
#include "util/UserInteraction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>
#include <cmath>
#include <limits>

namespace store {

namespace {

const QString kBrokenDataQuestion = QStringLiteral("データファイルが壊れている可能性があります。\r\nシステムの自動バックアップデータを読み込みますか？");
const QString kEndingMessage = QStringLiteral("システムを終了します。");
const QString kNoBackupMessage = QStringLiteral("バックアップデータが見つかりません。\r\nシステムを終了します。");
const QString kInstallFailedMessage = QStringLiteral("ファイルのインストールが不完全です。\r\n入力システムを再インストールして下さい。");
const QString kErrorEvasionMessage = QStringLiteral(
    "選択データにエラーが発生しました。\r\n\r\nすべての写真ファイルを選択し直し、入力データを再確認してから、再度提出用ファイル作成を実行してください。");
const QString kNumbersExhaustedMessage = QStringLiteral(
    "登録番号（XXK-000001～XXK-999999）をすべて使用しました。\r\n新しい登録番号を割り当てられないため、新規作成できません。");

const QString kFolderInUseMessage = QStringLiteral(
    "データはほかのプログラムで使用中です。\r\n先に起動しているプログラムを終了してから、もう一度お試しください。");

const QString kReservedNumber = QStringLiteral("XXK-990001");

// The order in which the twelve files are scanned for local numbers.
const QStringList kNumberScanTables = {
    QStringLiteral("NT_TBL_MAIN"),        QStringLiteral("NT_TBL_DETAIL"),          QStringLiteral("NT_TBL_DETAIL_FREE"),
    QStringLiteral("NT_TBL_DESCRIPTION"), QStringLiteral("NT_TBL_PICTURE"),         QStringLiteral("NT_TBL_COMPANY"),
    QStringLiteral("NT_TBL_EVALUATE_RESULT"), QStringLiteral("NT_TBL_CONST_CONDITION"), QStringLiteral("NT_TBL_COMPARE_MAIN"),
    QStringLiteral("PL_TBL_PROJECT_PRIVATE"), QStringLiteral("PL_TBL_PROJECT_MOC"),  QStringLiteral("NT_TBL_INFO_IMAGES"),
};

QString componentName(const QString& name)
{
    return name.startsWith(QLatin1String("Cds"), Qt::CaseInsensitive) ? name : QStringLiteral("Cds") + name;
}

// Makes a file or folder writable and visible again, as the folder listing does before copying.
void clearReadOnly(const QString& path)
{
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner | QFileDevice::WriteUser);
}

// A copy on the disk, with its name, before the file it keeps is replaced.
bool keepDurably(const QString& from, const QString& to, QString* error)
{
    if (QFileInfo::exists(to)) {
        clearReadOnly(to);
        QFile::remove(to);
    }
    const QString folder = QFileInfo(to).absolutePath();
    const QString backUp = QFileInfo(folder).absolutePath();
    return copyDurably(from, to, error) && syncFolder(folder, error) && syncFolder(backUp, error)
        && syncFolder(QFileInfo(backUp).absolutePath(), error);
}

bool hasValueAfter(Table* table, int offset)
{
    for (int f = offset + 1; f < table->fieldCount(); ++f) {
        if (!table->field(f).asString().isEmpty())
            return true;
    }
    return false;
}

// True when a row the table shows (in browse mode) has no value after the first offset + 1 fields;
// read without moving the cursor, so that the controls showing the table are not reloaded.
bool showsRowWithoutValues(Table* table, int offset)
{
    for (int row = 0; row < table->recordCount(); ++row) {
        bool empty = true;
        for (int f = offset + 1; f < table->fieldCount() && empty; ++f)
            empty = valueText(table->fields().at(f), table->visibleValue(row, f)).isEmpty();
        if (empty)
            return true;
    }
    return false;
}

bool showsRow(Table* table)
{
    return table->isActive() && (table->recordCount() > 0 || table->state() == Table::State::Insert);
}

} // namespace

DataModule::DataModule(const QString& programFolder, UserInteraction* interaction, QObject* parent)
    : QObject(parent)
    , m_folder(programFolder)
    , m_interaction(interaction)
    , m_clock([] { return QDateTime::currentDateTime(); })
{
    setObjectName(QStringLiteral("DM1"));
    createTables();
    wireEvents();
    lockFolder();
}

DataModule::~DataModule()
{
    // Views and clones first, then the tables they share rows with.
    for (auto it = m_tables.rbegin(); it != m_tables.rend(); ++it)
        (*it)->disconnect(this);
}

// ---------------------------------------------------------------- tables

Table* DataModule::addTable(const QString& name)
{
    auto table = std::make_unique<Table>(name.startsWith(QLatin1String("Cds")) ? name.mid(3) : name, this);
    table->setObjectName(componentName(name));
    Table* raw = table.get();
    m_byName.insert(componentName(name).toUpper(), raw);
    m_tables.push_back(std::move(table));
    return raw;
}

Table* DataModule::table(const QString& name) const
{
    return m_byName.value(componentName(name).toUpper());
}

DataSource* DataModule::dataSource(const QString& name) const
{
    QString key = name;
    if (key.startsWith(QLatin1String("Ds"), Qt::CaseInsensitive))
        key = key.mid(2);
    return m_sources.value(componentName(key).toUpper());
}

void DataModule::createTables()
{
    const auto declare = [this](const schema::TableDef& def) {
        Table* t = addTable(def.name);
        if (def.bindsDeclaredFields)
            t->setDeclaredFields(def.fields);
        t->setInitialRows(def.initialRows);
        m_sources.insert(t->objectName().toUpper(), new DataSource(t, this));
    };
    for (const schema::TableDef& def : schema::registrationTables())
        declare(def);
    for (const schema::TableDef& def : schema::lookupTables())
        declare(def);
    for (const schema::ViewDef& view : schema::views()) {
        Table* t = addTable(view.name);
        m_sources.insert(t->objectName().toUpper(), new DataSource(t, this));
    }
    for (const schema::WorkingDef& working : schema::workingDatasets()) {
        Table* t = addTable(working.name);
        const schema::TableDef* def = working.layoutOf.isEmpty() ? nullptr : schema::findTable(working.layoutOf);
        if (def && def->bindsDeclaredFields) {
            QList<FieldDef> stored;
            for (const FieldDef& field : def->fields)
                stored.append(field);
            t->setDeclaredFields(stored);
        }
    }
    // The built-in rows of the kinds of project are in effect from the start.
    Table* projectTypes = table(QStringLiteral("PL_STBL_PJT_TYPE"));
    projectTypes->createDataSet();
    projectTypes->setIndexFieldNames(QStringLiteral("CD"));
}

QList<Table*> DataModule::registrationTables() const
{
    QList<Table*> tables;
    for (const schema::TableDef& def : schema::registrationTables())
        tables.append(table(def.name));
    return tables;
}

QList<Table*> DataModule::lookupTables() const
{
    QList<Table*> tables;
    for (const schema::TableDef& def : schema::lookupTables())
        tables.append(table(def.name));
    return tables;
}

QList<Table*> DataModule::registrationDetailTables() const
{
    QList<Table*> tables;
    for (const char* name : {"NT_TBL_DETAIL", "NT_TBL_DESCRIPTION", "NT_TBL_PICTURE", "NT_TBL_COMPANY", "NT_TBL_EVALUATE_RESULT",
                             "PL_TBL_PROJECT_MOC", "PL_TBL_PROJECT_PRIVATE", "NT_TBL_COMPARE_MAIN", "NT_TBL_CONST_CONDITION"})
        tables.append(table(QLatin1String(name)));
    for (int n = 1; n <= 6; ++n)
        tables.append(table(QStringLiteral("NT_TBL_CONST_CONDITION_%1").arg(n)));
    tables.append(table(QStringLiteral("NT_TBL_INFO_IMAGES")));
    for (int n = 1; n <= 7; ++n)
        tables.append(table(QStringLiteral("NT_TBL_INFO_IMAGES%1").arg(n)));
    tables.append(table(QStringLiteral("NT_TBL_DETAIL_FREE")));
    return tables;
}

// ---------------------------------------------------------------- events

void DataModule::wireEvents()
{
    const auto on = [this](const QString& name, void (Table::*signal)(), std::function<void()> handler) {
        connect(table(name), signal, this, std::move(handler));
    };
    const auto modified = [this] { emit MarkModified(); };
    const auto saved = [this] { emit MarkSaved(); };
    for (const auto& t : m_tables)
        connect(t.get(), &Table::postFailed, this, [this](const QString& message) { m_interaction->error(kProgramTitle, message); });
    const auto cmpCancel = [this](const QString& name) { return [this, name] { CdsCmpAfterCancel(table(name)); }; };

    on(QStringLiteral("NT_TBL_MAIN"), &Table::afterPost, saved);
    on(QStringLiteral("NT_TBL_MAIN"), &Table::afterCancel, saved);

    on(QStringLiteral("NT_TBL_DETAIL"), &Table::afterInsert, modified);
    on(QStringLiteral("NT_TBL_DETAIL"), &Table::afterEdit, modified);
    on(QStringLiteral("NT_TBL_DETAIL"), &Table::afterPost, saved);
    on(QStringLiteral("NT_TBL_DETAIL"), &Table::afterCancel, cmpCancel(QStringLiteral("NT_TBL_DETAIL")));

    on(QStringLiteral("NT_TBL_DESCRIPTION"), &Table::afterInsert, [this] { DescriptionAfterEdit(); });
    on(QStringLiteral("NT_TBL_DESCRIPTION"), &Table::afterEdit, [this] { DescriptionAfterEdit(); });
    on(QStringLiteral("NT_TBL_DESCRIPTION"), &Table::afterPost, saved);
    on(QStringLiteral("NT_TBL_DESCRIPTION"), &Table::afterCancel, saved);

    for (const char* name : {"NT_TBL_PICTURE", "NT_TBL_DETAIL_FREE"}) {
        on(QLatin1String(name), &Table::afterInsert, modified);
        on(QLatin1String(name), &Table::afterEdit, modified);
        on(QLatin1String(name), &Table::afterPost, saved);
    }
    on(QStringLiteral("NT_TBL_PICTURE"), &Table::afterCancel, saved);

    on(QStringLiteral("NT_TBL_COMPARE_MAIN"), &Table::afterCancel, cmpCancel(QStringLiteral("NT_TBL_COMPARE_MAIN")));

    on(QStringLiteral("NT_TBL_COMPARE_DETAIL"), &Table::afterInsert, modified);
    on(QStringLiteral("NT_TBL_COMPARE_DETAIL"), &Table::afterEdit, modified);
    on(QStringLiteral("NT_TBL_COMPARE_DETAIL"), &Table::afterCancel, saved);

    on(QStringLiteral("NT_TBL_CONST_CONDITION"), &Table::afterInsert, modified);
    on(QStringLiteral("NT_TBL_CONST_CONDITION"), &Table::afterEdit, modified);
    on(QStringLiteral("NT_TBL_CONST_CONDITION"), &Table::afterPost, [this] { emit constConditionPosted(); });
    on(QStringLiteral("NT_TBL_CONST_CONDITION"), &Table::afterCancel, saved);

    QStringList views;
    for (int n = 1; n <= 6; ++n)
        views << QStringLiteral("NT_TBL_CONST_CONDITION_%1").arg(n);
    for (int n = 1; n <= 7; ++n)
        views << QStringLiteral("NT_TBL_INFO_IMAGES%1").arg(n);
    for (const QString& view : views) {
        on(view, &Table::afterInsert, modified);
        on(view, &Table::afterEdit, modified);
        on(view, &Table::afterPost, saved);
        on(view, &Table::afterCancel, saved);
    }
}

void DataModule::DescriptionAfterEdit()
{
    const bool silent = m_silentDescription;
    m_silentDescription = false;
    if (silent) {
        emit MarkSaved();
        table(QStringLiteral("NT_TBL_DESCRIPTION"))->post();
    } else {
        emit MarkModified();
    }
}

// ---------------------------------------------------------------- start

namespace {

// A table whose signals were held while it was set up tells its controls what it now shows.
void tellControls(Table* t)
{
    t->blockSignals(false);
    emit t->stateChanged();
    emit t->recordChanged();
}

QStringList column(const QList<FieldDef>& fields, const QList<QVector<QVariant>>& rows, const QString& field)
{
    QStringList values;
    int index = -1;
    for (int f = 0; f < fields.size() && index < 0; ++f) {
        if (fields.at(f).name.compare(field, Qt::CaseInsensitive) == 0)
            index = f;
    }
    if (index < 0)
        return values;
    values.reserve(rows.size());
    for (const QVector<QVariant>& row : rows)
        values.append(row.value(index).toString().trimmed());
    return values;
}

QString backupDate(const QString& generation)
{
    return QStringLiteral("\r\n（%1 のバックアップを読み込みます）")
        .arg(BackupGenerations::madeAt(generation).toString(QStringLiteral("yyyy/MM/dd hh:mm")));
}

} // namespace

bool DataModule::start()
{
    m_terminated = false;
    m_startError.clear();
    if (!lockFolder()) {
        // lockFolder() leaves what keeps the folder in the start's error; the user is told here.
        const QString problem = std::exchange(m_startError, QString());
        m_interaction->error(kProgramTitle, problem);
        m_terminated = true;
        return false;
    }
    // A set of writes that a crash interrupted is completed before anything is read.
    QString error;
    if (!WriteSet::recover(m_folder.root(), &error)) {
        endRun(error);
        return false;
    }
    BackupGenerations backups(m_folder.dataFolder());
    backups.recover();
    QDir().mkpath(backups.newest());

    QStringList entries;
    bool opened = OpenAllTables(&error);
    if (opened) {
        // A table that reads well but whose rows do not join is as broken as one that cannot be read.
        error = registrationKeyProblem([this](const QString& name, const QString& field) { return columnOf(table(name), field); });
        opened = error.isEmpty();
    }
    if (opened) {
        QStringList files;
        for (const QString& entry : listFolder(m_folder.dataFolder())) {
            if (!entry.endsWith(QLatin1Char('/')))
                files.append(entry);
        }
        QString why;
        if (!backups.refresh(files, m_clock(), &why))
            m_interaction->error(kProgramTitle, why);
    } else {
        m_startError = error;
        QString backupProblem;
        const QString usable = usableBackup(backups, &backupProblem);
        const bool restore = m_brokenDataAnswer.has_value()
            ? *m_brokenDataAnswer
            : m_interaction->askYesNo(kProgramTitle, usable.isEmpty() ? kBrokenDataQuestion : kBrokenDataQuestion + backupDate(usable));
        closeWithoutWriting();
        if (!restore) {
            m_interaction->error(kProgramTitle, kEndingMessage);
            m_terminated = true;
            return false;
        }
        if (usable.isEmpty()) {
            if (backupProblem.isEmpty())
                m_interaction->error(kProgramTitle, kNoBackupMessage);
            else
                endRun(backupProblem);
            m_terminated = true;
            return false;
        }
        if (!restoreFromBackup(usable))
            return false;
    }
    setUpViews();
    return true;
}

bool DataModule::lockFolder()
{
    if (m_lock)
        return true;
    FolderLock lock(m_folder.root());
    switch (lock.acquire()) {
    case FolderLock::Outcome::Held:
        m_lock = lock.take();
        return true;
    case FolderLock::Outcome::InUse:
        m_startError = kFolderInUseMessage;
        return false;
    case FolderLock::Outcome::CannotWrite:
        m_startError = lock.problem();
        return false;
    }
    return false;
}

void DataModule::endRun(const QString& why)
{
    m_startError = why;
    m_interaction->error(kProgramTitle, why + QStringLiteral("\r\n") + kEndingMessage);
    m_terminated = true;
}

void DataModule::closeWithoutWriting()
{
    for (auto it = m_tables.rbegin(); it != m_tables.rend(); ++it) {
        (*it)->markUnchanged();
        (*it)->setFileName(QString());
        (*it)->close(nullptr);
    }
}

QStringList DataModule::columnOf(Table* t, const QString& field)
{
    QStringList values;
    const int index = t->fieldIndex(field);
    if (index < 0)
        return values;
    t->forEachStoredValue(index, [&values](const QVariant& value) { values.append(value.toString().trimmed()); });
    return values;
}

QString DataModule::usableBackup(const BackupGenerations& backups, QString* problem) const
{
    for (const QString& generation : backups.existing()) {
        // Every table file must read and the rows must join, before anything of the data folder
        // is touched.
        QHash<QString, QPair<QList<FieldDef>, QList<QVector<QVariant>>>> tables;
        QString error;
        for (const QFileInfo& file : QDir(generation).entryInfoList({QStringLiteral("*.cds")}, QDir::Files | QDir::Hidden | QDir::System)) {
            auto& table = tables[file.completeBaseName().toUpper()];
            if (!TableFile::read(file.filePath(), &table.first, &table.second, &error))
                break;
        }
        if (error.isEmpty()) {
            error = registrationKeyProblem([&tables](const QString& name, const QString& field) {
                const auto table = tables.value(name.toUpper());
                return column(table.first, table.second, field);
            });
        }
        if (error.isEmpty())
            return generation;
        if (problem->isEmpty())
            *problem = error;
    }
    return QString();
}

bool DataModule::restoreFromBackup(const QString& generation)
{
    const QString data = m_folder.dataFolder();
    QStringList files;
    for (const QString& entry : listFolder(generation)) {
        if (!entry.endsWith(QLatin1Char('/')))
            files.append(entry);
    }
    // The files replaced go to a stamped folder of BackUp, on the disk before they are replaced;
    // the files the backup does not hold stay as they are.
    const QString backUp = data + QStringLiteral("/BackUp");
    const QString stamp = backUp + QLatin1Char('/') + m_clock().toString(QStringLiteral("yyyyMMddhhmmss"));
    QString stampFolder = stamp;
    for (int n = 2; QFileInfo::exists(stampFolder); ++n)
        stampFolder = stamp + QStringLiteral("_%1").arg(n);
    WriteSet set(m_folder.root());
    QString error;
    bool kept = false;
    for (const QString& file : std::as_const(files)) {
        const QString name = QFileInfo(file).fileName();
        const QString target = ProgramFolder::resolveIn(data, name);
        if (QFileInfo::exists(target)) {
            QString why;
            if (!makeFolderDurably(stampFolder, &why) || !copyDurably(target, QDir(stampFolder).filePath(QFileInfo(target).fileName()), &why)) {
                endRun(QStringLiteral("%1: 控えを作れません (%2)").arg(QDir::toNativeSeparators(target), why));
                return false;
            }
            kept = true;
        }
        if (!set.stageCopy(file, target, &error)) {
            endRun(error);
            return false;
        }
    }
    if (kept && (!syncFolder(stampFolder, &error) || !syncFolder(backUp, &error) || !syncFolder(data, &error))) {
        endRun(error);
        return false;
    }
    if (!set.commit(&error)) {
        endRun(error);
        return false;
    }
    if (!OpenAllTables(&error)) {
        // The backup does not fit either: nothing more can be done in this run.
        closeWithoutWriting();
        endRun(error);
        return false;
    }
    return true;
}

QStringList DataModule::listFolder(const QString& folder) const
{
    QStringList list;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        clearReadOnly(entry.filePath());
        list.append(entry.isDir() ? entry.filePath() + QLatin1Char('/') : entry.filePath());
        QCoreApplication::processEvents();
    }
    return list;
}

bool DataModule::openTable(Table* t, QString* error)
{
    if (t->isActive())
        return true; // the kinds of project are open with their built-in rows
    return t->open(error);
}

void DataModule::bindRegistrationTable(Table* t)
{
    const schema::TableDef* def = schema::findTable(t->name());
    if (!def)
        return;
    // The master link first: the order then sorts only the current registration's rows.
    if (!def->masterTable.isEmpty())
        t->setMaster(table(def->masterTable), def->masterFields, def->detailFields);
    if (!def->indexFieldNames.isEmpty())
        t->setIndexFieldNames(def->indexFieldNames);
}

bool DataModule::OpenAllTables(QString* error)
{
    InstallNewLayouts();
    for (Table* t : registrationTables() + lookupTables())
        t->setFileName(m_folder.tablePath(t->name()));

    // The lookup tables of the looked-up fields open before the tables that show them.
    QList<Table*> order;
    for (Table* t : registrationTables()) {
        if (t->name() == QLatin1String("PL_TBL_PROJECT_MOC"))
            order << table(QStringLiteral("PL_STBL_CLIENT_MOC")) << table(QStringLiteral("PL_STBL_PJT_TYPE"));
        if (t->name() == QLatin1String("PL_TBL_PROJECT_PRIVATE"))
            order << table(QStringLiteral("PL_STBL_CLIENT_KIND"));
        order << t;
    }
    for (Table* t : lookupTables()) {
        if (!order.contains(t))
            order << t;
    }
    // A looked-up field knows its table before its own table opens: the controls that show the
    // rows when they arrive show the looked-up names at once.
    for (Table* t : registrationTables()) {
        for (const FieldDef& field : t->fields()) {
            if (field.type == FieldType::Lookup)
                t->setLookupTable(field.name, table(field.lookup.table));
        }
    }
    // The registration tables tell their controls nothing until they are linked: unlinked, a
    // detail table shows the rows of every registration, and a panel list would build (and then
    // drop) a panel for each of them.
    const QList<Table*> registrations = registrationTables();
    for (Table* t : registrations)
        t->blockSignals(true);
    const auto announce = [&registrations] {
        for (Table* t : registrations)
            tellControls(t);
    };
    for (Table* t : order) {
        if (!openTable(t, error)) {
            announce();
            return false;
        }
    }
    for (Table* t : lookupTables()) {
        const schema::TableDef* def = schema::findTable(t->name());
        if (def && !def->indexFieldNames.isEmpty())
            t->setIndexFieldNames(def->indexFieldNames);
    }
    for (Table* t : registrations)
        bindRegistrationTable(t);
    announce();
    return true;
}

void DataModule::setUpViews()
{
    for (const schema::ViewDef& def : schema::views()) {
        Table* view = table(def.name);
        Table* base = table(def.over);
        if (!base->isActive())
            continue;
        // Like the registration tables, a view tells its controls nothing until it is linked and
        // filtered: unlinked, a grid would read the rows of every registration.
        view->blockSignals(true);
        view->cloneCursor(base);
        view->setMaster(table(def.masterTable), def.masterFields, def.detailFields);
        view->setFilter(def.filter);
        view->setFiltered(true);
        if (!def.indexFieldNames.isEmpty())
            view->setIndexFieldNames(def.indexFieldNames);
        tellControls(view);
    }
}

bool DataModule::writeAllTables(QString* error)
{
    QList<Table*> withFiles;
    for (const auto& t : m_tables) {
        if (t->isActive() && !t->isClone() && !t->fileName().isEmpty()) {
            t->checkBrowseMode();
            withFiles.append(t.get());
        }
    }
    return writeTables(withFiles, error);
}

bool DataModule::CloseAllTables(QString* error)
{
    // Every table with a file is written first, in one set; when that fails every table stays
    // open, so that nothing unwritten is dropped.
    if (!writeAllTables(error))
        return false;
    bool ok = true;
    QStringList failures;
    // Views and working datasets first: closing them writes nothing.
    for (auto it = m_tables.rbegin(); it != m_tables.rend(); ++it) {
        QString why;
        if (!(*it)->close(&why)) {
            ok = false;
            failures << why;
        }
    }
    if (error)
        *error = failures.join(QStringLiteral("\r\n"));
    m_lock.reset();
    return ok;
}

bool DataModule::WriteAllTablesBeforeExit(QString* error)
{
    if (!writeAllTables(error))
        return false;
    m_lock.reset();
    return true;
}

bool DataModule::writeTables(const QList<Table*>& tables, QString* error)
{
    WriteSet set(m_folder.root());
    QList<Table*> staged;
    if (!stageChangedTables(tables, &set, &staged, error) || !set.commit(error))
        return false;
    for (Table* t : std::as_const(staged))
        t->markUnchanged();
    return true;
}

bool DataModule::WriteChangedTables(QString* error)
{
    return writeTables(registrationTables(), error);
}

bool DataModule::writeChangedTablesOrTell()
{
    QString error;
    if (WriteChangedTables(&error))
        return true;
    m_interaction->error(kProgramTitle, error);
    return false;
}

// ---------------------------------------------------------------- layout installation

void DataModule::InstallNewLayouts()
{
    const QString data = m_folder.dataFolder();
    const QStringList installed = QDir(data).entryList({QStringLiteral("_*.*")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : installed) {
        const QString newFile = QDir(data).filePath(entry);
        if (!QFileInfo::exists(newFile))
            continue;
        const QString name = entry.mid(1);
        const QString resolved = ProgramFolder::resolveIn(data, name);
        if (!QFileInfo::exists(resolved)) {
            m_interaction->error(kProgramTitle, kInstallFailedMessage);
            continue;
        }
        clearReadOnly(resolved);
        // The table (its rows carried over into the new layout) and its template change as one
        // set; the installed file goes only when both are in place.
        WriteSet set(m_folder.root());
        QString error;
        bool staged = false;
        if (name.contains(QLatin1String("_TBL_"), Qt::CaseInsensitive)) {
            staged = backUpOldLayout(resolved, newFile, &set, &error)
                && carryOver(resolved, newFile, [&](Table* to) {
                       return set.stage(resolved, [to](QIODevice* device, QString* why) { return to->saveToDevice(device, why); }, &error);
                   }) == 0;
        } else {
            staged = set.stageCopy(newFile, resolved, &error);
        }
        if (!staged || !set.commit(&error) || !QFile::remove(newFile)) {
            m_interaction->error(kProgramTitle, error.isEmpty() ? kInstallFailedMessage : kInstallFailedMessage + QStringLiteral("\r\n") + error);
            continue;
        }
        RenumberContacts(resolved);
    }
}

bool DataModule::backUpOldLayout(const QString& oldFile, const QString& newFile, WriteSet* set, QString* error)
{
    const QString stamp = m_clock().toString(QStringLiteral("yyyyMMddhhmmss"));
    const QString folder = QFileInfo(oldFile).absolutePath() + QStringLiteral("/BackUp/") + stamp;
    if (!makeFolderDurably(folder, error) || !keepDurably(oldFile, QDir(folder).filePath(QFileInfo(oldFile).fileName()), error))
        return false;
    const QString templateFile = ProgramFolder::resolveIn(m_folder.path(QStringLiteral("Zero")), QFileInfo(oldFile).fileName());
    if (!QFileInfo::exists(templateFile))
        return true;
    clearReadOnly(templateFile);
    return set->stageCopy(newFile, templateFile, error);
}

int DataModule::CarryOverTable(const QString& oldFile, const QString& newFile, bool backup)
{
    WriteSet set(m_folder.root());
    QString error;
    if (backup && !backUpOldLayout(oldFile, newFile, &set, &error))
        return 1;
    const int result = carryOver(oldFile, newFile, [&](Table* to) {
        return set.stage(newFile, [to](QIODevice* device, QString* why) { return to->saveToDevice(device, why); }, &error);
    });
    return result == 0 && set.commit(&error) ? 0 : 1;
}

int DataModule::carryOver(const QString& oldFile, const QString& newFile, const std::function<bool(Table*)>& keep)
{
    Table* from = table(QStringLiteral("CdsMoveDataOrg"));
    Table* to = table(QStringLiteral("CdsMoveData"));
    from->setFileName(oldFile);
    to->setFileName(newFile);
    const auto done = [&](int result) {
        from->markUnchanged();
        from->close(nullptr);
        to->markUnchanged();
        to->close(nullptr);
        from->setFileName(QString());
        to->setFileName(QString());
        to->setDeclaredFields({});
        to->setInitialRows({});
        return result;
    };
    QString error;
    if (!from->open(&error) || !to->open(&error))
        return done(1);
    if (to->fieldCount() < from->fieldCount())
        return done(1);
    // Every row converted first and the new table made from them at once: a post per row would
    // refresh every row shown each time, which costs the square of their number.
    const QList<FieldDef> layout = to->fields();
    QList<Table::RowValues> rows = to->allRows();
    for (const Table::RowValues& row : from->allRows()) {
        Table::RowValues values(layout.size());
        for (int f = 0; f < from->fieldCount(); ++f) {
            if (!convertValue(layout.at(f), row.value(f), &values[f], &error))
                return done(1);
        }
        rows.append(std::move(values));
    }
    to->markUnchanged();
    to->close(nullptr);
    to->setDeclaredFields(layout);
    to->setInitialRows(rows);
    to->createDataSet();
    return done(keep(to) ? 0 : 1);
}

void renumberContactOrder(QList<Table::RowValues>& rows, int regNo, int order, int recId)
{
    QList<int> sorted;
    for (int r = 0; r < rows.size(); ++r)
        sorted.append(r);
    std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) {
        for (int f : {regNo, order, recId}) {
            const int c = compareValues(rows.at(a).value(f), rows.at(b).value(f));
            if (c != 0)
                return c < 0;
        }
        return false;
    });
    QVariant previous;
    int counter = 0;
    for (int r : std::as_const(sorted)) {
        const QVariant key = rows.at(r).value(regNo);
        if (key.isNull() || key.toString().trimmed().isEmpty())
            continue;
        counter = (previous.isValid() && compareValues(previous, key) == 0) ? counter + 1 : 1;
        previous = key;
        if (order < rows[r].size())
            rows[r][order] = counter;
    }
}

void DataModule::RenumberContacts(const QString& path)
{
    if (QFileInfo(path).fileName().compare(QLatin1String("NT_TBL_COMPANY.cds"), Qt::CaseInsensitive) != 0)
        return;
    // The file is renumbered as it stands, without a table and its events: a post refreshes
    // every row a table shows, which would make the renumbering quadratic.
    QList<FieldDef> fields;
    QList<Table::RowValues> rows;
    QList<TableFile::RowForm> forms;
    if (!TableFile::read(path, &fields, &rows, nullptr, &forms))
        return;
    QHash<QString, int> position; // upper-case field name → index
    for (int f = 0; f < fields.size(); ++f)
        position.insert(fields.at(f).name.toUpper(), f);
    const int regNo = position.value(QStringLiteral("REG_NO"), -1);
    const int order = position.value(QStringLiteral("SALES_ORDER_OTHER"), -1);
    const int recId = position.value(QStringLiteral("REC_ID"), -1);
    if (regNo < 0 || order < 0 || recId < 0)
        return;
    for (Table::RowValues& row : rows)
        row.resize(std::max<qsizetype>(row.size(), fields.size()));
    const QList<Table::RowValues> before = rows;
    renumberContactOrder(rows, regNo, order, recId);
    bool changed = false;
    for (int r = 0; r < rows.size(); ++r) {
        QVariant number;
        convertValue(fields.at(order), rows.at(r).at(order), &number, nullptr);
        rows[r][order] = number;
        if (compareValues(before.at(r).at(order), number) == 0)
            continue;
        forms[r] = TableFile::RowForm(); // written anew
        changed = true;
    }
    if (!changed)
        return;
    std::vector<const Table::RowValues*> stored;
    std::vector<TableFile::RowForm*> storedForms;
    for (int r = 0; r < rows.size(); ++r) {
        stored.push_back(&rows.at(r));
        storedForms.push_back(&forms[r]);
    }
    QString error;
    if (!TableFile::write(path, fields, stored, &error, &storedForms))
        m_interaction->error(kProgramTitle, error);
}

// ---------------------------------------------------------------- save, cancel, delete

void DataModule::SubCdsPost(Table* t, int offset)
{
    if (!t->isActive())
        return;
    if (hasValueAfter(t, offset)) {
        if (t->isEditing())
            t->post();
    } else if (showsRow(t)) {
        t->remove();
    }
}

void DataModule::PostAllTables(const SaveInputs& inputs)
{
    if (inputs.writeDescriptionGrids)
        inputs.writeDescriptionGrids();

    Table* detail = table(QStringLiteral("NT_TBL_DETAIL"));
    if (detail->isActive()) {
        detail->edit();
        detail->field(QStringLiteral("COMPARE_COST_RATE")).setString(inputs.compareCostRate);
        detail->field(QStringLiteral("COMPARE_PROCESS_RATE")).setString(inputs.compareProcessRate);
        detail->field(QStringLiteral("SALES_POST_CODE")).setString(postcode::storedForm(inputs.salesPostCode1, inputs.salesPostCode2));
        detail->field(QStringLiteral("SALES_POST_CODE_BUSINESS"))
            .setString(postcode::storedForm(inputs.salesPostCodeBusiness1, inputs.salesPostCodeBusiness2));
        SubCdsPost(detail, 0);
    }

    for (const char* name : {"NT_TBL_DESCRIPTION", "NT_TBL_PICTURE"})
        SubCdsPost(table(QLatin1String(name)), 0);

    // Rows whose fields after the identifier and REG_NO are all empty are dropped. The cursor
    // stays put after a delete, since the next row has moved into its place.
    for (const char* name : {"NT_TBL_COMPANY", "NT_TBL_EVALUATE_RESULT", "PL_TBL_PROJECT_MOC", "PL_TBL_PROJECT_PRIVATE"}) {
        Table* t = table(QLatin1String(name));
        if (!t->isActive())
            continue;
        if (t->isEditing() && !hasValueAfter(t, 1))
            t->remove();
        else
            t->checkBrowseMode();
        if (!showsRowWithoutValues(t, 1)) {
            t->last(); // where the walk below leaves the cursor
            continue;
        }
        t->first();
        while (!t->eof() && t->recordCount() > 0) {
            if (hasValueAfter(t, 1)) {
                t->next();
                continue;
            }
            const int before = t->recordCount();
            const bool wasLast = t->recNo() == before;
            t->remove();
            if (wasLast || t->recordCount() == 0)
                break;
        }
    }

    Table* compareMain = table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    Table* compareDetail = table(QStringLiteral("NT_TBL_COMPARE_DETAIL"));
    if (compareMain->isActive()) {
        if (!inputs.compareTechTitle.trimmed().isEmpty()) {
            if (compareDetail->state() == Table::State::Insert)
                SubCdsPost(compareDetail, 1);
            if (compareMain->isEditing())
                compareMain->post();
        } else {
            DeleteAll(compareDetail);
            if (showsRow(compareMain))
                compareMain->remove();
        }
    }

    if (inputs.saveConditions) {
        inputs.saveConditions();
    } else {
        table(QStringLiteral("NT_TBL_CONST_CONDITION"))->checkBrowseMode();
        for (int n = 1; n <= 6; ++n)
            table(QStringLiteral("NT_TBL_CONST_CONDITION_%1").arg(n))->checkBrowseMode();
    }

    SubCdsPost(table(QStringLiteral("NT_TBL_INFO_IMAGES")), 0);
    for (int n = 1; n <= 7; ++n)
        postViewPhotos(table(QStringLiteral("NT_TBL_INFO_IMAGES%1").arg(n)));

    SubCdsPost(table(QStringLiteral("NT_TBL_DETAIL_FREE")), 0);
}

void DataModule::postViewPhotos(Table* view)
{
    if (!view->isActive() || !view->isEditing() || !showsRow(view))
        return;
    bool deleted = false;
    if (view->field(QStringLiteral("IMAGES_ORIGINAL")).isNull()) {
        view->remove();
        deleted = true;
    }
    view->first();
    while (!view->eof() && view->recordCount() > 0) {
        if (!view->field(QStringLiteral("IMAGES_ORIGINAL")).isNull()) {
            view->next();
            continue;
        }
        const bool wasLast = view->recNo() == view->recordCount();
        view->remove();
        deleted = true;
        if (wasLast)
            break;
    }
    if (!deleted && view->isEditing())
        view->post();
}

void DataModule::CancelAllTables()
{
    for (Table* t : registrationDetailTables()) {
        if (t->isEditing())
            t->cancel();
    }
}

void DataModule::PostPendingTables()
{
    for (const auto& t : m_tables) {
        if (t->name() != QLatin1String("NT_TBL_MAIN") && t->isEditing())
            t->post();
    }
    emit MarkSaved();
}

void DataModule::DeleteAll(Table* t)
{
    if (!t->isActive())
        return;
    if (t->state() == Table::State::Insert)
        t->cancel();
    if (t->recordCount() == 0)
        return;
    t->first();
    while (t->recordCount() > 0)
        t->remove();
}

bool DataModule::DeleteRegistrationRows()
{
    removeRegistrationRows();
    // A main row still being inserted goes too, once the rows found through it are gone: the write
    // posts the pending row of every table it writes, and would store it.
    Table* main = table(QStringLiteral("NT_TBL_MAIN"));
    if (main->state() == Table::State::Insert)
        main->cancel();
    return writeChangedTablesOrTell();
}

bool DataModule::DeleteRegistration()
{
    const QString number = table(QStringLiteral("NT_TBL_MAIN"))->field(QStringLiteral("REG_NO")).asString().trimmed();
    removeRegistrationRows();
    table(QStringLiteral("NT_TBL_MAIN"))->remove();
    const bool written = writeChangedTablesOrTell();
    if (written) {
        SaveTimes(m_folder).forget(number);
        emit saveTimesChanged();
    }
    return written;
}

void DataModule::recordSaveTime(const QString& number)
{
    QString error;
    if (!SaveTimes(m_folder).record(number, m_clock(), &error))
        m_interaction->error(kProgramTitle, error);
    emit saveTimesChanged();
}

QHash<QString, QDateTime> DataModule::saveTimes() const
{
    return SaveTimes(m_folder).read();
}

void DataModule::removeRegistrationRows()
{
    for (const char* name : {"NT_TBL_COMPANY", "NT_TBL_EVALUATE_RESULT", "PL_TBL_PROJECT_MOC", "PL_TBL_PROJECT_PRIVATE", "NT_TBL_INFO_IMAGES"})
        DeleteAll(table(QLatin1String(name)));
    DeleteAll(table(QStringLiteral("NT_TBL_COMPARE_DETAIL")));
    DeleteAll(table(QStringLiteral("NT_TBL_COMPARE_MAIN")));

    QList<Table*> single = {table(QStringLiteral("NT_TBL_DETAIL")), table(QStringLiteral("NT_TBL_DESCRIPTION")),
                            table(QStringLiteral("NT_TBL_PICTURE")), table(QStringLiteral("NT_TBL_CONST_CONDITION"))};
    for (int n = 1; n <= 6; ++n)
        single.append(table(QStringLiteral("NT_TBL_CONST_CONDITION_%1").arg(n)));
    single.append(table(QStringLiteral("NT_TBL_DETAIL_FREE")));
    for (Table* t : single) {
        if (showsRow(t))
            t->remove();
    }
}

bool DataModule::BeforeExpFile(Table* workingTable, const QString& fileName, QString* error)
{
    workingTable->close(nullptr);
    workingTable->setFileName(m_folder.tempPath(fileName));
    if (!workingTable->open(error))
        return false;
    workingTable->emptyTable();
    return workingTable->save(error);
}

void DataModule::chkData()
{
    Table* detail = table(QStringLiteral("NT_TBL_DETAIL"));
    Table* compareMain = table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    const Field stored = detail->field(QStringLiteral("COMPARE_COST_RATE"));
    const Field rate = compareMain->field(QStringLiteral("RATE_COST"));
    if (stored.isNull() || rate.isNull())
        return;
    const double r = rate.asFloat();
    const double rounded = r >= 0 ? std::trunc(r + 0.5) : std::trunc(r - 0.5);
    if (stored.asFloat() != rounded) {
        CdsChangeCmpMainMode(detail);
        detail->field(QStringLiteral("COMPARE_COST_RATE")).setFloat(rounded);
    }
}

void DataModule::ErrorEvasion()
{
    const QString key = kReservedNumber;
    const QString comparisonId = kReservedNumber.mid(4);
    const auto setCurrent = [](Table* t, const QString& field, const QString& value) {
        if (!showsRow(t))
            return;
        t->edit();
        t->field(field).setString(value);
    };
    const auto setEvery = [](Table* t, const QString& field, const QString& value) {
        if (!showsRow(t))
            return;
        t->checkBrowseMode();
        // Changing the link field takes the row out of the view: always work on the first row.
        int guard = t->recordCount();
        t->first();
        while (guard-- > 0 && t->recordCount() > 0 && t->field(field).asString() != value) {
            t->edit();
            t->field(field).setString(value);
            t->post();
            t->first();
        }
    };
    for (const char* name : {"NT_TBL_DETAIL", "NT_TBL_DETAIL_FREE", "NT_TBL_DESCRIPTION", "NT_TBL_PICTURE", "NT_TBL_COMPARE_MAIN"})
        setCurrent(table(QLatin1String(name)), QStringLiteral("REG_NO"), key);
    for (const char* name : {"NT_TBL_COMPANY", "NT_TBL_EVALUATE_RESULT", "PL_TBL_PROJECT_MOC", "PL_TBL_PROJECT_PRIVATE",
                             "NT_TBL_CONST_CONDITION", "NT_TBL_INFO_IMAGES"})
        setEvery(table(QLatin1String(name)), QStringLiteral("REG_NO"), key);
    setEvery(table(QStringLiteral("NT_TBL_COMPARE_DETAIL")), QStringLiteral("REC_ID"), comparisonId);
    setCurrent(table(QStringLiteral("NT_TBL_COMPARE_MAIN")), QStringLiteral("REC_ID"), comparisonId);

    Table* main = table(QStringLiteral("NT_TBL_MAIN"));
    main->edit();
    main->field(QStringLiteral("REG_NO")).setString(key);
    main->post();
    m_interaction->error(kProgramTitle, kErrorEvasionMessage);
}

void DataModule::CdsCmpAfterCancel(Table* cancelled)
{
    const auto sum = [this](const QString& viewName) {
        Table* view = table(viewName);
        double total = 0;
        if (!view->isActive())
            return total;
        for (view->first(); !view->eof(); view->next()) {
            const Field price = view->field(QStringLiteral("PRICE"));
            if (!price.isNull())
                total += price.asFloat();
        }
        return total;
    };
    const comparison::CostRate figures = comparison::computeCostRate(sum(QStringLiteral("NT_TBL_COMPARE_DETAIL1")),
                                                                     sum(QStringLiteral("NT_TBL_COMPARE_DETAIL2")));
    if (cancelled == table(QStringLiteral("NT_TBL_COMPARE_MAIN"))) {
        if (!cancelled->isEmpty() && numbertext::format(figures.rate) != cancelled->field(QStringLiteral("RATE_COST")).asString()) {
            cancelled->edit();
            cancelled->field(QStringLiteral("N_COST")).setFloat(figures.newCost);
            cancelled->field(QStringLiteral("O_COST")).setFloat(figures.oldCost);
            cancelled->field(QStringLiteral("RATE_COST")).setFloat(figures.rate);
            cancelled->post();
        }
    } else if (cancelled == table(QStringLiteral("NT_TBL_DETAIL"))) {
        if (!cancelled->isEmpty()
            && numbertext::format(figures.wholeRate) != cancelled->field(QStringLiteral("COMPARE_COST_RATE")).asString()) {
            cancelled->edit();
            cancelled->field(QStringLiteral("COMPARE_COST_RATE")).setFloat(figures.wholeRate);
            cancelled->post();
        }
    }
}

void DataModule::CdsChangeCmpMainMode(Table* t)
{
    if (!t->isEditing())
        t->edit();
}

// ---------------------------------------------------------------- registration numbers

namespace {

// Six characters never read as these.
const int kNotLocal = std::numeric_limits<int>::min();
const int kMalformed = std::numeric_limits<int>::min() + 1;

// Whether a number starts with "XXK-" in any case. ASCII is compared directly (this runs for
// every row at every new number); other characters may fold to these letters.
bool hasLocalPrefix(const QString& value)
{
    if (value.size() < 4)
        return false;
    static const char16_t prefix[] = u"xxk-";
    for (int i = 0; i < 4; ++i) {
        const char16_t c = value.at(i).unicode();
        if (c >= 0x80)
            return QStringView(value).left(4).startsWith(u"XXK-", Qt::CaseInsensitive);
        if ((c >= u'A' && c <= u'Z' ? c + 32 : c) != prefix[i])
            return false;
    }
    return true;
}

// The number of a local registration number ("XXK-" and six digits, the prefix in any case);
// kNotLocal for another kind of number, kMalformed when the digits do not read as a number.
int localNumberValue(const QVariant& stored)
{
    if (stored.typeId() != QMetaType::QString)
        return stored.isNull() || !stored.isValid() ? kNotLocal : localNumberValue(QVariant(stored.toString()));
    const QString& value = *static_cast<const QString*>(stored.constData());
    if (!hasLocalPrefix(value))
        return kNotLocal;
    // Six plain digits, as every number this program writes: read without a conversion.
    const QStringView digits = QStringView(value).mid(4, 6);
    int v = 0;
    bool plain = digits.size() == 6;
    for (qsizetype i = 0; plain && i < digits.size(); ++i) {
        const char16_t c = digits.at(i).unicode();
        plain = c >= u'0' && c <= u'9';
        v = v * 10 + (c - u'0');
    }
    if (plain)
        return v;
    bool ok = false;
    v = digits.trimmed().toInt(&ok);
    return ok ? v : kMalformed;
}

} // namespace

bool DataModule::NextLocalNumber(QString* number, QString* error)
{
    // The tables hold what their files hold (each is written as soon as a save or delete has
    // posted, and the folder is locked for the run), so the rows in memory are scanned.
    int highest = 0;
    for (const QString& name : kNumberScanTables) {
        const Table* scanned = table(name);
        if (!scanned->isActive()) {
            if (error)
                *error = QStringLiteral("%1: 表が開かれていません。").arg(name);
            return false;
        }
        const int regNo = scanned->fieldIndex(QStringLiteral("REG_NO"));
        if (regNo < 0)
            continue;
        bool malformed = false;
        scanned->forEachStoredValue(regNo, [&](const QVariant& stored) {
            if (malformed)
                return;
            const int v = localNumberValue(stored);
            if (v == kNotLocal)
                return;
            if (v == kMalformed) {
                malformed = true;
                if (error)
                    *error = QStringLiteral("'%1' は正しい登録番号ではありません (%2)。")
                                 .arg(stored.toString(), QDir::toNativeSeparators(scanned->fileName()));
                return;
            }
            highest = std::max(highest, v);
        });
        if (malformed)
            return false;
    }
    int n = highest + 1;
    if (m_numberCounter >= n)
        n = m_numberCounter + 1;
    if (n > 999999) {
        if (error)
            *error = kNumbersExhaustedMessage;
        return false;
    }
    m_numberCounter = n;
    *number = localNumber(n) + QLatin1Char(' ');
    Table* main = table(QStringLiteral("NT_TBL_MAIN"));
    if (!main->isEditing())
        main->append();
    return true;
}

} // namespace store
