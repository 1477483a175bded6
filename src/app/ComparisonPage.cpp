#include "app/MainWindowPages.h"

#include "app/EntryParts.h"
#include "app/MainWindowControls.h"
#include "app/ScrollingPage.h"
#include "comparison/ComparisonControls.h"
#include "widgets/DBEdit.h"
#include "widgets/DBRadioGroup.h"
#include "widgets/RightAlignedEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

using form::Item;
using form::Kind;

namespace {

const QString kDetail = QStringLiteral("NT_TBL_DETAIL");
const QString kFree = QStringLiteral("NT_TBL_DETAIL_FREE");
const QString kDescription = QStringLiteral("NT_TBL_DESCRIPTION");

// One row of the comparison table: caption, the direction chosen, the rate where computed, the note.
struct ComparisonRow
{
    QString caption;        // empty: the row's caption is a title box
    QString titleBox;       // FREE_ITEM_TITLE1 …
    QString group;          // radio group
    QString groupTable;     // empty: the group only shows (COMPARE_COST, COMPARE_PROCESS)
    QList<form::Choice> choices;
    QString rateLabel;      // the label that mirrors the sheet's rate
    QString note;
    QString noteTable;
};

QList<ComparisonRow> comparisonRows()
{
    const QList<form::Choice> levels = form::comparisonChoices();
    return {
        {QStringLiteral("経済性"), {}, "COMPARE_COST", {}, levels, comparison::controls::kCostRateLabel, "COMPARE_COST_NOTE", kDetail},
        {QStringLiteral("工程"), {}, "COMPARE_PROCESS", {},
         {{QStringLiteral("短縮"), "1"}, {QStringLiteral("同程度"), "2"}, {QStringLiteral("増加"), "3"}}, comparison::controls::kPeriodRateLabel, "COMPARE_PROCESS_NOTE", kDetail},
        {QStringLiteral("品質"), {}, "COMPARE_QUALITY", kDetail, levels, {}, "COMPARE_QUALITY_NOTE", kDetail},
        {QStringLiteral("安全性"), {}, "COMPARE_SAFTY", kDetail, levels, {}, "COMPARE_SAFTY_NOTE", kDetail},
        {QStringLiteral("施工性"), {}, "COMPARE_CONSTRUCT", kDetail, levels, {}, "COMPARE_CONSTRUCT_NOTE", kDetail},
        {QStringLiteral("周辺環境への影響"), {}, "COMPARE_ENV", kDetail, levels, {}, "COMPARE_ENV_NOTE", kDetail},
        {{}, "FREE_ITEM_TITLE1", "FREE_ITEM1", kFree, levels, {}, "FREE_ITEM_NOTE1", kFree},
        {{}, "FREE_ITEM_TITLE2", "FREE_ITEM2", kFree, levels, {}, "FREE_ITEM_NOTE2", kFree},
    };
}

QGroupBox* comparisonSection(const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* box = new QGroupBox(QStringLiteral("従来技術との比較"), parent);
    auto* grid = new QGridLayout(box);
    grid->addWidget(form::label(QStringLiteral("従来技術名"), box), 0, 0);
    grid->addWidget(form::makeControl({Kind::Edit, "COMPARE_TECH_TITLE", {}, kDetail}, sourceOf, box), 0, 1, 1, 2);
    grid->addWidget(form::button(QStringLiteral("btnCmp"), QStringLiteral("活用の効果の根拠"), box), 0, 3);

    grid->addWidget(form::label(QStringLiteral("比較項目"), box), 1, 0);
    grid->addWidget(form::label(QStringLiteral("評価"), box), 1, 1);
    grid->addWidget(form::label(QStringLiteral("変化値"), box), 1, 2);
    grid->addWidget(form::label(QStringLiteral("備考"), box), 1, 3);
    int row = 2;
    for (const ComparisonRow& r : comparisonRows()) {
        if (r.titleBox.isEmpty())
            grid->addWidget(form::label(r.caption, box), row, 0);
        else
            grid->addWidget(form::makeControl({Kind::Edit, r.titleBox, {}, kFree, {}, 14}, sourceOf, box), row, 0);
        auto* group = new widgets::DBRadioGroup(r.groupTable.isEmpty() ? nullptr : sourceOf(r.groupTable), r.group, QString(),
                                                {{r.choices.at(0).caption, r.choices.at(0).value},
                                                 {r.choices.at(1).caption, r.choices.at(1).value},
                                                 {r.choices.at(2).caption, r.choices.at(2).value}},
                                                box, r.group);
        group->setColumns(3);
        group->setFlat(true);
        if (r.groupTable.isEmpty())
            group->setEnabled(false);
        grid->addWidget(group, row, 1);
        if (!r.rateLabel.isEmpty()) {
            auto* rate = new QWidget(box);
            auto* rateLayout = new QHBoxLayout(rate);
            rateLayout->setContentsMargins(0, 0, 0, 0);
            QLabel* value = form::label(QString(), rate, r.rateLabel);
            value->setMinimumWidth(50);
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            rateLayout->addWidget(value);
            rateLayout->addWidget(form::label(QStringLiteral("％"), rate));
            grid->addWidget(rate, row, 2);
        }
        grid->addWidget(form::makeControl({Kind::Edit, r.note, {}, r.noteTable}, sourceOf, box), row++, 3);
    }
    grid->addWidget(form::label(QStringLiteral("その他、技術のアピールポイント等"), box), row, 0, 1, 2);
    grid->addWidget(form::makeControl({Kind::Edit, "COMPARE_OTHER_NOTE", {}, kDetail}, sourceOf, box), row++, 2, 1, 2);
    grid->setColumnStretch(3, 1);
    return box;
}

// The cost type: its name, the button that opens its window, and the cycle costs it may carry.
QGroupBox* costTypeSection(const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* box = new QGroupBox(QStringLiteral("コストタイプ・歩掛り"), parent);
    auto* grid = new QGridLayout(box);
    grid->addWidget(form::label(QStringLiteral("新技術のコストタイプ"), box, comparison::controls::kCostTypeCaption), 0, 0);
    QLabel* name = form::label(QString(), box, QStringLiteral("lblCOST_TYPE"));
    name->setMinimumWidth(260);
    grid->addWidget(name, 0, 1);
    grid->addWidget(form::button(QStringLiteral("btnCostType"), QStringLiteral("コストタイプの選択"), box), 0, 2);

    auto* cycle = new QGroupBox(QStringLiteral("サイクルコスト　(円/㎡)"), box);
    cycle->setObjectName(comparison::controls::kCycleCostFrame);
    auto* costs = new QGridLayout(cycle);
    const QStringList years = {QStringLiteral("1年"), QStringLiteral("3年"), QStringLiteral("5年"), QStringLiteral("10年")};
    const QStringList points = {QStringLiteral("ONE"), QStringLiteral("THREE"), QStringLiteral("FIVE"), QStringLiteral("TEN")};
    for (int c = 0; c < 4; ++c)
        costs->addWidget(form::label(years.at(c), cycle), 0, c + 1, Qt::AlignCenter);
    int row = 1;
    for (const auto& [caption, prefix] : {std::pair{"新技術", "NEWTECH_COST_"}, {"従来技術", "OLDTECH_COST_"}}) {
        costs->addWidget(form::label(QString::fromUtf8(caption), cycle), row, 0);
        for (int c = 0; c < 4; ++c) {
            auto* value = new widgets::RightDBEdit(sourceOf(kDetail), QLatin1String(prefix) + points.at(c), cycle);
            value->setReadOnly(true);
            costs->addWidget(value, row, c + 1);
        }
        ++row;
    }
    cycle->hide();
    grid->addWidget(cycle, 1, 0, 1, 3);

    form::addItems(grid, 2,
                   {{Kind::Radio, "CST_TBL_YN", QStringLiteral("歩掛り表"), kDetail, {}, 5,
                     {{QStringLiteral("なし"), "0"}, {QStringLiteral("標準歩掛"), "1"}, {QStringLiteral("暫定歩掛"), "3"},
                      {QStringLiteral("協会歩掛"), "4"}, {QStringLiteral("自社歩掛"), "5"}}}},
                   sourceOf, box);
    grid->setColumnStretch(1, 1);
    return box;
}

QGroupBox* methodSection(const QString& title, const Item& memo, int table, const QString& photo, const form::SourceOf& sourceOf,
                         QWidget* parent)
{
    QGroupBox* box = form::section(title, {memo}, sourceOf, parent);
    auto* layout = static_cast<QGridLayout*>(box->layout());
    int row = layout->rowCount();
    layout->addWidget(parts::descriptionTable(parts::kDescriptionTables.at(table), sourceOf, box), row++, 0, 1, layout->columnCount());
    if (!photo.isEmpty())
        layout->addWidget(parts::photoSlot(photo, QStringLiteral("写真"), sourceOf, box), row++, 0, 1, layout->columnCount());
    return box;
}

} // namespace

ScrollingPage* buildComparisonPage(const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* page = new ScrollingPage(controls::kComparisonPage, QStringLiteral("ScrollBar3"), parent);
    page->addHeaderLabel(QString(), QStringLiteral("TECH_TITLE3"));
    QVBoxLayout* layout = page->panelLayout();
    QWidget* panel = page->panel();
    layout->addWidget(comparisonSection(sourceOf, panel));
    layout->addWidget(costTypeSection(sourceOf, panel));
    layout->addWidget(methodSection(QStringLiteral("施工方法"),
                                    {Kind::Memo, "CNST_METHOD_DESC", QStringLiteral("施工方法"), kDescription, {}, 10}, 2,
                                    QStringLiteral("S"), sourceOf, panel));
    layout->addWidget(methodSection(QStringLiteral("施工単価"),
                                    {Kind::Memo, "CNST_COST_DESC", QStringLiteral("施工単価"), kDescription, {}, 8}, 3, QString(),
                                    sourceOf, panel));
    page->finish();
    return page;
}

} // namespace app
