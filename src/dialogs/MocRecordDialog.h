#pragma once

#include "dialogs/SubRecordDialog.h"

namespace widgets {
class DBEdit;
class DBLookupComboBox;
}

namespace dialogs {

class BoundComboBox;

// "施工実績の内訳（国土交通省）": a construction record of a work ordered by a regional bureau of the
// ministry (PL_TBL_PROJECT_MOC), at most 20 per registration.
class MocRecordDialog : public SubRecordDialog
{
    Q_OBJECT

public:
    MocRecordDialog(store::DataModule& dm, QWidget* parent);

    // The office list follows the hidden bureau code: the offices whose code lies in the bureau's range.
    void clientCodeChanged();
    bool CheckMoc();

protected:
    bool checkRecord() override { return CheckMoc(); }
    QWidget* firstControl() const override;

private:
    void bureauChosen();

    widgets::DBEdit* m_name;
    widgets::DBLookupComboBox* m_type;
    widgets::DBLookupComboBox* m_bureau;
    BoundComboBox* m_office;
    widgets::DBEdit* m_code;
    widgets::DBEdit* m_talven;
    widgets::DBEdit* m_start;
    widgets::DBEdit* m_end;
};

} // namespace dialogs
