#pragma once

#include "entry/InputCheck.h"

#include <QDialog>

#include <functional>

class QLabel;
class QTreeWidget;

namespace app {

// "入力チェック": every problem of the registration on the entry pages, by the rules of the save
// check and of the submission check, one line each (page, check, message). Choosing a line brings
// its page and control into view and hands the keyboard to it; the list stays open while the user
// mends, moved out of the way of the control it shows, and "再チェック" runs the rules again.
class InputCheckDialog : public QDialog
{
    Q_OBJECT

public:
    using Run = std::function<QList<inputcheck::Problem>()>;
    // Brings the named control into view with the focus; returns it (null when there is none).
    using ShowControl = std::function<QWidget*(const QString& control)>;

    InputCheckDialog(Run run, ShowControl showControl, QWidget* parent);

    // Runs the rules and lists what they find.
    void recheck();
    QList<inputcheck::Problem> problems() const { return m_problems; }

private:
    void showProblem(int row);
    // Moves the list where it no longer covers `control`: beside its window, else below or above
    // the control, on the same screen.
    void moveOutOfTheWayOf(const QWidget* control);

    Run m_run;
    ShowControl m_showControl;
    QList<inputcheck::Problem> m_problems;
    QLabel* m_summary;
    QTreeWidget* m_list;
};

} // namespace app
