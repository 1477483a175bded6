#pragma once

#include "comparison/ComparisonDialog.h"

class QLabel;
class QLineEdit;
class QScrollArea;

namespace store {
class DataModule;
class Table;
}

namespace comparison {

class CompareBreakdownDialog;

// The comparison sheet "活用の効果の根拠": the reference quantity, the construction periods, the
// two priced breakdowns with their running totals, and the two rates of change. It edits the
// registration's NT_TBL_COMPARE_MAIN row; the breakdown rows are added and changed through the two
// breakdown dialogs.
class CompareSheetDialog : public ComparisonDialog
{
    Q_OBJECT

public:
    CompareSheetDialog(store::DataModule& dm, CompareBreakdownDialog* newDialog, CompareBreakdownDialog* oldDialog, QWidget* parent);

    QLineEdit* box(const QString& name) const;
    CompareBreakdownDialog* newDialog() const { return m_newDialog; }
    CompareBreakdownDialog* oldDialog() const { return m_oldDialog; }

    // Prepares and shows the sheet for the registration `registrationNumber`; the texts are the main
    // window's technology name, conventional technology name and contact company.
    void open(const QString& registrationNumber, const QString& techTitle, const QString& compareTechTitle,
              const QString& salesCompany);
    // The running totals as text (what the editing cycle sets when it starts a registration).
    void setTotals(const QString& newTotal, const QString& oldTotal);

    void baseValueChanged(QLineEdit* changed);
    void periodChanged(QLineEdit* changed = nullptr);
    void costChanged(QLineEdit* changed = nullptr);
    void newTotalChanged();
    void oldTotalChanged();
    void addNewTechnologyRow() { addRow(m_newDialog); }
    void addOldTechnologyRow() { addRow(m_oldDialog); }
    void editNewTechnologyRow() { editRow(m_newDialog); }
    void editOldTechnologyRow() { editRow(m_oldDialog); }
    void deleteNewTechnologyRow() { deleteRow(m_newDialog); }
    void deleteOldTechnologyRow() { deleteRow(m_oldDialog); }
    void finishEditing();
    void cancelEditing();

signals:
    // The text of RATE_COST or RATE_PROCESS changed (typed, computed or loaded).
    void rateChanged(const QString& rateBox, const QString& text);
    // The user confirmed changed figures: the rates shown on the main window are new.
    void figuresConfirmed();

private:
    void build();
    QWidget* buildBreakdown(CompareBreakdownDialog* dialog, QWidget* parent);
    store::Table* head() const;
    void fillZero();
    // The rate box shows the rate of change of the two boxes (not for a row merely being shown).
    void recomputeRate(QLineEdit* changed, const QString& newBox, const QString& oldBox, const QString& rateBox);
    bool numericCheck();
    void addRow(CompareBreakdownDialog* dialog);
    void editRow(CompareBreakdownDialog* dialog);
    void deleteRow(CompareBreakdownDialog* dialog);
    QLineEdit* totalOf(CompareBreakdownDialog* dialog) const;

    store::DataModule& m_dm;
    CompareBreakdownDialog* m_newDialog;
    CompareBreakdownDialog* m_oldDialog;
    QScrollArea* m_scroll = nullptr;
    bool m_computing = false;
};

} // namespace comparison
