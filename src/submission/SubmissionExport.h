#pragma once

#include <QString>

#include <functional>

class UserInteraction;

namespace store {
class DataModule;
}

namespace submission {

extern const QString kCannotExport;
extern const QString kPackFailed;
extern const QString kNotKept;

// The export of the registration selected in the technology list (the current row of the main
// table) into a submission file: the submission check, the version stamps, the registration's
// rows copied into the working tables and saved in Temp\, and those files packed with the
// registration's photos into an LZH archive.
class SubmissionExport
{
public:
    enum class Outcome { Stopped, Cancelled, Written, Failed };

    SubmissionExport(store::DataModule& dm, UserInteraction& ui) : m_dm(dm), m_ui(ui) {}

    // The whole command. With `chosenPath` empty the user chooses the file in the save dialog;
    // otherwise that file is written without asking.
    Outcome exportSubmissionFile(const QString& chosenPath = QString());
    // Shows what changed since the registration's last kept submission before the file dialog;
    // false stops the export. Asked only when there is a kept submission and the user chooses
    // the file.
    void setChangesReview(std::function<bool(const QString& regNo)> review) { m_reviewChanges = std::move(review); }
    // The file written by the last successful run.
    QString writtenPath() const { return m_writtenPath; }

    // Fills Temp\ with the registration's table files and packs them with its photos into `path`.
    // An existing file at `path` is replaced only when the new archive is complete; on failure it
    // is left as it was. Temp\ is emptied either way.
    bool WriteSubmissionFile(const QString& regNo, const QString& path, QString* error);

private:
    QString chooseFile(const QString& proposedName);
    bool fillWorkingFolder(const QString& regNo, QString* error);
    bool packWorkingFolder(const QString& regNo, const QString& path, QString* error);

    store::DataModule& m_dm;
    UserInteraction& m_ui;
    QString m_writtenPath;
    std::function<bool(const QString& regNo)> m_reviewChanges;
};

} // namespace submission
