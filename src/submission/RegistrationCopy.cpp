#include "submission/RegistrationCopy.h"

#include "store/DataModule.h"
#include "store/DurableFiles.h"
#include "submission/RegistrationRows.h"

#include <QDir>
#include <QFile>

namespace submission {

namespace {

// The fields of the main row that belong to the original alone: dates set by the national
// database and the data version an export stamps.
const QStringList kIdentityOfMainRow = {"REG_DATE", "DB_RENEW_DATE", "REG_VERSION"};

// Copies the photos; on a failure the copies made so far are removed again.
bool copyPhotos(const QString& imagesFolder, const QList<PhotoFile>& photos, QString* error)
{
    QStringList copied;
    for (const PhotoFile& photo : photos) {
        const QString target = QDir(imagesFolder).filePath(photo.newName);
        QFile::remove(target); // a leftover of a number issued before and never saved
        QString why;
        if (!store::copyDurably(photo.source, target, &why)) {
            if (error)
                *error = QStringLiteral("%1: 写真をコピーできません。").arg(QDir::toNativeSeparators(target)) + QStringLiteral("\r\n") + why;
            for (const QString& path : std::as_const(copied))
                QFile::remove(path);
            return false;
        }
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
        copied.append(target);
    }
    // The copies' names are on the disk before any row names them.
    return copied.isEmpty() || store::syncFolder(imagesFolder, error);
}

} // namespace

bool duplicateRegistration(store::DataModule& dm, const QString& regNo, CopyEnding ending, QString* newNumber, QString* error)
{
    for (store::Table* live : dm.registrationTables())
        live->checkBrowseMode();
    RegistrationRowSet rows = registrationRows(dm, regNo);
    if (rows.value(QStringLiteral("NT_TBL_MAIN")).size() != 1) {
        if (error)
            *error = QStringLiteral("登録番号 %1 のデータがありません。").arg(regNo.trimmed());
        return false;
    }
    store::Table* contacts = dm.table(QStringLiteral("NT_TBL_COMPANY"));
    store::renumberContactOrder(rows[QStringLiteral("NT_TBL_COMPANY")], contacts->fieldIndex(QStringLiteral("REG_NO")),
                                contacts->fieldIndex(QStringLiteral("SALES_ORDER_OTHER")), contacts->fieldIndex(QStringLiteral("REC_ID")));

    store::Table* main = dm.table(QStringLiteral("NT_TBL_MAIN"));
    main->append();
    QString number;
    if (!dm.NextLocalNumber(&number, error)) {
        main->cancel();
        return false;
    }
    number = number.trimmed();

    const QString images = dm.folder().path(QStringLiteral("Images"));
    QList<PhotoFile> photos;
    RegistrationRowSet copy;
    for (const QString& table : appendOrder())
        copy.insert(table, rowsUnderNumber(table, *dm.table(table), rows.value(table), number, images, &photos));
    if (!store::makeFolderDurably(images, error) || !copyPhotos(images, photos, error)) {
        main->cancel();
        return false;
    }

    // The main row first, so that the detail tables follow it to the new number.
    const store::Table::RowValues mainRow = copy.value(QStringLiteral("NT_TBL_MAIN")).constFirst();
    for (int f = 0; f < main->fieldCount() && f < mainRow.size(); ++f)
        main->field(f).setValue(kIdentityOfMainRow.contains(main->fields().at(f).name, Qt::CaseInsensitive) ? QVariant() : mainRow.at(f));
    for (const QString& table : appendOrder()) {
        if (table == QLatin1String("NT_TBL_MAIN"))
            continue;
        for (const store::Table::RowValues& row : copy.value(table))
            dm.table(table)->appendRowValues(row);
    }
    if (newNumber)
        *newNumber = number;
    if (ending == CopyEnding::LeftNew)
        return true;

    main->post();
    if (!dm.WriteChangedTables(error))
        return false;
    dm.recordSaveTime(number);
    return true;
}

} // namespace submission
