#pragma once

#include "dialogs/SubRecordDialog.h"

namespace widgets {
class DBEdit;
class TextLineEdit;
}

namespace dialogs {

// "問合せ先の内容（その他）": one of up to 40 further contacts of a registration (NT_TBL_COMPANY), kept
// in an order the user chooses by the position boxes.
class OtherContactDialog : public SubRecordDialog
{
    Q_OBJECT

public:
    OtherContactDialog(store::DataModule& dm, QWidget* parent);

    // Shows the unbound boxes of the current contact: its post code and its position.
    void SetData();
    // Stores the contact: the post code joined, the contact put at its position, every contact of
    // the registration numbered 1 to n in order, the table written.
    bool SaveData();
    bool CompanyCheck();

protected:
    bool checkRecord() override { return CompanyCheck(); }
    bool storeRecord() override { return SaveData(); }
    void showRecord() override { SetData(); }
    QWidget* firstControl() const override;

private:
    // A change the user makes in an unbound box counts as a pending change of the contact.
    void unboundChanged();
    // The order value for the stored contact `id`, from the position boxes.
    double newOrder(double id, double ownOrder);
    void renumber();

    widgets::DBEdit* m_company;
    widgets::DBEdit* m_section;
    widgets::DBEdit* m_stuff;
    widgets::TextLineEdit* m_post1;
    widgets::TextLineEdit* m_post2;
    widgets::DBEdit* m_address;
    widgets::DBEdit* m_tel;
    widgets::DBEdit* m_fax;
    widgets::DBEdit* m_mail;
    widgets::DBEdit* m_url;
    QComboBox* m_position;
    QComboBox* m_side;
};

} // namespace dialogs
