#pragma once

#include "submission/SubmissionChanges.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace app {

// "前回提出との比較": what changed in the registration as saved since its last kept submission
// file (or a file the user chooses), one line per item (page, item, in the file, now).
// Browsing, it is a tool window beside the main window and choosing a line shows its page and
// control; before an export it asks whether to go on ("続ける") or stop ("やめる").
class SubmissionChangesDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Purpose { Browse, BeforeExport };
    using Compare = std::function<submission::ChangesSinceSubmission(const QString& file)>; // empty file: the last kept one
    using ShowControl = std::function<void(const QString& control)>;

    SubmissionChangesDialog(Purpose purpose, Compare compare, ShowControl showControl, QWidget* parent);

    // Compares with the last kept submission file, or with `file`, and lists the result.
    void compare(const QString& file = QString());
    QList<submission::Difference> differences() const { return m_changes.differences; }

private:
    void chooseFile();
    void showDifference(int row);

    Purpose m_purpose;
    Compare m_compare;
    ShowControl m_showControl;
    submission::ChangesSinceSubmission m_changes;
    QLabel* m_summary;
    QLabel* m_notes;
    QTreeWidget* m_list;
};

} // namespace app
