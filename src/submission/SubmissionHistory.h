#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace store {
class ProgramFolder;
class WriteSet;
}

// The submission files kept in the data folder: every file the export wrote and every file an
// import took over is copied into FLATT_FILES/Submitted/<registration number>/ and listed in
// one index, FLATT_FILES/Submitted.idx, beside that folder (so the backup at start takes it
// with the table files). Kept files are never deleted: deleting a registration moves its folder
// to Submitted/Deleted/.
//
// The index is a UTF-8 text file, replaced whole (written beside it, flushed, renamed, the folder
// synced). Its first line is "VORDELL-SUBMITTED 1"; then one line per kept file, fields separated
// by tabs: time (yyyy-MM-ddThh:mm:ss.zzz, local), kind ("提出" or "取り込み"), registration
// number, path of the kept copy under Submitted/, size in bytes, SHA-256 (hex), fingerprint of
// the registration when it was kept (hex, see registrationFingerprints), and the name the user
// gave the file (percent-encoded).
//
// For the technology list: `lastSubmission` and `changedSinceLastSubmission` read the index only
// (one file for every registration) and open no archive:
//     SubmissionHistory history(dm.folder());
//     history.load(&error);
//     const auto fingerprints = submission::registrationFingerprints(dm); // one pass over the tables
//     history.lastSubmission(regNo)                       → time of the newest kept file, or none (未提出)
//     history.changedSinceLastSubmission(regNo, fingerprints.value(regNo)) → mark the row
namespace submission {

struct KeptSubmission
{
    enum class Kind { Submitted, Imported };

    QDateTime time;
    Kind kind = Kind::Submitted;
    QString regNo;
    QString keptPath; // under Submitted/, "/"-separated
    qint64 size = 0;
    QByteArray sha256;      // hex
    QByteArray fingerprint; // hex
    QString userName;       // the file name the user chose or imported

    // "提出" or "取り込み".
    QString kindName() const;
};

// The SHA-256 of a file's bytes (hex); empty when it cannot be read.
QByteArray fileSha256(const QString& path);

class SubmissionHistory
{
public:
    explicit SubmissionHistory(const store::ProgramFolder& folder);

    // Reads the index; a missing index is an empty history. False with a message naming the
    // file when it cannot be read or is not an index.
    bool load(QString* error);

    // The kept files of a registration, newest first.
    QList<KeptSubmission> entries(const QString& regNo) const;
    // The time of the newest kept file of a registration; none when it was never handed in
    // or imported.
    std::optional<QDateTime> lastSubmission(const QString& regNo) const;
    // True when the registration's fingerprint now differs from the one kept with its newest
    // kept file; false when nothing is kept.
    bool changedSinceLastSubmission(const QString& regNo, const QByteArray& fingerprintNow) const;

    // The absolute path of a kept copy.
    QString pathOf(const KeptSubmission& kept) const;
    // Why a kept copy cannot be used (missing, another size, other bytes); empty when it is sound.
    QString problemOf(const KeptSubmission& kept) const;

    // Copies `file` into the registration's folder and adds it to the index, both durably.
    // False with the file and the reason when either fails (the index is then unchanged).
    bool keep(const QString& regNo, const QString& file, KeptSubmission::Kind kind, const QString& userName,
              const QByteArray& fingerprint, QString* error);
    // Moves the registration's kept files to Submitted/Deleted/<number>-<time>/ and the index
    // lines with them; nothing is deleted. True when there was nothing to move.
    bool setAside(const QString& regNo, QString* error);

    // Replaces the clock that stamps kept files (tests).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    static QString indexPath(const store::ProgramFolder& folder);

private:
    bool stageIndex(store::WriteSet& set, const QList<KeptSubmission>& entries, QString* error) const;

    QString m_root;      // program folder
    QString m_data;      // FLATT_FILES
    QString m_submitted; // FLATT_FILES/Submitted
    void setEntries(const QList<KeptSubmission>& entries);
    const KeptSubmission* newest(const QString& regNo) const;

    QList<KeptSubmission> m_entries; // in the order kept
    QHash<QString, int> m_newest;    // registration → index of its newest kept file
    std::function<QDateTime()> m_clock;
};

} // namespace submission
