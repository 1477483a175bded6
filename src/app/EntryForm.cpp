#include "app/EntryForm.h"

#include "widgets/DBCheckBox.h"
#include "widgets/DBEdit.h"
#include "widgets/DBLookupComboBox.h"
#include "widgets/DBMemo.h"
#include "widgets/DBRadioGroup.h"
#include "widgets/RightAlignedEdit.h"
#include "widgets/TextLineEdit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace app::form {

namespace {

constexpr int kControlColumns = 4; // columns 1 … 4 hold the controls, column 0 the captions

QString fieldOf(const Item& item)
{
    return item.field.isEmpty() ? item.name : item.field;
}

void limitWidth(QWidget* control, int characters)
{
    if (characters > 0)
        control->setMaximumWidth(control->fontMetrics().horizontalAdvance(QLatin1Char('0')) * characters + 16);
}

QList<widgets::DBRadioGroup::Item> radioItems(const QList<Choice>& choices)
{
    QList<widgets::DBRadioGroup::Item> items;
    for (const Choice& choice : choices)
        items.append({choice.caption, choice.value});
    return items;
}

// The control of a table row, without its caption.
QWidget* makeBareControl(const Item& item, const SourceOf& sourceOf, QWidget* parent)
{
    store::DataSource* source = item.table.isEmpty() ? nullptr : sourceOf(item.table);
    switch (item.kind) {
    case Kind::Edit: {
        auto* edit = new widgets::DBEdit(source, fieldOf(item), parent, item.name);
        limitWidth(edit, item.size);
        return edit;
    }
    case Kind::Number: {
        auto* edit = new widgets::RightDBEdit(source, fieldOf(item), parent, item.name);
        limitWidth(edit, item.size > 0 ? item.size : 10);
        return edit;
    }
    case Kind::Hidden: {
        auto* edit = new widgets::DBEdit(source, fieldOf(item), parent, item.name);
        edit->hide();
        return edit;
    }
    case Kind::Memo: {
        auto* memo = new widgets::DBMemo(source, fieldOf(item), parent, item.name);
        const int lines = item.size > 0 ? item.size : 4;
        memo->setFixedHeight(memo->fontMetrics().lineSpacing() * lines + 12);
        return memo;
    }
    case Kind::Check:
        return new widgets::DBCheckBox(source, fieldOf(item), item.caption, parent, item.name);
    case Kind::Radio: {
        auto* group = new widgets::DBRadioGroup(source, fieldOf(item), item.caption, radioItems(item.choices), parent, item.name);
        group->setColumns(item.size > 0 ? item.size : int(item.choices.size()));
        return group;
    }
    case Kind::Lookup: {
        auto* list = new widgets::DBLookupComboBox(source, fieldOf(item), sourceOf(item.lookupTable), item.lookupKey, item.lookupList,
                                                   parent, item.name);
        limitWidth(list, item.size);
        list->setMinimumWidth(list->maximumWidth() < QWIDGETSIZE_MAX ? list->maximumWidth() : 0);
        return list;
    }
    case Kind::Plain: {
        auto* edit = new widgets::TextLineEdit(item.name, parent);
        limitWidth(edit, item.size);
        return edit;
    }
    case Kind::List: {
        auto* list = new QComboBox(parent);
        list->setObjectName(item.name);
        list->setEditable(false);
        limitWidth(list, item.size);
        return list;
    }
    case Kind::Button:
        return button(item.name, item.caption, parent);
    case Kind::Label:
        return label(item.caption, parent, item.name);
    }
    return nullptr;
}

} // namespace

QWidget* makeControl(const Item& item, const SourceOf& sourceOf, QWidget* parent)
{
    QWidget* control = makeBareControl(item, sourceOf, parent);
    // Messages and screen readers name a control by its caption.
    if (control && !item.caption.isEmpty())
        control->setAccessibleName(item.caption);
    return control;
}

int addItems(QGridLayout* grid, int row, const QList<Item>& items, const SourceOf& sourceOf, QWidget* parent)
{
    int column = 0; // next free control column of a row of check boxes or buttons (0: none open)
    const auto closeRow = [&] {
        if (column > 0) {
            ++row;
            column = 0;
        }
    };
    for (const Item& item : items) {
        QWidget* control = makeControl(item, sourceOf, parent);
        switch (item.kind) {
        case Kind::Hidden:
            break;
        case Kind::Check:
        case Kind::Button:
            if (column == kControlColumns)
                closeRow();
            grid->addWidget(control, row, 1 + column++, Qt::AlignLeft);
            break;
        case Kind::Radio:
            closeRow();
            grid->addWidget(control, row++, 0, 1, 1 + kControlColumns);
            break;
        case Kind::Label:
            closeRow();
            grid->addWidget(control, row++, 1, 1, kControlColumns);
            break;
        default: {
            closeRow();
            QLabel* caption = label(item.caption, parent);
            caption->setBuddy(control);
            const bool tall = item.kind == Kind::Memo;
            grid->addWidget(caption, row, 0, tall ? Qt::AlignTop | Qt::AlignLeft : Qt::AlignVCenter | Qt::AlignLeft);
            grid->addWidget(control, row++, 1, 1, kControlColumns, item.size > 0 && !tall ? Qt::AlignLeft : Qt::Alignment());
            break;
        }
        }
    }
    closeRow();
    return row;
}

QGroupBox* section(const QString& title, const QList<Item>& items, const SourceOf& sourceOf, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(box);
    grid->setColumnStretch(1 + kControlColumns - 1, 1);
    grid->setColumnMinimumWidth(0, 110);
    addItems(grid, 0, items, sourceOf, box);
    return box;
}

QPushButton* button(const QString& name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* label(const QString& text, QWidget* parent, const QString& name)
{
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    l->setWordWrap(false);
    return l;
}

QLabel* note(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, QColor(0x40, 0x40, 0x90));
    l->setPalette(palette);
    return l;
}

QList<Choice> comparisonChoices()
{
    return {{QStringLiteral("向上"), QStringLiteral("1")}, {QStringLiteral("同程度"), QStringLiteral("2")}, {QStringLiteral("低下"), QStringLiteral("3")}};
}

} // namespace app::form
