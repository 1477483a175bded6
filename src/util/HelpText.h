#pragma once

#include <QString>
#include <QStringList>

namespace helptext {

inline const QString kFileName = QStringLiteral("HELP.TXT");
inline const QString kMissingMessage = QStringLiteral("ヘルプファイルがありません。");
inline const QString kMissingCaption = QStringLiteral("注意");

// Reads the Shift_JIS help file of the program folder line by line (its name matched without
// regard to case), every ASCII "%" shown as the full-width "％". False when the file cannot be
// opened or read; the lines read before the failure are kept in `lines`.
bool readHelpLines(const QString& programFolder, QStringList* lines);

} // namespace helptext
