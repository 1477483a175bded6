#pragma once

#include <QString>
#include <QStringList>

namespace store {
class ProgramFolder;
}

// The files of a submission file and the working folder Temp\ they pass through.
namespace submission {

// The thirteen registration tables, in the order the templates are copied into Temp\.
const QStringList& registrationTableNames();
// The member name of a table in a submission file: "NT_TBL_MAIN.Cds".
QString memberName(const QString& table);

// Copies each template of Zero\ over the file of the same name in Temp\. False, naming the file
// and the system's reason, when one cannot be copied (a full disk, say).
bool SetZeroFiles(const store::ProgramFolder& folder, QString* error);
// Deletes every file in Temp\, read-only ones included; a file that cannot be deleted is skipped.
void DeleteTempFiles(const store::ProgramFolder& folder);

extern const QString kNotSubmissionData;
extern const QString kOldVersionData;
extern const QString kDamagedSubmissionFile; // %1: the file
// Empty when the folder holds the twelve table files every submission file has (the free-item
// table may be missing); otherwise the message that tells the user what the file is.
QString CheckSubmissionFiles(const QString& folder);

// The technology name with every character a file name cannot hold removed.
QString StripFileNameChars(const QString& text);
// The file name proposed for a technology's submission file (without extension).
QString ProposedFileName(const QString& techTitle);

// "kw" when the first row of the folder's NT_TBL_MAIN.cds has a harbour-edition number (third
// character "K"), "ks" otherwise (an empty or unreadable table too).
QString DataEditionCode(const QString& folder);

} // namespace submission
