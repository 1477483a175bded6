#pragma once

#include <QString>

namespace store {

// Brings a program folder up to date with the data an installation ships (table files, the
// templates in Zero, CNSTDEF.TXT, HELP.TXT, report templates), without touching the user's data:
// - program files outside FLATT_FILES are replaced when their content differs;
// - a table file is copied into FLATT_FILES only when the folder has no file of that table yet,
//   so the user's registration tables (names with "_TBL_") are never overwritten; a registration
//   table that is missing but held by the automatic backup CdsBK is left for the start to restore;
// - a lookup table that differs from the shipped one is placed beside it as "_" + its name, which
//   the start takes over as a newly installed table.
// Creates the folders FLATT_FILES, Zero, Temp and Images. On failure, `error` names the file and
// the reason; what was already brought over stays.
bool installShippedData(const QString& shippedFolder, const QString& programFolder, QString* error);

} // namespace store
