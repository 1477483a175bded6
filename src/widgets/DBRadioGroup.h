#pragma once

#include "widgets/FieldLink.h"

#include <QGroupBox>
#include <QList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

namespace widgets {

// A framed group of radio buttons, one per item, bound to a field that stores the chosen item's
// value (unbound when the data source is null). A field value that is no item's value selects none.
// changed() fires for every change of the selection, clicked or loaded; clicked() for the user's
// choices only, after the value has been written.
class DBRadioGroup : public QGroupBox, public BoundControl
{
    Q_OBJECT

public:
    struct Item
    {
        QString caption;
        QString value;
    };

    DBRadioGroup(store::DataSource* source, const QString& fieldName, const QString& caption, const QList<Item>& items,
                 QWidget* parent = nullptr, const QString& name = {});

    FieldLink* link() const { return m_link; }
    // Items laid out in this many columns (1 at start).
    void setColumns(int columns);

    int itemIndex() const; // -1 when none is chosen
    void setItemIndex(int index);
    QString value() const; // the chosen item's value, empty when none
    QRadioButton* button(int index) const;
    int count() const { return int(m_items.size()); }

    void loadFromField(const store::Field& field) override;
    QVariant valueForField() const override { return value(); }

signals:
    void changed();
    void clicked();

private:
    void layOut();
    void select(int index);

    QList<Item> m_items;
    QList<QRadioButton*> m_buttons;
    QButtonGroup* m_group;
    QGridLayout* m_layout;
    int m_columns = 1;
    FieldLink* m_link;
};

} // namespace widgets
