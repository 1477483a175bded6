#include "app/EntryParts.h"

#include "entry/Conditions.h"
#include "widgets/DBEdit.h"
#include "widgets/DBMemo.h"
#include "widgets/GridEditing.h"
#include "widgets/RightAlignedEdit.h"
#include "widgets/TextLineEdit.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace app::parts {

const QStringList kPhotoSlotLetters = {"A", "B", "S", "T", "G", "H", "I"};

int photoSlotNumber(const QString& letter)
{
    return int(kPhotoSlotLetters.indexOf(letter)) + 1;
}

QString photoPreviewName(const QString& letter)
{
    return QStringLiteral("ImagePreview_") + letter;
}

QWidget* photoSlot(const QString& letter, const QString& caption, const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* box = new QGroupBox(caption, parent);
    auto* grid = new QGridLayout(box);
    const QString view = QStringLiteral("NT_TBL_INFO_IMAGES%1").arg(photoSlotNumber(letter));
    auto* path = new widgets::DBEdit(sourceOf(view), QStringLiteral("IMAGES_ORIGINAL"), box, QStringLiteral("ImagePath_") + letter);
    auto* title = new widgets::DBEdit(sourceOf(QStringLiteral("NT_TBL_PICTURE")), QStringLiteral("PICTURE_") + letter, box);
    grid->addWidget(form::label(QStringLiteral("ファイル名"), box), 0, 0);
    grid->addWidget(path, 0, 1);
    grid->addWidget(form::button(QStringLiteral("BtnPICTURE_") + letter, QStringLiteral("選択"), box), 0, 2);
    grid->addWidget(form::button(QStringLiteral("BtnCancelPICTURE_") + letter, QStringLiteral("クリア"), box), 0, 3);
    grid->addWidget(form::label(QStringLiteral("写真タイトル"), box), 1, 0);
    grid->addWidget(title, 1, 1, 1, 3);
    // A small picture of the photo in the slot, beside its file name; empty for an empty slot.
    auto* preview = new QLabel(box);
    preview->setObjectName(photoPreviewName(letter));
    preview->setFixedSize(kPhotoPreviewSize);
    preview->setAlignment(Qt::AlignCenter);
    grid->addWidget(preview, 0, 4, 2, 1);
    grid->setColumnStretch(1, 1);
    return box;
}

const QList<DescriptionTableNames> kDescriptionTables = {
    {"SUMMARY_TABLE", "SUMMARY_TABLE_TITLE", "eTCntSUMMARYcol", "udSUMMARY_TABLE_Col", "eTCntSUMMARYrow", "udSUMMARY_TABLE_Row", "SUMMARY_TABLE_MEMO"},
    {"FEATURE_TABLE", "FEATURE_TABLE_TITLE", "eTCntFEATUREcol", "udTCntFEATUREcol", "eTCntFEATURErow", "udTCntFEATURErow", "FEATURE_TABLE_MEMO"},
    {"CNST_METHOD_TABLE", "CNST_METHOD_TABLE_TITLE", "eTCntCNST_METHODcol", "udTCntCNST_METHODcol", "eTCntCNST_METHODrow",
     "udTCntCNST_METHODrow", "CNST_METHOD_TABLE_MEMO"},
    {"CNST_COST_TABLE", "CNST_COST_TABLE_TITLE", "eTCntCNST_COSTcol", "udTCntCNST_COSTcol", "eTCntCNST_COSTrow", "udTCntCNST_COSTrow",
     "CNST_COST_TABLE_MEMO"},
    {"TEST_TABLE", "TEST_TABLE_TITLE", "eTCntTEST_TITLEScol", "udTCntTESTcol", "eTCntTEST_TITLESrow", "udTCntTESTrow", "TEST_TABLE_MEMO"},
};

namespace {

// The arrows beside a heading-count box: a spin box that shows only its two arrow buttons, as
// wide as they are; the box beside it shows the number.
class ArrowButtons : public QSpinBox
{
public:
    explicit ArrowButtons(QWidget* parent) : QSpinBox(parent)
    {
        lineEdit()->hide();
        QStyleOptionSpinBox option;
        initStyleOption(&option);
        constexpr int kProbeWidth = 100;
        option.rect = QRect(0, 0, kProbeWidth, QSpinBox::sizeHint().height());
        const QRect up = style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, this);
        setFixedWidth(kProbeWidth - up.left() + 2);
    }
};

// A heading-count box with its arrows: the box holds "0" … "3".
void addHeadingCount(QHBoxLayout* row, const QString& caption, const QString& boxName, const QString& arrowsName, QWidget* parent)
{
    row->addWidget(form::label(caption, parent));
    auto* box = new widgets::TextLineEdit(boxName, parent);
    box->setText(QStringLiteral("0"));
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00")) + 14);
    row->addWidget(box);
    auto* arrows = new ArrowButtons(parent);
    arrows->setObjectName(arrowsName);
    arrows->setRange(0, 3);
    arrows->setFocusPolicy(Qt::NoFocus);
    row->addWidget(arrows);
}

// Tab leaves a grid from its last cell and Shift+Tab from its first, Ctrl+Tab and Ctrl+Shift+Tab
// from any cell, as in spreadsheets; elsewhere Tab moves from cell to cell. An open cell editor
// hands its text over first.
class GridTabExit : public QObject
{
public:
    explicit GridTabExit(QTableWidget* grid) : QObject(grid), m_grid(grid)
    {
        grid->installEventFilter(this);
        // The editor of a cell gets the keys while it is open.
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (now && m_grid->viewport()->isAncestorOf(now))
                now->installEventFilter(this);
        });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (m_leaving || event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
            return false;
        const bool back = key->key() == Qt::Key_Backtab || key->modifiers().testFlag(Qt::ShiftModifier);
        const QModelIndex current = m_grid->currentIndex();
        const bool atEdge = back ? current.row() <= 1 && current.column() <= 1
                                 : current.row() == m_grid->rowCount() - 1 && current.column() == m_grid->columnCount() - 1;
        if (!atEdge && !key->modifiers().testFlag(Qt::ControlModifier))
            return false;
        leave(back);
        return true;
    }

private:
    void leave(bool back)
    {
        const QScopedValueRollback leaving(m_leaving, true);
        m_grid->setFocus(Qt::TabFocusReason);
        m_grid->setTabKeyNavigation(false);
        QKeyEvent tab(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
        QCoreApplication::sendEvent(m_grid, &tab);
        m_grid->setTabKeyNavigation(true);
    }

    QTableWidget* m_grid;
    bool m_leaving = false;
};

// No column grows wider than the grid minus the number column and 40 pixels, so that a column
// dragged wide can still be narrowed.
void capColumnWidths(QTableWidget* grid)
{
    QObject::connect(grid->horizontalHeader(), &QHeaderView::sectionResized, grid, [grid](int column, int, int width) {
        const int widest = grid->width() - grid->verticalHeader()->width() - 40;
        if (widest > 0 && width > widest)
            grid->horizontalHeader()->resizeSection(column, widest);
    });
}

// The grid's fixed row and column (letters and numbers) are Qt's own headers, so they stay in
// place when the cells scroll, and the column letters can be dragged to resize a column. The
// cells of row 0 and column 0 still hold the letters and numbers, hidden.
void showHeaders(QTableWidget* grid)
{
    QStringList letters = {QString()};
    QStringList numbers = {QString()};
    for (int i = 1; i <= 20; ++i) {
        letters << QString(QChar(64 + i));
        numbers << QString::number(i);
    }
    grid->setHorizontalHeaderLabels(letters);
    grid->setVerticalHeaderLabels(numbers);
    grid->setColumnHidden(0, true);
    grid->setRowHidden(0, true);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // The number column is 20 pixels wide, or what "20" needs in a larger font.
    grid->verticalHeader()->setFixedWidth(std::max(20, grid->fontMetrics().horizontalAdvance(QStringLiteral("20")) + 8));
}

} // namespace

void InitStringGrid(QTableWidget* grid)
{
    grid->setColumnWidth(0, 20);
    for (int r = 1; r <= 20; ++r)
        grid->setItem(r, 0, new QTableWidgetItem(QString::number(r)));
    for (int c = 1; c <= 20; ++c)
        grid->setItem(0, c, new QTableWidgetItem(QString(QChar(64 + c))));
    const QColor fixed = grid->palette().color(QPalette::Button);
    for (int i = 1; i <= 20; ++i) {
        for (QTableWidgetItem* item : {grid->item(i, 0), grid->item(0, i)}) {
            item->setFlags(Qt::ItemIsEnabled);
            item->setTextAlignment(Qt::AlignCenter);
            item->setBackground(fixed);
        }
    }
}

QWidget* descriptionTable(const DescriptionTableNames& names, const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* head = new QHBoxLayout;
    head->addWidget(form::label(QStringLiteral("表タイトル"), box));
    head->addWidget(new widgets::TextLineEdit(names.title, box), 1);
    head->addSpacing(12);
    head->addWidget(form::label(QStringLiteral("見出し"), box));
    addHeadingCount(head, QStringLiteral("列数"), names.columnsBox, names.columnsArrows, box);
    addHeadingCount(head, QStringLiteral("行数"), names.rowsBox, names.rowsArrows, box);
    layout->addLayout(head);

    auto* grid = new QTableWidget(21, 21, box);
    grid->setObjectName(names.grid);
    grid->horizontalHeader()->setDefaultSectionSize(130);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->setFixedHeight((grid->fontMetrics().height() + 6) * 9 + 4);
    InitStringGrid(grid);
    showHeaders(grid);
    capColumnWidths(grid);
    new GridTabExit(grid);
    widgets::attachGridEditing(grid);
    layout->addWidget(grid);

    auto* memo = new widgets::DBMemo(sourceOf(QStringLiteral("NT_TBL_DESCRIPTION")), names.grid, box, names.memo);
    memo->hide();
    return box;
}

QWidget* radioButtons(const QString& title, const QList<form::Choice>& buttons, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QHBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (const form::Choice& choice : buttons) {
        auto* button = new QRadioButton(choice.caption, box);
        button->setObjectName(choice.value);
        group->addButton(button);
        layout->addWidget(button);
    }
    layout->addStretch(1);
    return box;
}

QString conditionCheckBox(int item, int k)
{
    return QStringLiteral("CheckBox%1").arg(conditions::kMaxChoices * (item - 1) + k);
}

QString conditionRadioButton(int item, int choice)
{
    return QStringLiteral("RadioButton%1").arg(2 * item - 1 + choice);
}

QString conditionNumberBox(int item)
{
    return QStringLiteral("DBEdit_N%1").arg(item);
}

QString conditionRangeBox(int item, int bound)
{
    return QStringLiteral("DBEdit_R%1%2").arg(item).arg(bound);
}

QString conditionRangeCaption(int item)
{
    return QStringLiteral("Label_R%1").arg(item) + QLatin1Char('1');
}

QString conditionTextMemo(int item)
{
    // The second item's memo has always been named without the underscore.
    return item == 2 ? QStringLiteral("DBMemoT2") : QStringLiteral("DBMemo_T%1").arg(item);
}

namespace {

QWidget* itemPanel(const QString& name, QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->hide();
    return panel;
}

// The five panels of condition item n, bound to view n.
QWidget* conditionItem(int n, const form::SourceOf& sourceOf, QWidget* parent)
{
    store::DataSource* view = sourceOf(QStringLiteral("NT_TBL_CONST_CONDITION_%1").arg(n));
    const QString k = QString::number(n);
    auto* row = new QWidget(parent);
    row->setObjectName(QStringLiteral("CnstItem") + k);
    auto* rowLayout = new QVBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);

    // "M": up to seven choices as check boxes.
    QWidget* m = itemPanel(QStringLiteral("plCNST_M") + k, row);
    auto* mLayout = new QGridLayout(m);
    mLayout->addWidget(form::label(QString(), m, QStringLiteral("Label_M") + k), 0, 0, 1, 4);
    for (int c = 1; c <= 7; ++c) {
        auto* box = new QCheckBox(m);
        box->setObjectName(conditionCheckBox(n, c));
        box->hide();
        mLayout->addWidget(box, 1 + (c - 1) / 4, (c - 1) % 4);
    }
    rowLayout->addWidget(m);

    // "N": one number with its unit.
    QWidget* num = itemPanel(QStringLiteral("plCNST_N") + k, row);
    auto* nLayout = new QHBoxLayout(num);
    nLayout->addWidget(form::label(QString(), num, QStringLiteral("Label_N") + k + QLatin1Char('1')));
    auto* value = new widgets::RightDBEdit(view, QStringLiteral("MIN_VAL"), num, conditionNumberBox(n));
    value->setMaximumWidth(120);
    nLayout->addWidget(value);
    nLayout->addWidget(form::label(QString(), num, QStringLiteral("Label_N") + k + QLatin1Char('2')));
    nLayout->addStretch(1);
    rowLayout->addWidget(num);

    // "R": a range with its unit.
    QWidget* range = itemPanel(QStringLiteral("plCNST_R") + k, row);
    auto* rLayout = new QHBoxLayout(range);
    rLayout->addWidget(form::label(QString(), range, conditionRangeCaption(n)));
    auto* low = new widgets::RightDBEdit(view, QStringLiteral("MIN_VAL"), range, conditionRangeBox(n, 1));
    auto* high = new widgets::RightDBEdit(view, QStringLiteral("MAX_VAL"), range, conditionRangeBox(n, 2));
    low->setMaximumWidth(120);
    high->setMaximumWidth(120);
    rLayout->addWidget(low);
    rLayout->addWidget(form::label(QStringLiteral("～"), range, QStringLiteral("Label_R") + k + QLatin1Char('3')));
    rLayout->addWidget(high);
    rLayout->addWidget(form::label(QString(), range, QStringLiteral("Label_R") + k + QLatin1Char('2')));
    rLayout->addStretch(1);
    rowLayout->addWidget(range);

    // "S": one of two choices.
    QWidget* s = itemPanel(QStringLiteral("plCNST_S") + k, row);
    auto* sLayout = new QHBoxLayout(s);
    sLayout->addWidget(form::label(QString(), s, QStringLiteral("Label_S") + k));
    auto* choices = new QWidget(s);
    choices->setObjectName(QStringLiteral("Panel_S") + k);
    auto* cLayout = new QHBoxLayout(choices);
    cLayout->setContentsMargins(0, 0, 0, 0);
    for (int b : {2 * n - 1, 2 * n}) {
        auto* button = new QRadioButton(choices);
        button->setObjectName(conditionRadioButton(n, b - (2 * n - 1)));
        cLayout->addWidget(button);
    }
    sLayout->addWidget(choices);
    sLayout->addStretch(1);
    rowLayout->addWidget(s);

    // "T": one line of text.
    QWidget* t = itemPanel(QStringLiteral("plCNST_T") + k, row);
    auto* tLayout = new QHBoxLayout(t);
    tLayout->addWidget(form::label(QString(), t, QStringLiteral("Label_T") + k));
    auto* text = new widgets::DBMemo(view, QStringLiteral("TXT"), t, conditionTextMemo(n));
    text->setFixedHeight(text->fontMetrics().lineSpacing() * 2 + 12);
    tLayout->addWidget(text, 1);
    rowLayout->addWidget(t);

    for (const auto& [box, field] : {std::pair{"ORD", "ORD"}, {"TYPE", "TYPE"}, {"Name", "NAME"}, {"F_UNIT", "F_UNIT"}})
        (new widgets::DBEdit(view, QLatin1String(field), row, QLatin1String(box) + k))->hide();
    return row;
}

} // namespace

QWidget* conditionArea(const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* area = new QWidget(parent);
    area->setObjectName(QStringLiteral("CnstArea"));
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form::label(QStringLiteral("入力項目はありません。"), area, QStringLiteral("lblNoCnst")));
    for (int n = 1; n <= 6; ++n)
        layout->addWidget(conditionItem(n, sourceOf, area));
    return area;
}

} // namespace app::parts
