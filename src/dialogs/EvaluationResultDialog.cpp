#include "dialogs/EvaluationResultDialog.h"

#include "store/DataModule.h"
#include "widgets/DBMemo.h"
#include "widgets/EntryBoxRules.h"
#include "widgets/RemainingBytes.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>

namespace dialogs {

namespace {

SubRecordSettings evaluationSettings()
{
    SubRecordSettings s;
    s.name = QStringLiteral("EVALUATE_RESULT_Frm");
    s.caption = QStringLiteral("評価・証明と結果");
    s.table = QStringLiteral("NT_TBL_EVALUATE_RESULT");
    s.rowLimit = 20;
    s.prevButton = QStringLiteral("BtnPrevEvl");
    s.nextButton = QStringLiteral("BtnNextEvl");
    s.numberLabel = QStringLiteral("lblRecNo");
    s.questionIcon = UserInteraction::Icon::Question;
    s.editOkQuestion = QStringLiteral("変更を保存しますか？");
    s.asksBeforeDelete = false;
    return s;
}

} // namespace

EvaluationResultDialog::EvaluationResultDialog(store::DataModule& dm, QWidget* parent)
    : SubRecordDialog(dm, evaluationSettings(), parent)
{
    body()->addWidget(new QLabel(kInputHint, this), 0, 0, 1, 3);
    m_item = new widgets::DBMemo(source(), QStringLiteral("ITEM"), this);
    m_item->setFixedHeight(m_item->fontMetrics().lineSpacing() * 2 + 12);
    addLine(QStringLiteral("証明項目"), m_item);
    m_contents = new widgets::DBMemo(source(), QStringLiteral("CONTENTS"), this);
    addLine(QStringLiteral("試験調査内容"), m_contents, QStringLiteral("（全角で510文字まで）"));
    m_results = new widgets::DBMemo(source(), QStringLiteral("RESULT"), this, QStringLiteral("RESULTS"));
    addLine(QStringLiteral("結果"), m_results, QStringLiteral("（全角で510文字まで）"));
    for (widgets::DBMemo* memo : {m_contents, m_results})
        memo->setFixedHeight(memo->fontMetrics().lineSpacing() * 7 + 12);

    for (widgets::DBMemo* memo : {m_item, m_contents, m_results}) {
        attachSpaceRule(memo);
        memo->setMaxBytes(kMemoLimit);
        widgets::placeBeside(memo, widgets::countMemoBytes(memo, kMemoLimit, this));
    }
    m_item->setOneLine(true);
    onEvent(m_item, QEvent::FocusOut, [this](QEvent*) {
        cleanUpItemOnLeaving();
        return false;
    });
    // The item stays one line: Enter and line feeds are dropped.
    onEvent(m_item, QEvent::KeyPress, [](QEvent* e) {
        const auto* key = static_cast<QKeyEvent*>(e);
        return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->text().contains(QLatin1Char('\n'));
    });
    for (widgets::DBMemo* memo : {m_contents, m_results}) {
        onEvent(memo, QEvent::FocusOut, [this, memo](QEvent*) {
            cleanUpMemoOnLeaving(memo);
            return false;
        });
    }
    finishControls();
}

QWidget* EvaluationResultDialog::firstControl() const
{
    return m_item;
}

void EvaluationResultDialog::cleanUpItemOnLeaving()
{
    // Only a row being entered is cleaned: a memo merely looked at stays as stored.
    if (table()->isEditing())
        widgets::cleanUpMemoText(m_item, kMemoLimit, true);
}

void EvaluationResultDialog::cleanUpMemoOnLeaving(QWidget* memo)
{
    if (table()->isEditing())
        widgets::cleanUpMemoText(memo, kMemoLimit);
}

bool EvaluationResultDialog::CheckEvl()
{
    if (m_item->text().trimmed().isEmpty())
        return problem(m_item, QStringLiteral("証明項目を入力してください"));
    if (m_contents->text().trimmed().isEmpty())
        return problem(m_contents, QStringLiteral("試験調査内容を入力してください"));
    if (m_results->text().trimmed().isEmpty())
        return problem(m_results, QStringLiteral("結果を入力してください"));
    return false;
}

} // namespace dialogs
