#pragma once

#include "store/FieldDef.h"
#include "store/FilterExpression.h"
#include "store/LinkIndex.h"

#include <QDate>
#include <QIODevice>
#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QVector>

#include <deque>
#include <memory>
#include <vector>

namespace store {

class Table;

// One field of a table's current row: read and written as text, whole number, float or date.
// Setting a value needs the table in edit or insert state.
class Field
{
public:
    Field() = default;
    Field(Table* table, int index) : m_table(table), m_index(index) {}

    bool isValid() const { return m_table != nullptr && m_index >= 0; }
    int index() const { return m_index; }
    QString name() const;
    const FieldDef& def() const;

    bool isNull() const;
    QVariant value() const;
    QString asString() const;
    qint64 asInteger() const; // 0 for null or non-numbers
    double asFloat() const;   // 0 for null or non-numbers
    QDate asDate() const;

    // Each setter converts to the field's type; false, with a message, when the value does not
    // fit (a text that is not a number for a numeric field, say) — the field then keeps its value.
    bool setValue(const QVariant& value, QString* error = nullptr);
    bool setString(const QString& text, QString* error = nullptr) { return setValue(QVariant(text), error); }
    bool setInteger(qint64 number) { return setValue(QVariant(number)); }
    bool setFloat(double number) { return setValue(QVariant(number)); }
    void clear() { setValue(QVariant()); }
    // Copies another field's value; a null stays null.
    bool assign(const Field& other, QString* error = nullptr) { return setValue(other.value(), error); }

private:
    Table* m_table = nullptr;
    int m_index = -1;
};

// An in-memory table bound to a file, in the classic dataset model: a current row, the states
// browse, edit and insert, filters, index orders, master–detail links, second cursors (clones)
// sharing the rows, looked-up fields and events after insert, edit, post and cancel.
class Table : public QObject
{
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert };
    using RowValues = QVector<QVariant>;

    explicit Table(const QString& name, QObject* parent = nullptr);
    ~Table() override;

    QString name() const { return m_name; }

    // ---- layout and file ----
    // Declared fields bind by name when the file is opened; with none declared the table takes
    // the file's layout.
    void setDeclaredFields(const QList<FieldDef>& fields) { m_declared = fields; }
    const QList<FieldDef>& declaredFields() const { return m_declared; }
    void setInitialRows(const QList<RowValues>& rows) { m_initialRows = rows; }
    void setFileName(const QString& path) { m_fileName = path; }
    QString fileName() const { return m_fileName; }

    // Reads the rows from the file; on failure the table stays closed and keeps nothing.
    bool open(QString* error);
    // Makes the table active with its declared fields and initial rows and no file read.
    void createDataSet();
    // Writes the rows (a pending change is posted first) to the file, atomically.
    bool save(QString* error);
    bool saveToFile(const QString& path, QString* error);
    // Writes the file form of the rows (a pending change is posted first) to a device; the rows
    // still count as changed until markUnchanged().
    bool saveToDevice(QIODevice* device, QString* error);
    // Closes the table; writes the file first when the rows changed since it was read or the
    // file is missing. The table is closed even when the write fails.
    bool close(QString* error);
    bool isActive() const { return m_state != State::Inactive; }
    bool isClone() const { return m_isClone; }
    bool isChangedSinceRead() const;
    void markUnchanged();
    // Removes every row (the table stays active).
    void emptyTable();

    // A second cursor over the rows of `source`, with its own filter, order, master, state and
    // events. The clone is active while the source's rows exist.
    void cloneCursor(Table* source);

    // ---- fields ----
    int fieldCount() const;
    const QList<FieldDef>& fields() const;
    int fieldIndex(const QString& name) const; // -1 when absent; names compare without case
    Field field(const QString& name);
    Field field(int index) { return Field(this, index); }
    Field findField(const QString& name); // invalid Field when absent
    // Points a looked-up field at the open table it looks into.
    void setLookupTable(const QString& fieldName, Table* table);

    // ---- state ----
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    bool isModified() const { return m_modified; }
    void append();
    void insert();
    void edit();
    // False when the table was not editing or a beforePost handler refused the row (refusePost).
    bool post();
    // Called from a beforePost handler: the row stays in edit or insert state, unposted.
    void refusePost() { m_postRefused = true; }
    void cancel();
    void remove();
    // Posts a pending change when the row was modified, cancels it otherwise.
    void checkBrowseMode();

    // ---- navigation ----
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const;
    int recordCount() const;
    int recNo() const;   // 1-based number of the current row, 0 when there is none
    void setRecNo(int number);
    bool locate(const QString& fieldName, const QVariant& value);

    // ---- filter, order, master ----
    bool setFilter(const QString& text, QString* error = nullptr);
    QString filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }
    bool setIndexFieldNames(const QString& names, QString* error = nullptr);
    bool addIndex(const QString& indexName, const QString& fields, const QString& descFields, QString* error = nullptr);
    bool setIndexName(const QString& indexName, QString* error = nullptr);
    // The rows shown are those whose detailFields equal masterFields of the master's current row.
    bool setMaster(Table* master, const QString& masterFields, const QString& detailFields, QString* error = nullptr);
    Table* master() const { return m_master; }

    // A value of a row the table shows (0-based, in the table's order) without moving to it;
    // looked-up fields are resolved. The stored row is read even while the table edits it.
    QVariant visibleValue(int row, int field) const;

    // The stored values of every row, in the store's natural order (filters and master ignored).
    QList<RowValues> allRows() const;
    // The number of stored rows (filters and master ignored).
    int storedRowCount() const { return m_store ? int(m_store->rows.size()) : 0; }
    // Calls `visit` with one field's stored value in every row, in natural order (filters and
    // master ignored), without copying them.
    template <typename Visit>
    void forEachStoredValue(int field, Visit visit) const
    {
        if (!m_store || field < 0 || field >= m_store->fields.size())
            return;
        for (const RowPtr& row : m_store->rows) {
            const QVariant value = row->value(field);
            visit(value);
        }
    }
    // Calls `visit` with the stored values of every row, in natural order (filters and master
    // ignored), without copying them.
    template <typename Visit>
    void forEachStoredRow(Visit visit) const
    {
        if (!m_store)
            return;
        for (const RowPtr& row : m_store->rows)
            row->visitValues(visit);
    }
    // Calls `visit` once a row, in natural order (filters and master ignored), with a function that
    // gives the row's stored value of a field: a row kept in its file form decodes only those asked.
    template <typename Visit>
    void forEachStoredRowValues(Visit visit) const
    {
        if (!m_store)
            return;
        for (const RowPtr& row : m_store->rows)
            visit([&row](int field) { return row->value(field); });
    }
    // Calls `visit` with the stored values of every row whose value of `field` passes `selected`,
    // in natural order (filters and master ignored). A row kept in its file form is decoded only
    // when selected, so finding the rows of one registration costs one value a row.
    template <typename Selected, typename Visit>
    void forEachStoredRowWhere(int field, Selected selected, Visit visit) const
    {
        if (!m_store || field < 0 || field >= m_store->fields.size())
            return;
        for (const RowPtr& row : m_store->rows) {
            if (selected(row->value(field)))
                row->visitValues(visit);
        }
    }
    // A count that grows whenever a row of the store is added, changed or removed, through any
    // cursor: a reader compares it to know whether what it read is still current.
    quint64 rowsVersion() const { return m_store ? m_store->version : 0; }
    // Appends a row of stored values without events (used to fill tables from code).
    void appendRowValues(const RowValues& values);

    // ---- used by Field ----
    QVariant valueAt(int index) const;
    bool setValueAt(int index, const QVariant& value, QString* error);

signals:
    // Emitted when a post begins, while the row can still be changed: the controls that show
    // the table write their pending text into it.
    void beforePost();
    void afterInsert();
    void afterEdit();
    void afterPost();
    void afterCancel();
    void afterDelete();
    void afterScroll();
    // Data-source notifications: the current row (or what it shows) changed, the state changed,
    // one field's value was set.
    void recordChanged();
    void stateChanged();
    void fieldChanged(int index);
    // A post could not be done (the row edited was deleted through another cursor); the change
    // was cancelled and every other row kept.
    void postFailed(const QString& message);

private:
    using Row = TableRow;
    using RowPtr = TableRowPtr;
    struct IndexSpec
    {
        int field = -1;
        bool descending = false;
    };
    struct NamedIndex
    {
        QString name;
        QList<IndexSpec> specs;
    };
    // The rows shared by a table and its clones, with the indexes on link fields that the
    // master–detail views of any of them asked for. Rows change only through the methods below,
    // which keep those indexes up to date.
    struct Store
    {
        QList<FieldDef> fields;
        std::vector<RowPtr> rows;
        quint64 version = 0;
        bool changed = false;
        std::vector<Table*> cursors;
        std::vector<std::unique_ptr<LinkIndex>> indexes;
        quint64 nextSeq = 0;
        // Whether the rows' file forms are those a write of the table makes (same fields, same
        // order), so that a row kept in its file form is written by copying it.
        bool formsWritable = true;

        // Numbers the rows as loaded, in their order.
        void numberRows();
        // Puts the row before `before` (at the end when null).
        void insertRow(const RowPtr& row, const RowPtr& before);
        void eraseRow(const RowPtr& row);
        void setRowValues(const RowPtr& row, const RowValues& values);
        void clearRows();
        // The index on these fields, built at the first request.
        const LinkIndex& linkIndex(const QList<int>& fields);
    };

    friend class Field;

    void attachStore(std::shared_ptr<Store> store);
    void detachStore();
    void touchStore();
    void refreshVisible() const;
    void refreshAll(Table* origin);
    void relocate(const RowPtr& row, int fallbackPos);
    // Navigation: posts or cancels a pending change and brings the rows shown up to date; false
    // when the table is closed or a refused value keeps it on its row.
    bool leaveRow();
    void moveTo(int pos, bool bof, bool eof);
    void setState(State state);
    void startNewRow(bool appendAtEnd);
    RowValues masterValues() const;
    // True when the master's key values are of the kinds stored in the link fields, so that the
    // detail rows can be found through an index that compares them the same way a scan would.
    bool linkIndexUsable() const;
    void onMasterChanged();
    bool parseFieldList(const QString& names, QList<int>* indexes, QString* error) const;
    RowPtr currentRow() const;
    // What a write of the store takes: each row's values and, beside them, its file form when
    // the write may copy it.
    struct RowsToWrite
    {
        std::vector<const RowValues*> values;
        std::vector<TableFile::RowForm*> forms;
        std::deque<RowValues> decoded; // rows decoded for this write alone
    };
    RowsToWrite rowsToWrite() const;
    QVariant lookupValue(int index, const RowValues& values) const;
    void resolveLookups();

    QString m_name;
    QString m_fileName;
    QList<FieldDef> m_declared;
    QList<RowValues> m_initialRows;
    std::shared_ptr<Store> m_store;
    bool m_isClone = false;

    State m_state = State::Inactive;
    bool m_modified = false;
    bool m_postRefused = false;
    bool m_editedRowGone = false; // another cursor deleted the row being edited
    RowValues m_buffer;
    RowPtr m_insertBefore; // insert(): the row the new one goes before in natural order

    QString m_filterText;
    FilterExpression m_filter;
    bool m_filtered = false;
    QList<IndexSpec> m_order;
    QList<NamedIndex> m_indexes;

    QPointer<Table> m_master;
    QList<int> m_masterFieldIndexes;
    QList<int> m_detailFieldIndexes;
    RowValues m_lastMasterValues;
    QList<QMetaObject::Connection> m_masterConnections;

    QHash<QString, QPointer<Table>> m_lookupTables; // field name (upper case) → table
    QVector<int> m_lookupKeyIndexes;

    mutable std::vector<RowPtr> m_visible;
    mutable quint64 m_visibleVersion = ~quint64(0);
    mutable bool m_visibleDirty = true;
    int m_pos = -1; // index into m_visible, -1 when none
    RowPtr m_current;
    bool m_eof = true;
    bool m_bof = true;
};

} // namespace store
