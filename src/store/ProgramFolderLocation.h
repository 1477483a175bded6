#pragma once

#include <QString>

namespace store {

// Chooses the folder the program works on, in this order:
// - `home` when given (--home DIR);
// - the executable's own folder when it holds a writable FLATT_FILES (the build, a portable copy);
// - the user's data folder `userDataFolder`, brought up to date from the shipped data installed
//   beside the executable (see installedShippedData) and created from it at the first start; used
//   as it is when the shipped data is missing.
// Returns the folder, or an empty string with `error` set to a message for the user.
QString locateProgramFolder(const QString& home, const QString& executableFolder, const QString& userDataFolder,
                            QString* error);

// The same for the running program: its executable's folder and the user's application data
// folder (QStandardPaths::AppDataLocation, for example ~/.local/share/VORDELL).
QString locateProgramFolder(const QString& home, QString* error);

// Where an installation puts the shipped data: share/vordell beside the executable's bin folder,
// so an installation works from whatever root it was unpacked into.
QString installedShippedData(const QString& executableFolder);

} // namespace store
