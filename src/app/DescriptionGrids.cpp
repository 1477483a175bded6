#include "app/DescriptionGrids.h"

#include "entry/DescriptionTables.h"
#include "store/Table.h"
#include "util/InputRules.h"
#include "util/SjisText.h"
#include "util/UserInteraction.h"
#include "widgets/EntryBoxRules.h"
#include "widgets/EventHook.h"
#include "widgets/RemainingBytes.h"
#include "widgets/TextLineEdit.h"
#include "widgets/TextMemo.h"

#include <QApplication>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace app {

namespace {

const QColor kHeadingColour(0, 128, 128);

QString tableCaption(const QString& gridName)
{
    static const QHash<QString, QString> captions = {
        {"SUMMARY_TABLE", "概要の表"},
        {"FEATURE_TABLE", "特徴の表"},
        {"CNST_METHOD_TABLE", "施工方法の表"},
        {"CNST_COST_TABLE", "施工単価の表"},
        {"TEST_TABLE", "実験等実施状況の表"},
    };
    return captions.value(gridName, gridName);
}

int headingCount(const QLineEdit* box)
{
    return entry::clampedHeadingCount(box->text()).toInt();
}

// Draws the heading columns and rows of a grid on teal and the cells' text from their top-left
// corner; the editor refuses characters that Shift_JIS cannot hold.
class CellDelegate : public QStyledItemDelegate
{
public:
    CellDelegate(const QLineEdit* columnsBox, const QLineEdit* rowsBox, QObject* parent)
        : QStyledItemDelegate(parent)
        , m_columnsBox(columnsBox)
        , m_rowsBox(rowsBox)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* editor = new widgets::TextLineEdit(QString(), parent);
        editor->setFrame(false);
        return editor;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const int c = index.column();
        const int r = index.row();
        if (c == 0 || r == 0)
            return;
        option->displayAlignment = Qt::AlignLeft | Qt::AlignTop;
        if (c <= headingCount(m_columnsBox) || r <= headingCount(m_rowsBox))
            option->backgroundBrush = kHeadingColour;
    }

private:
    const QLineEdit* m_columnsBox;
    const QLineEdit* m_rowsBox;
};

bool inside(const QWidget* widget, const QWidget* container)
{
    return widget && (widget == container || container->isAncestorOf(widget));
}

} // namespace

DescriptionGrids::DescriptionGrids(QWidget* root, Hooks hooks, QObject* parent)
    : QObject(parent)
    , m_hooks(std::move(hooks))
{
    m_tables.reserve(parts::kDescriptionTables.size());
    for (const parts::DescriptionTableNames& names : parts::kDescriptionTables) {
        Controls table;
        table.names = names;
        table.grid = root->findChild<QTableWidget*>(names.grid);
        table.title = root->findChild<QLineEdit*>(names.title);
        table.columnsBox = root->findChild<QLineEdit*>(names.columnsBox);
        table.rowsBox = root->findChild<QLineEdit*>(names.rowsBox);
        table.columnsArrows = root->findChild<QSpinBox*>(names.columnsArrows);
        table.rowsArrows = root->findChild<QSpinBox*>(names.rowsArrows);
        table.memo = root->findChild<widgets::TextMemo*>(names.memo);
        Q_ASSERT(table.grid && table.title && table.columnsBox && table.rowsBox && table.columnsArrows && table.rowsArrows && table.memo);
        m_tables.push_back(table);
    }
    for (int i = 0; i < int(m_tables.size()); ++i)
        connectTable(i);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        for (const Controls& table : m_tables) {
            if (inside(old, table.grid) && !inside(now, table.grid))
                tidyGridOnLeaving(table.grid);
        }
    });
}

void DescriptionGrids::connectTable(int index)
{
    Controls& table = m_tables.at(index);
    QTableWidget* grid = table.grid;
    {
        QScopedValueRollback loading(m_loading, true);
        for (int r = 1; r <= entry::kTableCells; ++r)
            for (int c = 1; c <= entry::kTableCells; ++c)
                grid->setItem(r, c, new QTableWidgetItem);
    }
    grid->setItemDelegate(new CellDelegate(table.columnsBox, table.rowsBox, grid));
    table.counter = new widgets::RemainingBytesLabel(
        entry::kTableTextLimit, [this, index] { return entry::tableTextBytes(contents(m_tables.at(index))); }, grid->parentWidget());
    table.counter->setObjectName(QStringLiteral("lblRemain_") + table.names.grid);
    widgets::placeBeside(table.rowsArrows, table.counter);
    // A load sets every cell: the counter counts once when it is done.
    connect(grid, &QTableWidget::itemChanged, this, [this, counter = table.counter] {
        StrgGrdSetEditText();
        if (!m_loading)
            counter->refresh();
    });
    connect(table.title, &QLineEdit::textChanged, table.counter, &widgets::RemainingBytesLabel::refresh);
    connect(table.memo, &QPlainTextEdit::textChanged, this, [this, index] { LoadGridText(m_tables.at(index)); });
    connectHeadingBox(index, table.columnsBox, table.columnsArrows);
    connectHeadingBox(index, table.rowsBox, table.rowsArrows);
    connectTablePart(table.title);
    connect(table.title, &QLineEdit::textChanged, this, [this, box = table.title] { tablePartChanged(box); });
}

void DescriptionGrids::connectHeadingBox(int index, QLineEdit* box, QSpinBox* arrows)
{
    connectTablePart(box);
    connect(box, &QLineEdit::textChanged, this, [this, index, box, arrows] { headingCountChanged(m_tables.at(index), box, arrows); });
    // An arrow click changes the box as if the user typed in it.
    connect(arrows, &QSpinBox::valueChanged, this, [this, box](int value) {
        QScopedValueRollback click(m_arrowClick, true);
        box->setText(QString::number(value));
    });
}

// TablePartsEnter and TablePartsExit: only a change made while the box has the focus marks the
// registration as changed; a box left is converted to half-width where it can be.
void DescriptionGrids::connectTablePart(QLineEdit* box)
{
    widgets::onEvent(box, QEvent::FocusIn, [this](QEvent*) {
        m_partsFocus = true;
        return false;
    });
    widgets::onEvent(box, QEvent::FocusOut, [this, box](QEvent*) {
        m_partsFocus = false;
        widgets::convertWidthOnExit(box);
        return false;
    });
}

void DescriptionGrids::headingCountChanged(Controls& table, QLineEdit* box, QSpinBox* arrows)
{
    const QString clamped = entry::clampedHeadingCount(box->text());
    if (clamped != box->text()) {
        box->setText(clamped); // comes back here with the clamped text
        return;
    }
    {
        const QSignalBlocker quiet(arrows);
        arrows->setValue(clamped.toInt());
    }
    tablePartChanged(box);
    table.grid->viewport()->update();
}

void DescriptionGrids::tablePartChanged(QLineEdit* box)
{
    if (!m_loading && (m_partsFocus || m_arrowClick))
        m_hooks.markModified();
    widgets::removeDoubleBlanks(box);
}

void DescriptionGrids::StrgGrdSetEditText()
{
    if (!m_loading)
        m_hooks.markModified();
}

void DescriptionGrids::tidyGridOnLeaving(QTableWidget* grid)
{
    // The tidy-up of a grid being left changes texts the user has already entered.
    QScopedValueRollback loading(m_loading, true);
    for (int r = 0; r < grid->rowCount(); ++r) {
        for (int c = 0; c < grid->columnCount(); ++c) {
            QTableWidgetItem* item = grid->item(r, c);
            if (!item || item->text().isEmpty())
                continue;
            QString text = sjis::NormalizeCharWidth(item->text());
            int cursor = 0;
            while (inputrules::removeDoubleBlank(&text, &cursor)) {
            }
            if (text != item->text())
                item->setText(text);
        }
    }
    for (const Controls& table : m_tables) {
        if (table.grid == grid)
            table.counter->refresh();
    }
}

report::DescriptionGrid DescriptionGrids::contents(const Controls& table) const
{
    report::DescriptionGrid grid;
    for (int r = 1; r <= entry::kTableCells; ++r)
        for (int c = 1; c <= entry::kTableCells; ++c)
            if (QTableWidgetItem* item = table.grid->item(r, c))
                grid.setCell(c, r, item->text());
    grid.headerColumns = table.columnsBox->text();
    grid.headerRows = table.rowsBox->text();
    grid.title = table.title->text();
    return grid;
}

report::DescriptionGrid DescriptionGrids::contents(const QString& gridName) const
{
    for (const Controls& table : m_tables) {
        if (table.names.grid == gridName)
            return contents(table);
    }
    return {};
}

void DescriptionGrids::LoadGridText(Controls& table)
{
    const entry::LoadedTable loaded = entry::LoadGridText(table.memo->text());
    QScopedValueRollback loading(m_loading, true);
    for (int r = 1; r <= entry::kTableCells; ++r)
        for (int c = 1; c <= entry::kTableCells; ++c)
            table.grid->item(r, c)->setText(loaded.grid.cell(c, r));
    table.title->setText(loaded.grid.title);
    table.columnsBox->setText(loaded.grid.headerColumns);
    table.rowsBox->setText(loaded.grid.headerRows);
    table.problems = loaded.problems;
    table.counter->refresh();
}

void DescriptionGrids::SaveGridText(Controls& table)
{
    const QString text = entry::SaveGridText(contents(table));
    store::Table* description = m_hooks.descriptionTable();
    if (!description->isEditing())
        description->edit();
    table.memo->setText(text);
    description->field(table.names.grid).setString(text);
    // The grid shows what was stored (trimmed to the used extent) even when the text is unchanged.
    LoadGridText(table);
}

void DescriptionGrids::SaveAllGridText()
{
    for (Controls& table : m_tables)
        SaveGridText(table);
}

void DescriptionGrids::reloadAll()
{
    for (Controls& table : m_tables)
        LoadGridText(table);
}

void DescriptionGrids::showLoadProblems()
{
    for (Controls& table : m_tables) {
        if (table.problems.isEmpty())
            continue;
        UserInteraction::current().warn(QStringLiteral("注意"), tableCaption(table.names.grid) +
                                                                  QStringLiteral("の保存内容に、表にそのまま表示できない部分があります。\r\n") +
                                                                  table.problems.join(QStringLiteral("\r\n")));
        table.problems.clear();
    }
}

} // namespace app
