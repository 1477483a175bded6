#pragma once

#include <QString>

namespace store {

// What keeps a folder from taking a new file (a full disk, a read-only or foreign folder, a file
// where the folder should be), found by writing a small file into it: the message that names the
// folder and says so, or empty when nothing does.
QString folderWriteProblem(const QString& folder);
// The message for a folder that cannot be written for the system's reason `errnum`.
QString folderCannotBeWritten(const QString& folder, int errnum);

} // namespace store
