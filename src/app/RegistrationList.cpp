#include "app/RegistrationList.h"

#include "store/DataModule.h"
#include "store/DataSource.h"
#include "submission/SubmissionComparison.h"
#include "submission/SubmissionHistory.h"

#include <QCollator>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QSettings>

namespace app {

namespace {

// The header's state is kept per number of columns: a state saved by a version with other columns
// would leave a new column without width.
QString headerKey()
{
    return QStringLiteral("TechnologyList/header%1").arg(listColumns().size());
}
const QString kNeverSubmitted = QStringLiteral("未提出");
const QString kChangedMark = QStringLiteral("（変更あり）");

QString shownTime(const QDateTime& time)
{
    return time.isValid() ? time.toString(QStringLiteral("yyyy/MM/dd hh:mm")) : QString();
}

QString submissionText(const ListLine& line)
{
    if (!line.submitted.isValid())
        return kNeverSubmitted;
    return shownTime(line.submitted) + (line.changedSinceSubmission ? kChangedMark : QString());
}

// Fills in each line's last submission and whether the registration was saved with changes since.
// Only a registration saved after its last submission (or whose save time is unknown) can differ
// from it, and only those are fingerprinted; `known` keeps the marks found, by the save and
// submission times they were found for, so that a refresh after a save fingerprints that
// registration alone.
void addSubmissions(const store::DataModule& dm, QList<ListLine>& lines, QHash<QString, ChangeMark>& known)
{
    submission::SubmissionHistory history(dm.folder());
    QString ignored; // an unreadable index shows every registration as never submitted
    if (!history.load(&ignored))
        return;
    QSet<QString> unknown;
    for (ListLine& line : lines) {
        const std::optional<QDateTime> last = history.lastSubmission(line.entry.number);
        if (!last)
            continue;
        line.submitted = *last;
        // Save times are kept to the second: a save in the second of the submission counts as after it.
        const bool savedSince = !line.entry.saved.isValid() || line.entry.saved.addSecs(1) > line.submitted;
        const ChangeMark mark = known.value(line.entry.number);
        if (!savedSince)
            line.changedSinceSubmission = false;
        else if (mark.saved.isValid() && mark.saved == line.entry.saved && mark.submitted == line.submitted)
            line.changedSinceSubmission = mark.changed;
        else
            unknown.insert(line.entry.number);
    }
    if (unknown.isEmpty())
        return;
    const QHash<QString, QByteArray> fingerprints = submission::registrationFingerprints(dm, unknown);
    const QDateTime now = QDateTime::currentDateTime();
    for (ListLine& line : lines) {
        if (!unknown.contains(line.entry.number))
            continue;
        line.changedSinceSubmission = history.changedSinceLastSubmission(line.entry.number, fingerprints.value(line.entry.number));
        // A mark is kept only once the second of its save has passed: a later save in that second
        // would have the same time.
        if (line.entry.saved.isValid() && now > line.entry.saved.addSecs(1))
            known.insert(line.entry.number, {line.entry.saved, line.submitted, line.changedSinceSubmission});
        else
            known.remove(line.entry.number);
    }
}

// The user's settings of the program's windows (the standard place of the platform).
QSettings userSettings()
{
    return QSettings(QSettings::UserScope, QStringLiteral("VORDELL"), QStringLiteral("VORDELL"));
}

const QCollator& japaneseCollator()
{
    static const QCollator collator(QLocale(QLocale::Japanese, QLocale::Japan));
    return collator;
}

int compareTextKey(const ListLine& a, const ListLine& b, int key)
{
    return a.textKeys.at(key).compare(b.textKeys.at(key));
}

int compareTimes(const QDateTime& a, const QDateTime& b)
{
    // A registration without a save time (kept by an older program) comes first.
    if (a.isValid() != b.isValid())
        return a.isValid() ? 1 : -1;
    return a < b ? -1 : (b < a ? 1 : 0);
}

ListLine lineOf(store::RegistrationEntry entry, const QVariant& storedNumber)
{
    const QCollator& collator = japaneseCollator();
    ListLine line{std::move(entry), storedNumber, {}};
    for (const QString* text : {&line.entry.title, &line.entry.subtitle, &line.entry.company})
        line.textKeys.append(collator.sortKey(*text));
    return line;
}

} // namespace

int compareRegistrationNumbers(const QString& a, const QString& b)
{
    const auto split = [](const QString& number) {
        const int dash = number.lastIndexOf(QLatin1Char('-'));
        bool whole = false;
        const qlonglong value = number.mid(dash + 1).toLongLong(&whole);
        return std::tuple{number.left(dash + 1), whole ? value : -1, number};
    };
    const auto [prefixA, valueA, textA] = split(a);
    const auto [prefixB, valueB, textB] = split(b);
    if (const int c = QString::compare(prefixA, prefixB); c != 0)
        return c;
    if (valueA != valueB)
        return valueA < valueB ? -1 : 1;
    return QString::compare(textA, textB);
}

const QList<ListColumn>& listColumns()
{
    static const QList<ListColumn> columns = {
        {QStringLiteral("登録番号"), 100, [](const ListLine& l) { return l.entry.number; },
         [](const ListLine& a, const ListLine& b) { return compareRegistrationNumbers(a.entry.number, b.entry.number); }},
        {QStringLiteral("技術名称"), 200, [](const ListLine& l) { return l.entry.title; },
         [](const ListLine& a, const ListLine& b) { return compareTextKey(a, b, 0); }},
        {QStringLiteral("副題"), 120, [](const ListLine& l) { return l.entry.subtitle; },
         [](const ListLine& a, const ListLine& b) { return compareTextKey(a, b, 1); }},
        {QStringLiteral("開発会社"), 120, [](const ListLine& l) { return l.entry.company; },
         [](const ListLine& a, const ListLine& b) { return compareTextKey(a, b, 2); }},
        {QStringLiteral("最終保存"), 125, [](const ListLine& l) { return shownTime(l.entry.saved); },
         [](const ListLine& a, const ListLine& b) { return compareTimes(a.entry.saved, b.entry.saved); }},
        {QStringLiteral("最終提出"), 215, submissionText,
         [](const ListLine& a, const ListLine& b) {
             if (const int c = compareTimes(a.submitted, b.submitted); c != 0)
                 return c;
             return int(a.changedSinceSubmission) - int(b.changedSinceSubmission);
         }},
    };
    return columns;
}

// ---------------------------------------------------------------- the model

RegistrationListModel::RegistrationListModel(store::DataModule& dm, QObject* parent)
    : QAbstractTableModel(parent)
    , m_dm(dm)
{
    refresh(true);
}

void RegistrationListModel::refresh(bool force)
{
    const store::Table* main = m_dm.table(QStringLiteral("NT_TBL_MAIN"));
    const quint64 version = main->isActive() ? main->rowsVersion() : 0;
    if (!force && m_read && version == m_readVersion)
        return;
    QList<ListLine> lines;
    if (main->isActive()) {
        const int number = main->fieldIndex(QStringLiteral("REG_NO"));
        QList<QVariant> stored;
        main->forEachStoredValue(number, [&](const QVariant& value) { stored.append(value); });
        const QList<store::RegistrationEntry> entries = store::registrationEntries(*main, m_dm.saveTimes());
        for (int r = 0; r < entries.size(); ++r)
            lines.append(lineOf(entries.at(r), stored.value(r)));
        addSubmissions(m_dm, lines, m_changeMarks);
    }
    beginResetModel();
    m_lines = std::move(lines);
    m_readVersion = version;
    m_read = main->isActive();
    endResetModel();
}

int RegistrationListModel::rowOfNumber(const QString& number) const
{
    const QString wanted = number.trimmed();
    for (int r = 0; r < m_lines.size(); ++r) {
        if (m_lines.at(r).entry.number == wanted)
            return r;
    }
    return -1;
}

int RegistrationListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

int RegistrationListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(listColumns().size());
}

QVariant RegistrationListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ListColumn& column = listColumns().at(index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignVCenter) | column.alignment);
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return column.text(m_lines.at(index.row()));
    return {};
}

QVariant RegistrationListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < listColumns().size())
        return listColumns().at(section).title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

// ---------------------------------------------------------------- find and order

RegistrationFilter::RegistrationFilter(RegistrationListModel* source, QObject* parent)
    : QSortFilterProxyModel(parent)
    , m_lines(source)
{
    setSourceModel(source);
}

void RegistrationFilter::setFindText(const QString& typed)
{
    const QString wanted = store::typedFindText(typed);
    if (wanted == m_wanted)
        return;
    m_wanted = wanted;
    invalidateRowsFilter();
}

bool RegistrationFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    return store::entryMatches(m_lines->line(sourceRow).entry, m_wanted);
}

bool RegistrationFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const ListLine& a = m_lines->line(left.row());
    const ListLine& b = m_lines->line(right.row());
    const int c = listColumns().at(left.column()).compare(a, b);
    return c != 0 ? c < 0 : compareRegistrationNumbers(a.entry.number, b.entry.number) < 0;
}

// ---------------------------------------------------------------- the view

RegistrationListView::RegistrationListView(store::DataModule& dm, QWidget* parent)
    : QTableView(parent)
    , m_dm(dm)
    , m_model(new RegistrationListModel(dm, this))
    , m_filter(new RegistrationFilter(m_model, this))
{
    setModel(m_filter);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setSortingEnabled(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setStretchLastSection(false);
    restoreHeader();
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &RegistrationListView::saveHeader);
    connect(horizontalHeader(), &QHeaderView::sortIndicatorChanged, this, [this] {
        saveHeader();
        showCurrentRow();
    });

    store::DataSource* source = dm.dataSource(QStringLiteral("NT_TBL_MAIN"));
    connect(source, &store::DataSource::dataChanged, this, [this] {
        m_model->refresh();
        showCurrentRow();
    });
    connect(source, &store::DataSource::stateChanged, this, [this] {
        if (!m_dm.table(QStringLiteral("NT_TBL_MAIN"))->isEditing())
            m_model->refresh();
    });
    connect(&dm, &store::DataModule::saveTimesChanged, this, [this] {
        m_model->refresh(true);
        showCurrentRow();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, &RegistrationListView::showCurrentRow);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &RegistrationListView::moveTableToLine);
    showCurrentRow();
}

RegistrationListView::~RegistrationListView() = default;

void RegistrationListView::restoreHeader()
{
    const QByteArray state = userSettings().value(headerKey()).toByteArray();
    if (!state.isEmpty() && horizontalHeader()->restoreState(state) && horizontalHeader()->count() == listColumns().size()) {
        sortByColumn(horizontalHeader()->sortIndicatorSection(), horizontalHeader()->sortIndicatorOrder());
        return;
    }
    for (int c = 0; c < listColumns().size(); ++c)
        setColumnWidth(c, std::max(listColumns().at(c).width, horizontalHeader()->sectionSizeHint(c)));
    sortByColumn(0, Qt::AscendingOrder);
}

void RegistrationListView::saveHeader() const
{
    userSettings().setValue(headerKey(), horizontalHeader()->saveState());
}

QString RegistrationListView::selectedNumber() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel()->isRowSelected(current.row(), {}))
        return {};
    return m_model->line(m_filter->mapToSource(current).row()).entry.number;
}

void RegistrationListView::moveTableToLine(const QModelIndex& current)
{
    if (m_followingTable || !current.isValid())
        return;
    store::Table* main = m_dm.table(QStringLiteral("NT_TBL_MAIN"));
    if (!main->isActive() || main->state() == store::Table::State::Insert)
        return;
    const ListLine& line = m_model->line(m_filter->mapToSource(current).row());
    if (main->field(QStringLiteral("REG_NO")).asString().trimmed() != line.entry.number)
        main->locate(QStringLiteral("REG_NO"), line.storedNumber);
}

void RegistrationListView::showCurrentRow()
{
    store::Table* main = m_dm.table(QStringLiteral("NT_TBL_MAIN"));
    const bool onStoredRow = main->isActive() && main->state() != store::Table::State::Insert && main->recordCount() > 0;
    const int sourceRow = onStoredRow ? m_model->rowOfNumber(main->field(QStringLiteral("REG_NO")).asString()) : -1;
    QModelIndex shown = sourceRow >= 0 ? m_filter->mapFromSource(m_model->index(sourceRow, 0)) : QModelIndex();
    const bool hidden = !shown.isValid();
    if (hidden)
        shown = m_filter->index(0, 0);
    if (!shown.isValid()) {
        selectionModel()->clearSelection();
        return;
    }
    // A registration the find box hides gives way to the first line shown: what the commands act
    // on is always a line the user sees.
    m_followingTable = !hidden;
    const QModelIndex index = shown.siblingAtColumn(std::max(0, currentIndex().column()));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
    m_followingTable = false;
}

void RegistrationListView::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            emit openRequested();
            return;
        }
        if (event->key() == Qt::Key_Delete) {
            emit deleteRequested();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

} // namespace app
