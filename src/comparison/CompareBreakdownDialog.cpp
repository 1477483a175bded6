#include "comparison/CompareBreakdownDialog.h"

#include "comparison/Breakdown.h"
#include "store/DataModule.h"
#include "util/NumberText.h"
#include "util/UserInteraction.h"
#include "widgets/DBEdit.h"
#include "widgets/EntryBoxRules.h"
#include "widgets/RightAlignedEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace comparison {

namespace {

const QString kConfirm = QStringLiteral("確認");
const QString kTextNote = QStringLiteral("( 半角ｶﾀｶﾅ 及び 連続するｽﾍﾟｰｽ は入力できません。)");
const QString kNumberNote = QStringLiteral("(半角入力 例：5000 )");

} // namespace

CompareBreakdownDialog::CompareBreakdownDialog(Technology technology, store::DataModule& dm, QWidget* parent)
    : ComparisonDialog(parent)
    , m_technology(technology)
    , m_dm(dm)
{
    const bool isNew = technology == Technology::New;
    setObjectName(isNew ? QStringLiteral("FrmCompareNew") : QStringLiteral("FrmCompareOld"));
    setWindowTitle(isNew ? QStringLiteral("新技術の内訳入力") : QStringLiteral("従来技術の内訳入力"));
    build();
}

store::Table* CompareBreakdownDialog::view() const
{
    return m_dm.table(m_technology == Technology::New ? kNewView : kOldView);
}

QLineEdit* CompareBreakdownDialog::box(const QString& name) const
{
    return findChild<QLineEdit*>(name);
}

void CompareBreakdownDialog::build()
{
    store::DataSource* source = m_dm.dataSource(m_technology == Technology::New ? kNewView : kOldView);
    auto* grid = new QGridLayout(this);
    int row = 0;
    const auto textBox = [&](const QString& field, const QString& caption) {
        auto* edit = new widgets::DBEdit(source, field, this);
        edit->setAccessibleName(caption);
        edit->setMinimumWidth(320);
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(edit, row++, 1, 1, 2);
        grid->addWidget(new QLabel(kTextNote, this), row++, 1, 1, 2);
        connect(edit, &QLineEdit::textChanged, this, [edit] { widgets::removeDoubleBlanks(edit); });
        onLeave(edit, [edit] { convertWidth(edit); });
    };
    const auto numberBox = [&](const QString& field, const QString& caption, bool filterKeys) {
        auto* edit = new widgets::RightDBEdit(source, field, this);
        edit->setAccessibleName(caption);
        edit->setFixedWidth(140);
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(new QLabel(kNumberNote, this), row++, 2);
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { calculationPrice(edit); });
        onLeave(edit, [this, edit] { RoundValue(edit); });
        if (filterKeys)
            filterNumberKeys(edit);
    };
    textBox(QStringLiteral("ITEM"), QStringLiteral("項目"));
    textBox(QStringLiteral("METHOD"), QStringLiteral("仕様"));
    numberBox(QStringLiteral("F_VALUE"), QStringLiteral("数量"), true);
    textBox(QStringLiteral("F_UNIT"), QStringLiteral("単位"));
    // The conventional technology's unit price has always accepted a sign and an exponent.
    numberBox(QStringLiteral("UNIT_PRICE"), QStringLiteral("単価（円）"), m_technology == Technology::New);
    auto* price = new widgets::RightDBEdit(source, QStringLiteral("PRICE"), this);
    showOnly(price);
    price->setFixedWidth(140);
    grid->addWidget(new QLabel(QStringLiteral("金額（円）"), this), row, 0);
    grid->addWidget(price, row++, 1);
    textBox(QStringLiteral("SAMMARY"), QStringLiteral("摘要"));

    auto* buttons = new QHBoxLayout;
    const bool isNew = m_technology == Technology::New;
    m_prior = new QPushButton(QStringLiteral("前レコード"), this);
    m_prior->setObjectName(isNew ? QStringLiteral("BtnPriCmpNew") : QStringLiteral("BtnPrevCmpOld"));
    m_next = new QPushButton(QStringLiteral("次レコード"), this);
    m_next->setObjectName(isNew ? QStringLiteral("BtnNextCmpNew") : QStringLiteral("BtnNextCmpOld"));
    m_recordCaption = new QLabel(QStringLiteral("レコード："), this);
    m_recordCaption->setObjectName(QStringLiteral("Label2"));
    m_recordNumber = new QLabel(this);
    m_recordNumber->setObjectName(QStringLiteral("lblRecNo"));
    m_recordNumber->setMinimumWidth(30);
    auto* ok = new QPushButton(QStringLiteral("確定"), this);
    ok->setObjectName(QStringLiteral("BtnOk"));
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    for (QPushButton* b : {m_prior, m_next, ok, cancel})
        b->setAutoDefault(false);
    buttons->addWidget(m_prior);
    buttons->addWidget(m_next);
    buttons->addWidget(m_recordCaption);
    buttons->addWidget(m_recordNumber);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, row, 0, 1, 3);
    grid->setColumnStretch(2, 1);

    connect(m_prior, &QPushButton::clicked, this, &CompareBreakdownDialog::showPrevious);
    connect(m_next, &QPushButton::clicked, this, &CompareBreakdownDialog::showNext);
    connect(ok, &QPushButton::clicked, this, &CompareBreakdownDialog::finishEditing);
    connect(cancel, &QPushButton::clicked, this, &CompareBreakdownDialog::cancelEditing);
    enterMovesFocus();
}

void CompareBreakdownDialog::setAdding(bool adding)
{
    m_adding = adding;
    for (QWidget* w : {static_cast<QWidget*>(m_prior), static_cast<QWidget*>(m_next), static_cast<QWidget*>(m_recordCaption),
                       static_cast<QWidget*>(m_recordNumber)})
        w->setVisible(!adding);
}

void CompareBreakdownDialog::showRecordNumber(int number)
{
    m_recordNumber->setText(QString::number(number));
}

void CompareBreakdownDialog::showEvent(QShowEvent* event)
{
    ComparisonDialog::showEvent(event);
    prepareShownRow();
}

void CompareBreakdownDialog::prepareShownRow()
{
    box(QStringLiteral("ITEM"))->setFocus();
    QLineEdit* price = box(QStringLiteral("PRICE"));
    if (price->text().isEmpty())
        price->setText(QStringLiteral("0"));
    m_rememberedPrice = numberOrZero(price->text());
}

void CompareBreakdownDialog::calculationPrice(QLineEdit* changed)
{
    // A row being shown is not a change: its stored price stays as it is.
    if (isBeingLoaded(changed))
        return;
    widgets::removeDoubleBlanks(changed);
    const double quantity = numberOrZero(box(QStringLiteral("F_VALUE"))->text());
    const double unitPrice = numberOrZero(box(QStringLiteral("UNIT_PRICE"))->text());
    box(QStringLiteral("PRICE"))->setText(numbertext::format(priceOf(quantity, unitPrice)));
}

void CompareBreakdownDialog::RoundValue(QLineEdit* numberBox)
{
    roundNumber(numberBox, false);
}

bool CompareBreakdownDialog::CompareRowCheck()
{
    const std::optional<RowCheckFailure> failure = checkBreakdownRow(
        {box(QStringLiteral("ITEM"))->text(), box(QStringLiteral("METHOD"))->text(), box(QStringLiteral("F_VALUE"))->text(),
         box(QStringLiteral("F_UNIT"))->text(), box(QStringLiteral("UNIT_PRICE"))->text()});
    if (!failure)
        return true;
    if (failure->information)
        UserInteraction::current().message(UserInteraction::Icon::Information, QStringLiteral("情報"), failure->message, UserInteraction::Ok);
    else
        UserInteraction::current().plain(kProgramTitle, failure->message);
    widgets::focusForCorrection(box(failure->box));
    return false;
}

void CompareBreakdownDialog::applyPrice()
{
    const auto valueOf = [this](const char* name) { return numberOrZero(box(QLatin1String(name))->text()); };
    const double price = priceOf(valueOf("F_VALUE"), valueOf("UNIT_PRICE"));
    QLineEdit* priceBox = box(QStringLiteral("PRICE"));
    if (priceBox->text() != numbertext::format(price))
        priceBox->setText(numbertext::format(price));
    if (m_total) {
        if (m_total->text().isEmpty())
            m_total->setText(QStringLiteral("0"));
        m_total->setText(numbertext::format(numberOrZero(m_total->text()) - m_rememberedPrice + price));
    }
    m_rememberedPrice = price;
}

bool CompareBreakdownDialog::confirmRow()
{
    if (!CompareRowCheck())
        return false;
    // The check read the numbers without their thousands commas; so do their fields.
    for (const char* name : {"F_VALUE", "UNIT_PRICE"}) {
        QLineEdit* number = box(QLatin1String(name));
        if (number->text().contains(QLatin1Char(',')))
            number->setText(withoutThousandsCommas(number->text()));
    }
    // A value its field refuses has been shown; the row stays in the dialog.
    if (!widgets::FieldLink::flush(view()))
        return false;
    applyPrice();
    if (!view()->post())
        return false;
    QString error;
    if (!m_dm.table(QStringLiteral("NT_TBL_COMPARE_DETAIL"))->save(&error))
        UserInteraction::current().error(kProgramTitle, error);
    return true;
}

void CompareBreakdownDialog::finishEditing()
{
    if (!view()->isEditing()) {
        accept();
        return;
    }
    const QString question = m_adding ? QStringLiteral("レコードを追加しますか？") : QStringLiteral("現在編集中のデータを保存しますか？");
    if (UserInteraction::current().askYesNo(kConfirm, question)) {
        if (!confirmRow())
            return;
    } else {
        view()->cancel();
    }
    accept();
}

void CompareBreakdownDialog::cancelEditing()
{
    reject();
}

void CompareBreakdownDialog::reject()
{
    // Escape and the window's close box leave as "キャンセル" does: the row is dropped, never left
    // pending for the next "項目追加" to store unchecked and outside the totals.
    view()->cancel();
    ComparisonDialog::reject();
}

void CompareBreakdownDialog::moveTo(bool next)
{
    store::Table* rows = view();
    if (rows->isEditing()) {
        if (UserInteraction::current().askYesNo(kConfirm, QStringLiteral("現在編集中のデータを保存しますか？"))) {
            if (!confirmRow())
                return;
        } else {
            rows->cancel();
        }
    }
    next ? rows->next() : rows->prior();
    m_rememberedPrice = numberOrZero(rows->field(QStringLiteral("PRICE")).asString());
    showRecordNumber(rows->recNo());
}

void CompareBreakdownDialog::showPrevious()
{
    moveTo(false);
}

void CompareBreakdownDialog::showNext()
{
    moveTo(true);
}

} // namespace comparison
