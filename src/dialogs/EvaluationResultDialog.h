#pragma once

#include "dialogs/SubRecordDialog.h"

namespace widgets {
class DBMemo;
}

namespace dialogs {

// "評価・証明と結果": an evaluation or certification with its test contents and result
// (NT_TBL_EVALUATE_RESULT), at most 20 per registration.
class EvaluationResultDialog : public SubRecordDialog
{
    Q_OBJECT

public:
    EvaluationResultDialog(store::DataModule& dm, QWidget* parent);

    // The memo clean-up on leaving a memo: trailing line breaks, widths and the byte limit.
    void cleanUpItemOnLeaving();
    void cleanUpMemoOnLeaving(QWidget* memo);
    bool CheckEvl();

    static constexpr int kMemoLimit = 1020;

protected:
    bool checkRecord() override { return CheckEvl(); }
    QWidget* firstControl() const override;

private:
    widgets::DBMemo* m_item;
    widgets::DBMemo* m_contents;
    widgets::DBMemo* m_results;
};

} // namespace dialogs
