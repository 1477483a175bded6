#pragma once

#include <QString>

// The names under which the screens show the fields of a registration: the entry page or dialog
// that holds a field's control and the control's caption. For lists of what changed in a
// registration, which must name items as the user knows them, not by their field names.
namespace itemcaptions {

struct Item
{
    QString page;    // "名称・分類等", or a dialog's title
    QString caption; // "技術名称"

    bool isEmpty() const { return caption.isEmpty(); }
    bool operator==(const Item&) const = default;
};

// The item showing `field` of a registration table or view ("NT_TBL_MAIN", "NT_TBL_INFO_IMAGES3");
// empty when no control shows it.
Item of(const QString& table, const QString& field);

// The view that shows a row of a registration table, for the tables whose rows the screens show
// through views (a condition item by ORD, a photo slot by IMAGES_TYPE, a breakdown by
// RECORD_TYPE); the table itself otherwise.
QString viewOfRow(const QString& table, const QString& ord, const QString& imagesType, const QString& recordType);

} // namespace itemcaptions
