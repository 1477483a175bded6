#pragma once

#include "store/ProgramFolder.h"

#include <QDateTime>
#include <QHash>
#include <QString>

namespace store {

// When each registration was last saved by the program: a small index beside the table files
// ("FLATT_FILES/SaveTimes.txt", one "REG_NO<TAB>yyyy-MM-ddThh:mm:ss" line each, UTF-8). It is kept
// apart from the table files so that their layout, which the submission files share, stays as the
// receiving side reads it. Each change replaces the whole file atomically.
class SaveTimes
{
public:
    explicit SaveTimes(const ProgramFolder& folder) : m_folder(folder) {}

    // Every number with its last save; an index that is missing or unreadable gives none (the
    // times are a help to the user, never a reason to refuse the data).
    QHash<QString, QDateTime> read() const;
    // Sets the time of `number`; false with the reason when the index cannot be written.
    bool record(const QString& number, const QDateTime& when, QString* error = nullptr);
    // Removes `number` from the index.
    bool forget(const QString& number, QString* error = nullptr);

    QString path() const;

private:
    bool write(const QHash<QString, QDateTime>& times, QString* error) const;

    ProgramFolder m_folder;
};

} // namespace store
