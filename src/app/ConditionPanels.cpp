#include "app/ConditionPanels.h"

#include "app/EntryParts.h"

#include "app/ScrollingPage.h"
#include "store/DataModule.h"
#include "store/Table.h"
#include "util/UserInteraction.h"
#include "widgets/BusyIndicator.h"
#include "widgets/DBEdit.h"
#include "widgets/DBMemo.h"
#include "widgets/EntryBoxRules.h"
#include "widgets/FieldLink.h"
#include "widgets/NamedChild.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace app {

using conditions::kItemCount;
using conditions::kMaxChoices;

namespace {

const QStringList kPanelKinds = {"M", "N", "R", "S", "T"};

} // namespace

ConditionPanels::ConditionPanels(QWidget* root, store::DataModule& dm, Hooks hooks, QObject* parent)
    : QObject(parent), m_root(root), m_dm(dm), m_hooks(std::move(hooks))
{
    watchControls();
}

template <typename T>
T* ConditionPanels::control(const QString& name) const
{
    return widgets::namedChild<T>(m_root, name);
}

store::Table* ConditionPanels::view(int item) const
{
    return m_dm.table(QStringLiteral("NT_TBL_CONST_CONDITION_%1").arg(item));
}

void ConditionPanels::watchControls()
{
    for (int item = 1; item <= kItemCount; ++item) {
        QList<QAbstractButton*> buttons;
        for (int k = 1; k <= kMaxChoices; ++k)
            buttons << control<QAbstractButton>(parts::conditionCheckBox(item, k));
        for (int choice = 0; choice < 2; ++choice)
            buttons << control<QAbstractButton>(parts::conditionRadioButton(item, choice));
        for (QAbstractButton* button : std::as_const(buttons)) {
            button->installEventFilter(this);
            // A click, the space key and a radio button reached by an arrow key all arrive as clicked.
            connect(button, &QAbstractButton::clicked, this, [this, item] { choiceMade(item); });
        }
        // The rows stay in edit from the rebuild on, so a typed value marks the change itself.
        for (widgets::FieldLink* link : valueLinks(item))
            connect(link, &widgets::FieldLink::changedByUser, this, [this, item] {
                m_rebuiltOnly.remove(item);
                m_hooks.setModified(true);
            });
    }
    connect(qApp, &QApplication::focusChanged, this, &ConditionPanels::onFocusChanged);
}

QList<widgets::FieldLink*> ConditionPanels::valueLinks(int item) const
{
    return {control<widgets::DBEdit>(parts::conditionNumberBox(item))->link(), control<widgets::DBEdit>(parts::conditionRangeBox(item, 1))->link(),
            control<widgets::DBEdit>(parts::conditionRangeBox(item, 2))->link(), control<widgets::DBMemo>(parts::conditionTextMemo(item))->link()};
}

bool ConditionPanels::eventFilter(QObject* watched, QEvent* event)
{
    const QString name = watched->objectName();
    const auto number = [&name](int prefix) { return name.mid(prefix).toInt(); };
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (name.startsWith(QLatin1String("CheckBox"))) {
        const bool space = event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space;
        if (press || space)
            checkBoxToggled(number(8));
    } else if (name.startsWith(QLatin1String("RadioButton"))) {
        bool arrow = false;
        if (event->type() == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            arrow = key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
        }
        if (press || arrow)
            radioButtonChosen(number(11));
    }
    return QObject::eventFilter(watched, event);
}

void ConditionPanels::checkBoxToggled(int k)
{
    conditions::changeConstMode(view((k + kMaxChoices - 1) / kMaxChoices));
}

void ConditionPanels::radioButtonChosen(int k)
{
    conditions::changeConstMode(view((k + 1) / 2));
}

void ConditionPanels::choiceMade(int item)
{
    store::Table* row = view(item);
    m_rebuiltOnly.remove(item);
    conditions::changeConstMode(row);
    conditions::writeChoices(row, itemKind(item), controlsOf(item));
    m_hooks.setModified(true);
}

conditions::ItemControls ConditionPanels::controlsOf(int item) const
{
    conditions::ItemControls controls;
    for (int k = 1; k <= kMaxChoices; ++k)
        controls.checked.append(control<QCheckBox>(parts::conditionCheckBox(item, k))->isChecked());
    for (int choice = 0; choice < 2; ++choice) {
        if (control<QRadioButton>(parts::conditionRadioButton(item, choice))->isChecked())
            controls.selected = choice;
    }
    return controls;
}

QString ConditionPanels::itemKind(int item) const
{
    // The kinds of the last rebuild hold while the panels show this registration: a reload of the
    // rows would put a stored kind back into the box of an item the code no longer defines.
    if (!m_kinds.isEmpty() && !builtForAnotherRegistration())
        return m_kinds.value(item);
    return control<QLineEdit>(QStringLiteral("TYPE%1").arg(item))->text().trimmed();
}

// ---------------------------------------------------------------- rebuild

QString ConditionPanels::currentRegNo() const
{
    store::Table* main = m_dm.table(QStringLiteral("NT_TBL_MAIN"));
    return main->isActive() ? main->field(QStringLiteral("REG_NO")).asString().trimmed() : QString();
}

bool ConditionPanels::builtForAnotherRegistration() const
{
    return m_builtFor != currentRegNo();
}

void ConditionPanels::forgetBuild()
{
    m_builtFor.clear();
    m_kinds.clear();
    m_rebuiltOnly.clear();
    // The rebuild emptied the kind boxes without touching the rows: they show the rows' kinds again.
    for (int item = 1; item <= kItemCount; ++item) {
        store::Table* row = view(item);
        showKind(item, row->isActive() && !row->isEmpty() ? row->field(QStringLiteral("TYPE")).asString() : QString());
    }
}

void ConditionPanels::abandonRebuiltRows()
{
    for (const int item : std::as_const(m_rebuiltOnly)) {
        if (view(item)->isEditing())
            view(item)->cancel();
    }
    m_rebuiltOnly.clear();
}

QString ConditionPanels::currentLevel3Code() const
{
    const auto shown = [this](const char* name) {
        auto* box = control<QLineEdit>(QLatin1String(name));
        return box ? box->text() : QString();
    };
    return conditions::definitionCode(shown("LEVEL1_COMBO"), shown("LEVEL2_COMBO"), shown("LEVEL3_COMBO"));
}

void ConditionPanels::hidePanels()
{
    for (int item = 1; item <= kItemCount; ++item) {
        for (const QString& kind : kPanelKinds)
            control(QStringLiteral("plCNST_") + kind + QString::number(item))->hide();
    }
    control(QStringLiteral("lblNoCnst"))->hide();
}

void ConditionPanels::hideAll()
{
    hidePanels();
    for (int item = 1; item <= kItemCount; ++item) {
        for (int k = 1; k <= kMaxChoices; ++k) {
            auto* box = control<QCheckBox>(parts::conditionCheckBox(item, k));
            box->hide();
            box->setChecked(false);
        }
    }
}

void ConditionPanels::setItemFields(int item, const conditions::ItemDefinition& definition)
{
    store::Table* row = view(item);
    row->field(QStringLiteral("ORD")).setString(QString::number(item));
    row->field(QStringLiteral("TYPE")).setString(definition.kind);
    row->field(QStringLiteral("NAME")).setString(definition.name);
    if (definition.isMeasured())
        row->field(QStringLiteral("F_UNIT")).setString(definition.storedUnit());
}

void ConditionPanels::showKind(int item, const QString& kind)
{
    auto* kindBox = control<QLineEdit>(QStringLiteral("TYPE%1").arg(item));
    const bool blocked = kindBox->blockSignals(true);
    kindBox->setText(kind);
    kindBox->blockSignals(blocked);
}

bool ConditionPanels::rowMatches(int item, const conditions::ItemDefinition& definition) const
{
    store::Table* row = view(item);
    if (!row->isActive() || row->isEmpty())
        return false;
    const auto holds = [row](const char* field, const QString& value) { return row->field(QLatin1String(field)).asString().trimmed() == value.trimmed(); };
    return holds("ORD", QString::number(item)) && holds("TYPE", definition.kind) && holds("NAME", definition.name)
        && (!definition.isMeasured() || holds("F_UNIT", definition.storedUnit()));
}

void ConditionPanels::showItem(int item, const conditions::ItemDefinition& definition)
{
    const QString n = QString::number(item);
    const QString kind = definition.kind;
    if (!kPanelKinds.contains(kind))
        return;
    const QString stored = view(item)->field(QStringLiteral("TXT")).asString();
    const auto setLabel = [this](const QString& name, const QString& text) { control<QLabel>(name)->setText(text); };

    if (kind == QLatin1String("M")) {
        for (int k = 1; k <= definition.choices.size(); ++k) {
            auto* box = control<QCheckBox>(parts::conditionCheckBox(item, k));
            box->setText(definition.choices.at(k - 1));
            box->show();
            if (!stored.isEmpty())
                box->setChecked(conditions::isChecked(stored, k));
        }
        setLabel(QStringLiteral("Label_M") + n, definition.name);
    } else if (kind == QLatin1String("N") || kind == QLatin1String("R")) {
        setLabel(QStringLiteral("Label_") + kind + n + QLatin1Char('1'), definition.name);
        auto* unit = control<QLabel>(QStringLiteral("Label_") + kind + n + QLatin1Char('2'));
        unit->setText(definition.unit);
        unit->setVisible(definition.hasUnit);
    } else if (kind == QLatin1String("S")) {
        const int selected = conditions::selectedChoice(stored);
        for (int choice = 0; choice < 2; ++choice) {
            auto* button = control<QRadioButton>(parts::conditionRadioButton(item, choice));
            const QString caption = conditions::choiceCaption(definition, choice);
            button->setText(caption);
            button->setVisible(!caption.isEmpty());
            button->setAutoExclusive(false);
            button->setChecked(selected == choice);
            button->setAutoExclusive(true);
        }
        setLabel(QStringLiteral("Label_S") + n, definition.name);
    } else {
        setLabel(QStringLiteral("Label_T") + n, definition.name);
    }
    control(QStringLiteral("plCNST_") + kind + n)->show();
}

void ConditionPanels::LoadConstConditions(const QString& code)
{
    const widgets::BusyIndicator busy(QStringLiteral("施工条件の項目を作成しています…"), m_root);
    // The definitions are read before anything is touched: without them nothing can be entered,
    // and the stored rows and the choices in the boxes stay exactly as they are.
    QList<conditions::ItemDefinition> definitions;
    QString error;
    if (!conditions::readDefinitions(m_dm.folder().path(conditions::kDefinitionFileName), code, &definitions, &error)) {
        hidePanels();
        m_kinds.clear();
        m_builtFor = currentRegNo(); // told once for this registration, not again at once
        fitPage();
        UserInteraction::current().error(kProgramTitle, error);
        return;
    }
    writePendingValues();
    hideAll();
    // The kind boxes are emptied without touching the rows: an item the file no longer defines
    // keeps an empty kind, so that the save removes its row.
    m_kinds.clear();
    for (int item = 1; item <= kItemCount; ++item) {
        showKind(item, QString());
        m_kinds.insert(item, QString());
    }
    const bool wasModified = m_hooks.isModified();
    m_builtFor = currentRegNo();

    for (const conditions::ItemDefinition& definition : std::as_const(definitions)) {
        if (definition.item == 0)
            continue;
        // A stored row that already carries the definition stays as it is: the user's first
        // change then starts its edit as on any other page.
        m_kinds.insert(definition.item, definition.kind);
        if (rowMatches(definition.item, definition)) {
            showKind(definition.item, definition.kind);
        } else {
            if (!view(definition.item)->isEditing())
                m_rebuiltOnly.insert(definition.item);
            conditions::changeConstMode(view(definition.item));
            conditions::dropValuesOfAnotherKind(view(definition.item), definition.kind);
            setItemFields(definition.item, definition);
        }
        showItem(definition.item, definition);
    }
    if (definitions.isEmpty())
        control(QStringLiteral("lblNoCnst"))->show();
    dropPendingValuesOfHiddenBoxes();
    fitPage();

    // The rows stay in edit until the save posts them or a discard cancels them: posted here, the
    // user's pending values would outlive a discard. A row this area began for an item the code no
    // longer defines is abandoned; a stored one is removed by the save (its kind box is empty).
    for (int item = int(definitions.size()) + 1; item <= kItemCount; ++item) {
        if (view(item)->state() == store::Table::State::Insert)
            view(item)->cancel();
    }
    m_hooks.setModified(wasModified);
}

// A value typed into a box and not yet written (the box never lost the focus) reaches its row
// before the items are rebuilt, so that it stays in the row like a value written earlier. The
// number box and the lower bound of a range share one field: left pending in the box of a kind
// the item no longer has, it would overwrite what the user enters in the other at the save.
void ConditionPanels::writePendingValues()
{
    for (int item = 1; item <= kItemCount; ++item) {
        for (widgets::FieldLink* link : valueLinks(item))
            link->updateRecord();
    }
}

// A text the field refused stays pending in its box for correction; in a box the rebuild hid, no
// one can correct it, and it shows the row's value again.
void ConditionPanels::dropPendingValuesOfHiddenBoxes()
{
    for (int item = 1; item <= kItemCount; ++item) {
        for (widgets::FieldLink* link : valueLinks(item)) {
            auto* box = qobject_cast<QWidget*>(link->parent());
            if (link->isModified() && box && !box->isVisibleTo(control(QStringLiteral("CnstArea"))))
                link->reload();
        }
    }
}

void ConditionPanels::fitPage()
{
    for (QWidget* w = control(QStringLiteral("CnstArea")); w; w = w->parentWidget()) {
        if (auto* page = qobject_cast<ScrollingPage*>(w)) {
            page->fitPanel();
            return;
        }
    }
}

// ---------------------------------------------------------------- save

void ConditionPanels::saveConditions()
{
    m_dm.table(QStringLiteral("NT_TBL_CONST_CONDITION"))->checkBrowseMode();
    CdsCnstDataChk();
    for (int item = 1; item <= kItemCount; ++item)
        PutDataConst(item);
}

void ConditionPanels::PutDataConst(int item)
{
    // A row only the rebuild changed takes its definition as it is, without the clean-up of
    // what the user entered.
    const QString kind = itemKind(item);
    if (m_rebuiltOnly.remove(item) && !kind.isEmpty() && view(item)->isEditing()) {
        view(item)->post();
        return;
    }
    if (conditions::putDataConst(view(item), kind, controlsOf(item)))
        m_hooks.setModified(false);
}

void ConditionPanels::CdsCnstDataChk()
{
    conditions::removeIncompleteRows(m_dm.table(QStringLiteral("NT_TBL_CONST_CONDITION")));
    m_hooks.setModified(false);
}

// ---------------------------------------------------------------- range check

void ConditionPanels::ChkTypR(int item)
{
    auto* lower = control<QLineEdit>(parts::conditionRangeBox(item, 1));
    auto* upper = control<QLineEdit>(parts::conditionRangeBox(item, 2));
    if (!conditions::rangeContradicts(lower->text(), upper->text()))
        return;
    const QString name = control<QLabel>(parts::conditionRangeCaption(item))->text();
    UserInteraction::current().inform(QStringLiteral("情報"), conditions::rangeContradictionMessage(name));
    widgets::focusForCorrection(lower);
}

void ConditionPanels::onFocusChanged(QWidget* old, QWidget* now)
{
    // Only a move to another control of the same window leaves a panel; a window losing the
    // focus to another program or a message box does not.
    if (!old || !now || now->window() != old->window())
        return;
    for (int item = 1; item <= kItemCount; ++item) {
        QWidget* panel = control(QStringLiteral("plCNST_R%1").arg(item));
        if (panel->isAncestorOf(old) && !panel->isAncestorOf(now))
            ChkTypR(item);
    }
}

} // namespace app
