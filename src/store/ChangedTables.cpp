#include "store/ChangedTables.h"

#include "store/Table.h"
#include "store/WriteSet.h"

#include <QFileInfo>

namespace store {

bool stageChangedTables(const QList<Table*>& tables, WriteSet* set, QList<Table*>* staged, QString* error)
{
    for (Table* t : tables) {
        if (!t->isActive() || t->fileName().isEmpty() || (!t->isChangedSinceRead() && QFileInfo::exists(t->fileName())))
            continue;
        if (!set->stage(t->fileName(), [t](QIODevice* device, QString* why) { return t->saveToDevice(device, why); }, error))
            return false;
        staged->append(t);
    }
    return true;
}

} // namespace store
