// vordell-cli lzh pack|extract|list|test: the LZH codec from the command line.
// vordell-cli archive list|extract|test: every format the archive component reads.

#include "archive/ArchiveFile.h"
#include "archive/LzhArchive.h"
#include "cli/CliCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const QString kUsage = QStringLiteral("lzh pack ARCHIVE FILE... | lzh extract ARCHIVE FOLDER | lzh list ARCHIVE | lzh test ARCHIVE");

int usage()
{
    cli::printErr(QStringLiteral("usage: vordell-cli %1\n").arg(kUsage));
    return kExitUsage;
}

int reportAs(const QString& command, bool ok, const QString& error)
{
    if (ok)
        return kExitOk;
    cli::printErr(QStringLiteral("vordell-cli %1: %2\n").arg(command, error));
    return kExitFailed;
}

int report(bool ok, const QString& error)
{
    return reportAs(QStringLiteral("lzh"), ok, error);
}

QString listingLine(const QString& method, quint64 originalSize, quint64 compressedSize, const QString& name)
{
    return QStringLiteral("%1\t%2\t%3\t%4\n").arg(method).arg(originalSize).arg(compressedSize).arg(name);
}

int pack(const QStringList& args)
{
    QString error;
    return report(lzh::packFiles(args[0], args.mid(1), &error), error);
}

int extract(const QStringList& args)
{
    QString error;
    return report(lzh::extractArchive(args[0], args[1], {}, nullptr, &error), error);
}

int list(const QStringList& args)
{
    QList<lzh::MemberEntry> members;
    QString error;
    if (!lzh::listArchive(args[0], members, &error))
        return report(false, error);
    QString text;
    for (const lzh::MemberEntry& entry : members) {
        text += listingLine(QString::fromLatin1(entry.header.method.data(), qsizetype(entry.header.method.size())),
                            entry.header.originalSize, entry.header.compressedSize, entry.name);
    }
    cli::printOut(text);
    return kExitOk;
}

int test(const QStringList& args)
{
    QStringList problems;
    QString error;
    const bool ok = lzh::testArchive(args[0], &problems, &error);
    for (const QString& problem : problems)
        cli::printErr(problem + QLatin1Char('\n'));
    return report(ok, error);
}

int run(cli::CliContext& context)
{
    const QStringList& args = context.args;
    if (args.isEmpty())
        return usage();
    const QString verb = args.first();
    const QStringList rest = args.mid(1);
    if (verb == QLatin1String("pack") && rest.size() >= 2)
        return pack(rest);
    if (verb == QLatin1String("extract") && rest.size() == 2)
        return extract(rest);
    if (verb == QLatin1String("list") && rest.size() == 1)
        return list(rest);
    if (verb == QLatin1String("test") && rest.size() == 1)
        return test(rest);
    return usage();
}

const cli::CliRegistration registration({QStringLiteral("lzh"), kUsage, run});

// ---------------------------------------------------------------- archive

const QString kArchiveUsage = QStringLiteral("archive list FILE | archive extract FILE [FOLDER] | archive test FILE");

int reportArchive(bool ok, const QString& error)
{
    return reportAs(QStringLiteral("archive"), ok, error);
}

// The component for an existing file, its format chosen by the name as everywhere in the program.
bool openArchive(ArchiveFile& file, const QString& path, QString* error)
{
    ArchiverError problem;
    if (!QFileInfo(path).isFile()) {
        *error = path + QStringLiteral(": no such file");
        return false;
    }
    if (!file.SetFileName(path, problem)) {
        *error = problem.Message;
        return false;
    }
    return true;
}

// Extracts every member by its bare name into the folder, as the import does with a submission.
bool extractInto(ArchiveFile& file, const QString& folder, QString* error)
{
    file.Options()->n = 1; // no questions
    file.Options()->x = 0; // members without their folders
    ArchiverError problem;
    int result = 0;
    if (!file.ExtractFiles(nullptr, folder, nullptr, result, problem)) {
        *error = problem.Message;
        return false;
    }
    if (result == archiver::kResultOk)
        return true;
    const QString said = file.archiver()->Output;
    *error = said.isEmpty() ? QStringLiteral("%1: the archiver failed with code %2").arg(file.FileName()).arg(result) : said;
    return false;
}

int archiveList(const QString& path)
{
    ArchiveFile file(nullptr);
    QString error;
    if (!openArchive(file, path, &error))
        return reportArchive(false, error);
    QList<archiver::IndividualInfo> members;
    ArchiverError problem;
    if (!file.ListMembers(&members, problem))
        return reportArchive(false, problem.Message);
    QString text;
    for (const archiver::IndividualInfo& member : std::as_const(members))
        text += listingLine(member.method, member.originalSize, member.compressedSize, member.fileName);
    cli::printOut(text);
    return kExitOk;
}

int archiveExtract(const QString& path, const QString& folder)
{
    ArchiveFile file(nullptr);
    QString error;
    return reportArchive(openArchive(file, path, &error) && extractInto(file, folder, &error), error);
}

// Every member is decoded and checked by extracting the archive into a folder of its own that is
// removed afterwards.
int archiveTest(const QString& path)
{
    ArchiveFile file(nullptr);
    QString error;
    if (!openArchive(file, path, &error))
        return reportArchive(false, error);
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return reportArchive(false, QStringLiteral("cannot create a temporary folder: %1").arg(scratch.errorString()));
    return reportArchive(extractInto(file, scratch.path(), &error), error);
}

int runArchive(cli::CliContext& context)
{
    const QStringList& args = context.args;
    const QString verb = args.value(0);
    if (verb == QLatin1String("list") && args.size() == 2)
        return archiveList(args[1]);
    if (verb == QLatin1String("extract") && (args.size() == 2 || args.size() == 3))
        return archiveExtract(args[1], args.value(2, QStringLiteral(".")));
    if (verb == QLatin1String("test") && args.size() == 2)
        return archiveTest(args[1]);
    cli::printErr(QStringLiteral("usage: vordell-cli %1\n").arg(kArchiveUsage));
    return kExitUsage;
}

const cli::CliRegistration archiveRegistration({QStringLiteral("archive"), kArchiveUsage, runArchive});

} // namespace
