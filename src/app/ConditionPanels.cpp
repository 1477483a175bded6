#include "app/ConditionPanels.h"

#include "app/EntryParts.h"

#include "app/ScrollingPage.h"
#include "store/DataModule.h"
#include "store/Table.h"
#include "util/UserInteraction.h"
#include "widgets/NamedChild.h"

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

// The hourglass while the area is rebuilt.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

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
        for (int k = 1; k <= kMaxChoices; ++k)
            control(parts::conditionCheckBox(item, k))->installEventFilter(this);
        for (int choice = 0; choice < 2; ++choice)
            control(parts::conditionRadioButton(item, choice))->installEventFilter(this);
    }
    connect(qApp, &QApplication::focusChanged, this, &ConditionPanels::onFocusChanged);
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
    if (definition.hasUnit)
        row->field(QStringLiteral("F_UNIT")).setString(definition.unit);
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
    WaitCursor wait;
    // The definitions are read before anything is touched: without them nothing can be entered,
    // and the stored rows and the choices in the boxes stay exactly as they are.
    QList<conditions::ItemDefinition> definitions;
    QString error;
    if (!conditions::readDefinitions(m_dm.folder().path(conditions::kDefinitionFileName), code, &definitions, &error)) {
        hidePanels();
        m_builtFor = currentRegNo(); // told once for this registration, not again at once
        fitPage();
        UserInteraction::current().error(kProgramTitle, error);
        return;
    }
    hideAll();
    // The kind boxes are emptied without touching the rows: an item the file no longer defines
    // keeps an empty kind, so that the save removes its row.
    for (int item = 1; item <= kItemCount; ++item) {
        auto* kindBox = control<QLineEdit>(QStringLiteral("TYPE%1").arg(item));
        const bool blocked = kindBox->blockSignals(true);
        kindBox->clear();
        kindBox->blockSignals(blocked);
    }
    const bool wasModified = m_hooks.isModified();
    m_builtFor = currentRegNo();

    for (const conditions::ItemDefinition& definition : std::as_const(definitions)) {
        if (definition.item == 0)
            continue;
        conditions::changeConstMode(view(definition.item));
        setItemFields(definition.item, definition);
        showItem(definition.item, definition);
    }
    if (definitions.isEmpty())
        control(QStringLiteral("lblNoCnst"))->show();
    fitPage();

    for (int item = 1; item <= kItemCount; ++item) {
        store::Table* itemView = view(item);
        if (item > definitions.size())
            conditions::removeItemRow(itemView);
        else if (itemView->isEditing())
            itemView->post();
    }
    m_hooks.setModified(wasModified);
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

void ConditionPanels::PutDataConst(int item)
{
    const QString kind = control<QLineEdit>(QStringLiteral("TYPE%1").arg(item))->text().trimmed();
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
    lower->setFocus();
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
