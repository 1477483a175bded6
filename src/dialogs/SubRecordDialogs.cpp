#include "dialogs/SubRecordDialogs.h"

#include "dialogs/EvaluationResultDialog.h"
#include "dialogs/MocRecordDialog.h"
#include "dialogs/OtherContactDialog.h"
#include "dialogs/PrivateRecordDialog.h"

#include <QEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

namespace dialogs {

namespace {

// Connects the add, edit and delete buttons named in the window to the dialog.
void wireButtons(QWidget* window, const char* add, const char* edit, const char* del, SubRecordDialog* dialog)
{
    const std::pair<const char*, void (SubRecordDialog::*)()> buttons[] = {
        {add, &SubRecordDialog::addRecord}, {edit, &SubRecordDialog::editRecord}, {del, &SubRecordDialog::deleteRecord}};
    for (const auto& [name, handler] : buttons) {
        if (auto* button = window->findChild<QPushButton*>(QLatin1String(name))) {
            button->setEnabled(true);
            QObject::connect(button, &QPushButton::clicked, dialog, handler);
        }
    }
}

} // namespace

SubRecordDialogs::SubRecordDialogs(store::DataModule& dm, QWidget* mainWindow)
    : QObject(mainWindow)
    , m_moc(new MocRecordDialog(dm, mainWindow))
    , m_private(new PrivateRecordDialog(dm, mainWindow))
    , m_contacts(new OtherContactDialog(dm, mainWindow))
    , m_evaluations(new EvaluationResultDialog(dm, mainWindow))
{
    setObjectName(QStringLiteral("SubRecordDialogs"));
    wireButtons(mainWindow, "Project_Moc_Add", "Project_Moc_Edit", "Project_Moc_Del", m_moc);
    wireButtons(mainWindow, "Project_Pvt_Add", "Project_Pvt_Edit", "Project_Pvt_Del", m_private);
    wireButtons(mainWindow, "BtnCmpnyAdd", "BtnCmpnyEdit", "BtnCmpnyDel", m_contacts);
    wireButtons(mainWindow, "EVALUATE_RSLT_ADD", "EVALUATE_RSLT_EDIT", "EVALUATE_RSLT_DEL", m_evaluations);
    for (SubRecordDialog* dialog : std::initializer_list<SubRecordDialog*>{m_moc, m_private, m_contacts, m_evaluations})
        connect(dialog, &SubRecordDialog::recordsChanged, this, &SubRecordDialogs::recordsChanged);
    for (const char* name : {"PL_TBL_PROJECT_MOC", "PL_TBL_PROJECT_PRIVATE", "NT_TBL_COMPANY"}) {
        if (auto* grid = mainWindow->findChild<QTableView*>(QLatin1String(name))) {
            grid->viewport()->installEventFilter(this);
            grid->horizontalHeader()->viewport()->installEventFilter(this);
        }
    }
}

bool SubRecordDialogs::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (QObject* o = watched; o; o = o->parent()) {
            if (auto* grid = qobject_cast<QTableView*>(o)) {
                SetDBGridMaxWidths(grid);
                break;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void SubRecordDialogs::SetDBGridMaxWidths(QTableView* grid)
{
    const int widest = grid->width() - 39;
    for (int column = 0; column < grid->horizontalHeader()->count(); ++column) {
        if (grid->columnWidth(column) > widest) {
            grid->setColumnWidth(column, widest);
            return;
        }
    }
}

} // namespace dialogs
