#include "archive/ArchiveFile.h"

#include "archive/ArchiverFormats.h"

#include <QFileInfo>

namespace {

constexpr quint32 kProbeOpenMode = 0x00800002;

bool probe(ArchiverType type, const QString& fileName)
{
    ArchiverError error;
    std::unique_ptr<Archiver> archiver = CreateArchiver(type, error);
    if (!archiver)
        return false;
    archiver::ArchiveHandle handle =
        archiver->OpenArchive(nullptr, QFileInfo(fileName).absoluteFilePath(), kProbeOpenMode, error);
    if (!handle)
        return false;
    archiver->CloseArchive(handle, error);
    return true;
}

} // namespace

std::unique_ptr<Archiver> CreateArchiver(ArchiverType type, ArchiverError& error)
{
    std::unique_ptr<Archiver> archiver;
    switch (type) {
    case atLha:
        archiver = std::make_unique<LhaArchiver>();
        break;
    case atZip:
        archiver = std::make_unique<ZipArchiver>();
        break;
    case atCab:
        archiver = std::make_unique<CabArchiver>();
        break;
    case atArj:
        archiver = std::make_unique<ArjArchiver>();
        break;
    case atTar:
        archiver = std::make_unique<TarArchiver>();
        break;
    case atTgz:
        archiver = std::make_unique<TgzArchiver>();
        break;
    default:
        Refuse(error, QStringLiteral("現在のバージョンではこの形式の書庫をサポートしていません。"));
        return nullptr;
    }
    if (!archiver->Startup(error))
        return nullptr;
    return archiver;
}

ArchiveFile::ArchiveFile(QObject* owner)
    : QObject(owner)
    , m_options(new ArchiverOptions(this))
{
}

ArchiveFile::~ArchiveFile() = default;

bool ArchiveFile::SetFileName(const QString& name, ArchiverError& error)
{
    if (!SetArchiverType(ArchiverTypeOfFile(name), error))
        return false;
    m_fileName = name;
    return true;
}

bool ArchiveFile::SetArchiverType(ArchiverType type, ArchiverError& error)
{
    if (type == atNone)
        return true;
    std::unique_ptr<Archiver> archiver = CreateArchiver(type, error);
    if (!archiver)
        return false;
    m_archiver = std::move(archiver);
    m_type = type;
    return true;
}

bool ArchiveFile::ExtractFiles(QObject* window, const QString& folder, const QStringList* files, int& result,
                                ArchiverError& error)
{
    if (!m_archiver)
        return Refuse(error, QStringLiteral("書庫の形式を判別できません。"));
    if (!m_archiver->Extract(window, m_fileName, files, folder, *m_options, result, error))
        return false;
    m_lastCommandLine = m_archiver->CommandLine;
    m_lastOutput = m_archiver->Output;
    return true;
}

bool ArchiveFile::PackFiles(QObject* window, const QString& baseFolder, const QStringList& files, int& result,
                             ArchiverError& error)
{
    if (m_type == atAutoDetect && !SetArchiverType(ArchiverTypeOfFile(m_fileName), error))
        return false;
    if (!m_archiver)
        return Refuse(error, QStringLiteral("書庫の形式を判別できません。"));
    if (!m_archiver->Pack(window, m_fileName, &files, baseFolder, *m_options, result, error))
        return false;
    m_lastCommandLine = m_archiver->CommandLine;
    m_lastOutput = m_archiver->Output;
    return true;
}

bool ArchiveFile::ListMembers(QList<archiver::IndividualInfo>* members, ArchiverError& error)
{
    members->clear();
    if (!m_archiver)
        return Refuse(error, QStringLiteral("書庫の形式を判別できません。"));
    const archiver::ArchiveHandle handle = m_archiver->OpenArchive(nullptr, QFileInfo(m_fileName).absoluteFilePath(), 0, error);
    if (!handle)
        return error.Message.isEmpty() ? Refuse(error, m_fileName + QStringLiteral(": cannot be read as an archive of its format")) : false;
    archiver::IndividualInfo info;
    for (int found = m_archiver->FindFirst(handle, QStringLiteral("*"), &info, error); found == 0;
         found = m_archiver->FindNext(handle, &info, error))
        members->append(info);
    return m_archiver->CloseArchive(handle, error);
}

ArchiverType ArchiverTypeOfFile(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : fileName.mid(dot).toLower();
    ArchiverType type = atNone;
    if (extension == QLatin1String(".z") || extension == QLatin1String(".gz") || extension == QLatin1String(".tgz")
        || extension == QLatin1String(".taz"))
        type = atTgz;
    else if (extension == QLatin1String(".tar"))
        type = atTar;
    else if (extension == QLatin1String(".lzh"))
        type = atLha;
    else if (extension == QLatin1String(".zip"))
        type = atZip;
    else if (extension == QLatin1String(".cab"))
        type = atCab;
    else if (extension == QLatin1String(".arj"))
        type = atArj;
    else if (extension == QLatin1String(".exe")) {
        if (IsArjArchive(fileName))
            type = atArj;
        if (IsCabArchive(fileName))
            type = atCab;
        if (IsZipArchive(fileName))
            type = atZip;
        if (IsLhaArchive(fileName))
            type = atLha;
    }
    return type;
}

bool IsLhaArchive(const QString& fileName)
{
    return probe(atLha, fileName);
}

bool IsZipArchive(const QString& fileName)
{
    return probe(atZip, fileName);
}

bool IsCabArchive(const QString& fileName)
{
    return probe(atCab, fileName);
}

bool IsArjArchive(const QString& fileName)
{
    return probe(atArj, fileName);
}
