#include "support/ProgramFolderFixture.h"

#include "store/Schema.h"
#include "store/TableFile.h"

#include <QDir>

namespace testsupport {

void writeEmptyProgramFolder(const QString& root)
{
    QDir dir(root);
    for (const char* folder : {"FLATT_FILES", "Zero", "Temp", "Images"})
        dir.mkpath(QLatin1String(folder));
    using store::schema::TableDef;
    for (const TableDef& def : store::schema::registrationTables()) {
        store::TableFile::writeEmpty(dir.filePath(QStringLiteral("FLATT_FILES/") + def.name + QStringLiteral(".cds")), def.fields, nullptr);
        store::TableFile::writeEmpty(dir.filePath(QStringLiteral("Zero/") + def.name + QStringLiteral(".Cds")), def.fields, nullptr);
    }
    for (const TableDef& def : store::schema::lookupTables())
        store::TableFile::writeEmpty(dir.filePath(QStringLiteral("FLATT_FILES/") + def.name + QStringLiteral(".cds")), def.fields, nullptr);
}

} // namespace testsupport
