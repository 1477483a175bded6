#pragma once

#include "store/DataSource.h"
#include "store/Table.h"

#include <QPointer>
#include <QScrollArea>
#include <QVector>

#include <functional>

class QFrame;
class QVBoxLayout;

namespace widgets {

// A scrollable list of panels, one per row the table shows, each built by a factory from its row.
// The panel of the table's current row is highlighted; a click on a panel writes the pending
// changes of the table's bound controls and makes its row current. The panels are rebuilt when the
// rows change (not while the table edits, since its rows cannot be read without posting).
class DBPanelList : public QScrollArea
{
    Q_OBJECT

public:
    // Called with the table positioned on a row; returns the panel that shows it (the list takes it).
    using PanelFactory = std::function<QWidget*(store::Table& row)>;

    DBPanelList(store::DataSource* source, PanelFactory factory, QWidget* parent = nullptr, const QString& name = {});

    int panelCount() const { return int(m_frames.size()); }
    QWidget* panel(int index) const; // the factory's panel for visible row `index`
    int currentIndex() const { return m_current; }

signals:
    // A panel was chosen by the user.
    void panelClicked(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void rebuild();
    void highlight(int index);

    QPointer<store::DataSource> m_source;
    PanelFactory m_factory;
    QWidget* m_container;
    QVBoxLayout* m_layout;
    QList<QFrame*> m_frames;
    QVector<store::Table::RowValues> m_rows;
    int m_current = -1;
};

} // namespace widgets
