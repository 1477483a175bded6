#include "store/Table.h"

#include "store/TableFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <bit>

namespace store {

// ---------------------------------------------------------------- Field

QString Field::name() const
{
    return def().name;
}

const FieldDef& Field::def() const
{
    return m_table->fields().at(m_index);
}

bool Field::isNull() const
{
    const QVariant v = value();
    return !v.isValid() || v.isNull();
}

QVariant Field::value() const
{
    return isValid() ? m_table->valueAt(m_index) : QVariant();
}

QString Field::asString() const
{
    return isValid() ? valueText(def(), value()) : QString();
}

qint64 Field::asInteger() const
{
    return qint64(asFloat());
}

double Field::asFloat() const
{
    const QVariant v = value();
    if (!v.isValid() || v.isNull())
        return 0;
    bool ok = false;
    const double number = v.toDouble(&ok);
    return ok ? number : 0;
}

QDate Field::asDate() const
{
    const QVariant v = value();
    return v.typeId() == QMetaType::QDate ? v.toDate() : QDate();
}

bool Field::setValue(const QVariant& value, QString* error)
{
    if (!isValid()) {
        if (error)
            *error = QStringLiteral("項目がありません。");
        return false;
    }
    return m_table->setValueAt(m_index, value, error);
}

// ---------------------------------------------------------------- Table

Table::Table(const QString& name, QObject* parent)
    : QObject(parent)
    , m_name(name)
{
    setObjectName(QStringLiteral("Cds") + name);
}

Table::~Table()
{
    detachStore();
}

void Table::attachStore(std::shared_ptr<Store> store)
{
    detachStore();
    m_store = std::move(store);
    m_store->cursors.push_back(this);
    m_state = State::Browse;
    m_modified = false;
    m_buffer.clear();
    QString ignored;
    if (!m_filterText.isEmpty())
        m_filter.parse(m_filterText, m_store->fields, &ignored);
    resolveLookups();
    m_visibleDirty = true;
    refreshVisible();
    m_pos = m_visible.empty() ? -1 : 0;
    m_current = m_pos >= 0 ? m_visible[size_t(m_pos)] : nullptr;
    m_bof = true;
    m_eof = m_visible.empty();
}

void Table::detachStore()
{
    if (m_store) {
        auto& cursors = m_store->cursors;
        cursors.erase(std::remove(cursors.begin(), cursors.end(), this), cursors.end());
        m_store.reset();
    }
    m_visible.clear();
    m_current.reset();
    m_pos = -1;
    m_state = State::Inactive;
}

bool Table::open(QString* error)
{
    QList<FieldDef> fileFields;
    QList<RowValues> fileRows;
    QList<TableFile::RowForm> fileForms;
    if (!TableFile::read(m_fileName, &fileFields, &fileRows, error, &fileForms, TableFile::Values::OfRowsWithoutForm))
        return false;
    // The values of a row in the file's order, for a row that is bound to another layout.
    const TableFile::RowDecoder fileDecoder(fileFields);
    const auto fileValues = [&](qsizetype r) {
        return fileForms.at(r).isEmpty() ? std::move(fileRows[r]) : fileDecoder.values(fileForms.at(r));
    };

    auto store = std::make_shared<Store>();
    store->rows.reserve(size_t(fileRows.size()));
    // Bind the declared fields by name; fields of the file that are not declared follow them,
    // so that nothing the file holds is lost when it is written again.
    QList<FieldDef> layout = m_declared;
    QVector<int> source; // layout position → file position, -1 for looked-up fields
    for (const FieldDef& def : m_declared) {
        int found = -1;
        for (int f = 0; f < fileFields.size() && def.isStored(); ++f) {
            if (fileFields.at(f).name.compare(def.name, Qt::CaseInsensitive) == 0)
                found = f;
        }
        if (def.isStored() && found < 0) {
            if (error)
                *error = QStringLiteral("%1: 項目 %2 がファイルにありません。").arg(QDir::toNativeSeparators(m_fileName), def.name);
            return false;
        }
        source.append(found);
    }
    for (int f = 0; f < fileFields.size(); ++f) {
        if (!source.contains(f)) {
            layout.append(fileFields.at(f));
            source.append(f);
        }
    }
    // A declared field of the file's own type and width takes the values as read.
    QVector<bool> asRead(layout.size());
    bool allAsRead = true;
    for (int f = 0; f < layout.size(); ++f) {
        const int from = source.at(f);
        asRead[f] = from >= 0 && fileFields.at(from).type == layout.at(f).type
            && (layout.at(f).width == 0 || (fileFields.at(from).width > 0 && fileFields.at(from).width <= layout.at(f).width));
        allAsRead = allAsRead && (from < 0 || asRead.at(f));
    }
    // The rows' file forms are written again as they stand only when the table writes exactly
    // the file's fields, in the file's order.
    QList<FieldDef> written;
    for (const FieldDef& field : std::as_const(layout)) {
        if (field.isStored())
            written.append(field);
    }
    store->formsWritable = written.size() == fileFields.size();
    for (int f = 0; store->formsWritable && f < written.size(); ++f) {
        const FieldDef& own = written.at(f);
        const FieldDef& file = fileFields.at(f);
        store->formsWritable = own.name == file.name && own.type == file.type && own.width == file.width;
    }
    // Rows kept in their file form, when every value reads as the file holds it, are decoded
    // when first read.
    const auto decoder = allAsRead ? std::make_shared<const RowLayoutDecoder>(fileFields, source) : nullptr;
    for (int r = 0; r < fileRows.size(); ++r) {
        if (decoder && !fileForms.at(r).isEmpty()) {
            store->rows.push_back(std::make_shared<Row>(std::move(fileForms[r]), decoder));
            continue;
        }
        RowValues values = fileValues(r);
        RowValues bound(layout.size());
        for (int f = 0; f < layout.size(); ++f) {
            if (source.at(f) < 0)
                continue;
            if (asRead.at(f)) {
                bound[f] = std::move(values[source.at(f)]);
                continue;
            }
            QString why;
            if (!convertValue(layout.at(f), values.at(source.at(f)), &bound[f], &why)) {
                if (error)
                    *error = QStringLiteral("%1: %2 行目: %3").arg(QDir::toNativeSeparators(m_fileName)).arg(r + 1).arg(why);
                return false;
            }
        }
        store->rows.push_back(std::make_shared<Row>(std::move(bound)));
    }
    store->fields = layout;
    store->numberRows();
    attachStore(store);
    emit stateChanged();
    emit recordChanged();
    return true;
}

void Table::createDataSet()
{
    auto store = std::make_shared<Store>();
    store->fields = m_declared;
    for (const RowValues& initial : m_initialRows) {
        RowValues values(m_declared.size());
        for (int f = 0; f < values.size() && f < initial.size(); ++f)
            convertValue(m_declared.at(f), initial.at(f), &values[f], nullptr);
        store->rows.push_back(std::make_shared<Row>(values));
    }
    store->numberRows();
    attachStore(store);
    emit stateChanged();
    emit recordChanged();
}

bool Table::save(QString* error)
{
    return saveToFile(m_fileName, error);
}

bool Table::saveToFile(const QString& path, QString* error)
{
    if (!m_store) {
        if (error)
            *error = QStringLiteral("%1: 表が開かれていません。").arg(m_name);
        return false;
    }
    checkBrowseMode();
    const RowsToWrite rows = rowsToWrite();
    if (!TableFile::write(path, m_store->fields, rows.values, error, &rows.forms))
        return false;
    if (QFileInfo(path) == QFileInfo(m_fileName))
        m_store->changed = false;
    return true;
}

bool Table::saveToDevice(QIODevice* device, QString* error)
{
    if (!m_store) {
        if (error)
            *error = QStringLiteral("%1: 表が開かれていません。").arg(m_name);
        return false;
    }
    checkBrowseMode();
    const RowsToWrite rows = rowsToWrite();
    return TableFile::write(device, m_store->fields, rows.values, error, &rows.forms);
}

Table::RowsToWrite Table::rowsToWrite() const
{
    RowsToWrite out;
    out.values.reserve(m_store->rows.size());
    out.forms.reserve(m_store->rows.size());
    // A row still in its file form is written as that form when the file form is the table's
    // own: its values are not needed. Otherwise it is decoded for the write alone.
    static const RowValues kWrittenAsForm;
    for (const RowPtr& row : m_store->rows) {
        if (row->isDecoded())
            out.values.push_back(&row->values());
        else if (m_store->formsWritable)
            out.values.push_back(&kWrittenAsForm);
        else {
            RowValues& decoded = out.decoded.emplace_back();
            row->visitValues([&decoded](const RowValues& values) { decoded = values; });
            out.values.push_back(&decoded);
        }
        out.forms.push_back(m_store->formsWritable ? &row->form : nullptr);
    }
    return out;
}

bool Table::close(QString* error)
{
    if (!m_store)
        return true;
    bool ok = true;
    if (!m_isClone) {
        checkBrowseMode();
        if (!m_fileName.isEmpty() && (m_store->changed || !QFileInfo::exists(m_fileName)))
            ok = save(error);
    }
    detachStore();
    emit stateChanged();
    emit recordChanged();
    return ok;
}

bool Table::isChangedSinceRead() const
{
    return m_store && m_store->changed;
}

void Table::markUnchanged()
{
    if (m_store)
        m_store->changed = false;
}

void Table::emptyTable()
{
    if (!m_store)
        return;
    if (isEditing())
        cancel();
    if (m_store->rows.empty())
        return;
    m_store->clearRows();
    touchStore();
    refreshAll(nullptr);
}

void Table::cloneCursor(Table* source)
{
    if (!source->m_store)
        return;
    m_isClone = true;
    m_fileName = source->m_fileName;
    m_lookupTables = source->m_lookupTables;
    attachStore(source->m_store);
    emit stateChanged();
    emit recordChanged();
}

// ---------------------------------------------------------------- fields

int Table::fieldCount() const
{
    return m_store ? int(m_store->fields.size()) : int(m_declared.size());
}

const QList<FieldDef>& Table::fields() const
{
    return m_store ? m_store->fields : m_declared;
}

int Table::fieldIndex(const QString& name) const
{
    const QList<FieldDef>& list = fields();
    for (int f = 0; f < list.size(); ++f) {
        if (list.at(f).name.compare(name, Qt::CaseInsensitive) == 0)
            return f;
    }
    return -1;
}

Field Table::field(const QString& name)
{
    const int index = fieldIndex(name);
    Q_ASSERT_X(index >= 0, "Table::field", qPrintable(m_name + QLatin1Char('.') + name));
    return Field(index >= 0 ? this : nullptr, index);
}

Field Table::findField(const QString& name)
{
    const int index = fieldIndex(name);
    return index >= 0 ? Field(this, index) : Field();
}

void Table::setLookupTable(const QString& fieldName, Table* table)
{
    m_lookupTables.insert(fieldName.toUpper(), table);
    resolveLookups();
}

void Table::resolveLookups()
{
    const QList<FieldDef>& list = fields();
    m_lookupKeyIndexes = QVector<int>(list.size(), -1);
    for (int f = 0; f < list.size(); ++f) {
        if (list.at(f).type == FieldType::Lookup)
            m_lookupKeyIndexes[f] = fieldIndex(list.at(f).lookup.keyField);
    }
}

QVariant Table::lookupValue(int index, const RowValues& values) const
{
    const FieldDef& def = fields().at(index);
    const Table* target = m_lookupTables.value(def.name.toUpper());
    const int keyIndex = index < m_lookupKeyIndexes.size() ? m_lookupKeyIndexes.at(index) : -1;
    if (!target || !target->m_store || keyIndex < 0 || keyIndex >= values.size())
        return {};
    const QVariant key = values.at(keyIndex);
    if (!key.isValid() || key.isNull())
        return {};
    const int targetKey = target->fieldIndex(def.lookup.tableKeyField);
    const int targetResult = target->fieldIndex(def.lookup.resultField);
    if (targetKey < 0 || targetResult < 0)
        return {};
    for (const RowPtr& row : target->m_store->rows) {
        if (compareValues(row->value(targetKey), key) == 0)
            return row->value(targetResult);
    }
    return {};
}

QVariant Table::valueAt(int index) const
{
    if (!m_store || index < 0 || index >= m_store->fields.size())
        return {};
    const RowValues* values = nullptr;
    if (isEditing())
        values = &m_buffer;
    else if (m_current)
        values = &m_current->values();
    if (!values)
        return {};
    if (m_store->fields.at(index).type == FieldType::Lookup)
        return lookupValue(index, *values);
    return index < values->size() ? values->at(index) : QVariant();
}

bool Table::setValueAt(int index, const QVariant& value, QString* error)
{
    if (!isEditing()) {
        if (error)
            *error = QStringLiteral("%1 は編集中ではありません。").arg(m_name);
        qWarning("Table %s: field set while not in edit or insert state", qPrintable(m_name));
        return false;
    }
    const FieldDef& def = m_store->fields.at(index);
    if (def.type == FieldType::Lookup) {
        if (error)
            *error = QStringLiteral("%1 は参照項目のため変更できません。").arg(def.name);
        return false;
    }
    QVariant converted;
    if (!convertValue(def, value, &converted, error))
        return false;
    m_buffer[index] = converted;
    m_modified = true;
    emit fieldChanged(index);
    return true;
}

// ---------------------------------------------------------------- state

void Table::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged();
}

void Table::startNewRow(bool appendAtEnd)
{
    if (!m_store)
        return;
    checkBrowseMode();
    m_insertBefore = appendAtEnd ? nullptr : m_current;
    m_buffer = RowValues(m_store->fields.size());
    if (m_master && m_master->isActive()) {
        const RowValues keys = masterValues();
        for (int k = 0; k < m_detailFieldIndexes.size() && k < keys.size(); ++k)
            convertValue(m_store->fields.at(m_detailFieldIndexes.at(k)), keys.at(k), &m_buffer[m_detailFieldIndexes.at(k)], nullptr);
    }
    m_modified = false;
    setState(State::Insert);
    emit recordChanged();
    emit afterInsert();
}

void Table::append()
{
    startNewRow(true);
}

void Table::insert()
{
    startNewRow(false);
}

void Table::edit()
{
    if (!m_store || isEditing())
        return;
    if (!m_current) {
        append();
        return;
    }
    m_buffer = m_current->values();
    m_modified = false;
    m_editedRowGone = false;
    setState(State::Edit);
    emit afterEdit();
}

namespace {

// True when the two rows would be written alike: the same fields absent, and the others of the
// same type and value (numbers compared exactly).
bool sameStoredValues(const Table::RowValues& a, const Table::RowValues& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QVariant& x = a.at(i);
        const QVariant& y = b.at(i);
        const bool xAbsent = !x.isValid() || x.isNull();
        const bool yAbsent = !y.isValid() || y.isNull();
        if (xAbsent || yAbsent) {
            if (xAbsent != yAbsent)
                return false;
            continue;
        }
        if (x.metaType() != y.metaType())
            return false;
        if (x.typeId() == QMetaType::Double ? std::bit_cast<quint64>(x.toDouble()) != std::bit_cast<quint64>(y.toDouble()) : x != y)
            return false;
    }
    return true;
}

} // namespace

bool Table::post()
{
    if (!isEditing())
        return false;
    m_postRefused = false;
    emit beforePost();
    if (!isEditing() || m_postRefused)
        return false; // a handler cancelled the change or refused a value
    if (m_state == State::Edit && m_editedRowGone) {
        // Another cursor deleted the row this one was editing: there is nothing to write to.
        const QString why = QStringLiteral("%1: 編集中の行がほかの画面で削除されたため、変更を保存できませんでした。").arg(m_name);
        cancel();
        emit postFailed(why);
        return false;
    }
    if (m_state == State::Edit && sameStoredValues(m_current->values(), m_buffer)) {
        // Nothing changed: the store, its indexes, its row as read and the other cursors stay
        // as they are, so a table posted without a change is not written again.
        m_buffer.clear();
        m_modified = false;
        m_state = State::Browse;
        emit stateChanged();
        emit recordChanged();
        emit afterPost();
        return true;
    }
    if (m_state == State::Edit) {
        m_store->setRowValues(m_current, m_buffer);
    } else {
        m_current = std::make_shared<Row>(m_buffer);
        m_store->insertRow(m_current, m_insertBefore);
        m_insertBefore.reset();
    }
    m_buffer.clear();
    m_modified = false;
    m_state = State::Browse;
    touchStore();
    refreshAll(this);
    emit stateChanged();
    emit recordChanged();
    emit afterPost();
    return true;
}

void Table::cancel()
{
    if (!isEditing())
        return;
    m_buffer.clear();
    m_modified = false;
    m_editedRowGone = false;
    m_insertBefore.reset();
    m_state = State::Browse;
    relocate(m_current, m_pos); // the row edited may have left the rows shown meanwhile
    emit stateChanged();
    emit recordChanged();
    emit afterCancel();
}

void Table::remove()
{
    if (!m_store)
        return;
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit) {
        m_buffer.clear();
        m_modified = false;
        m_state = State::Browse;
        emit stateChanged();
    }
    if (!m_current)
        return;
    m_store->eraseRow(m_current);
    m_current.reset();
    touchStore();
    refreshAll(this);
    emit recordChanged();
    emit afterDelete();
}

void Table::checkBrowseMode()
{
    if (!isEditing())
        return;
    if (m_modified)
        post();
    else
        cancel();
}

// ---------------------------------------------------------------- rows shown

void Table::touchStore()
{
    ++m_store->version;
    m_store->changed = true;
}

namespace {

// The kind of value a field stores, as far as compareValues is concerned.
enum class ValueKind { Text, Number, Date, Other };

ValueKind valueKind(FieldType type)
{
    switch (type) {
    case FieldType::FixedText:
    case FieldType::Text:
    case FieldType::Memo:
        return ValueKind::Text;
    case FieldType::Float:
    case FieldType::Integer:
        return ValueKind::Number;
    case FieldType::DateTime:
        return ValueKind::Date;
    case FieldType::Lookup:
        break;
    }
    return ValueKind::Other;
}

} // namespace

bool Table::linkIndexUsable() const
{
    const QList<FieldDef>& masterFields = m_master->fields();
    const QList<FieldDef>& detailFields = m_store->fields;
    for (int k = 0; k < m_detailFieldIndexes.size(); ++k) {
        const ValueKind kind = valueKind(detailFields.at(m_detailFieldIndexes.at(k)).type);
        if (kind == ValueKind::Other || kind != valueKind(masterFields.at(m_masterFieldIndexes.at(k)).type))
            return false;
    }
    return true;
}

void Table::Store::numberRows()
{
    for (const RowPtr& row : rows)
        row->seq = nextSeq++;
}

void Table::Store::insertRow(const RowPtr& row, const RowPtr& before)
{
    const auto at = before ? std::find(rows.begin(), rows.end(), before) : rows.end();
    const bool atEnd = at == rows.end();
    rows.insert(at, row);
    if (atEnd) {
        row->seq = nextSeq++;
    } else {
        // Numbering again keeps the order of the rows already indexed, so the groups stay sorted.
        nextSeq = 0;
        numberRows();
    }
    for (const auto& index : indexes)
        index->add(row);
}

void Table::Store::eraseRow(const RowPtr& row)
{
    for (const auto& index : indexes)
        index->remove(row);
    rows.erase(std::remove(rows.begin(), rows.end(), row), rows.end());
}

void Table::Store::setRowValues(const RowPtr& row, const RowValues& values)
{
    const RowValues old = row->values();
    row->setValues(values);
    for (const auto& index : indexes)
        index->update(row, old);
}

void Table::Store::clearRows()
{
    rows.clear();
    for (const auto& index : indexes)
        index->clear();
}

const LinkIndex& Table::Store::linkIndex(const QList<int>& fields)
{
    for (const auto& index : indexes) {
        if (index->fields() == fields)
            return *index;
    }
    indexes.push_back(std::make_unique<LinkIndex>(fields, rows));
    return *indexes.back();
}

Table::RowValues Table::masterValues() const
{
    RowValues keys;
    for (int index : m_masterFieldIndexes)
        keys.append(m_master->valueAt(index));
    return keys;
}

void Table::refreshVisible() const
{
    if (!m_store) {
        m_visible.clear();
        return;
    }
    if (!m_visibleDirty && m_visibleVersion == m_store->version)
        return;
    m_visible.clear();
    const bool linked = m_master && m_master->isActive();
    const bool masterHasRow = linked && (m_master->m_current || m_master->isEditing());
    const RowValues keys = linked ? masterValues() : RowValues();
    const auto passesFilter = [this](const RowPtr& row) {
        return !m_filtered || m_filter.isEmpty() || m_filter.accepts([&](int f) { return row->value(f); });
    };
    if (linked && masterHasRow && linkIndexUsable()) {
        if (const std::vector<RowPtr>* group = m_store->linkIndex(m_detailFieldIndexes).find(keys)) {
            for (const RowPtr& row : *group) {
                if (passesFilter(row))
                    m_visible.push_back(row);
            }
        }
    } else if (!linked || masterHasRow) {
        for (const RowPtr& row : m_store->rows) {
            bool shown = true;
            for (int k = 0; shown && k < m_detailFieldIndexes.size(); ++k)
                shown = compareValues(row->value(m_detailFieldIndexes.at(k)), keys.at(k)) == 0;
            if (shown && passesFilter(row))
                m_visible.push_back(row);
        }
    }
    if (!m_order.isEmpty()) {
        // Each row's keys are read once: a row kept in its file form decodes only them.
        std::vector<std::pair<RowValues, RowPtr>> keyed;
        keyed.reserve(m_visible.size());
        for (RowPtr& row : m_visible) {
            RowValues keys;
            keys.reserve(m_order.size());
            for (const IndexSpec& spec : m_order)
                keys.append(row->value(spec.field));
            keyed.emplace_back(std::move(keys), std::move(row));
        }
        std::stable_sort(keyed.begin(), keyed.end(), [this](const auto& a, const auto& b) {
            for (int k = 0; k < m_order.size(); ++k) {
                const int c = compareValues(a.first.at(k), b.first.at(k));
                if (c != 0)
                    return m_order.at(k).descending ? c > 0 : c < 0;
            }
            return false;
        });
        for (size_t r = 0; r < keyed.size(); ++r)
            m_visible[r] = std::move(keyed[r].second);
    }
    m_visibleVersion = m_store->version;
    m_visibleDirty = false;
}

void Table::relocate(const RowPtr& row, int fallbackPos)
{
    refreshVisible();
    auto found = row ? std::find(m_visible.begin(), m_visible.end(), row) : m_visible.end();
    if (m_state == State::Edit && row && found == m_visible.end()) {
        // The row being edited left the rows shown (another cursor deleted it or changed its
        // key): it stays the current row until its change is posted or cancelled, so that the
        // change can never land on a neighbouring row.
        const auto& rows = m_store->rows;
        if (std::find(rows.begin(), rows.end(), row) == rows.end())
            m_editedRowGone = true;
        m_pos = m_visible.empty() ? -1 : std::clamp(fallbackPos, 0, int(m_visible.size()) - 1);
        m_current = row;
        return;
    }
    if (found != m_visible.end()) {
        m_pos = int(found - m_visible.begin());
    } else if (m_visible.empty()) {
        m_pos = -1;
    } else {
        m_pos = std::clamp(fallbackPos, 0, int(m_visible.size()) - 1);
    }
    m_current = m_pos >= 0 ? m_visible[size_t(m_pos)] : nullptr;
    if (m_visible.empty())
        m_bof = m_eof = true;
    else
        m_eof = m_bof = false;
}

void Table::refreshAll(Table* origin)
{
    // Copy: a handler may open or close cursors while we notify.
    const std::vector<Table*> cursors = m_store->cursors;
    for (Table* cursor : cursors) {
        cursor->m_visibleDirty = true;
        cursor->relocate(cursor->m_current, cursor->m_pos);
    }
    for (Table* cursor : cursors) {
        if (cursor != origin)
            emit cursor->recordChanged();
    }
}

bool Table::isEmpty() const
{
    refreshVisible();
    return m_visible.empty() && m_state != State::Insert;
}

int Table::recordCount() const
{
    refreshVisible();
    return int(m_visible.size());
}

int Table::recNo() const
{
    if (m_state == State::Insert)
        return 0;
    return m_pos + 1;
}

// ---------------------------------------------------------------- navigation

bool Table::leaveRow()
{
    if (!m_store)
        return false;
    checkBrowseMode();
    if (isEditing())
        return false; // a refused value keeps the row where it is
    refreshVisible();
    return true;
}

void Table::moveTo(int pos, bool bof, bool eof)
{
    m_pos = pos;
    m_current = pos >= 0 ? m_visible[size_t(pos)] : nullptr;
    m_bof = bof;
    m_eof = eof;
    emit recordChanged();
    emit afterScroll();
}

void Table::first()
{
    if (leaveRow())
        moveTo(m_visible.empty() ? -1 : 0, true, m_visible.empty());
}

void Table::last()
{
    if (leaveRow())
        moveTo(int(m_visible.size()) - 1, m_visible.empty(), true);
}

void Table::next()
{
    if (!leaveRow())
        return;
    if (m_pos + 1 < int(m_visible.size()))
        moveTo(m_pos + 1, false, false);
    else
        m_eof = true;
}

void Table::prior()
{
    if (!leaveRow())
        return;
    if (m_pos > 0)
        moveTo(m_pos - 1, false, false);
    else
        m_bof = true;
}

void Table::setRecNo(int number)
{
    if (leaveRow() && !m_visible.empty())
        moveTo(std::clamp(number - 1, 0, int(m_visible.size()) - 1), false, false);
}

bool Table::locate(const QString& fieldName, const QVariant& value)
{
    const int index = fieldIndex(fieldName);
    QVariant key;
    if (index < 0 || !leaveRow() || !convertValue(m_store->fields.at(index), value, &key, nullptr))
        return false;
    for (size_t r = 0; r < m_visible.size(); ++r) {
        if (compareValues(m_visible[r]->value(index), key) == 0) {
            moveTo(int(r), false, false);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- filter, order, master

bool Table::setFilter(const QString& text, QString* error)
{
    FilterExpression parsed;
    if (!parsed.parse(text, fields(), error))
        return false;
    m_filterText = text;
    m_filter = parsed;
    if (m_filtered && m_store) {
        m_visibleDirty = true;
        first();
    }
    return true;
}

void Table::setFiltered(bool on)
{
    if (m_filtered == on)
        return;
    m_filtered = on;
    if (m_store) {
        checkBrowseMode();
        m_visibleDirty = true;
        first();
    }
}

bool Table::parseFieldList(const QString& names, QList<int>* indexes, QString* error) const
{
    indexes->clear();
    const QStringList parts = names.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const int index = fieldIndex(part.trimmed());
        if (index < 0) {
            if (error)
                *error = QStringLiteral("%1: 項目 %2 がありません。").arg(m_name, part.trimmed());
            return false;
        }
        indexes->append(index);
    }
    return true;
}

bool Table::setIndexFieldNames(const QString& names, QString* error)
{
    QList<int> indexes;
    if (!parseFieldList(names, &indexes, error))
        return false;
    m_order.clear();
    for (int index : indexes)
        m_order.append(IndexSpec{index, false});
    if (m_store) {
        m_visibleDirty = true;
        relocate(m_current, m_pos);
        emit recordChanged();
    }
    return true;
}

bool Table::addIndex(const QString& indexName, const QString& fieldNames, const QString& descFields, QString* error)
{
    QList<int> indexes;
    QList<int> descending;
    if (!parseFieldList(fieldNames, &indexes, error) || !parseFieldList(descFields, &descending, error))
        return false;
    NamedIndex index{indexName, {}};
    for (int f : indexes)
        index.specs.append(IndexSpec{f, descending.contains(f)});
    m_indexes.append(index);
    return true;
}

bool Table::setIndexName(const QString& indexName, QString* error)
{
    for (const NamedIndex& index : m_indexes) {
        if (index.name.compare(indexName, Qt::CaseInsensitive) == 0) {
            m_order = index.specs;
            if (m_store) {
                m_visibleDirty = true;
                relocate(m_current, m_pos);
                emit recordChanged();
            }
            return true;
        }
    }
    if (error)
        *error = QStringLiteral("%1: 索引 %2 がありません。").arg(m_name, indexName);
    return false;
}

bool Table::setMaster(Table* master, const QString& masterFields, const QString& detailFields, QString* error)
{
    for (const auto& connection : m_masterConnections)
        disconnect(connection);
    m_masterConnections.clear();
    m_master = nullptr;
    m_masterFieldIndexes.clear();
    m_detailFieldIndexes.clear();
    if (master) {
        QList<int> masterIndexes;
        QList<int> detailIndexes;
        if (!master->parseFieldList(masterFields, &masterIndexes, error) || !parseFieldList(detailFields, &detailIndexes, error))
            return false;
        if (masterIndexes.size() != detailIndexes.size()) {
            if (error)
                *error = QStringLiteral("%1: 親子の項目数が一致しません。").arg(m_name);
            return false;
        }
        m_master = master;
        m_masterFieldIndexes = masterIndexes;
        m_detailFieldIndexes = detailIndexes;
        m_masterConnections.append(connect(master, &Table::recordChanged, this, &Table::onMasterChanged));
        m_masterConnections.append(connect(master, &Table::fieldChanged, this, [this](int index) {
            if (m_masterFieldIndexes.contains(index))
                onMasterChanged();
        }));
        m_lastMasterValues = masterValues();
    }
    if (m_store) {
        m_visibleDirty = true;
        first();
    }
    return true;
}

void Table::onMasterChanged()
{
    if (!m_master || !m_store)
        return;
    const RowValues keys = m_master->isActive() && (m_master->m_current || m_master->isEditing()) ? masterValues() : RowValues();
    bool same = keys.size() == m_lastMasterValues.size();
    for (int k = 0; same && k < keys.size(); ++k)
        same = compareValues(keys.at(k), m_lastMasterValues.at(k)) == 0
            && keys.at(k).isNull() == m_lastMasterValues.at(k).isNull();
    if (same)
        return;
    m_lastMasterValues = keys;
    checkBrowseMode();
    m_visibleDirty = true;
    first();
}

QVariant Table::visibleValue(int row, int field) const
{
    refreshVisible();
    if (!m_store || row < 0 || row >= int(m_visible.size()) || field < 0 || field >= m_store->fields.size())
        return {};
    const RowValues& values = m_visible[size_t(row)]->values();
    if (m_store->fields.at(field).type == FieldType::Lookup)
        return lookupValue(field, values);
    return field < values.size() ? values.at(field) : QVariant();
}

QList<Table::RowValues> Table::allRows() const
{
    QList<RowValues> rows;
    if (m_store) {
        for (const RowPtr& row : m_store->rows)
            row->visitValues([&rows](const RowValues& values) { rows.append(values); });
    }
    return rows;
}

void Table::appendRowValues(const RowValues& values)
{
    if (!m_store)
        return;
    RowValues stored(m_store->fields.size());
    for (int f = 0; f < stored.size() && f < values.size(); ++f)
        convertValue(m_store->fields.at(f), values.at(f), &stored[f], nullptr);
    m_store->insertRow(std::make_shared<Row>(stored), nullptr);
    touchStore();
    refreshAll(nullptr);
}

} // namespace store
