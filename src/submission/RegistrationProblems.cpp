#include "submission/RegistrationProblems.h"

#include "submission/SubmissionExtraction.h"
#include "entry/Classification.h"
#include "store/DataModule.h"
#include "store/ProgramFolder.h"
#include "store/TableFile.h"
#include "submission/SubmissionCheck.h"
#include "submission/SubmissionFiles.h"
#include "util/PostCode.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

namespace submission {

namespace {

const QString kMain = QStringLiteral("NT_TBL_MAIN");
const QString kDetail = QStringLiteral("NT_TBL_DETAIL");

// The fields of one row of a table file, by name, as text.
using RowTexts = QHash<QString, QString>;

RowTexts rowTexts(const QList<store::FieldDef>& fields, const QVector<QVariant>& row)
{
    RowTexts texts;
    for (int i = 0; i < fields.size() && i < row.size(); ++i)
        texts.insert(fields.at(i).name, store::valueText(fields.at(i), row.at(i)));
    return texts;
}

// The first row of a table file whose `key` field reads `value` (any row when `key` is empty).
bool readRow(const QString& folder, const QString& table, const QString& key, const QString& value, RowTexts* out, QString* error)
{
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> rows;
    if (!store::TableFile::read(store::ProgramFolder::resolveIn(folder, memberName(table)), &fields, &rows, error))
        return false;
    for (const QVector<QVariant>& row : std::as_const(rows)) {
        RowTexts texts = rowTexts(fields, row);
        if (key.isEmpty() || texts.value(key).trimmed() == value) {
            *out = std::move(texts);
            break;
        }
    }
    return true;
}

} // namespace

StoredRegistration currentRegistration(store::DataModule& dm)
{
    StoredRegistration registration;
    registration.text = [&dm](const QString& table, const QString& field) {
        store::Table* t = dm.table(table);
        if (!t || !t->isActive() || t->isEmpty())
            return QString();
        const store::Field f = t->findField(field);
        return f.isValid() ? f.asString() : QString();
    };
    registration.photoPath = [&dm](const QString& letter) {
        // The slot views NT_TBL_INFO_IMAGES1 … 7 show the slots in the order the checks test them.
        store::Table* images = dm.table(QStringLiteral("NT_TBL_INFO_IMAGES%1").arg(inputcheck::kCheckedPhotoSlots.indexOf(letter) + 1));
        const QString file = images && images->isActive() && !images->isEmpty()
            ? images->field(QStringLiteral("IMAGES_FILE")).asString().trimmed()
            : QString();
        return file.isEmpty() ? QString() : dm.folder().path(QStringLiteral("Images\\") + file);
    };
    return registration;
}

bool extractedRegistration(const QString& folder, StoredRegistration* registration, QString* error)
{
    const QString problem = CheckSubmissionFiles(folder);
    if (!problem.isEmpty()) {
        *error = problem;
        return false;
    }
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> mainRows;
    if (!store::TableFile::read(store::ProgramFolder::resolveIn(folder, memberName(kMain)), &fields, &mainRows, error))
        return false;
    // A submission file holds exactly one registration.
    if (mainRows.size() != 1) {
        *error = kNotSubmissionData;
        return false;
    }
    auto tables = std::make_shared<QHash<QString, RowTexts>>();
    tables->insert(kMain, rowTexts(fields, mainRows.first()));
    const QString number = tables->value(kMain).value(QStringLiteral("REG_NO")).trimmed();
    for (const QString& table : {kDetail, QStringLiteral("NT_TBL_DESCRIPTION"), QStringLiteral("NT_TBL_PICTURE"), QStringLiteral("NT_TBL_COMPARE_MAIN")}) {
        if (!readRow(folder, table, QStringLiteral("REG_NO"), number, &(*tables)[table], error))
            return false;
    }
    auto photos = std::make_shared<QHash<QString, QString>>();
    QList<QVector<QVariant>> imageRows;
    if (!store::TableFile::read(store::ProgramFolder::resolveIn(folder, memberName(QStringLiteral("NT_TBL_INFO_IMAGES"))), &fields, &imageRows, error))
        return false;
    for (const QVector<QVariant>& row : std::as_const(imageRows)) {
        const RowTexts texts = rowTexts(fields, row);
        const QString file = texts.value(QStringLiteral("IMAGES_FILE")).trimmed();
        const QString letter = texts.value(QStringLiteral("IMAGES_TYPE")).trimmed();
        if (!file.isEmpty() && !photos->contains(letter))
            photos->insert(letter, store::ProgramFolder::resolveIn(folder, file));
    }
    registration->text = [tables](const QString& table, const QString& field) { return tables->value(table).value(field); };
    registration->photoPath = [photos](const QString& letter) { return photos->value(letter); };
    return true;
}

inputcheck::ScreenValues storedScreenValues(store::DataModule& dm, const StoredRegistration& registration)
{
    const auto& text = registration.text;
    inputcheck::ScreenValues values;
    for (const QString name : {"TECH_TITLE", "TECH_DVLP_YEAR", "DB_REG_DATE"})
        values.texts.insert(name, text(kMain, name));
    for (const QString stored : {"SALES_POST_CODE", "SALES_POST_CODE_BUSINESS"}) {
        QString first, second;
        postcode::split(text(kDetail, stored), &first, &second);
        values.texts.insert(stored + QLatin1Char('1'), first);
        values.texts.insert(stored + QLatin1Char('2'), second);
    }
    for (const QString name : {"RESULTS_MOC", "RESULTS_PUBLIC", "RESULTS_PRIVATE", "EVALUATE_MOC_NO", "EVALUATE_MOC_DATE",
                                "EVALUATE_PRIVATE_NO", "EVALUATE_PRIVATE_DATE", "EVALUATE_DATE3", "EVALUATE_DATE4"})
        values.texts.insert(name, text(kDetail, name));
    // The evaluating body's list shows the body's name, or nothing for a code it does not know.
    const QString organ = text(kDetail, QStringLiteral("EVALUATE_ORGAN_CODE"));
    store::Table* organs = dm.table(QStringLiteral("NT_STBL_INFO_EV_ORGAN"));
    values.texts.insert(QStringLiteral("EVALUATE_ORGAN_CODE"),
                        organ.isEmpty() || !organs ? QString() : classification::titleOfCode(organs, organ).value_or(QString()));
    for (const QString& letter : inputcheck::kCheckedPhotoSlots) {
        values.texts.insert(QStringLiteral("PICTURE_") + letter, text(QStringLiteral("NT_TBL_PICTURE"), QStringLiteral("PICTURE_") + letter));
        // A slot whose row names a file shows a photo, which must then be there.
        const QString photo = registration.photoPath(letter);
        values.texts.insert(QStringLiteral("ImagePath_") + letter, QFileInfo(photo).fileName());
        values.photoFiles.insert(letter, photo);
    }
    for (const QString grid : {"SUMMARY_TABLE", "FEATURE_TABLE", "CNST_METHOD_TABLE", "CNST_COST_TABLE", "TEST_TABLE"})
        values.tables.insert(grid, report::DescriptionGrid::fromStoredText(text(QStringLiteral("NT_TBL_DESCRIPTION"), grid)));
    return values;
}

QList<inputcheck::Problem> RegistrationProblems(store::DataModule& dm, const StoredRegistration& registration)
{
    return inputcheck::allProblems(storedScreenValues(dm, registration), submissionValues(dm, registration.text));
}

bool ExtractSubmissionFile(const QString& path, const QString& folder, QString* error)
{
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("%1: ファイルがありません。").arg(path);
        return false;
    }
    return extractSubmission(path, folder, error);
}

} // namespace submission
