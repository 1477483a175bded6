#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

// The items of a registration as the entry pages show them: for every stored field that a screen
// shows, the page it is on, the caption the user reads beside it and the control that shows it,
// and how its stored value reads (a code as the name the screen shows). Fields no screen shows
// (keys, stamps, running numbers, sums the program computes) have no caption.
namespace captions {

// How a stored value is shown.
enum class Shown {
    Text,   // as stored
    Check,  // a check box: "1" checked
    Choice, // radio buttons: `choices` maps the stored code to the button's caption
    Lookup, // a list filled from a lookup table: `lookupTable` maps CD to the name shown
};

struct Item
{
    QString page;    // "名称・分類等", as the problem lists name the entry pages
    QString caption; // "技術名称", "問合せ先（営業） 担当者"; empty: no screen shows the field
    QString control; // object name of the control that shows it
    Shown shown = Shown::Text;
    QList<QPair<QString, QString>> choices; // code → caption (Choice)
    QString lookupTable;                     // Lookup: CD in the first field, the name in the second

    bool isShown() const { return !caption.isEmpty(); }
};

// A field of one of the one-row tables of a registration (NT_TBL_MAIN, NT_TBL_DETAIL,
// NT_TBL_DETAIL_FREE, NT_TBL_DESCRIPTION, NT_TBL_PICTURE, NT_TBL_COMPARE_MAIN), or a column of one
// of the row tables (NT_TBL_COMPANY, NT_TBL_EVALUATE_RESULT, PL_TBL_PROJECT_MOC,
// PL_TBL_PROJECT_PRIVATE, NT_TBL_COMPARE_DETAIL), whose caption is then the column's heading.
Item fieldItem(const QString& table, const QString& field);
// The shown fields of a table, in the order the screens show them.
QStringList shownFields(const QString& table);

// The rows of a row table ("問合せ先（その他）"); for the breakdown rows, those of one kind
// ("0" new technology, "1" conventional technology).
Item rowsItem(const QString& table, const QString& recordType = QString());

// The serialised description tables of NT_TBL_DESCRIPTION and the name the screens give each
// ("SUMMARY_TABLE" → "概要").
QStringList descriptionTableFields();
Item descriptionTableItem(const QString& field);

// One of the five classification slots (1 … 5): "分類", "分類2" … on the names page.
Item classificationItem(int slot);

// A photo slot ("A", "B", "S", "T", "G", "H", "I"): the photo of a section ("概要の写真").
Item photoItem(const QString& letter);

// The construction conditions on the summary page, as a whole; each condition is captioned by
// its own name.
Item conditionsItem();

// The text a stored value is shown as: a code as its caption or name (`lookup` gives the name of
// a code in a lookup table), a check box as "チェックあり" / "チェックなし".
QString shownValue(const Item& item, const QString& stored, const std::function<QString(const QString& table, const QString& code)>& lookup);

} // namespace captions
