#pragma once

#include "app/EntryForm.h"

#include <QSize>
#include <QString>

class QTableWidget;
class QWidget;

// Composite parts that recur on the entry pages, named as the rules look them up.
namespace app::parts {

// One photo slot: the file-name box ImagePath_<letter> (bound to IMAGES_ORIGINAL of the slot's
// view), the buttons BtnPICTURE_<letter> ("選択") and BtnCancelPICTURE_<letter> ("クリア") and the
// title box PICTURE_<letter> of NT_TBL_PICTURE, and beside them the preview label
// ImagePreview_<letter> (filled by the photo slots' rules).
QWidget* photoSlot(const QString& letter, const QString& caption, const form::SourceOf& sourceOf, QWidget* parent);
// The number of a slot's view (1 … 7 for A, B, S, T, G, H, I).
int photoSlotNumber(const QString& letter);
extern const QStringList kPhotoSlotLetters;
QString photoPreviewName(const QString& letter);
// The box the preview of a photo is scaled into.
inline constexpr QSize kPhotoPreviewSize{80, 60};

// A description table: the 21 × 21 grid `gridName`, its title box, the two heading-count boxes with
// their arrows, and the hidden memo bound to the field of NT_TBL_DESCRIPTION named like the grid.
struct DescriptionTableNames
{
    QString grid, title, columnsBox, columnsArrows, rowsBox, rowsArrows, memo;
};
extern const QList<DescriptionTableNames> kDescriptionTables;
QWidget* descriptionTable(const DescriptionTableNames& names, const form::SourceOf& sourceOf, QWidget* parent);
// The fixed header cells: row numbers 1 … 20 in column 0, letters A … T in row 0, column 0 narrow.
void InitStringGrid(QTableWidget* grid);

// The six construction-condition items with their five panels each, the 42 check boxes, the 12
// radio buttons, the number and range boxes, the text memos and the hidden boxes of each item's row.
QWidget* conditionArea(const form::SourceOf& sourceOf, QWidget* parent);
// The names of the controls of condition item `item` (1 … 6) that the rules look up.
QString conditionCheckBox(int item, int k);         // the k-th choice (1 … 7) of an "M" item
QString conditionRadioButton(int item, int choice); // the first (0) or second (1) choice of an "S" item
QString conditionNumberBox(int item);               // the number of an "N" item
QString conditionRangeBox(int item, int bound);     // the lower (1) or upper (2) bound of an "R" item
QString conditionRangeCaption(int item);            // the caption before an "R" item's range
QString conditionTextMemo(int item);                // the text of a "T" item

// A framed pair or group of radio buttons that are not bound (their handlers record the codes).
QWidget* radioButtons(const QString& title, const QList<form::Choice>& buttons, QWidget* parent);

} // namespace app::parts
