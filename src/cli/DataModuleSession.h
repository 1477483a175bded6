#pragma once

#include "cli/CliCommand.h"

namespace store {
class DataModule;
}

namespace cli {

// True when a program folder was found; otherwise prints why not.
bool requireProgramFolder(const CliContext& context);

// Runs the data module's start on the program folder; on a broken data folder the backup is
// restored only when --restore-backup was given. False (the reason printed) when it failed.
bool startDataModule(CliContext& context, store::DataModule& dm);

// Writes the changed tables, releases the program folder and ends the process with `code`; the
// tables' memory goes with the process. When the write fails, prints why and returns 1.
int finishDataModuleAndExit(store::DataModule& dm, int code);

} // namespace cli
