#pragma once

#include "entry/InputCheck.h"

#include <QDialog>

#include <functional>

class QLabel;
class QTreeWidget;

namespace app {

// "入力チェック": every problem of the registration on the entry pages, by the rules of the save
// check and of the submission check, one line each (page, check, message). Choosing a line brings
// its page and control into view; the list stays open beside the window while the user mends, and
// "再チェック" runs the rules again.
class InputCheckDialog : public QDialog
{
    Q_OBJECT

public:
    using Run = std::function<QList<inputcheck::Problem>()>;
    using ShowControl = std::function<void(const QString& control)>;

    InputCheckDialog(Run run, ShowControl showControl, QWidget* parent);

    // Runs the rules and lists what they find.
    void recheck();
    QList<inputcheck::Problem> problems() const { return m_problems; }

private:
    void showProblem(int row);

    Run m_run;
    ShowControl m_showControl;
    QList<inputcheck::Problem> m_problems;
    QLabel* m_summary;
    QTreeWidget* m_list;
};

} // namespace app
