#pragma once

#include "comparison/ComparisonDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace store {
class DataModule;
class Table;
}

namespace comparison {

// The dialog in which one priced breakdown row of a technology is added or edited. The comparison
// sheet appends the row (adding) or puts the current row in edit state (editing) and then shows it;
// the dialog computes the price, checks the row, keeps the sheet's running total in step, posts the
// row and writes the breakdown table's file.
class CompareBreakdownDialog : public ComparisonDialog
{
    Q_OBJECT

public:
    enum class Technology { New, Old };

    CompareBreakdownDialog(Technology technology, store::DataModule& dm, QWidget* parent);

    Technology technology() const { return m_technology; }
    store::Table* view() const;
    // The sheet's running total this dialog writes (TOTAL_NEW_TECH or TOTAL_OLD_TECH).
    void setTotalBox(QLineEdit* total) { m_total = total; }
    // Adding hides the navigation; editing shows it with the row's position in the view.
    void setAdding(bool adding);
    bool isAdding() const { return m_adding; }
    void showRecordNumber(int number);
    double rememberedPrice() const { return m_rememberedPrice; }

    void prepareShownRow();
    void calculationPrice(QLineEdit* changed);
    void RoundValue(QLineEdit* box);
    // The row check; false after telling the user, with the focus on the box concerned.
    bool CompareRowCheck();
    void finishEditing();
    void cancelEditing();
    void showPrevious();
    void showNext();
    // "キャンセル", Escape and the close box.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void build();
    QLineEdit* box(const QString& name) const;
    // The check, the price, the post and the file; false when the row stays as it is.
    bool confirmRow();
    void applyPrice();
    void moveTo(bool next);

    Technology m_technology;
    store::DataModule& m_dm;
    QLineEdit* m_total = nullptr;
    QPushButton* m_prior = nullptr;
    QPushButton* m_next = nullptr;
    QLabel* m_recordCaption = nullptr;
    QLabel* m_recordNumber = nullptr;
    bool m_adding = true;
    double m_rememberedPrice = 0;
};

// The breakdown of the new technology (RECORD_TYPE "0").
class NewTechnologyBreakdownDialog : public CompareBreakdownDialog
{
    Q_OBJECT
public:
    NewTechnologyBreakdownDialog(store::DataModule& dm, QWidget* parent) : CompareBreakdownDialog(Technology::New, dm, parent) {}
};

// The breakdown of the conventional technology (RECORD_TYPE "1").
class OldTechnologyBreakdownDialog : public CompareBreakdownDialog
{
    Q_OBJECT
public:
    OldTechnologyBreakdownDialog(store::DataModule& dm, QWidget* parent) : CompareBreakdownDialog(Technology::Old, dm, parent) {}
};

} // namespace comparison
