#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace store {
class DataSource;
}

// The entry pages are built from tables of their controls: each row names the control (its
// objectName, the name the behaviours and rules look it up by), its caption and the field it shows.
namespace app::form {

enum class Kind {
    Edit,      // single-line box bound to a field
    Number,    // right-aligned number box bound to a field
    Memo,      // multi-line box bound to a field
    Check,     // check box bound to a field ("1" / "0")
    Radio,     // radio group bound to a field
    Lookup,    // drop-down list storing the key of a lookup table's row
    Plain,     // single-line box not bound (post codes, for instance)
    List,      // drop-down list whose text cannot be typed, not bound
    Hidden,    // hidden box bound to a field (codes kept for the rules)
    Button,    // push button
    Label,     // text label (its caption is set by the rules)
};

struct Choice
{
    QString caption;
    QString value;
};

struct Item
{
    Kind kind;
    QString name;
    QString caption;
    QString table = {};    // registration table of the bound field; empty: not bound
    QString field = {};    // the field; the control's name when empty
    int size = 0;          // memo: lines shown; radio: columns; edit: width in characters (0: full)
    QList<Choice> choices = {};
    QString lookupTable = {};
    QString lookupKey = {};
    QString lookupList = {};
};

// Finds the data source of a table of the data module ("NT_TBL_MAIN", a view, a lookup table).
using SourceOf = std::function<store::DataSource*(const QString& table)>;

// Builds the controls of `items` into a framed section with a label column, check boxes side by
// side, memos and radio groups over the full width.
QGroupBox* section(const QString& title, const QList<Item>& items, const SourceOf& sourceOf, QWidget* parent = nullptr);

// Adds the controls of `items` to `grid` from `row` on; returns the next free row.
int addItems(QGridLayout* grid, int row, const QList<Item>& items, const SourceOf& sourceOf, QWidget* parent);

// Builds one control of a table row.
QWidget* makeControl(const Item& item, const SourceOf& sourceOf, QWidget* parent);

// A push button with its objectName.
QPushButton* button(const QString& name, const QString& caption, QWidget* parent = nullptr);
// A label with its objectName (empty: none).
QLabel* label(const QString& text, QWidget* parent = nullptr, const QString& name = {});
// A note in the small grey text of the entry pages' hints.
QLabel* note(const QString& text, QWidget* parent = nullptr);

// The choices "向上", "同程度", "低下" of the comparison items.
QList<Choice> comparisonChoices();

} // namespace app::form
