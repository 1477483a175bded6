#pragma once

#include "store/DataSource.h"
#include "store/Table.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

namespace widgets {

// What a control bound to a field implements, so that its link can show the field and write the
// control's value back.
class BoundControl
{
public:
    virtual ~BoundControl() = default;
    // Shows the field of the current row (an invalid field: no row or no such field, shows empty).
    virtual void loadFromField(const store::Field& field) = 0;
    // The value the control holds, to be written to the field.
    virtual QVariant valueForField() const = 0;
};

// The link between one control and one field of a table's current row, with the classic
// data-aware semantics:
// - the control is reloaded whenever the row changes (scroll, post, cancel, a value set by code);
// - the first change the user makes puts the table in edit state (insert when it shows no row);
// - the control's value is written to the field by updateRecord(): when the control is left, and
//   before the table is posted, through flush() or flushAll() (the table itself cannot ask);
// - a value the field refuses is shown to the user and stays in the control.
class FieldLink : public QObject
{
    Q_OBJECT

public:
    // `source` may be null: the control is then unbound and the link does nothing.
    FieldLink(store::DataSource* source, const QString& fieldName, BoundControl* control, QObject* parent);
    ~FieldLink() override;

    store::DataSource* dataSource() const { return m_source; }
    store::Table* table() const;
    QString fieldName() const { return m_fieldName; }
    store::Field field() const; // invalid when the table is closed or has no such field
    bool isBound() const { return table() != nullptr; }
    bool isTableEditing() const;
    // True while the link itself puts the field's value into the control.
    bool isLoading() const { return m_loading; }
    // True when the control holds a change not yet written to the field.
    bool isModified() const { return m_modified; }

    // To be called on every change of the control that is not a reload: the first one puts the
    // table in edit (or insert) state. False when there is no table to edit.
    bool controlChanged();
    // Writes the control's value when it holds a change. False, after showing the field's message,
    // when the field refuses the value; the control keeps it.
    bool updateRecord();
    // Shows the field's current value again, dropping a change not yet written.
    void reload();

    // Writes the pending changes of every control bound to `table` (or to any table). False at the
    // first value a field refuses (its message has been shown); the owner then does not post.
    static bool flush(const store::Table* table);
    static bool flushAll();

signals:
    // The user changed the control (any change that is not a reload), whether or not the table
    // was already editing.
    void changedByUser();

private:
    // The caption the user knows the control by: its accessible name or its label's text.
    QString shownName() const;
    void onDataChanged();
    void onFieldChanged(int index);

    QPointer<store::DataSource> m_source;
    QString m_fieldName;
    BoundControl* m_control;
    bool m_loading = false;
    bool m_startingEdit = false;
    bool m_writing = false;
    bool m_modified = false;
};

} // namespace widgets
