#include "widgets/FieldLink.h"

#include "util/UserInteraction.h"

#include <QLabel>
#include <QList>

namespace widgets {

namespace {

// Every link alive, in the order the controls were made (the order in which they are flushed).
QList<FieldLink*>& liveLinks()
{
    static QList<FieldLink*> links;
    return links;
}

} // namespace

FieldLink::FieldLink(store::DataSource* source, const QString& fieldName, BoundControl* control, QObject* parent)
    : QObject(parent)
    , m_source(source)
    , m_fieldName(fieldName)
    , m_control(control)
{
    liveLinks().append(this);
    if (!source)
        return;
    connect(source, &store::DataSource::dataChanged, this, &FieldLink::onDataChanged);
    connect(source, &store::DataSource::fieldChanged, this, &FieldLink::onFieldChanged);
    // The control's pending text reaches the field before any post, whoever posts.
    connect(source->table(), &store::Table::beforePost, this, [this] {
        if (!updateRecord())
            table()->refusePost(); // the refused text stays in the control and the row unposted
    });
}

FieldLink::~FieldLink()
{
    liveLinks().removeOne(this);
}

store::Table* FieldLink::table() const
{
    return m_source ? m_source->table() : nullptr;
}

store::Field FieldLink::field() const
{
    store::Table* t = table();
    if (!t || !t->isActive())
        return {};
    return t->findField(m_fieldName);
}

bool FieldLink::isTableEditing() const
{
    store::Table* t = table();
    return t && t->isEditing();
}

bool FieldLink::controlChanged()
{
    if (m_loading)
        return true;
    store::Table* t = table();
    if (!t || !t->isActive())
        return false;
    m_modified = true;
    if (!t->isEditing()) {
        // Starting an edit on an empty table appends a row, which reloads every control of the
        // table; this one keeps what the user just typed.
        m_startingEdit = true;
        t->edit();
        m_startingEdit = false;
    }
    emit changedByUser();
    return true;
}

bool FieldLink::updateRecord()
{
    if (!m_modified)
        return true;
    store::Table* t = table();
    store::Field f = field();
    if (!t || !f.isValid()) {
        m_modified = false;
        return true;
    }
    if (!t->isEditing()) {
        m_startingEdit = true;
        t->edit();
        m_startingEdit = false;
    }
    QString error;
    m_writing = true;
    const bool ok = f.setValue(m_control->valueForField(), &error);
    m_writing = false;
    if (!ok) {
        // The user knows the box by its caption, never by the field's name.
        const QString caption = shownName();
        if (!caption.isEmpty() && (f.def().type == store::FieldType::DateTime || f.def().isNumeric()))
            error = store::refusalMessage(f.def(), m_control->valueForField().toString(), caption);
        UserInteraction::current().error(kProgramTitle, error);
        return false;
    }
    m_modified = false;
    // Show what the field holds now (a text cut to the field's width, say).
    reload();
    return true;
}

QString FieldLink::shownName() const
{
    auto* widget = dynamic_cast<QWidget*>(m_control);
    if (!widget)
        return {};
    if (!widget->accessibleName().isEmpty())
        return widget->accessibleName();
    if (QWidget* parent = widget->parentWidget()) {
        for (const QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->buddy() == widget)
                return label->text().remove(QLatin1Char('&'));
        }
    }
    return {};
}

void FieldLink::reload()
{
    m_loading = true;
    m_control->loadFromField(field());
    m_loading = false;
    m_modified = false;
}

void FieldLink::onDataChanged()
{
    if (!m_startingEdit)
        reload();
}

void FieldLink::onFieldChanged(int index)
{
    if (m_writing || m_startingEdit)
        return;
    const store::Field f = field();
    if (f.isValid() && f.index() == index)
        reload();
}

bool FieldLink::flush(const store::Table* table)
{
    const QList<FieldLink*> links = liveLinks();
    for (FieldLink* link : links) {
        if ((!table || link->table() == table) && !link->updateRecord())
            return false;
    }
    return true;
}

bool FieldLink::flushAll()
{
    return flush(nullptr);
}

} // namespace widgets
