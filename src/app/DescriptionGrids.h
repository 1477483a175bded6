#pragma once

#include "app/EntryParts.h"
#include "report/DescriptionGrid.h"

#include <QObject>

#include <functional>
#include <vector>

class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace store {
class Table;
}

namespace widgets {
class RemainingBytesLabel;
class TextMemo;
}

namespace app {

// The five description grids of the entry pages with their title boxes, heading-count boxes and
// arrows: each grid is rebuilt from its hidden memo whenever the memo's text changes (a
// registration shown, or a save just done), and written back into its field by the save. User edits
// of cells, titles and heading counts mark the registration as changed; loading does not. Beside
// each grid's heading counts a counter shows how many bytes the table's limit still leaves.
class DescriptionGrids : public QObject
{
    Q_OBJECT

public:
    struct Hooks
    {
        std::function<void()> markModified;
        std::function<store::Table*()> descriptionTable; // NT_TBL_DESCRIPTION
    };

    // Finds the tables' controls below `root` by their names and connects them.
    DescriptionGrids(QWidget* root, Hooks hooks, QObject* parent = nullptr);

    // Every grid's stored text into its memo and its field of NT_TBL_DESCRIPTION (the first step of
    // the save); each grid is then rebuilt from what was stored.
    void SaveAllGridText();
    // Every grid shown again from its memo, that is from the stored text of the registration shown:
    // a memo whose text stays the same does not reload its grid by itself, and the grid would keep
    // edits that were discarded or made in another registration.
    void reloadAll();
    // What a grid holds now: its cells, heading counts and title.
    report::DescriptionGrid contents(const QString& gridName) const;
    // Tells the user, once, about stored texts of the shown registration that did not fit a grid.
    void showLoadProblems();

private:
    struct Controls
    {
        parts::DescriptionTableNames names;
        QTableWidget* grid = nullptr;
        QLineEdit* title = nullptr;
        QLineEdit* columnsBox = nullptr;
        QLineEdit* rowsBox = nullptr;
        QSpinBox* columnsArrows = nullptr;
        QSpinBox* rowsArrows = nullptr;
        widgets::TextMemo* memo = nullptr;
        widgets::RemainingBytesLabel* counter = nullptr; // the bytes the table's limit leaves
        QStringList problems;
    };

    void connectTable(int index);
    void connectHeadingBox(int index, QLineEdit* box, QSpinBox* arrows);
    void connectTablePart(QLineEdit* box);
    void SaveGridText(Controls& table);
    void LoadGridText(Controls& table);
    report::DescriptionGrid contents(const Controls& table) const;
    void headingCountChanged(Controls& table, QLineEdit* box, QSpinBox* arrows);
    void tablePartChanged(QLineEdit* box);
    void StrgGrdSetEditText();
    void tidyGridOnLeaving(QTableWidget* grid);

    Hooks m_hooks;
    std::vector<Controls> m_tables;
    bool m_loading = false;    // the program is filling the controls
    bool m_partsFocus = false; // a title or heading box has the focus
    bool m_arrowClick = false; // an arrow button is changing its box
};

} // namespace app
