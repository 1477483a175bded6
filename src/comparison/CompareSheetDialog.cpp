#include "comparison/CompareSheetDialog.h"

#include "comparison/Breakdown.h"
#include "comparison/CompareBreakdownDialog.h"
#include "comparison/CostRate.h"
#include "store/DataModule.h"
#include "store/RegistrationNumbers.h"
#include "util/NumberText.h"
#include "util/UserInteraction.h"
#include "widgets/DBEdit.h"
#include "widgets/DBGrid.h"
#include "widgets/EntryBoxRules.h"
#include "widgets/RightAlignedEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace comparison {

namespace {

const QString kHead = QStringLiteral("NT_TBL_COMPARE_MAIN");
const QString kConfirm = QStringLiteral("確認");
const QString kEditingQuestion = QStringLiteral("現在編集中のデータを保存しますか？");

QLabel* namedLabel(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

} // namespace

CompareSheetDialog::CompareSheetDialog(store::DataModule& dm, CompareBreakdownDialog* newDialog, CompareBreakdownDialog* oldDialog, QWidget* parent)
    : ComparisonDialog(parent)
    , m_dm(dm)
    , m_newDialog(newDialog)
    , m_oldDialog(oldDialog)
{
    setObjectName(QStringLiteral("FrmCompare"));
    setWindowTitle(QStringLiteral("活用の効果の根拠"));
    build();
    m_newDialog->setTotalBox(box(QStringLiteral("TOTAL_NEW_TECH")));
    m_oldDialog->setTotalBox(box(QStringLiteral("TOTAL_OLD_TECH")));
}

QLineEdit* CompareSheetDialog::box(const QString& name) const
{
    return findChild<QLineEdit*>(name);
}

store::Table* CompareSheetDialog::head() const
{
    return m_dm.table(kHead);
}

void CompareSheetDialog::build()
{
    resize(800, 620);
    auto* outer = new QVBoxLayout(this);

    // The fixed header.
    auto* header = new QGridLayout;
    int column = 0;
    for (const auto& [caption, name] : {std::pair{"技術名称", "TECH_TITLE"}, {"従来技術名", "COMPARE_TECH_TITLE"}, {"会社名", "SALES_COMPANY"}}) {
        header->addWidget(new QLabel(QString::fromUtf8(caption), this), column, 0);
        QLabel* text = namedLabel(QLatin1String(name), this);
        text->setFrameShape(QFrame::StyledPanel);
        header->addWidget(text, column++, 1);
    }
    auto* ok = new QPushButton(QStringLiteral("確定"), this);
    ok->setObjectName(QStringLiteral("BtnOk"));
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    for (QPushButton* b : {ok, cancel})
        b->setAutoDefault(false);
    header->addWidget(ok, 0, 2);
    header->addWidget(cancel, 1, 2);
    header->setColumnStretch(1, 1);
    outer->addLayout(header);
    connect(ok, &QPushButton::clicked, this, &CompareSheetDialog::finishEditing);
    connect(cancel, &QPushButton::clicked, this, &CompareSheetDialog::cancelEditing);

    // The scrolling panel.
    m_scroll = scrollingPanel(QStringLiteral("Panel5"));
    QWidget* panel = m_scroll->widget();
    auto* layout = static_cast<QVBoxLayout*>(panel->layout());
    outer->addWidget(m_scroll, 1);

    store::DataSource* source = m_dm.dataSource(kHead);
    layout->addWidget(new QLabel(QStringLiteral("従来技術名を入力しなければ活用の効果の根拠は入力できません。"), panel));
    layout->addWidget(new QLabel(QStringLiteral("経済性、工程を比較する為の基本となる数量を入力してください。"), panel));

    auto* base = new QGridLayout;
    auto* baseValue = new widgets::RightDBEdit(source, QStringLiteral("BASE_VALUE"), panel);
    auto* baseUnit = new widgets::DBEdit(source, QStringLiteral("BASE_UNIT"), panel);
    // Messages name a box by its caption.
    baseValue->setAccessibleName(QStringLiteral("基準とする数量"));
    baseUnit->setAccessibleName(QStringLiteral("単位"));
    baseValue->setFixedWidth(120);
    baseUnit->setFixedWidth(120);
    base->addWidget(new QLabel(QStringLiteral("基準とする数量"), panel), 0, 0);
    base->addWidget(baseValue, 0, 1);
    base->addWidget(new QLabel(QStringLiteral("半角入力"), panel), 0, 2);
    base->addWidget(new QLabel(QStringLiteral("単位"), panel), 0, 3);
    base->addWidget(baseUnit, 0, 4);
    base->addWidget(new QLabel(QStringLiteral("（例： 100m, 1Km など）"), panel), 0, 5);
    base->addWidget(new QLabel(QStringLiteral("数値は半角で入力してください。"), panel), 1, 1, 1, 5);
    base->setColumnStretch(6, 1);
    layout->addLayout(base);

    // The results: cost and period of both technologies and the rates of change.
    auto* results = new QGroupBox(panel);
    auto* grid = new QGridLayout(results);
    grid->addWidget(new QLabel(QStringLiteral("新技術"), results), 0, 1, 1, 2, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("従来技術"), results), 0, 3, 1, 2, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("変化値"), results), 0, 5, 1, 2, Qt::AlignCenter);
    const struct
    {
        const char* caption;
        const char* newBox;
        const char* oldBox;
        const char* rateBox;
        const char* unit;
        bool computed;
    } lines[] = {{"経済性", "N_COST", "O_COST", "RATE_COST", "円", true}, {"工程", "N_PROCESS", "O_PROCESS", "RATE_PROCESS", "日", false}};
    int row = 1;
    for (const auto& line : lines) {
        grid->addWidget(new QLabel(QString::fromUtf8(line.caption), results), row, 0);
        int c = 1;
        for (const char* name : {line.newBox, line.oldBox, line.rateBox}) {
            auto* edit = new widgets::RightDBEdit(source, QLatin1String(name), results);
            edit->setAccessibleName(QString::fromUtf8(line.caption)
                                    + (name == line.newBox   ? QStringLiteral("(新技術)")
                                           : name == line.oldBox ? QStringLiteral("(従来技術)")
                                                                 : QStringLiteral("(変化値)")));
            edit->setFixedWidth(130);
            if (line.computed || name == line.rateBox)
                showOnly(edit);
            grid->addWidget(edit, row, c++);
            grid->addWidget(new QLabel(name == line.rateBox ? QStringLiteral("％") : QString::fromUtf8(line.unit), results), row, c++);
        }
        ++row;
    }
    box(QStringLiteral("N_COST"))->setToolTip(QStringLiteral("新技術の内訳で入力された金額の合計が表示されます。"));
    box(QStringLiteral("O_COST"))->setToolTip(QStringLiteral("従来技術の内訳で入力された金額の合計が表示されます。"));
    grid->addWidget(new QLabel(QStringLiteral("経済性と変化値は自動計算されます。"), results), row++, 0, 1, 7);
    grid->addWidget(new QLabel(QStringLiteral("変化値：  マイナスの場合は、低下を示す"), results), row++, 0, 1, 7);
    grid->setColumnStretch(7, 1);
    layout->addWidget(results);

    layout->addWidget(new QLabel(QStringLiteral("内訳は50項目まで入力できます。"), panel));
    layout->addWidget(buildBreakdown(m_newDialog, panel));
    layout->addWidget(buildBreakdown(m_oldDialog, panel));
    layout->addStretch();

    // Events of the boxes.
    for (const char* name : {"BASE_VALUE", "BASE_UNIT"})
        connect(box(QLatin1String(name)), &QLineEdit::textChanged, this, [this, name] { baseValueChanged(box(QLatin1String(name))); });
    for (const char* name : {"N_PROCESS", "O_PROCESS"}) {
        QLineEdit* edit = box(QLatin1String(name));
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { periodChanged(edit); });
        onLeave(edit, [edit] { roundNumber(edit, false); });
        filterNumberKeys(edit);
    }
    for (const char* name : {"N_COST", "O_COST"}) {
        QLineEdit* edit = box(QLatin1String(name));
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { costChanged(edit); });
    }
    for (const char* name : {"RATE_COST", "RATE_PROCESS"}) {
        QLineEdit* edit = box(QLatin1String(name));
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { emit rateChanged(edit->objectName(), edit->text()); });
    }
    onLeave(baseValue, [baseValue] { roundNumber(baseValue, true); });
    filterNumberKeys(baseValue);
    for (const char* name : {"BASE_UNIT", "N_COST", "O_COST", "RATE_COST", "RATE_PROCESS", "TOTAL_NEW_TECH", "TOTAL_OLD_TECH"}) {
        QLineEdit* edit = box(QLatin1String(name));
        onLeave(edit, [edit] { convertWidth(edit); });
    }
    connect(box(QStringLiteral("TOTAL_NEW_TECH")), &QLineEdit::textChanged, this, &CompareSheetDialog::newTotalChanged);
    connect(box(QStringLiteral("TOTAL_OLD_TECH")), &QLineEdit::textChanged, this, &CompareSheetDialog::oldTotalChanged);
    enterMovesFocus();
}

QWidget* CompareSheetDialog::buildBreakdown(CompareBreakdownDialog* dialog, QWidget* parent)
{
    const bool isNew = dialog->technology() == CompareBreakdownDialog::Technology::New;
    const QString view = isNew ? kNewView : kOldView;
    auto* group = new QGroupBox(isNew ? QStringLiteral("新技術の内訳") : QStringLiteral("従来技術の内訳"), parent);
    auto* layout = new QVBoxLayout(group);
    store::DataSource* source = m_dm.dataSource(view);
    auto* grid = new widgets::DBGrid(source,
                                     {{"ITEM", QStringLiteral("項目"), 130},
                                      {"METHOD", QStringLiteral("仕様"), 130},
                                      {"F_VALUE", QStringLiteral("数量"), 60},
                                      {"F_UNIT", QStringLiteral("単位"), 50},
                                      {"UNIT_PRICE", QStringLiteral("単価（円）"), 80},
                                      {"PRICE", QStringLiteral("金額（円）"), 90},
                                      {"SAMMARY", QStringLiteral("摘要"), 150}},
                                     group, isNew ? QStringLiteral("NT_TBL_COMPARE_DETAIL_NEW") : QStringLiteral("NT_TBL_COMPARE_DETAIL_OLD"));
    grid->setMinimumHeight(160);
    layout->addWidget(grid);

    auto* bar = new QHBoxLayout;
    const QString suffix = isNew ? QStringLiteral("New") : QStringLiteral("Old");
    const QStringList captions = {QStringLiteral("項目追加"), QStringLiteral("項目編集"), QStringLiteral("項目削除")};
    const QStringList actions = {QStringLiteral("Add"), QStringLiteral("Edit"), QStringLiteral("Del")};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QPushButton(captions.at(i), group);
        button->setObjectName(QStringLiteral("BtnCmp") + suffix + actions.at(i));
        button->setAutoDefault(false);
        bar->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, dialog, i] {
            i == 0 ? addRow(dialog) : i == 1 ? editRow(dialog) : deleteRow(dialog);
        });
    }
    bar->addWidget(new QLabel(QStringLiteral("(50項目まで)"), group));
    bar->addStretch();
    bar->addWidget(new QLabel(QStringLiteral("合計"), group));
    auto* total = new widgets::RightEdit(isNew ? QStringLiteral("TOTAL_NEW_TECH") : QStringLiteral("TOTAL_OLD_TECH"), group);
    total->setText(QStringLiteral("0"));
    showOnly(total);
    total->setFixedWidth(130);
    bar->addWidget(total);
    bar->addWidget(new QLabel(QStringLiteral("円"), group));
    bar->addWidget(new QLabel(QStringLiteral("／"), group));
    bar->addWidget(namedLabel(isNew ? QStringLiteral("UNIT_NEW_TECH") : QStringLiteral("UNIT_OLD_TECH"), group));
    bar->addWidget(new QLabel(QStringLiteral("あたり"), group));
    layout->addLayout(bar);
    // A double click on a row opens it, as its edit button does.
    connect(grid, &QAbstractItemView::doubleClicked, this, [this, dialog] { editRow(dialog); });

    // The key of the current row, kept beside the grid as the sheet has always had it.
    const QString kind = isNew ? QStringLiteral("NEW") : QStringLiteral("Old");
    for (const auto& [field, name] : {std::pair{QStringLiteral("REC_ID"), (isNew ? QStringLiteral("REC_ID_NEW_TECH") : QStringLiteral("REC_ID_OLD_TECH"))},
                                      {QStringLiteral("RECORD_TYPE"), QStringLiteral("RECORD_TYPE_") + kind},
                                      {QStringLiteral("ORD"), QStringLiteral("ORD_") + kind}}) {
        auto* hidden = new widgets::DBEdit(source, field, group, name);
        hidden->hide();
    }
    return group;
}

QLineEdit* CompareSheetDialog::totalOf(CompareBreakdownDialog* dialog) const
{
    return box(dialog == m_newDialog ? QStringLiteral("TOTAL_NEW_TECH") : QStringLiteral("TOTAL_OLD_TECH"));
}

// ---------------------------------------------------------------- opening

void CompareSheetDialog::open(const QString& registrationNumber, const QString& techTitle, const QString& compareTechTitle,
                       const QString& salesCompany)
{
    store::Table* row = head();
    if (row->isEmpty()) {
        m_dm.CdsChangeCmpMainMode(row);
        row->field(QStringLiteral("REC_ID")).setString(comparisonId(registrationNumber));
        setTotals(QStringLiteral("0"), QStringLiteral("0"));
        widgets::FieldLink::flush(row);
        row->post();
    } else if (row->isEditing()) {
        row->post();
    }
    fillZero();
    findChild<QLabel*>(QStringLiteral("TECH_TITLE"))->setText(techTitle);
    findChild<QLabel*>(QStringLiteral("COMPARE_TECH_TITLE"))->setText(compareTechTitle);
    findChild<QLabel*>(QStringLiteral("SALES_COMPANY"))->setText(salesCompany);
    m_scroll->verticalScrollBar()->setValue(0);
    showModal();
}

void CompareSheetDialog::setTotals(const QString& newTotal, const QString& oldTotal)
{
    box(QStringLiteral("TOTAL_NEW_TECH"))->setText(newTotal);
    box(QStringLiteral("TOTAL_OLD_TECH"))->setText(oldTotal);
}

// ---------------------------------------------------------------- figures

void CompareSheetDialog::fillZero()
{
    for (const char* name : {"BASE_VALUE", "N_COST", "O_COST", "RATE_COST", "RATE_PROCESS"}) {
        QLineEdit* edit = box(QLatin1String(name));
        if (edit->text().isEmpty())
            edit->setText(QStringLiteral("0"));
    }
}

void CompareSheetDialog::baseValueChanged(QLineEdit* changed)
{
    widgets::removeDoubleBlanks(changed);
    const QString perQuantity = box(QStringLiteral("BASE_VALUE"))->text() + box(QStringLiteral("BASE_UNIT"))->text();
    findChild<QLabel*>(QStringLiteral("UNIT_NEW_TECH"))->setText(perQuantity);
    findChild<QLabel*>(QStringLiteral("UNIT_OLD_TECH"))->setText(perQuantity);
}

// The rates are computed for changes made by the user or the program, not when a row is merely
// shown: its stored rate is already the one computed, and a registration browsed in the list must
// not be put into edit state.
void CompareSheetDialog::periodChanged(QLineEdit* changed)
{
    recomputeRate(changed, QStringLiteral("N_PROCESS"), QStringLiteral("O_PROCESS"), QStringLiteral("RATE_PROCESS"));
}

void CompareSheetDialog::costChanged(QLineEdit* changed)
{
    recomputeRate(changed, QStringLiteral("N_COST"), QStringLiteral("O_COST"), QStringLiteral("RATE_COST"));
}

void CompareSheetDialog::recomputeRate(QLineEdit* changed, const QString& newBox, const QString& oldBox, const QString& rateBox)
{
    if (m_computing || (changed && isBeingLoaded(changed)))
        return;
    m_computing = true;
    if (changed)
        widgets::removeDoubleBlanks(changed);
    fillZero();
    const double rate = changeRate(numberOrZero(box(newBox)->text()), numberOrZero(box(oldBox)->text()));
    // The period rate is emptied first, so that its change shows even when the text stays the same.
    if (rateBox == QLatin1String("RATE_PROCESS"))
        box(rateBox)->clear();
    box(rateBox)->setText(numbertext::format(rate));
    m_computing = false;
}

void CompareSheetDialog::newTotalChanged()
{
    box(QStringLiteral("N_COST"))->setText(box(QStringLiteral("TOTAL_NEW_TECH"))->text());
}

void CompareSheetDialog::oldTotalChanged()
{
    box(QStringLiteral("O_COST"))->setText(box(QStringLiteral("TOTAL_OLD_TECH"))->text());
}

// ---------------------------------------------------------------- breakdown rows

void CompareSheetDialog::addRow(CompareBreakdownDialog* dialog)
{
    store::Table* view = dialog->view();
    if (view->recordCount() >= kBreakdownLimit) {
        UserInteraction::current().warn(QStringLiteral("注意"), dialog == m_newDialog ? QStringLiteral("これ以上入力できません。")
                                                                                     : QStringLiteral("これ以上入力できません"));
        return;
    }
    dialog->setAdding(true);
    m_dm.CdsChangeCmpMainMode(head());
    const QString ord = store::GetMaxID(view, 1);
    if (view->state() != store::Table::State::Insert)
        view->append();
    view->field(QStringLiteral("RECORD_TYPE")).setString(dialog == m_newDialog ? QStringLiteral("0") : QStringLiteral("1"));
    view->field(QStringLiteral("ORD")).setString(ord);
    dialog->showModal();
}

void CompareSheetDialog::editRow(CompareBreakdownDialog* dialog)
{
    store::Table* view = dialog->view();
    if (view->isEmpty()) {
        UserInteraction::current().plain(kProgramTitle, QStringLiteral("編集するデータはありません。"));
        return;
    }
    dialog->setAdding(false);
    dialog->showRecordNumber(view->recNo());
    m_dm.CdsChangeCmpMainMode(head());
    // The row is put into edit state without a change, as the hidden type box's assignment does.
    if (!view->isEditing())
        view->edit();
    dialog->showModal();
}

void CompareSheetDialog::deleteRow(CompareBreakdownDialog* dialog)
{
    store::Table* view = dialog->view();
    if (view->isEmpty()) {
        UserInteraction::current().plain(kProgramTitle, dialog == m_newDialog ? QStringLiteral("削除するデータはありません。")
                                                                              : QStringLiteral("削除するデータはありません"));
        return;
    }
    if (UserInteraction::current().message(UserInteraction::Icon::Question, kConfirm, QStringLiteral("選択中のデータを削除しますか？"),
                                           UserInteraction::Buttons(UserInteraction::Ok) | UserInteraction::Cancel)
        != UserInteraction::Ok)
        return;
    const double price = numberOrZero(view->field(QStringLiteral("PRICE")).asString());
    view->remove();
    // The deletion reaches the file at once, as a confirmed row does.
    QString error;
    if (!m_dm.table(QStringLiteral("NT_TBL_COMPARE_DETAIL"))->save(&error))
        UserInteraction::current().error(kProgramTitle, error);
    view->first();
    QLineEdit* total = totalOf(dialog);
    total->setText(numbertext::format(numbertext::round2(numberOrZero(total->text()) - price)));
}

// ---------------------------------------------------------------- leaving

bool CompareSheetDialog::numericCheck()
{
    for (const char* name : {"BASE_VALUE", "N_COST", "O_COST", "N_PROCESS", "O_PROCESS"}) {
        QLineEdit* edit = box(QLatin1String(name));
        if (!edit->text().isEmpty() && !isNumberText(edit->text())) {
            UserInteraction::current().plain(kProgramTitle, QStringLiteral("数値を入力してください。"));
            widgets::focusForCorrection(edit);
            return false;
        }
    }
    return true;
}

void CompareSheetDialog::finishEditing()
{
    store::Table* row = head();
    if (!row->isEditing()) {
        accept();
        return;
    }
    const UserInteraction::Button answer =
        UserInteraction::current().message(UserInteraction::Icon::Question, kConfirm, kEditingQuestion,
                                           UserInteraction::Buttons(UserInteraction::Yes) | UserInteraction::No | UserInteraction::Cancel);
    if (answer == UserInteraction::Yes) {
        if (!numericCheck() || !row->post())
            return;
        QString error;
        if (!row->save(&error))
            UserInteraction::current().error(kProgramTitle, error);
        emit figuresConfirmed();
        accept();
    } else if (answer == UserInteraction::No) {
        row->cancel();
        accept();
    }
}

void CompareSheetDialog::cancelEditing()
{
    store::Table* row = head();
    if (row->isEditing()) {
        if (!UserInteraction::current().askYesNo(kConfirm, QStringLiteral("現在編集中のデータをクリアしますか？")))
            return;
        row->cancel();
    }
    reject();
}

} // namespace comparison
