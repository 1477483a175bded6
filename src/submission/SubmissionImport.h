#pragma once

#include "store/Table.h"

#include <QHash>
#include <QString>

class UserInteraction;

namespace store {
class DataModule;
}

namespace submission {

extern const QString kOldDataNotSupported;
extern const QString kOtherEditionQuestion;
extern const QString kOtherEditionNotice;

// The import of a submission file: extracted into Temp\, checked, its table files upgraded to the
// current layouts, data of the other edition converted after the user agrees, and its rows
// appended under a new local registration number, its photos moved into Images\ under that number.
class SubmissionImport
{
public:
    enum class Outcome { Cancelled, Refused, Imported };

    SubmissionImport(store::DataModule& dm, UserInteraction& ui) : m_dm(dm), m_ui(ui) {}

    // The whole command. With `chosenPath` empty the user chooses the file in the open dialog.
    Outcome importSubmissionFile(const QString& chosenPath = QString());
    // The registration number the last successful import gave.
    QString importedNumber() const { return m_importedNumber; }

    // Takes over the submission file: every step after the file has been chosen.
    Outcome ImportSubmissionFile(const QString& path);

private:
    struct Choice
    {
        QString path;
        bool oldData = false;
    };
    Choice chooseFile();
    QString RememberedFolder() const;
    // Empty when the file was extracted; otherwise why not.
    QString extractInto(const QString& path, const QString& folder);
    // Appends the rows under the number and stores them with their photos; false with the reason
    // when they cannot be stored, the tables then holding what they held before.
    bool mergeRegistration(const QString& number, bool convertEdition, const QHash<QString, QList<store::Table::RowValues>>& members,
                           QString* error);
    Outcome refuse();

    store::DataModule& m_dm;
    UserInteraction& m_ui;
    QString m_rememberedFolder; // the folder of the last chosen file, for the run
    QString m_importedNumber;
};

} // namespace submission
