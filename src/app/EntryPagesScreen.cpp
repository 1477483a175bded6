#include "app/EntryPagesScreen.h"

#include "app/ClassificationLists.h"
#include "app/ConditionPanels.h"
#include "app/DescriptionGrids.h"
#include "app/EntryParts.h"
#include "app/InputBehaviours.h"
#include "app/MainWindow.h"
#include "app/MainWindowControls.h"
#include "app/PatentBlocks.h"
#include "app/PhotoSlots.h"
#include "app/SaveCheckScreen.h"
#include "comparison/ComparisonControls.h"
#include "comparison/ComparisonPageWidget.h"
#include "store/DataModule.h"
#include "entry/DescriptionTables.h"
#include "store/FieldDef.h"
#include "store/Schema.h"
#include "util/PostCode.h"
#include "util/UserInteraction.h"
#include "widgets/EntryBoxRules.h"
#include "widgets/FieldLink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>

namespace app {

EntryPagesScreen::EntryPagesScreen(MainWindow& window)
    : m_window(window)
{
}

// ---------------------------------------------------------------- pages and parts

bool EntryPagesScreen::showsList() const
{
    return m_window.showsListPage();
}

void EntryPagesScreen::showList()
{
    // Whatever way the registration is left (saved, discarded or unchanged), no condition row
    // that only showing its items began outlives it.
    m_window.conditionPanels().abandonRebuiltRows();
    m_window.showListPage();
}

void EntryPagesScreen::showEntryPages()
{
    m_window.showFirstEntryPage();
}

void EntryPagesScreen::clearClassification()
{
    for (QComboBox* level : m_window.findChildren<QComboBox*>()) {
        if (kChoiceOnlyLists.contains(level->objectName()) && level->objectName().startsWith(QLatin1String("Level")))
            setText(level->objectName(), QString());
    }
}

void EntryPagesScreen::showNewRegistrationDefaults()
{
    m_window.control<QAbstractButton>(QStringLiteral("RbCERTIFY_PATENT_STAT4"))->setChecked(true);
    m_window.control<QAbstractButton>(QStringLiteral("RbCERTIFY_IDEA_STAT4"))->setChecked(true);
    m_window.control(QStringLiteral("CERTIFY_PATENT_NO"))->setEnabled(false);
    m_window.control(QStringLiteral("CERTIFY_IDEA_NO"))->setEnabled(false);
    m_window.patents().ShowBlocks();

    clearPostCodes();
    setText(QStringLiteral("lblCOST_TYPE"), QString());
    m_window.control(comparison::controls::kCycleCostFrame)->hide();
}

void EntryPagesScreen::comparisonCreated()
{
    m_window.comparison().registrationCreated();
}

void EntryPagesScreen::showNewRegistration()
{
    showPhotoSlots();
    m_window.descriptionGrids().reloadAll();
    m_window.showFirstEntryPage();
    m_window.control<QTabBar>(controls::kTemplateSelector)->setCurrentIndex(0);
}

void EntryPagesScreen::classificationOpened()
{
    m_window.classification().switchOffFilters();
    m_window.classification().SetGrpTitle();
}

void EntryPagesScreen::comparisonOpened()
{
    m_window.comparison().registrationOpened();
}

void EntryPagesScreen::showPhotoSlots()
{
    for (const QString& letter : parts::kPhotoSlotLetters)
        m_window.photoSlots().SetPhotoSlotControls(letter);
}

void EntryPagesScreen::showOpenedRegistration()
{
    for (const QString& count : kResultCountBoxes)
        m_window.behaviours().BeginningWork(m_window.control(count));
    m_window.patents().ShowStoredCodes();
    fillPostCodes();
    const QString costType = m_window.dm().table(QStringLiteral("NT_TBL_DETAIL"))->field(QStringLiteral("COST_TYPE")).asString();
    m_window.control(comparison::controls::kCycleCostFrame)->setVisible(costType == QLatin1String("7") || costType == QLatin1String("8"));
    m_window.comparison().showCostType();
}

void EntryPagesScreen::openedRegistrationShown()
{
    m_window.descriptionGrids().reloadAll();
    m_window.conditionPanels().forgetBuild();
    m_window.descriptionGrids().showLoadProblems();
    m_window.comparison().JudgeOtherRadioCondition();
    m_window.control<QTabBar>(controls::kTemplateSelector)->setCurrentIndex(0);
}

void EntryPagesScreen::registrationSaved()
{
    m_window.comparison().JudgeOtherRadioCondition();
    m_window.showNote(QStringLiteral("保存しました。"));
}

QString EntryPagesScreen::comparisonTitle() const
{
    return m_window.control<QLineEdit>(QStringLiteral("COMPARE_TECH_TITLE"))->text();
}

void EntryPagesScreen::photosSaved(const QString& number)
{
    m_window.photoSlots().photosSaved(number);
}

void EntryPagesScreen::photosAbandoned(const QString& number)
{
    m_window.photoSlots().photosAbandoned(number);
}

void EntryPagesScreen::changesDropped()
{
    m_window.descriptionGrids().reloadAll();
    m_window.conditionPanels().forgetBuild();
}

// ---------------------------------------------------------------- drafts

namespace {

store::TableRows* rowsOf(QList<store::TableRows>* tables, const QString& name)
{
    for (store::TableRows& rows : *tables) {
        if (rows.table == name)
            return &rows;
    }
    return nullptr;
}

// The table whose rows a table or view shows.
QString baseTableOf(const store::Table* table)
{
    for (const store::schema::ViewDef& view : store::schema::views()) {
        if (view.name == QStringLiteral("Cds") + table->name())
            return view.over;
    }
    return table->name();
}

// Sets `field` of the row of `rows` that holds `row` (the row a control's table shows); a value
// the field refuses is left out, as the field would refuse it at the save.
void setIn(store::TableRows* rows, const QVector<QVariant>& row, const QString& field, const QVariant& value)
{
    if (!rows)
        return;
    int f = -1;
    for (int i = 0; i < rows->fields.size() && f < 0; ++i) {
        if (rows->fields.at(i).name.compare(field, Qt::CaseInsensitive) == 0)
            f = i;
    }
    int at = rows->rows.indexOf(row);
    if (at < 0 && rows->rows.size() == 1)
        at = 0;
    if (f < 0 || at < 0)
        return;
    QVariant converted;
    if (store::convertValue(rows->fields.at(f), value, &converted, nullptr))
        rows->rows[at][f] = converted;
}

} // namespace

void EntryPagesScreen::putPendingValuesIn(QList<store::TableRows>* tables) const
{
    // Text typed into a box and not yet written to its field.
    for (const widgets::FieldLink* link : m_window.findChildren<widgets::FieldLink*>()) {
        const auto* control = dynamic_cast<const widgets::BoundControl*>(link->parent());
        if (!link->isModified() || !link->isBound() || !control)
            continue;
        store::Table* table = link->table();
        QVector<QVariant> row(table->fieldCount());
        for (int f = 0; f < row.size(); ++f)
            row[f] = table->valueAt(f);
        setIn(rowsOf(tables, baseTableOf(table)), row, link->fieldName(), control->valueForField());
    }
    // What the save writes from the pages: the grids' texts and the post codes.
    store::TableRows* description = rowsOf(tables, QStringLiteral("NT_TBL_DESCRIPTION"));
    if (description && description->rows.size() == 1) {
        for (const parts::DescriptionTableNames& names : parts::kDescriptionTables) {
            const QString text = entry::SaveGridText(m_window.descriptionGrids().contents(names.grid));
            const QString stored = description->value(0, names.grid).toString();
            // A grid shown as stored is left as stored (its text may be spelled otherwise).
            if (text != entry::SaveGridText(entry::LoadGridText(stored).grid))
                setIn(description, description->rows.first(), names.grid, text);
        }
    }
    store::TableRows* detail = rowsOf(tables, QStringLiteral("NT_TBL_DETAIL"));
    if (detail && detail->rows.size() == 1) {
        const store::SaveInputs inputs = saveInputs();
        const QVector<QVariant> row = detail->rows.first();
        setIn(detail, row, QStringLiteral("SALES_POST_CODE"), postcode::storedForm(inputs.salesPostCode1, inputs.salesPostCode2));
        setIn(detail, row, QStringLiteral("SALES_POST_CODE_BUSINESS"),
              postcode::storedForm(inputs.salesPostCodeBusiness1, inputs.salesPostCodeBusiness2));
    }
}

int EntryPagesScreen::entryPage() const
{
    return m_window.pages()->currentIndex();
}

void EntryPagesScreen::showEntryPage(int page)
{
    m_window.showEntryPageAt(page);
}

void EntryPagesScreen::adoptSetAsidePhotos(const QString& number)
{
    m_window.photoSlots().adoptSetAside(number);
}

// ---------------------------------------------------------------- post codes

void EntryPagesScreen::clearPostCodes()
{
    for (const QString& name : kPostCodeBoxes)
        setText(name, QString());
}

void EntryPagesScreen::fillPostCodes()
{
    clearPostCodes();
    store::Table* detail = m_window.dm().table(QStringLiteral("NT_TBL_DETAIL"));
    for (const auto& [field, box] : {std::pair{"SALES_POST_CODE", "SALES_POST_CODE"}, {"SALES_POST_CODE_BUSINESS", "SALES_POST_CODE_BUSINESS"}}) {
        QString first, second;
        postcode::split(detail->field(QLatin1String(field)).asString(), &first, &second);
        setText(QLatin1String(box) + QLatin1Char('1'), first);
        setText(QLatin1String(box) + QLatin1Char('2'), second);
    }
}

// ---------------------------------------------------------------- save check

bool EntryPagesScreen::saveCheckFails()
{
    // A save made while a box still has the focus (the close button, a menu key) applies what
    // leaving it applies: its conversion and limit, with their messages, before anything is kept.
    if (QWidget* focused = QApplication::focusWidget(); focused && m_window.isAncestorOf(focused) && m_window.behaviours().leaveControl(focused))
        return true;
    // No memo goes into a save longer than its limit, whichever way its text came.
    if (QWidget* memo = m_window.behaviours().memoOverLimit(&m_window)) {
        m_window.showControl(memo->objectName());
        m_window.behaviours().cutMemoToItsLimit(memo);
        return true;
    }
    // The rules judge what the boxes show, so a text a field would refuse (a date that does not
    // exist, say) gets the rule's own message and the focus first; then the boxes' pending texts
    // reach their fields.
    if (entryRuleFails())
        return true;
    return !widgets::FieldLink::flushAll();
}

bool EntryPagesScreen::entryRuleFails()
{
    const QList<inputcheck::Failure> failures = inputcheck::saveCheckFailures(savecheck::readScreenValues(&m_window, m_window.dm(), m_window.descriptionGrids()));
    if (failures.isEmpty())
        return false;
    const inputcheck::Failure& failure = failures.first();
    UserInteraction::current().error(failure.caption, failure.message);
    const QString photoButton = QStringLiteral("BtnPICTURE_");
    if (failure.control.startsWith(photoButton))
        m_window.photoSlots().EmptySlot(failure.control.mid(photoButton.size()), true);
    m_window.showControl(failure.control);
    widgets::focusForCorrection(m_window.control(failure.control));
    return true;
}

store::SaveInputs EntryPagesScreen::saveInputs() const
{
    const auto text = [this](const QString& name) {
        if (auto* edit = m_window.control<QLineEdit>(name))
            return edit->text();
        return m_window.control<QLabel>(name)->text();
    };
    store::SaveInputs inputs;
    inputs.compareCostRate = text(comparison::controls::kCostRateLabel);
    inputs.compareProcessRate = text(comparison::controls::kPeriodRateLabel);
    inputs.salesPostCode1 = text(QStringLiteral("SALES_POST_CODE1"));
    inputs.salesPostCode2 = text(QStringLiteral("SALES_POST_CODE2"));
    inputs.salesPostCodeBusiness1 = text(QStringLiteral("SALES_POST_CODE_BUSINESS1"));
    inputs.salesPostCodeBusiness2 = text(QStringLiteral("SALES_POST_CODE_BUSINESS2"));
    inputs.compareTechTitle = text(QStringLiteral("COMPARE_TECH_TITLE"));
    inputs.saveConditions = [this] { m_window.conditionPanels().saveConditions(); };
    inputs.writeDescriptionGrids = [this] { m_window.descriptionGrids().SaveAllGridText(); };
    return inputs;
}

void EntryPagesScreen::setText(const QString& name, const QString& text)
{
    if (auto* edit = m_window.control<QLineEdit>(name))
        edit->setText(text);
    else if (auto* label = m_window.control<QLabel>(name))
        label->setText(text);
    else if (auto* list = m_window.control<QComboBox>(name)) {
        list->clear();
        list->setCurrentIndex(-1);
    }
}


} // namespace app
