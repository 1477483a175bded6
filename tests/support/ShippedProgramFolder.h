#pragma once

#include <QString>

namespace testsupport {

// Copies the shipped program folder (data/program: table files, templates, CNSTDEF.TXT, HELP.TXT)
// into `root`, writable, with the empty Images\ and Temp\ folders the program expects.
void copyShippedProgramFolder(const QString& root);

} // namespace testsupport
