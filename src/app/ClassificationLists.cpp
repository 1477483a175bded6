#include "app/ClassificationLists.h"

#include "entry/Classification.h"
#include "store/Table.h"
#include "widgets/DBEdit.h"
#include "widgets/NamedChild.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>

namespace app {

namespace cls = classification;

namespace {

// Shows `title` in a list box whose entries are display state: the entry is selected when the list
// holds it, otherwise the list is reduced to that title until it is opened again.
void showTitle(QComboBox* list, const QString& title)
{
    if (title.isEmpty()) {
        list->clear();
        return;
    }
    int index = list->findText(title, Qt::MatchExactly);
    if (index < 0) {
        list->clear();
        list->addItem(title);
        index = 0;
    }
    list->setCurrentIndex(index);
}

bool opensList(const QKeyEvent* key)
{
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_F4)
        return modifiers == Qt::NoModifier;
    if (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up)
        return modifiers == Qt::NoModifier || modifiers == Qt::AltModifier;
    return false;
}

} // namespace

ClassificationLists::ClassificationLists(QWidget* root, TableOf tableOf, QObject* parent)
    : QObject(parent)
    , m_root(root)
    , m_tableOf(std::move(tableOf))
{
    for (int slot = 1; slot <= cls::kSlots; ++slot) {
        for (int level = 1; level <= cls::kLevels; ++level) {
            QComboBox* box = list(level, slot);
            m_places.insert(box, {level, slot});
            box->installEventFilter(this);
            connect(box, &QComboBox::activated, this, [this, level, slot] { levelChosen(level, slot); });
        }
    }
}

QComboBox* ClassificationLists::list(int level, int slot) const
{
    return widgets::namedChild<QComboBox>(m_root, cls::listBoxName(level, slot));
}

widgets::DBEdit* ClassificationLists::codeBox(int level, int slot) const
{
    return widgets::namedChild<widgets::DBEdit>(m_root, cls::codeBoxName(level, slot));
}

store::Table* ClassificationLists::levelTable(int level) const
{
    return m_tableOf(cls::levelTableName(level));
}

bool ClassificationLists::eventFilter(QObject* watched, QEvent* event)
{
    // A list is filled just before it opens: on a press of the left button, and on the keys that
    // open a list (F4, Alt+Down, Alt+Up, and Down or Up, which here open it rather than step
    // through an unfilled list; typed characters are discarded by the choice-only rule).
    if (!m_places.contains(watched))
        return QObject::eventFilter(watched, event);
    const auto [level, slot] = m_places.value(watched);
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        listOpened(level, slot);
    } else if (event->type() == QEvent::KeyPress && opensList(static_cast<QKeyEvent*>(event))) {
        listOpened(level, slot);
        static_cast<QComboBox*>(watched)->showPopup();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void ClassificationLists::fill(QComboBox* box, const QStringList& titles, bool withEmptyEntry)
{
    // The title shown stays selected when the new list holds it.
    const QString shown = box->currentText();
    box->clear();
    if (withEmptyEntry)
        box->addItem(QString());
    box->addItems(titles);
    box->setCurrentIndex(shown.isEmpty() ? -1 : box->findText(shown, Qt::MatchExactly));
}

void ClassificationLists::listOpened(int level, int slot)
{
    QComboBox* box = list(level, slot);
    if (level == 1) {
        // Slots 2 to 5 start with an empty entry, so that they can be emptied again.
        fill(box, cls::titles(levelTable(1)), slot != 1);
        return;
    }
    const QString parentCode = codeBox(level - 1, slot)->text().trimmed();
    if (list(level - 1, slot)->currentText().isEmpty() || parentCode.isEmpty()) {
        box->clear();
        return;
    }
    fill(box, cls::childTitles(levelTable(level), parentCode), false);
}

void ClassificationLists::levelChosen(int level, int slot)
{
    SetGrpCD(level, slot);
    for (int below : cls::levelsClearedByChoice(level, !list(level, slot)->currentText().isEmpty()))
        ClearCmb(below, slot);
}

void ClassificationLists::SetGrpCD(int level, int slot)
{
    store::Table* table = levelTable(level);
    // The range of this slot is set again: the filter may have been left for another slot's list.
    if (level > 1)
        cls::childTitles(table, codeBox(level - 1, slot)->text().trimmed());
    if (const std::optional<QString> code = cls::codeOfTitle(table, list(level, slot)->currentText()))
        writeCode(level, slot, *code);
}

void ClassificationLists::ClearCmb(int level, int slot)
{
    list(level, slot)->clear();
    writeCode(level, slot, QString());
}

void ClassificationLists::writeCode(int level, int slot, const QString& code)
{
    widgets::DBEdit* box = codeBox(level, slot);
    if (box->text() == code)
        return;
    box->setText(code);
    box->link()->updateRecord();
}

void ClassificationLists::SetGrpData(int level, int slot)
{
    if (const std::optional<QString> title = cls::titleOfCode(levelTable(level), codeBox(level, slot)->text().trimmed()))
        showTitle(list(level, slot), *title);
}

void ClassificationLists::SetGrpTitle()
{
    for (int slot = 1; slot <= cls::kSlots; ++slot) {
        for (int level = 1; level <= cls::kLevels; ++level) {
            if (codeBox(level, slot)->text().trimmed().isEmpty())
                showTitle(list(level, slot), QString());
            else
                SetGrpData(level, slot);
        }
    }
}

void ClassificationLists::switchOffFilters()
{
    for (int level = 1; level <= cls::kLevels; ++level)
        levelTable(level)->setFiltered(false);
}

} // namespace app
