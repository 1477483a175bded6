#include "comparison/ComparisonPageWidget.h"

#include "comparison/Breakdown.h"
#include "comparison/CompareBreakdownDialog.h"
#include "comparison/CompareSheetDialog.h"
#include "comparison/ComparisonControls.h"
#include "comparison/CostRate.h"
#include "comparison/CostType.h"
#include "comparison/CostTypeDialog.h"
#include "store/DataModule.h"
#include "util/NumberText.h"
#include "util/UserInteraction.h"
#include "widgets/DBRadioGroup.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace comparison {

namespace {

const QStringList kGatedGroups = {"COMPARE_QUALITY", "COMPARE_SAFTY", "COMPARE_CONSTRUCT", "COMPARE_ENV"};
const QStringList kGatedNotes = {"COMPARE_COST_NOTE",      "COMPARE_PROCESS_NOTE", "COMPARE_QUALITY_NOTE", "COMPARE_SAFTY_NOTE",
                                 "COMPARE_CONSTRUCT_NOTE", "COMPARE_ENV_NOTE",     "COMPARE_OTHER_NOTE"};
const QStringList kGatedCaptions = {"経済性", "工程", "品質", "安全性", "施工性", "周辺環境への影響", "周辺環境への", "影響",
                                    "その他、技術のアピールポイント等", "％"};

} // namespace

ComparisonPageWidget::ComparisonPageWidget(QWidget* window, store::DataModule& dm)
    : QObject(window)
    , m_window(window)
    , m_dm(dm)
    , m_newDialog(new NewTechnologyBreakdownDialog(dm, window))
    , m_oldDialog(new OldTechnologyBreakdownDialog(dm, window))
    , m_sheet(new CompareSheetDialog(dm, m_newDialog, m_oldDialog, window))
    , m_costType(new CostTypeDialog(dm, window))
{
    control(QStringLiteral("btnCmp"))->setEnabled(true);
    connect(control<QPushButton>(QStringLiteral("btnCmp")), &QPushButton::clicked, this, &ComparisonPageWidget::showComparisonSheet);
    connect(control<QPushButton>(QStringLiteral("btnCostType")), &QPushButton::clicked, this, &ComparisonPageWidget::showCostTypes);
    connect(control<QLineEdit>(QStringLiteral("COMPARE_TECH_TITLE")), &QLineEdit::textChanged, this,
            &ComparisonPageWidget::conventionalTitleChanged);
    connect(m_sheet, &CompareSheetDialog::rateChanged, this, &ComparisonPageWidget::mirrorRate);
    connect(m_sheet, &CompareSheetDialog::figuresConfirmed, this, &ComparisonPageWidget::registrationChanged);
    connect(m_costType, &CostTypeDialog::costTypeClosed, this, [this](const QString& code) {
        control(controls::kCycleCostFrame)->setVisible(isCycleCostType(code));
        control<QLabel>(QStringLiteral("lblCOST_TYPE"))->setText(GetCostType(code));
    });
    conventionalTitleChanged();
}

ComparisonPageWidget::~ComparisonPageWidget()
{
    delete m_costType;
    delete m_sheet;
    delete m_oldDialog;
    delete m_newDialog;
}

template <typename T>
T* ComparisonPageWidget::control(const QString& name) const
{
    return m_window->findChild<T*>(name);
}

QString ComparisonPageWidget::text(const QString& name) const
{
    if (auto* edit = control<QLineEdit>(name))
        return edit->text();
    return {};
}

void ComparisonPageWidget::showComparisonSheet()
{
    if (text(QStringLiteral("COMPARE_TECH_TITLE")).isEmpty()) {
        UserInteraction::current().error(kProgramTitle, QStringLiteral("従来技術名を入力して下さい。"));
        return;
    }
    GetCmpTitle();
}

void ComparisonPageWidget::GetCmpTitle()
{
    const QString number = m_dm.table(QStringLiteral("NT_TBL_MAIN"))->field(QStringLiteral("REG_NO")).asString();
    m_sheet->open(number, text(QStringLiteral("TECH_TITLE")), text(QStringLiteral("COMPARE_TECH_TITLE")), text(QStringLiteral("SALES_COMPANY")));
}

void ComparisonPageWidget::conventionalTitleChanged()
{
    auto* title = control<QLineEdit>(QStringLiteral("COMPARE_TECH_TITLE"));
    const bool named = !title->text().isEmpty();
    for (const char* group : {"COMPARE_COST", "COMPARE_PROCESS"}) {
        auto* directions = control<widgets::DBRadioGroup>(QLatin1String(group));
        for (int i = 0; i < directions->count(); ++i)
            directions->button(i)->setEnabled(named);
    }
    for (const QString& name : kGatedGroups + kGatedNotes)
        control(name)->setEnabled(named);
    // The captions of the comparison section, grey while there is nothing to compare with.
    if (auto* section = qobject_cast<QGroupBox*>(title->parentWidget())) {
        for (QLabel* caption : section->findChildren<QLabel*>()) {
            if (kGatedCaptions.contains(caption->text()))
                caption->setEnabled(named);
        }
    }
    for (const QString& name : {controls::kCostTypeCaption, QStringLiteral("lblCOST_TYPE"), QStringLiteral("btnCostType")})
        control(name)->setEnabled(named);
    const QString costType = m_dm.table(QStringLiteral("NT_TBL_DETAIL"))->field(QStringLiteral("COST_TYPE")).asString();
    control(controls::kCycleCostFrame)->setVisible(named && isCycleCostType(costType));
}

void ComparisonPageWidget::showCostTypes()
{
    m_costType->open(text(QStringLiteral("TECH_TITLE")));
}

void ComparisonPageWidget::mirrorRate(const QString& rateBox, const QString& rateText)
{
    const bool cost = rateBox == QLatin1String("RATE_COST");
    const RateMirror mirror = mirrorOfRate(rateText);
    control<QLabel>(cost ? controls::kCostRateLabel : controls::kPeriodRateLabel)->setText(mirror.label);
    control<widgets::DBRadioGroup>(cost ? QStringLiteral("COMPARE_COST") : QStringLiteral("COMPARE_PROCESS"))->setItemIndex(mirror.option);
}

void ComparisonPageWidget::JudgeOtherRadioCondition()
{
    const QString title1 = text(QStringLiteral("FREE_ITEM_TITLE1"));
    const QString title2 = text(QStringLiteral("FREE_ITEM_TITLE2"));
    control(QStringLiteral("FREE_ITEM1"))->setEnabled(!title1.isEmpty());
    control(QStringLiteral("FREE_ITEM2"))->setEnabled(!title2.isEmpty());
    clearUntitledFreeItems(m_dm.table(QStringLiteral("NT_TBL_DETAIL_FREE")), title1, title2);
}

void ComparisonPageWidget::registrationCreated()
{
    m_sheet->setTotals(QStringLiteral("0"), QStringLiteral("0"));
    conventionalTitleChanged();
}

void ComparisonPageWidget::registrationOpened()
{
    m_sheet->periodChanged();
    m_sheet->setTotals(numbertext::format(numbertext::round2(priceSum(m_dm.table(kNewView), true))),
                       numbertext::format(numbertext::round2(priceSum(m_dm.table(kOldView), false))));
}

void ComparisonPageWidget::showCostType()
{
    const QString costType = m_dm.table(QStringLiteral("NT_TBL_DETAIL"))->field(QStringLiteral("COST_TYPE")).asString();
    control<QLabel>(QStringLiteral("lblCOST_TYPE"))->setText(GetCostType(costType));
    conventionalTitleChanged();
}

} // namespace comparison
