#pragma once

#include <QString>

namespace testsupport {

// Lays out a program folder with every table file of the data folder (empty, in the declared
// layouts), the thirteen templates in Zero\, and the empty Temp\ and Images\ folders.
void writeEmptyProgramFolder(const QString& root);

} // namespace testsupport
