#include "submission/SubmissionCheck.h"

#include "entry/Classification.h"
#include "entry/InputCheck.h"
#include "store/DataModule.h"
#include "store/Table.h"
#include "submission/RegistrationProblems.h"
#include "util/UserInteraction.h"

#include <functional>

namespace submission {

const QString kMissingItemsMessage = inputcheck::missingItemsIntro();

namespace {

// The titles of a lookup table's rows whose code satisfies `matches` (code field first, title second).
int countTitles(store::Table* lookup, const std::function<bool(const QString&)>& matches)
{
    int count = 0;
    for (const store::Table::RowValues& row : lookup->allRows()) {
        if (row.size() >= 2 && matches(row.at(0).toString()) && !row.at(1).toString().isEmpty())
            ++count;
    }
    return count;
}

// Whether the level box of a classification slot shows a title for its stored code.
bool levelShown(store::DataModule& dm, int level, const QString& code, const QString& parentCode)
{
    if (code.isEmpty())
        return false;
    store::Table* lookup = dm.table(classification::levelTableName(level));
    return countTitles(lookup, [&](const QString& cd) { return cd == code && (level == 1 || cd.startsWith(parentCode)); }) > 0;
}

// The candidates one level below `parentCode`.
int childCount(store::DataModule& dm, int level, const QString& parentCode)
{
    store::Table* lookup = dm.table(classification::levelTableName(level));
    return countTitles(lookup, [&](const QString& cd) { return cd.size() == parentCode.size() + 2 && cd.startsWith(parentCode); });
}

// A slot is complete when each lower level shows a choice or has no candidates below the level
// above; a level without candidates counts as the code above followed by "00".
bool slotComplete(store::DataModule& dm, const FieldText& fieldText, int slot, QHash<QString, QString>* filledCodes)
{
    const QString main = QStringLiteral("NT_TBL_MAIN");
    QString above = fieldText(main, classification::codeBoxName(1, slot)).trimmed();
    if (!levelShown(dm, 1, above, QString()))
        return false;
    for (int level = 2; level <= classification::kLevels; ++level) {
        const QString field = classification::codeBoxName(level, slot);
        const QString code = fieldText(main, field).trimmed();
        if (levelShown(dm, level, code, above)) {
            above = code;
            continue;
        }
        if (childCount(dm, level, above) > 0)
            return false;
        above += QStringLiteral("00");
        if (filledCodes)
            filledCodes->insert(field, above);
    }
    return true;
}

} // namespace

inputcheck::SubmissionValues submissionValues(store::DataModule& dm, const FieldText& fieldText, QHash<QString, QString>* filledCodes)
{
    const QString main = QStringLiteral("NT_TBL_MAIN");
    inputcheck::SubmissionValues values;
    values.techTitle = fieldText(main, QStringLiteral("TECH_TITLE"));
    values.developmentYear = fieldText(main, QStringLiteral("TECH_DVLP_YEAR"));
    const QString group = fieldText(main, QStringLiteral("GRP_CODE1"));
    values.groupShown = !group.isEmpty()
        && countTitles(dm.table(QStringLiteral("NT_STBL_INFO_GRP1")), [&](const QString& cd) { return cd == group; }) > 0;
    if (!slotComplete(dm, fieldText, 1, filledCodes))
        values.incompleteSlots << 1;
    for (int slot = 2; slot <= classification::kSlots; ++slot) {
        if (!fieldText(main, classification::codeBoxName(1, slot)).trimmed().isEmpty() && !slotComplete(dm, fieldText, slot, filledCodes))
            values.incompleteSlots << slot;
    }
    values.summaryText = fieldText(QStringLiteral("NT_TBL_DESCRIPTION"), QStringLiteral("SUMMARY_DESC"));
    values.comparedTechnology = fieldText(QStringLiteral("NT_TBL_DETAIL"), QStringLiteral("COMPARE_TECH_TITLE"));
    values.baseValue = fieldText(QStringLiteral("NT_TBL_COMPARE_MAIN"), QStringLiteral("BASE_VALUE"));
    values.baseUnit = fieldText(QStringLiteral("NT_TBL_COMPARE_MAIN"), QStringLiteral("BASE_UNIT"));
    return values;
}

QStringList MissingSubmissionItems(store::DataModule& dm)
{
    QHash<QString, QString> filledCodes;
    const inputcheck::SubmissionValues values =
        submissionValues(dm, currentRegistration(dm).text, &filledCodes);
    if (!filledCodes.isEmpty()) {
        store::Table* main = dm.table(QStringLiteral("NT_TBL_MAIN"));
        if (!main->isEditing())
            main->edit();
        for (auto it = filledCodes.cbegin(); it != filledCodes.cend(); ++it)
            main->field(it.key()).setString(it.value());
        emit dm.MarkSaved();
    }
    return inputcheck::missingSubmissionItems(values);
}

bool CheckSubmissionItems(store::DataModule& dm, UserInteraction& ui)
{
    const QStringList missing = MissingSubmissionItems(dm);
    if (missing.isEmpty())
        return false;
    ui.error(inputcheck::kErrorCaption, inputcheck::missingItemsMessage(missing));
    return true;
}

QStringList SubmissionPhotoProblems(store::DataModule& dm)
{
    store::Table* main = dm.table(QStringLiteral("NT_TBL_MAIN"));
    store::Table* images = dm.table(QStringLiteral("NT_TBL_INFO_IMAGES"));
    if (main->isEmpty() || !images->isActive())
        return {};
    const QString number = main->field(QStringLiteral("REG_NO")).asString().trimmed();
    const int regNo = images->fieldIndex(QStringLiteral("REG_NO"));
    const int slot = images->fieldIndex(QStringLiteral("IMAGES_TYPE"));
    const int file = images->fieldIndex(QStringLiteral("IMAGES_FILE"));
    const FieldText text = currentRegistration(dm).text;
    QStringList problems;
    for (const store::Table::RowValues& row : images->allRows()) {
        const QString name = row.value(file).toString().trimmed();
        if (row.value(regNo).toString().trimmed() != number || name.isEmpty())
            continue;
        const QString letter = row.value(slot).toString().trimmed();
        const QString problem = inputcheck::photoFileProblem(dm.folder().path(QStringLiteral("Images\\") + name));
        if (!problem.isEmpty())
            problems << QStringLiteral("写真%1「%2」: %3")
                            .arg(letter, text(QStringLiteral("NT_TBL_PICTURE"), QStringLiteral("PICTURE_") + letter).trimmed(),
                                 QString(problem).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
    }
    return problems;
}

bool CheckSubmissionPhotos(store::DataModule& dm, UserInteraction& ui)
{
    const QStringList problems = SubmissionPhotoProblems(dm);
    if (problems.isEmpty())
        return false;
    ui.error(inputcheck::kErrorCaption, QStringLiteral("以下の写真が提出できないため、登録用ファイルが作成できません。\r\n") + problems.join(QStringLiteral("\r\n")));
    return true;
}

} // namespace submission
