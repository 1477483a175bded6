#pragma once

#include "store/RegistrationList.h"

#include <QAbstractTableModel>
#include <QCollatorSortKey>
#include <QSortFilterProxyModel>
#include <QTableView>

#include <functional>

namespace store {
class DataModule;
class Table;
}

namespace app {

// One line of the technology list as the model keeps it: the registration's entry and the
// collation keys of its texts, made once when the line is read.
struct ListLine
{
    store::RegistrationEntry entry;
    QVariant storedNumber;          // REG_NO as stored, for moving the main table to the line
    QList<QCollatorSortKey> textKeys; // technology name, subtitle, developer
    QDateTime submitted;            // the newest kept submission (handed in or received), invalid: 未提出
    bool changedSinceSubmission = false; // saved with changes since that submission
};

// Whether a registration changed since its last submission, as found for its save and
// submission times.
struct ChangeMark
{
    QDateTime saved;
    QDateTime submitted;
    bool changed = false;
};

// A column of the technology list: its title, default width, the text it shows and how two lines
// compare by it (ascending).
struct ListColumn
{
    QString title;
    int width = 0;
    std::function<QString(const ListLine&)> text;
    std::function<int(const ListLine&, const ListLine&)> compare;
    Qt::Alignment alignment = Qt::AlignLeft;
};

const QList<ListColumn>& listColumns();

// Registration numbers in number order: by prefix, then by the value of the digits.
int compareRegistrationNumbers(const QString& a, const QString& b);

// The registrations of NT_TBL_MAIN, one line each, with the columns above. It reads the stored
// rows again when they changed and when the save times change; a row being inserted is not shown
// until it is posted. The last submission of each comes from the index of kept submissions (no
// archive is opened), its change mark from the fingerprints of the saved rows.
class RegistrationListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit RegistrationListModel(store::DataModule& dm, QObject* parent = nullptr);

    const ListLine& line(int row) const { return m_lines.at(row); }
    // The row of the registration with this number, -1 when there is none.
    int rowOfNumber(const QString& number) const;
    // Reads the rows again when they changed since the last reading (or always, with `force`).
    void refresh(bool force = false);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    store::DataModule& m_dm;
    QList<ListLine> m_lines;
    QHash<QString, ChangeMark> m_changeMarks;
    quint64 m_readVersion = 0;
    bool m_read = false;
};

// The lines the find box lets through, in the order the header chose. Lines that compare equal
// keep the number order.
class RegistrationFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit RegistrationFilter(RegistrationListModel* source, QObject* parent = nullptr);

    // What the user typed into the find box.
    void setFindText(const QString& typed);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    RegistrationListModel* m_lines;
    QString m_wanted;
};

// The technology list: the lines the filter shows, sortable by a click on a column's header,
// the widths and the order remembered between runs. The selected line is the current row of
// NT_TBL_MAIN, which "編集", "削除" and "提出用ファイル作成" act on.
class RegistrationListView : public QTableView
{
    Q_OBJECT

public:
    RegistrationListView(store::DataModule& dm, QWidget* parent = nullptr);
    ~RegistrationListView() override;

    RegistrationListModel* lines() const { return m_model; }
    RegistrationFilter* filter() const { return m_filter; }
    // The number of the selected line, empty when none is selected.
    QString selectedNumber() const;
    // Selects the line of the main table's current row (or the first line when it is not shown).
    void showCurrentRow();

signals:
    // Enter or Delete on a line.
    void openRequested();
    void deleteRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void moveTableToLine(const QModelIndex& current);
    void restoreHeader();
    void saveHeader() const;

    store::DataModule& m_dm;
    RegistrationListModel* m_model;
    RegistrationFilter* m_filter;
    bool m_followingTable = false;
};

} // namespace app
