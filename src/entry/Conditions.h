#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace store {
class Table;
}

// Construction conditions: the definition file "CNSTDEF.TXT", which names up to six condition
// items for each level-3 classification code, and the rules that keep the items' rows of
// NT_TBL_CONST_CONDITION in step with the controls that show them.
namespace conditions {

inline const QString kDefinitionFileName = QStringLiteral("CNSTDEF.TXT");
inline constexpr int kItemCount = 6;
inline constexpr int kMaxChoices = 7; // check boxes of one "M" item
inline constexpr int kTextLimitBytes = 255;

// One line of the definition file that belongs to the code asked for.
struct ItemDefinition
{
    int item = 0;        // 1 … 6; 0 when field 2 is not such a number (the line then shows nothing)
    QString kind;        // "M", "N", "R", "S", "T" (any other letter shows no panel)
    QString name;        // caption and NAME
    QStringList choices; // "M": the first seven choices; "S": the two choices used (may be fewer)
    bool hasUnit = false; // "N" and "R": the line has exactly five fields
    QString unit;

    // A number or a range is stored with the unit of its line, or with none.
    bool isMeasured() const { return kind == QLatin1String("N") || kind == QLatin1String("R"); }
    QString storedUnit() const { return hasUnit ? unit : QString(); }
};

// A line split into its fields: "%" becomes "％", TAB separates fields (a TAB at the end of the
// line starts no field), "+" reads as a blank. Double quotes are plain characters.
QStringList splitFields(const QString& line);
// A choice list of field 5, split at "/" by the same rules.
QStringList splitChoices(const QString& field);
// The definition carried by a split line, whatever its code.
ItemDefinition definitionOf(const QStringList& fields);

// Reads the definition file (Shift_JIS) and returns the definitions of `code`, in file order.
// Lines with fewer than four fields (empty lines and the like) define nothing and are skipped;
// an empty code matches no line. False with a message naming the file when it cannot be read.
bool readDefinitions(const QString& path, const QString& code, QList<ItemDefinition>* definitions, QString* error);

// The code the conditions are defined for: the level-3 code when the first classification's levels
// 1, 2 and 3 are all chosen, empty otherwise.
QString definitionCode(const QString& level1, const QString& level2, const QString& level3);

// The caption of an "S" item's radio button (0 first, 1 second): the last two choices of its list,
// so a list of one leaves the first button without a caption.
QString choiceCaption(const ItemDefinition& definition, int choice);

// The stored TXT of an "M" item: one "1" or "0" per check box, seven characters.
QString checkStatesText(const QList<bool>& checked);
// Whether check box k (1-based) of an "M" item is checked by its stored TXT.
bool isChecked(const QString& storedText, int k);
// The stored TXT of an "S" item from its selected radio button (0 first, 1 second, -1 none), and back.
QString choiceText(int selected);
int selectedChoice(const QString& storedText);

// A range whose bounds both read as whole numbers and whose upper bound is below its lower one.
bool rangeContradicts(const QString& lower, const QString& upper);
QString rangeContradictionMessage(const QString& itemName);

// The item's view into edit mode (CdsChangeConstMode): edited when it shows a row, a row inserted
// (with the current REG_NO) when it shows none; nothing when it is already editing.
void changeConstMode(store::Table* view);
// Removes the row a view shows; a row being inserted is abandoned.
void removeItemRow(store::Table* view);

// What the controls of one item hold when the registration is saved.
struct ItemControls
{
    QList<bool> checked; // "M": the seven check boxes
    int selected = -1;   // "S": 0 first, 1 second, -1 none
};

// The check boxes and radio buttons of an item as its stored TXT sets them when the panels are built.
ItemControls controlsOfStoredText(const QString& storedText);

// One item as its panel presents it: the caption, and what is entered as one line of text — the
// checked choices ("M"), the chosen choice ("S"), the number ("N") or the range ("R") with its unit,
// the text ("T"); an empty value when nothing is entered.
struct ShownCondition
{
    QString caption;
    QString value;
};
ShownCondition shownCondition(const ItemDefinition& definition, const ItemControls& controls, const QString& storedText,
                              const QString& minValue, const QString& maxValue);

// Writes the choices of an "M" or "S" item into the TXT of the row its view is editing, so that the
// row holds them as soon as they are made; other kinds, or a view not editing, are left alone.
void writeChoices(store::Table* view, const QString& kind, const ItemControls& controls);

// Saving one item (PutDataConst): with an empty kind the item is not defined and its row is
// removed (true is returned: the registration counts as saved); otherwise an editing row gets the
// fields its kind does not use emptied, the check and radio states written, and is posted.
bool putDataConst(store::Table* view, const QString& kind, const ItemControls& controls);
// The row of an item that the classification gives another kind (view in edit mode): the values
// of the old kind mean nothing to the new one and are dropped. A number stays the lower bound of a
// range and back, as the two share their field.
void dropValuesOfAnotherKind(store::Table* view, const QString& kind);

// Row clean-up (CdsCnstDataChk): removes every row the table shows whose REG_NO or ORD is empty.
void removeIncompleteRows(store::Table* table);

} // namespace conditions
