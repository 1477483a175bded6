#include "app/EditingCycle.h"

#include "app/EntryParts.h"
#include "app/InputBehaviours.h"
#include "store/DataModule.h"
#include "store/DraftRows.h"
#include "submission/SubmissionChanges.h"
#include "util/UserInteraction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace app {

namespace {

const QString kConfirm = QStringLiteral("確認");
const QString kSaveQuestion = QStringLiteral("編集データを保存しますか？");
const QString kDiscardQuestion = QStringLiteral("データの変更を取り消して、メニューに戻ります。");
const QString kNothingToDelete = QStringLiteral("削除するデータがありません。");
const QString kComparisonMissing = QStringLiteral("「活用の効果の根拠」を入力していません。\r\n新技術の入力を終了しますか？");

const QStringList kKeywordAndAimFlags = {
    "KEYWD_SAFETY_YN", "KEYWD_ENV_YN", "KEYWD_INFO_YN", "KEYWD_COST_YN", "KEYWD_QUALITY_YN", "KEYWD_LANDSCAPE_YN",
    "KEYWD_TRADITION_YN", "KEYWD_RECYCLE_YN", "TERGET_MAN_COUNT_YN", "TERGET_MAN_POWER_YN", "TERGET_EFFICIENCY_YN",
    "TERGET_ACCURACY_YN", "TERGET_ENDURANCE_YN", "TERGET_SAFTY_YN", "TERGET_WORK_ENV_YN", "TERGET_AREA_ENV_YN",
    "TERGET_EARTH_ENV_YN", "TERGET_RESOURCE_YN", "TERGET_RESULT_YN", "TERGET_RECYCLE_YN", "TERGET_OTHER_YN"};

// The sample texts of a new registration: headings joined by an empty line.
QString headings(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n\r\n"));
}

const QList<std::pair<QString, QString>>& newDescriptionTexts()
{
    static const QList<std::pair<QString, QString>> texts = {
        {"SUMMARY_DESC", headings({"①何について何をする技術なのか？", "②従来はどのような技術で対応していたのか？", "③公共工事のどこに適用できるのか？"})},
        {"FEATURE_DESC", headings({"①どこに新規性があるのか？(従来技術と比較して何を改善したのか？)", "②期待される効果は？(新技術活用のメリットは？)"})},
        {"CONDITION_DESC", headings({"①自然条件", "②現場条件", "③技術提供可能地域", "④関係法令等"})},
        {"OLD_CONST_CONDITION",
         headings({"①適用可能な範囲", "②特に効果の高い適用範囲", "③適用できない範囲", "④適用にあたり、関係する基準およびその引用元"})},
        {"CNST_ATTN_DESC", headings({"①設計時", "②施工時", "③維持管理等", "④その他"})},
        {"SUBJECT_DESC", headings({"①今後の課題", "②対応計画"})},
        {"CNST_COST_TABLE", QStringList{"4\t4\t1\t1", "工種\t(事例)\t\t", "材料費\t○○\t～\t○○", "施工費\t○○\t～\t○○", "合計\t○○\t～\t○○", "参考例"}
                                .join(QStringLiteral("\r\n"))},
    };
    return texts;
}

// The photo files of the registration `number` in `folder`: number + slot letter + extension, and
// the same names set aside with a leading "_". Another registration's photos never match, even
// when its number contains this one.
QStringList photoFilesOf(const QString& folder, const QString& number)
{
    QStringList letters;
    for (const QString& letter : parts::kPhotoSlotLetters)
        letters << QRegularExpression::escape(letter);
    const QRegularExpression name(QStringLiteral("^_?") + QRegularExpression::escape(number) + QStringLiteral("(") + letters.join('|')
                                      + QStringLiteral(")\\.[^.]+$"),
                                  QRegularExpression::CaseInsensitiveOption);
    QStringList paths;
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
        if (name.match(file.fileName()).hasMatch())
            paths << file.filePath();
    }
    return paths;
}

void setTableField(store::Table* table, const QString& field, const QVariant& value)
{
    if (!table->isEditing())
        table->edit();
    table->field(field).setValue(value);
}

UserInteraction::Button askSaveQuestion(UserInteraction::Icon icon, UserInteraction::Buttons buttons)
{
    return UserInteraction::current().message(icon, kConfirm, kSaveQuestion, buttons);
}

} // namespace

EditingCycle::EditingCycle(store::DataModule& dm, RegistrationScreen& screen, QObject* parent)
    : QObject(parent)
    , m_dm(dm)
    , m_screen(screen)
{
}

// ---------------------------------------------------------------- state

void EditingCycle::setMode(Mode mode)
{
    m_mode = mode;
    emit modeChanged(mode);
}

void EditingCycle::markModified()
{
    m_modified = true;
    emit changed();
    emit saveEnabledChanged(true);
    emit cancelEnabledChanged(true);
}

void EditingCycle::markSaved()
{
    m_modified = false;
    emit saveEnabledChanged(false);
    emit cancelEnabledChanged(false);
}

void EditingCycle::restoreModified(bool modified)
{
    m_modified = modified;
    if (modified)
        emit changed();
    emit saveEnabledChanged(modified);
}

store::Table* EditingCycle::table(const QString& name) const
{
    return m_dm.table(name);
}

QString EditingCycle::currentNumber() const
{
    return table(QStringLiteral("NT_TBL_MAIN"))->field(QStringLiteral("REG_NO")).asString().trimmed();
}

// ---------------------------------------------------------------- new, open

void EditingCycle::setKeywordAndAimFlags()
{
    store::Table* detail = table(QStringLiteral("NT_TBL_DETAIL"));
    if (m_mode == New && detail->state() != store::Table::State::Insert)
        detail->append();
    for (const QString& flag : kKeywordAndAimFlags) {
        if (detail->field(flag).asString().isEmpty())
            setTableField(detail, flag, QStringLiteral("0"));
    }
}

void EditingCycle::newRegistration()
{
    store::Table* main = table(QStringLiteral("NT_TBL_MAIN"));
    setMode(New);
    if (main->state() != store::Table::State::Insert)
        main->append();
    QString number, error;
    if (!m_dm.NextLocalNumber(&number, &error)) {
        main->cancel();
        setMode(None);
        UserInteraction::current().error(kProgramTitle, error);
        return;
    }
    setTableField(main, QStringLiteral("REG_NO"), number);
    setTableField(main, QStringLiteral("OPEN_DIV_CD"), QStringLiteral("0"));
    setTableField(main, QStringLiteral("DATA_TYPE_CODE"), QStringLiteral("1"));

    store::Table* compareMain = table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    setTableField(compareMain, QStringLiteral("REC_ID"), number.trimmed().mid(4));

    setKeywordAndAimFlags();
    m_screen.clearClassification();

    store::Table* detail = table(QStringLiteral("NT_TBL_DETAIL"));
    for (const QString& count : kResultCountBoxes)
        setTableField(detail, count, 0);
    setTableField(detail, QStringLiteral("CERTIFY_PATENT_STAT"), QStringLiteral("4"));
    setTableField(detail, QStringLiteral("CERTIFY_IDEA_GENERAL"), QStringLiteral("9"));
    setTableField(detail, QStringLiteral("CERTIFY_IDEA_PRIVATE"), QStringLiteral("9"));
    m_screen.showNewRegistrationDefaults();

    for (const char* field : {"BASE_VALUE", "N_COST", "O_COST", "RATE_COST", "N_PROCESS", "O_PROCESS", "RATE_PROCESS"})
        setTableField(compareMain, QLatin1String(field), 0);

    store::Table* description = table(QStringLiteral("NT_TBL_DESCRIPTION"));
    for (const auto& [field, text] : newDescriptionTexts())
        setTableField(description, field, text);
    m_screen.comparisonCreated();

    m_dm.PostPendingTables();
    if (!compareMain->isEditing())
        compareMain->edit();
    m_screen.showNewRegistration();
}

void EditingCycle::openRegistration()
{
    store::Table* main = table(QStringLiteral("NT_TBL_MAIN"));
    if (main->recordCount() == 0) {
        newRegistration();
        return;
    }
    const QString number = main->field(QStringLiteral("REG_NO")).asString().trimmed();
    store::Table* compareMain = table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    // The comparison identifier is the number's digits, as for a new registration (the number
    // from its fourth character on would give "-000012", a negative identifier).
    if (compareMain->field(QStringLiteral("REC_ID")).asString().isEmpty())
        setTableField(compareMain, QStringLiteral("REC_ID"), number.mid(4));
    if (main->field(QStringLiteral("OPEN_DIV_CD")).asString().isEmpty())
        setTableField(main, QStringLiteral("OPEN_DIV_CD"), QStringLiteral("0"));
    if (main->field(QStringLiteral("DATA_TYPE_CODE")).asString().isEmpty())
        setTableField(main, QStringLiteral("DATA_TYPE_CODE"), QStringLiteral("1"));
    setKeywordAndAimFlags();

    m_screen.showEntryPages();
    setMode(Edited);
    m_screen.classificationOpened();

    for (const char* period : {"N_PROCESS", "O_PROCESS"}) {
        if (compareMain->field(QLatin1String(period)).asString().isEmpty())
            setTableField(compareMain, QLatin1String(period), 0);
    }
    if (!compareMain->isEditing())
        compareMain->edit();
    m_screen.comparisonOpened();

    m_screen.showPhotoSlots();
    store::Table* detail = table(QStringLiteral("NT_TBL_DETAIL"));
    if (detail->state() == store::Table::State::Browse)
        detail->edit();
    m_screen.showOpenedRegistration();

    m_dm.PostPendingTables();
    if (!main->isEditing())
        main->edit();
    markSaved();
    m_screen.openedRegistrationShown();
}

void EditingCycle::openCopy()
{
    openRegistration();
    setMode(New);
    markModified();
}

// ---------------------------------------------------------------- save, leave, discard

void EditingCycle::writeRegistration()
{
    m_dm.PostAllTables(m_screen.saveInputs());
    m_dm.SubCdsPost(table(QStringLiteral("NT_TBL_MAIN")), 0);
    // What has been saved reaches the data folder at once, so that a crash cannot lose it.
    QString error;
    if (m_dm.WriteChangedTables(&error)) {
        m_dm.recordSaveTime(currentNumber());
        emit draftObsolete(currentNumber()); // kept when the tables could not be written
    } else {
        UserInteraction::current().error(kProgramTitle, error);
    }
    // The photos set aside since the last save, and those the saved rows no longer name, go.
    m_screen.photosSaved(currentNumber());
}

bool EditingCycle::checkAndWrite()
{
    if (m_screen.saveCheckFails())
        return false;
    writeRegistration();
    continueAsSaved();
    return true;
}

void EditingCycle::discardRegistration()
{
    // The photos replaced since the last save come back with the rows that name them; a new
    // registration is removed with its default rows and its photos, never left behind half made.
    // The pending rows are dropped first: a slot's new image row would otherwise be posted when
    // the main row moves.
    const QString number = currentNumber();
    const bool created = m_mode == New;
    m_dm.CancelAllTables();
    if (created)
        removeNewRegistration();
    table(QStringLiteral("NT_TBL_MAIN"))->cancel();
    emit draftObsolete(number);
    m_screen.photosAbandoned(number);
    m_screen.changesDropped();
}

void EditingCycle::removeNewRegistration()
{
    // The rows its dialogs wrote at once leave the data folder at once too (the removal writes the
    // changed tables): left there until the end of the run, a crash would hand them to the next
    // registration given the same number.
    m_dm.DeleteRegistrationRows();
}

void EditingCycle::continueAsSaved()
{
    setMode(Edited);
    store::Table* main = table(QStringLiteral("NT_TBL_MAIN"));
    if (!main->isEditing())
        main->edit();
    markSaved();
}

void EditingCycle::save()
{
    if (askSaveQuestion(UserInteraction::Icon::Question, UserInteraction::Buttons(UserInteraction::Yes) | UserInteraction::No)
        != UserInteraction::Yes)
        return;
    if (checkAndWrite())
        m_screen.registrationSaved();
}

bool EditingCycle::comparisonAllowsLeaving()
{
    store::Table* compareMain = table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    const bool noBase = compareMain->field(QStringLiteral("BASE_VALUE")).asString().isEmpty()
        && compareMain->field(QStringLiteral("BASE_UNIT")).asString().isEmpty();
    if (!m_screen.comparisonTitle().isEmpty() && !noBase)
        return true;
    return UserInteraction::current().message(UserInteraction::Icon::Warning, kProgramTitle, kComparisonMissing,
                                              UserInteraction::Buttons(UserInteraction::Yes) | UserInteraction::No)
        != UserInteraction::No;
}

void EditingCycle::leaveToList()
{
    m_screen.showList();
    setMode(None);
}

void EditingCycle::backToList()
{
    // A new registration removed before the comparison question is not taken up again when the
    // user stays: they go on with a fresh one, never with the rows of one that no longer exists.
    const auto stay = [this](bool newRemoved) {
        if (newRemoved)
            newRegistration();
    };
    if (!m_modified) {
        const bool newRemoved = m_mode == New;
        if (newRemoved)
            discardRegistration();
        if (comparisonAllowsLeaving())
            leaveToList();
        else
            stay(newRemoved);
        return;
    }
    const UserInteraction::Button answer = askSaveQuestion(
        UserInteraction::Icon::Information, UserInteraction::Buttons(UserInteraction::Yes) | UserInteraction::No | UserInteraction::Cancel);
    if (answer == UserInteraction::Yes) {
        if (checkAndWrite() && comparisonAllowsLeaving())
            leaveToList();
    } else if (answer == UserInteraction::No) {
        const bool newRemoved = m_mode == New;
        discardRegistration();
        if (comparisonAllowsLeaving()) {
            leaveToList();
            markSaved();
        } else {
            stayAfterDiscard(newRemoved);
        }
    }
}

void EditingCycle::stayAfterDiscard(bool newRemoved)
{
    // The pages show the registration as saved (a photo cleared since is shown again, so that it
    // cannot be chosen over); a new one removed gives way to a fresh one.
    if (newRemoved)
        newRegistration();
    else
        openRegistration();
}

void EditingCycle::discardChanges()
{
    if (UserInteraction::current().message(UserInteraction::Icon::Question, kConfirm, kDiscardQuestion,
                                           UserInteraction::Buttons(UserInteraction::Ok) | UserInteraction::Cancel)
        != UserInteraction::Ok)
        return;
    discardRegistration();
    leaveToList();
}

void EditingCycle::deleteRegistration()
{
    store::Table* main = table(QStringLiteral("NT_TBL_MAIN"));
    if (main->recordCount() == 0) {
        UserInteraction::current().warn(QStringLiteral("注意"), kNothingToDelete);
        return;
    }
    const QString title = main->field(QStringLiteral("TECH_TITLE")).asString();
    if (!UserInteraction::current().askYesNo(kConfirm, QStringLiteral("\"") + title + QStringLiteral("\"を削除します。")))
        return;
    const QString number = main->field(QStringLiteral("REG_NO")).asString().trimmed();
    for (const QString& path : photoFilesOf(m_dm.folder().path(QStringLiteral("Images")), number))
        QFile::remove(path);
    if (!m_dm.DeleteRegistration())
        return; // the draft stays while the saved registration does
    emit draftObsolete(number);
    emit registrationDeleted(title);
    // The submission files kept for the registration go aside, never away.
    QString error;
    if (!submission::setAsideSubmissions(m_dm, number, &error))
        UserInteraction::current().error(kProgramTitle, error);
}

// ---------------------------------------------------------------- closing

bool EditingCycle::closeTables()
{
    // When the tables cannot be written the window stays open, so that nothing is dropped.
    QString error;
    if (!m_dm.CloseAllTables(&error)) {
        UserInteraction::current().error(kProgramTitle, error);
        return false;
    }
    m_tablesClosed = true;
    return true;
}

bool EditingCycle::mayClose()
{
    // As on the way back to the list: a user who stays after a new registration was removed goes
    // on with a fresh one.
    const auto closeIfComparisonAllows = [this](bool newRemoved, bool discarded = true) {
        if (comparisonAllowsLeaving())
            return closeTables();
        if (discarded)
            stayAfterDiscard(newRemoved);
        return false;
    };

    if (m_screen.showsList() || m_tablesClosed)
        return m_tablesClosed || closeTables();
    const bool newRemoved = m_mode == New;
    if (!m_modified) {
        discardRegistration();
        return closeIfComparisonAllows(newRemoved);
    }
    const UserInteraction::Button answer = askSaveQuestion(
        UserInteraction::Icon::Information, UserInteraction::Buttons(UserInteraction::Yes) | UserInteraction::No | UserInteraction::Cancel);
    if (answer == UserInteraction::Yes)
        return checkAndWrite() && closeIfComparisonAllows(false, false);
    if (answer == UserInteraction::No) {
        discardRegistration();
        return closeIfComparisonAllows(newRemoved);
    }
    return false;
}

// ---------------------------------------------------------------- drafts

store::Draft EditingCycle::draft() const
{
    store::Draft draft;
    draft.number = currentNumber();
    draft.isNew = m_mode == New;
    draft.page = m_screen.entryPage();
    draft.tables = store::draftrows::capture(m_dm);
    m_screen.putPendingValuesIn(&draft.tables);
    return draft;
}

bool EditingCycle::locateSaved(const QString& number)
{
    store::Table* main = table(QStringLiteral("NT_TBL_MAIN"));
    for (main->first(); !main->eof(); main->next()) {
        if (main->field(QStringLiteral("REG_NO")).asString().trimmed() == number)
            return true;
    }
    return false;
}

void EditingCycle::restoreDraft(const store::Draft& draft)
{
    if (!draft.isNew && locateSaved(draft.number.trimmed()))
        openRegistration();
    else
        newRegistration();
    if (m_mode == None)
        return;
    store::draftrows::apply(m_dm, draft.tables);
    // Shown again as an opened registration is shown, from its rows as they now stand.
    m_screen.classificationOpened();
    m_screen.comparisonOpened();
    m_screen.showPhotoSlots();
    m_screen.showOpenedRegistration();
    m_screen.openedRegistrationShown();
    m_screen.adoptSetAsidePhotos(currentNumber());
    if (draft.page > 0)
        m_screen.showEntryPage(draft.page);
    markModified();
}

void EditingCycle::abandonDraftPhotos(const QString& number)
{
    m_screen.adoptSetAsidePhotos(number);
    m_screen.photosAbandoned(number);
}

} // namespace app
