#pragma once

#include "archive/TArchiver.h"
#include "archive/TArchiverOptions.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

enum TArchiverType { atLha, atZip, atCab, atArj, atTar, atTgz, atNone, atAutoDetect };

// An archive file on disk that can be extracted into a folder or packed from a list of files,
// whatever its format; the format's archiver and library do the work. Owned by its owner object.
class TArchiveFile : public QObject
{
    Q_OBJECT

public:
    explicit TArchiveFile(QObject* owner);
    ~TArchiveFile() override;

    const QString& FileName() const { return m_fileName; }
    // Chooses the archiver by the name's extension (which may fail: a missing library), then
    // stores the name.
    bool SetFileName(const QString& name, EArchiver& error);

    TArchiverOptions* Options() const { return m_options; }

    TArchiverType ArchiverType() const { return m_type; }
    // Creates the format's archiver. atNone changes nothing; atAutoDetect is refused. A failure
    // keeps the previous archiver and type.
    bool SetArchiverType(TArchiverType type, EArchiver& error);

    TArchiver* Archiver() const { return m_archiver.get(); }
    const QString& LastCommandLine() const { return m_lastCommandLine; }

    // Runs the archiver's command; the library's result code is handed back unexamined.
    bool ExtractFiles(QObject* window, const QString& folder, const QStringList* files, int& result, EArchiver& error);
    bool PackFiles(QObject* window, const QString& baseFolder, const QStringList& files, int& result, EArchiver& error);

private:
    QString m_fileName;
    TArchiverOptions* m_options;
    TArchiverType m_type = atAutoDetect;
    std::unique_ptr<TArchiver> m_archiver;
    QString m_lastCommandLine;
};

// A new archiver of the type, its library loaded; null with the error for atNone, atAutoDetect or a
// missing library.
std::unique_ptr<TArchiver> CreateArchiver(TArchiverType type, EArchiver& error);

// The format of a file by its extension (case ignored); an ".exe" is probed as a self-extracting
// archive in the order ARJ, CAB, ZIP, LZH, the last that succeeds winning.
TArchiverType ArchiverTypeOfFile(const QString& fileName);

// Whether the format's library opens the file; any failure (a missing library too) gives false.
bool IsLhaArchive(const QString& fileName);
bool IsZipArchive(const QString& fileName);
bool IsCabArchive(const QString& fileName);
bool IsArjArchive(const QString& fileName);
