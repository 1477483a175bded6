#pragma once

#include <QObject>

class QTableView;
class QWidget;

namespace store {
class DataModule;
}

namespace dialogs {

class EvaluationResultDialog;
class MocRecordDialog;
class PrivateRecordDialog;
class OtherContactDialog;

// The four sub-record dialogs, made once for the run as children of the main window, and their
// wiring to the main window's add, edit and delete buttons and grids (found by name).
class SubRecordDialogs : public QObject
{
    Q_OBJECT

public:
    SubRecordDialogs(store::DataModule& dm, QWidget* mainWindow);

    MocRecordDialog* moc() const { return m_moc; }
    PrivateRecordDialog* privateRecords() const { return m_private; }
    OtherContactDialog* contacts() const { return m_contacts; }
    EvaluationResultDialog* evaluations() const { return m_evaluations; }

    // A column wider than the grid leaves the grid: the first such column is narrowed to the
    // grid's width minus 39 pixels (run when the mouse button is released over the grid).
    static void SetDBGridMaxWidths(QTableView* grid);

signals:
    // A row of any of the four dialogs was stored or deleted.
    void recordsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MocRecordDialog* m_moc;
    PrivateRecordDialog* m_private;
    OtherContactDialog* m_contacts;
    EvaluationResultDialog* m_evaluations;
};

} // namespace dialogs
