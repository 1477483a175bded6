#include "app/InputBehaviours.h"

#include "app/EntryParts.h"
#include "entry/Conditions.h"
#include "store/Table.h"
#include "util/SjisText.h"
#include "util/UserInteraction.h"
#include "widgets/DBEdit.h"
#include "widgets/DBMemo.h"
#include "widgets/DBRadioGroup.h"
#include "widgets/EntryBoxRules.h"
#include "widgets/EventHook.h"
#include "widgets/RemainingBytes.h"
#include "widgets/RightAlignedEdit.h"
#include "widgets/SjisInput.h"
#include "widgets/TextLineEdit.h"
#include "widgets/TextMemo.h"
#include "widgets/NamedChild.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

namespace app {

namespace {

QStringList numbered(const QString& prefix, int from, int to, const QString& suffix = {})
{
    QStringList names;
    for (int n = from; n <= to; ++n)
        names.append(prefix + QString::number(n) + suffix);
    return names;
}

QStringList without(QStringList names, const QStringList& removed)
{
    for (const QString& name : removed)
        names.removeAll(name);
    return names;
}

// The classification code boxes LEVEL1_COMBO … LEVEL4_COMBO5 and the lists Level1 … Level4_5, both
// in the order level 1 to 4 of classification 1, then of classifications 2 to 5.
QStringList classificationNames(const QString& prefix, const QString& middle, const QString& separator)
{
    QStringList names;
    for (int slot = 1; slot <= 5; ++slot) {
        for (int level = 1; level <= 4; ++level)
            names.append(prefix + QString::number(level) + middle + (slot == 1 ? QString() : separator + QString::number(slot)));
    }
    return names;
}

} // namespace

const QStringList kComparisonRadioGroups = {
    "COMPARE_QUALITY", "COMPARE_SAFTY", "COMPARE_CONSTRUCT", "COMPARE_ENV", "FREE_ITEM1", "FREE_ITEM2"};

const QStringList kResultCountBoxes = {
    "RESULTS_MOC", "RESULTS_PUBLIC", "RESULTS_PRIVATE", "RESULTS_TECH_USE", "RESULTS_SPE_TECH", "RESULTS_TEST", "RESULTS_RECYCLE"};

const QStringList kMarkChangedWhenNewBoxes = QStringList{
    "KEYWD_FREE1", "KEYWD_FREE2", "KEYWD_FREE3", "TERGET_OTHER",
    "SALES_SECTION", "SALES_STUFF", "SALES_ADDRESS", "SALES_TEL_NO", "SALES_FAX_NO", "SALES_E_MAIL", "SALES_URL",
    "SALES_COMPANY_BUSINESS", "SALES_SECTION_BUSINESS", "SALES_STUFF_BUSINESS", "SALES_ADDRESS_BUSINESS",
    "SALES_TEL_NO_BUSINESS", "SALES_FAX_NO_BUSINESS", "SALES_E_MAIL_BUSINESS", "SALES_URL_BUSINESS",
    "PICTURE_A", "PICTURE_B", "PICTURE_S", "PICTURE_T", "PICTURE_G", "PICTURE_H", "PICTURE_I",
    "COMPARE_QUALITY", "COMPARE_SAFTY", "COMPARE_CONSTRUCT", "COMPARE_ENV",
    "COMPARE_COST_NOTE", "COMPARE_SAFTY_NOTE", "COMPARE_CONSTRUCT_NOTE", "COMPARE_ENV_NOTE", "COMPARE_QUALITY_NOTE",
    "COMPARE_OTHER_NOTE",
    "FREE_ITEM_TITLE1", "FREE_ITEM_TITLE2", "FREE_ITEM1", "FREE_ITEM2", "FREE_ITEM_NOTE1", "FREE_ITEM_NOTE2"}
    + kResultCountBoxes
    + QStringList{
        "EVALUATE_MOC_NO", "EVALUATE_MOC_DATE", "EVALUATE_MOC_URL",
        "EVALUATE_PRIVATE_NO", "EVALUATE_PRIVATE_DATE", "EVALUATE_PRIVATE_URL", "EVALUATE_ORGAN_CODE",
        "EVALUATE_NAME3", "EVALUATE_NO3", "EVALUATE_DATE3", "EVALUATE_ORGAN_NAME3", "EVALUATE_SCOPE3", "EVALUATE_URL3",
        "EVALUATE_NAME4", "EVALUATE_NO4", "EVALUATE_DATE4", "EVALUATE_ORGAN_NAME4", "EVALUATE_SCOPE4", "EVALUATE_URL4",
        "CERTIFY_PATENT_NO", "CERTIFY_IDEA_NO"}
    + numbered("CERTIFY_PATENTEE", 1, 5) + numbered("CERTIFY_PRACTICE", 1, 5) + numbered("CERTIFY_PATENT_FEE", 1, 5)
    + numbered("CERTIFY_PRACTICE_FORM", 1, 5) + numbered("CERTIFY_ADDRESS", 1, 5);

const QStringList kKeywordAndAimCheckBoxes = {
    "KEYWD_SAFETY_YN", "KEYWD_ENV_YN", "KEYWD_INFO_YN", "KEYWD_COST_YN", "KEYWD_QUALITY_YN", "KEYWD_LANDSCAPE_YN",
    "KEYWD_TRADITION_YN", "KEYWD_RECYCLE_YN",
    "TERGET_MAN_COUNT_YN", "TERGET_MAN_POWER_YN", "TERGET_EFFICIENCY_YN", "TERGET_ACCURACY_YN", "TERGET_ENDURANCE_YN",
    "TERGET_SAFTY_YN", "TERGET_WORK_ENV_YN", "TERGET_AREA_ENV_YN", "TERGET_EARTH_ENV_YN", "TERGET_RESOURCE_YN",
    "TERGET_RESULT_YN", "TERGET_RECYCLE_YN"};

const QStringList kPatentFlagButtons = {"RbCERTIFY_PATENT_FLG_Y1", "RbCERTIFY_PATENT_FLG_N1"};

const QStringList kMarkChangedBoxes = classificationNames("LEVEL", "_COMBO", "")
    + QStringList{"REG_DATE", "DVLP_TYPE_CODE", "TECH_DVLP_COMPANY", "DB_REG_DATE", "TECH_DVLP_YEAR", "TECH_SUBTITLE", "OPEN_DIV_CD"};

const QStringList kMarkChangedClicks = {"GRP_TITLE1"};

const QStringList kPostCodeBoxes = {"SALES_POST_CODE1", "SALES_POST_CODE2", "SALES_POST_CODE_BUSINESS1", "SALES_POST_CODE_BUSINESS2"};

const QStringList kDescriptionMemos = {
    "SUMMARY_DESC", "OLD_CONST_CONDITION", "FEATURE_DESC", "CONDITION_DESC", "CNST_ATTN_DESC", "SUBJECT_DESC",
    "CNST_COST_DESC", "CNST_METHOD_DESC", "REF_DESC", "TEST_DESC", "APDX_DESC", "CERTIFY_NOTE"};

const QStringList kPatentNumberMemos = numbered("CERTIFY_PATENT_NO", 1, 5);

// The names of one control of each construction-condition item.
QStringList conditionControls(const std::function<QString(int)>& nameOf)
{
    QStringList names;
    for (int item = 1; item <= conditions::kItemCount; ++item)
        names << nameOf(item);
    return names;
}

const QStringList kConditionTextMemos = conditionControls(parts::conditionTextMemo);

const QStringList kLimitedMemos = kDescriptionMemos + QStringList{"SUMMARY"} + kPatentNumberMemos + kConditionTextMemos;

const QStringList kDigitOnlyBoxes = QStringList{"TECH_DVLP_YEAR"} + kPostCodeBoxes;

const QStringList kPhoneNumberBoxes = {"SALES_TEL_NO", "SALES_FAX_NO", "SALES_TEL_NO_BUSINESS", "SALES_FAX_NO_BUSINESS"};

const QStringList kRoundValueBoxes = conditionControls(parts::conditionNumberBox);
const QStringList kRoundValueSPBoxes = [] {
    QStringList names;
    for (int item = 1; item <= conditions::kItemCount; ++item)
        names << parts::conditionRangeBox(item, 1) << parts::conditionRangeBox(item, 2);
    return names;
}();
const QStringList kRoundValueDownBoxes = kResultCountBoxes;

const QStringList kNumberBoxes = kRoundValueBoxes + kRoundValueSPBoxes + kResultCountBoxes;

const QStringList kHeadingCountBoxes = {
    "eTCntSUMMARYcol", "eTCntSUMMARYrow", "eTCntFEATUREcol", "eTCntFEATURErow", "eTCntCNST_METHODcol",
    "eTCntCNST_METHODrow", "eTCntCNST_COSTcol", "eTCntCNST_COSTrow", "eTCntTEST_TITLEScol", "eTCntTEST_TITLESrow"};

const QStringList kChoiceOnlyLists = classificationNames("Level", "", "_") + QStringList{"GRP_TITLE1", "EVALUATE_ORGAN_CODE"};

const QStringList kConvertOnLeavingBoxes = without(kMarkChangedWhenNewBoxes, kComparisonRadioGroups + kResultCountBoxes)
    + QStringList{"SALES_COMPANY", "COMPARE_TECH_TITLE", "ImagePath_A"};

const QStringList kConvertKeepingSaveStateBoxes = QStringList{"TECH_TITLE"} + without(kMarkChangedBoxes, {"DVLP_TYPE_CODE", "OPEN_DIV_CD"});

namespace {

using widgets::onEvent;

// A key filter in the manner of a key-press handler: it judges the characters typed. Keys that type
// no character (arrows, Delete, Tab) and control keys (copy, paste) are not judged.
void filterCharacters(QWidget* control, std::function<bool(QChar)> accepted, bool backspaceAccepted)
{
    // A paste is judged by the same rule (the box refuses it with a message).
    if (auto* box = qobject_cast<widgets::TextLineEdit*>(control))
        box->setAcceptedCharacters(accepted);
    onEvent(control, QEvent::KeyPress, [accepted, backspaceAccepted](QEvent* e) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Backspace)
            return !backspaceAccepted;
        if (key->matches(QKeySequence::Paste))
            return false; // the box judges what is pasted
        const QString text = key->text();
        if (text.isEmpty() || !text.at(0).isPrint())
            return false;
        return !std::all_of(text.begin(), text.end(), accepted);
    });
    onEvent(control, QEvent::InputMethod, [accepted](QEvent* e) {
        const QString text = static_cast<QInputMethodEvent*>(e)->commitString();
        return !std::all_of(text.begin(), text.end(), accepted);
    });
}

void filterToCharacters(QWidget* control, const QString& allowed, bool backspaceAccepted)
{
    filterCharacters(control, [allowed](QChar c) { return allowed.contains(c); }, backspaceAccepted);
}

bool isStandardEdit(QWidget* control)
{
    return qobject_cast<QLineEdit*>(control) && !widgets::isRightAlignedEdit(control);
}

} // namespace

using widgets::attachEnterMovesFocus;
using widgets::cleanUpMemoText;
using widgets::convertWidthOnExit;
using widgets::giveFocusBack;
using widgets::isEnterKey;
using widgets::removeDoubleBlanks;

// ---------------------------------------------------------------- InputBehaviours

InputBehaviours::InputBehaviours(EditingHooks hooks, QObject* parent)
    : QObject(parent)
    , m_hooks(std::move(hooks))
{
}

void InputBehaviours::onChange(QWidget* control, const std::function<void()>& handler)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        connect(edit, &QLineEdit::textChanged, this, handler);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
        connect(memo, &QPlainTextEdit::textChanged, this, handler);
    else if (auto* group = qobject_cast<widgets::DBRadioGroup*>(control))
        connect(group, &widgets::DBRadioGroup::changed, this, handler);
    else if (auto* list = qobject_cast<QComboBox*>(control))
        connect(list, &QComboBox::currentIndexChanged, this, handler);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        connect(button, &QAbstractButton::toggled, this, handler);
}

void InputBehaviours::onClick(QWidget* control, const std::function<void()>& handler)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        connect(button, &QAbstractButton::clicked, this, handler);
    else if (auto* list = qobject_cast<QComboBox*>(control))
        connect(list, &QComboBox::activated, this, handler);
    else if (auto* group = qobject_cast<widgets::DBRadioGroup*>(control))
        connect(group, &widgets::DBRadioGroup::clicked, this, handler);
}

QStringList InputBehaviours::attach(QWidget* root)
{
    QStringList missing;
    // Calls `attachOne` for each control of the list found below root.
    auto each = [&](const QStringList& names, const std::function<void(QWidget*)>& attachOne) {
        for (const QString& name : names) {
            if (QWidget* control = root->findChild<QWidget*>(name))
                attachOne(control);
            else if (!missing.contains(name))
                missing.append(name);
        }
    };

    // Change marking.
    each(kMarkChangedWhenNewBoxes, [this](QWidget* c) { onChange(c, [this, c] { markChangedWhenNew(c); }); });
    each(kKeywordAndAimCheckBoxes, [this](QWidget* c) {
        onClick(c, [this, c] { markChangedWhenNew(c); });
        // ChangeCheckBoxKeyPress: the space key marks the change too.
        onEvent(c, QEvent::KeyPress, [this, c](QEvent* e) {
            if (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Space)
                markChangedWhenNew(c);
            return false;
        });
    });
    each(kPatentFlagButtons, [this](QWidget* c) { onClick(c, [this, c] { markChangedWhenNew(c); }); });
    each(kMarkChangedBoxes, [this](QWidget* c) { onChange(c, [this, c] { markChanged(c); }); });
    each(kMarkChangedClicks, [this](QWidget* c) { onClick(c, [this, c] { markChanged(c); }); });
    each({"SALES_COMPANY"}, [this](QWidget* c) {
        onChange(c, [this, c] {
            markChangedWhenNew(c);
            removeDoubleBlanks(c);
        });
    });
    each({"SUMMARY"}, [this](QWidget* c) {
        onChange(c, [this, c] {
            if (m_hooks.markModified)
                m_hooks.markModified();
            removeDoubleBlanks(c);
        });
    });
    each(kDescriptionMemos, [this](QWidget* c) { onChange(c, [c] { removeDoubleBlanks(c); }); });
    each(kPostCodeBoxes, [this](QWidget* c) {
        onChange(c, [this, c] { postCodeChanged(c); });
        onEvent(c, QEvent::FocusIn, [this](QEvent*) {
            m_postCodeFocus = true;
            return false;
        });
        onEvent(c, QEvent::FocusOut, [this](QEvent*) {
            m_postCodeFocus = false;
            return false;
        });
        onExit(c, [c] { return convertWidthOnExit(c); });
    });

    // Keys.
    each(kDigitOnlyBoxes, [](QWidget* c) { filterToCharacters(c, QStringLiteral("0123456789"), true); });
    each(kPhoneNumberBoxes, [](QWidget* c) { filterToCharacters(c, QStringLiteral("()+-0123456789"), true); });
    each(kNumberBoxes, [](QWidget* c) {
        filterCharacters(c, [](QChar ch) { return ch != QLatin1Char('-') && ch != QLatin1Char('e'); }, true);
    });
    each(kHeadingCountBoxes, [](QWidget* c) { filterToCharacters(c, QStringLiteral("0123"), false); });
    each(kChoiceOnlyLists, [](QWidget* c) { filterToCharacters(c, QString(), true); });
    each(kConditionTextMemos, [this](QWidget* c) {
        onEvent(c, QEvent::KeyPress, [](QEvent* e) {
            const auto* key = static_cast<QKeyEvent*>(e);
            return isEnterKey(key) || key->text().contains(QLatin1Char('\n'));
        });
        onChange(c, [c] { removeDoubleBlanks(c); });
        onExit(c, [this, c] { return cleanUpShortMemoOnLeaving(c); });
        if (auto* memo = qobject_cast<widgets::TextMemo*>(c))
            memo->setOneLine(true);
    });

    // Leaving a box.
    each(kConvertOnLeavingBoxes, [this](QWidget* c) { onExit(c, [this, c] { return convertOnLeaving(c); }); });
    each(kConvertKeepingSaveStateBoxes, [this](QWidget* c) { onExit(c, [this, c] { return convertOnLeavingKeepingSaveState(c); }); });
    each(kDescriptionMemos + QStringList{"SUMMARY"}, [this](QWidget* c) { onExit(c, [this, c] { return cleanUpDescriptionOnLeaving(c); }); });
    each(kPatentNumberMemos, [this](QWidget* c) {
        onExit(c, [this, c] { return cleanUpPatentMemoOnLeaving(c); });
        // The numbers follow the blank rule as every other text does.
        onChange(c, [c] { removeDoubleBlanks(c); });
    });
    each(kRoundValueBoxes, [this](QWidget* c) { onExit(c, [this, c] { return RoundValue(c); }); });
    each(kRoundValueSPBoxes, [this](QWidget* c) { onExit(c, [this, c] { return RoundValueSP(c); }); });
    each(kRoundValueDownBoxes, [this](QWidget* c) { onExit(c, [this, c] { return RoundValueDown(c); }); });

    // How many bytes each memo's limit leaves, shown beside it as the user types.
    each(kLimitedMemos, [](QWidget* c) {
        if (auto* memo = qobject_cast<widgets::TextMemo*>(c))
            widgets::placeBeside(memo, widgets::countMemoBytes(memo, memoLimit(memo->objectName()), memo->parentWidget()));
    });

    attachEnterMovesFocus(root);
    return missing;
}

void InputBehaviours::onExit(QWidget* control, const std::function<bool()>& handler)
{
    m_exits[control].append(handler);
    onEvent(control, QEvent::FocusOut, [handler](QEvent*) {
        handler();
        return false;
    });
}

bool InputBehaviours::leaveControl(QWidget* control)
{
    bool told = false;
    for (const std::function<bool()>& handler : m_exits.value(control))
        told = handler() || told;
    return told;
}

int InputBehaviours::memoLimit(const QString& name)
{
    if (kDescriptionMemos.contains(name))
        return inputrules::kDescriptionMemoLimit;
    if (name == QLatin1String("SUMMARY") || kPatentNumberMemos.contains(name) || kConditionTextMemos.contains(name))
        return inputrules::kShortMemoLimit;
    return 0;
}

QWidget* InputBehaviours::memoOverLimit(QWidget* root) const
{
    for (const QString& name : kLimitedMemos) {
        auto* memo = widgets::namedChild<widgets::TextMemo>(root, name);
        if (memo && inputrules::countedMemoBytes(memo->text()) > memoLimit(name))
            return memo;
    }
    return nullptr;
}

bool InputBehaviours::cutMemoToItsLimit(QWidget* memo)
{
    const QString name = memo->objectName();
    return cleanUpMemoText(memo, memoLimit(name), kConditionTextMemos.contains(name));
}

void InputBehaviours::markChangedWhenNew(QWidget* control)
{
    if (m_hooks.isNewMode && m_hooks.isNewMode() && m_hooks.markModified)
        m_hooks.markModified();
    if (isStandardEdit(control))
        removeDoubleBlanks(control);
    const QString name = control->objectName();
    if ((name == QLatin1String("FREE_ITEM_TITLE1") || name == QLatin1String("FREE_ITEM_TITLE2")) && m_hooks.judgeOtherRadioCondition)
        m_hooks.judgeOtherRadioCondition();
}

void InputBehaviours::markChanged(QWidget* control)
{
    if (m_hooks.markModified)
        m_hooks.markModified();
    if (isStandardEdit(control))
        removeDoubleBlanks(control);
}

void InputBehaviours::postCodeChanged(QWidget* control)
{
    if (m_postCodeFocus) {
        if (m_hooks.markModified)
            m_hooks.markModified();
        if (m_hooks.putDetailInEdit)
            m_hooks.putDetailInEdit();
    }
    removeDoubleBlanks(control);
}

bool InputBehaviours::convertOnLeaving(QWidget* control)
{
    return convertWidthOnExit(control);
}

bool InputBehaviours::convertOnLeavingKeepingSaveState(QWidget* control)
{
    // The conversion never counts as a change: the save button gets back the state it had.
    const bool saveWasEnabled = m_hooks.isSaveEnabled ? m_hooks.isSaveEnabled() : false;
    const bool cut = convertWidthOnExit(control);
    if (m_hooks.setSaveEnabled)
        m_hooks.setSaveEnabled(saveWasEnabled);
    return cut;
}

bool InputBehaviours::tableEditing(const QString& name, QWidget* control) const
{
    if (store::Table* table = m_hooks.table ? m_hooks.table(name) : nullptr)
        return table->isEditing();
    widgets::FieldLink* link = widgets::fieldLinkOf(control);
    return !link || !link->isBound() || link->isTableEditing();
}

bool InputBehaviours::cleanUpDescriptionOnLeaving(QWidget* memo)
{
    const bool summary = memo->objectName() == QLatin1String("SUMMARY");
    return (summary || tableEditing(QStringLiteral("NT_TBL_DESCRIPTION"), memo)) && cleanUpMemoText(memo, memoLimit(memo->objectName()));
}

bool InputBehaviours::cleanUpPatentMemoOnLeaving(QWidget* memo)
{
    return tableEditing(QStringLiteral("NT_TBL_PICTURE"), memo) && cleanUpMemoText(memo, memoLimit(memo->objectName()));
}

bool InputBehaviours::cleanUpShortMemoOnLeaving(QWidget* memo)
{
    return cleanUpMemoText(memo, memoLimit(memo->objectName()), true);
}

bool InputBehaviours::cleanUpNumber(QWidget* control, inputrules::Rounding rounding)
{
    auto* box = qobject_cast<QLineEdit*>(control);
    if (!box)
        return false;
    const inputrules::NumberCleanUp result = inputrules::cleanUpNumber(box->text(), rounding);
    if (result.text != box->text())
        box->setText(result.text);
    if (result.ok)
        return false;
    // A bound box about to write the text tells the user itself, with the field's name.
    widgets::FieldLink* link = widgets::fieldLinkOf(box);
    if (!(link && link->isBound() && link->isModified())) {
        UserInteraction::current().error(kProgramTitle, result.error);
        giveFocusBack(box);
    }
    return true;
}

void InputBehaviours::BeginningWork(QWidget* control)
{
    auto* box = qobject_cast<QLineEdit*>(control);
    if (!box)
        return;
    if (box->text().isEmpty())
        box->setText(QStringLiteral("0"));
    markChangedWhenNew(box);
    removeDoubleBlanks(box);
}

} // namespace app
