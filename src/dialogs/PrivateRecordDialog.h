#pragma once

#include "dialogs/SubRecordDialog.h"

namespace widgets {
class DBEdit;
class DBLookupComboBox;
}

namespace dialogs {

// "施工実績の内容（民間）": a construction record for a client other than the ministry
// (PL_TBL_PROJECT_PRIVATE), at most 20 per registration.
class PrivateRecordDialog : public SubRecordDialog
{
    Q_OBJECT

public:
    PrivateRecordDialog(store::DataModule& dm, QWidget* parent);

    bool CheckPrv();

protected:
    bool checkRecord() override { return CheckPrv(); }
    QWidget* firstControl() const override;

private:
    widgets::DBEdit* m_name;
    widgets::DBLookupComboBox* m_kind;
    widgets::DBEdit* m_client;
    widgets::DBEdit* m_talven;
    widgets::DBEdit* m_start;
    widgets::DBEdit* m_end;
};

} // namespace dialogs
