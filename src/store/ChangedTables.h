#pragma once

#include <QList>
#include <QString>

namespace store {

class Table;
class WriteSet;

// Stages into the set the file of every open table whose rows changed since it was read or last
// written, or whose file is missing. `staged` receives those tables, to be marked unchanged once
// the set is committed. False with the file and the reason when one cannot be staged.
bool stageChangedTables(const QList<Table*>& tables, WriteSet* set, QList<Table*>* staged, QString* error);

} // namespace store
