#include "archive/ArchiverFormats.h"

namespace {

const QString kUnzipLibrary = QStringLiteral("UNZIP32.DLL");
const QString kLmzipLibrary = QStringLiteral("LMZIP32.DLL");
const QString kZipMissing = QStringLiteral("ZIP 形式書庫を扱うには UNZIP32.DLL または LMZIP32.DLL が 必要です。");

// The LZH library's switches, in the order of the option declarations.
void addLhaSwitches(CommandOptions& cmd, const ArchiverOptions& options)
{
    cmd.AddNumber(QStringLiteral("a"), options.a);
    cmd.AddNumber(QStringLiteral("c"), options.c);
    cmd.AddNumber(QStringLiteral("d"), options.d);
    cmd.AddNumber(QStringLiteral("e"), options.e);
    cmd.AddNumber(QStringLiteral("f"), options.f);
    cmd.AddNumber(QStringLiteral("h"), options.h);
    cmd.AddNumber(QStringLiteral("i"), options.i);
    cmd.AddNumber(QStringLiteral("l"), options.l);
    cmd.AddNumber(QStringLiteral("m"), options.m);
    cmd.AddNumber(QStringLiteral("n"), options.n);
    cmd.AddNumber(QStringLiteral("o"), options.o);
    cmd.AddNumber(QStringLiteral("p"), options.p);
    cmd.AddNumber(QStringLiteral("r"), options.r);
    cmd.AddNumber(QStringLiteral("s"), options.s);
    cmd.AddNumber(QStringLiteral("t"), options.t);
    cmd.AddNumber(QStringLiteral("u"), options.u);
    cmd.AddFolder(QStringLiteral("w"), options.w);
    cmd.AddNumber(QStringLiteral("x"), options.x);
    cmd.AddNumber(QStringLiteral("y"), options.y);
    cmd.AddNumber(QStringLiteral("z"), options.z);
    cmd.AddNumber(QStringLiteral("jc"), options.jc);
    cmd.AddNumber(QStringLiteral("jd"), options.jd);
    cmd.AddNumber(QStringLiteral("je"), options.je);
    cmd.AddNumber(QStringLiteral("jf"), options.jf);
    cmd.AddNumber(QStringLiteral("jh"), options.jh);
    cmd.AddNumber(QStringLiteral("ji"), options.ji);
    cmd.AddNumber(QStringLiteral("jm"), options.jm);
    cmd.AddNumber(QStringLiteral("jn"), options.jn);
    cmd.AddQuoted(QStringLiteral("jo"), options.jo);
    cmd.AddQuoted(QStringLiteral("job"), options.job);
    cmd.AddNumber(QStringLiteral("jp"), options.jp);
    cmd.AddNumber(QStringLiteral("jr"), options.jr);
    cmd.AddNumber(QStringLiteral("jss"), options.jss);
    cmd.AddNumber(QStringLiteral("jw"), options.jw);
    cmd.AddList(QStringLiteral("jx"), options.jx);
    cmd.AddNumber(QStringLiteral("jyc"), options.jyc);
    cmd.AddNumber(QStringLiteral("jyd"), options.jyd);
    cmd.AddNumber(QStringLiteral("jyk"), options.jyk);
    cmd.AddNumber(QStringLiteral("jyn"), options.jyn);
    cmd.AddNumber(QStringLiteral("jyo"), options.jyo);
    cmd.AddQuoted(QStringLiteral("jz"), options.jz);
    cmd.AddNumber(QStringLiteral("ga"), options.ga);
    cmd.AddNumber(QStringLiteral("gd"), options.gd);
    cmd.AddNumber(QStringLiteral("ge"), options.ge);
    cmd.AddNumber(QStringLiteral("gf"), options.gf);
    cmd.AddNumber(QStringLiteral("gj"), options.gj);
    cmd.AddNumber(QStringLiteral("gm"), options.gm);
    cmd.AddNumber(QStringLiteral("gn"), options.gn);
    cmd.AddNumber(QStringLiteral("go"), options.go);
    cmd.AddNumber(QStringLiteral("gp"), options.gp);
    cmd.AddNumber(QStringLiteral("gr"), options.gr);
    cmd.AddNumber(QStringLiteral("gs"), options.gs);
    cmd.AddNumber(QStringLiteral("gu"), options.gu);
    cmd.AddNumber(QStringLiteral("gw"), options.gw);
}

// The closing part shared by every format: user options, archive, folder, files, user file list.
void addOperands(CommandOptions& cmd, const QString& archiveName, const QStringList* files, const QString& folder,
                 const ArchiverOptions& options)
{
    cmd.Add(options.UserOptions);
    cmd.AddQuoted(QString(), archiveName);
    cmd.AddFolder(QString(), folder);
    if (files)
        cmd.AddList(QString(), *files);
    cmd.Add(options.UserFileList);
}

// ZIP and CAB read three settings: c = 1 overwrites, n = 1 hides progress, x = 0 drops folders.
void addZipCabSwitches(CommandOptions& cmd, const ArchiverOptions& options, const QString& quietSwitch)
{
    if (options.c == 1)
        cmd.Add(QStringLiteral("-o"));
    if (options.n == 1 && !quietSwitch.isEmpty())
        cmd.Add(quietSwitch);
    if (options.x == 0)
        cmd.Add(QStringLiteral("-j"));
}

QString lmzipEntryName(QString name)
{
    if (name.size() > 2 && name[2] == QLatin1Char('Z'))
        name[2] = QLatin1Char('z');
    return name;
}

} // namespace

// --- libraries with one prefix ---

const archiver::Library* SingleLibraryArchiver::Library(ArchiverError& error) const
{
    const archiver::Library* library = archiver::loadLibrary(LibraryName());
    if (!library)
        Refuse(error, MissingLibraryMessage());
    return library;
}

bool SingleLibraryArchiver::Startup(ArchiverError& error)
{
    return Library(error) != nullptr;
}

bool SingleLibraryArchiver::Run(const QString& commandLine, QObject* window, int& result, ArchiverError& error)
{
    CommandLine = commandLine;
    const archiver::Library* library = Library(error);
    return library && RunCommand(library, EntryPrefix(), window, result, error);
}

void* SingleLibraryArchiver::ListingEntry(const QString& name, ArchiverError& error) const
{
    const archiver::Library* library = Library(error);
    return library ? GetEntry(library, EntryPrefix() + name, error) : nullptr;
}

bool SingleLibraryArchiver::Extract(QObject* window, const QString& archiveName, const QStringList* files,
                                     const QString& folder, const ArchiverOptions& options, int& result, ArchiverError& error)
{
    return Run(MakeCommandLine(ExtractCommand(), archiveName, files, folder, options), window, result, error);
}

bool SingleLibraryArchiver::Pack(QObject* window, const QString& archiveName, const QStringList* files,
                                  const QString& folder, const ArchiverOptions& options, int& result, ArchiverError& error)
{
    return Run(MakeCommandLine(PackCommand(), archiveName, files, folder, options), window, result, error);
}

bool SingleLibraryArchiver::MakeSfx(QObject* window, const QString& archiveName, const ArchiverOptions& options,
                                     int& result, ArchiverError& error)
{
    return Run(MakeCommandLine(SfxCommand(), archiveName, nullptr, QString(), options), window, result, error);
}

// --- LZH ---

QString LhaArchiver::MakeCommandLine(const QString& command, const QString& archiveName, const QStringList* files,
                                const QString& folder, const ArchiverOptions& options)
{
    CommandOptions cmd;
    cmd.Add(QStringLiteral("-+"));
    addLhaSwitches(cmd, options);
    addOperands(cmd, archiveName, files, folder, options);
    return command + cmd.Text;
}

bool LhaArchiver::Delete(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
                    const ArchiverOptions& options, int& result, ArchiverError& error)
{
    return Run(MakeCommandLine(QStringLiteral("d"), archiveName, files, folder, options), window, result, error);
}

// --- ARJ ---

bool ArjArchiver::Pack(QObject*, const QString&, const QStringList*, const QString&, const ArchiverOptions&, int&,
                  ArchiverError& error)
{
    return Refuse(error, QStringLiteral("お使いの UNARJ32J.DLL は書庫の作成機能をサポートしていません。"));
}

bool ArjArchiver::MakeSfx(QObject*, const QString&, const ArchiverOptions&, int&, ArchiverError& error)
{
    return Refuse(error, QStringLiteral("お使いの UNARJ32J.DLL は自己解凍書庫の作成機能をサポートしていません。"));
}

// --- ZIP ---

bool ZipArchiver::Startup(ArchiverError& error)
{
    if (archiver::loadLibrary(kUnzipLibrary) || archiver::loadLibrary(kLmzipLibrary))
        return true;
    return Refuse(error, kZipMissing);
}

void* ZipArchiver::Entry(const QString& name, bool preferLmzip, ArchiverError& error) const
{
    const archiver::Library* unzip = archiver::loadLibrary(kUnzipLibrary);
    const archiver::Library* lmzip = archiver::loadLibrary(kLmzipLibrary);
    if (lmzip && (preferLmzip || !unzip))
        return GetEntry(lmzip, lmzipEntryName(name), error);
    if (unzip)
        return GetEntry(unzip, name, error);
    Refuse(error, kZipMissing);
    return nullptr;
}

void* ZipArchiver::ListingEntry(const QString& name, ArchiverError& error) const
{
    return Entry(QStringLiteral("UnZip") + name, true, error);
}

QString ZipArchiver::MakeCommandLine(const QString& command, const QString& archiveName, const QStringList* files,
                                const QString& folder, const ArchiverOptions& options)
{
    // Packing never takes the quiet switch or a folder.
    const bool packing = command == QLatin1String("-ru");
    CommandOptions cmd;
    addZipCabSwitches(cmd, options, packing ? QString() : QStringLiteral("--i"));
    addOperands(cmd, archiveName, files, packing ? QString() : folder, options);
    return command + cmd.Text;
}

bool ZipArchiver::Extract(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
                     const ArchiverOptions& options, int& result, ArchiverError& error)
{
    CommandLine = MakeCommandLine(QStringLiteral("-x"), archiveName, files, folder, options);
    auto command = reinterpret_cast<archiver::CommandEntry>(Entry(QStringLiteral("UnZip"), false, error));
    if (!command)
        return false;
    result = CallCommand(command, window);
    return true;
}

bool ZipArchiver::Pack(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
                  const ArchiverOptions& options, int& result, ArchiverError& error)
{
    const archiver::Library* lmzip = archiver::loadLibrary(kLmzipLibrary);
    if (!lmzip)
        return Refuse(error, QStringLiteral("ZIP 形式書庫の作成には LMZIP32.DLL が必要です。"));
    // The library always writes a new archive and replaces the old one only once it is complete, so
    // the old file is not deleted beforehand: a failed pack leaves it as it was.
    CommandLine = MakeCommandLine(QStringLiteral("-ru"), archiveName, files, folder, options);
    return RunCommand(lmzip, QStringLiteral("Zip"), window, result, error);
}

bool ZipArchiver::MakeSfx(QObject*, const QString&, const ArchiverOptions&, int&, ArchiverError& error)
{
    return Refuse(error, QStringLiteral("ＺＩＰ形式書庫から自己解凍書庫を作成する機能はサポートされていません。"));
}

// --- CAB ---

QString CabArchiver::MakeCommandLine(const QString& command, const QString& archiveName, const QStringList* files,
                                const QString& folder, const ArchiverOptions& options)
{
    CommandOptions cmd;
    addZipCabSwitches(cmd, options, QStringLiteral("-i"));
    addOperands(cmd, archiveName, files, folder, options);
    return command + cmd.Text;
}

// --- TAR ---

QString TarArchiver::MakeCommandLine(const QString& command, const QString& archiveName, const QStringList* files,
                                const QString& folder, const ArchiverOptions& options)
{
    CommandOptions cmd;
    if (options.a > 0)
        cmd.Add(QStringLiteral("-AH"));
    if (options.a == 0)
        cmd.Add(QStringLiteral("-I"));
    if (options.n > 0)
        cmd.Add(QStringLiteral("--display-dialog=0"));
    if (options.o < 1)
        cmd.Add(QStringLiteral("-g"));
    if (options.p != -1)
        cmd.Add(QStringLiteral("--check-all-path=") + QString::number(options.p));
    if (options.x != -1)
        cmd.Add(QStringLiteral("--use-directory=") + QString::number(options.x));
    AddCompression(cmd, options);
    cmd.Add(options.UserOptions);
    cmd.Add(QStringLiteral("-f"));
    cmd.AddQuoted(QString(), archiveName);
    if (!folder.isEmpty() && folder != QLatin1String(" ")) {
        cmd.Add(QStringLiteral("-o"));
        cmd.AddFolder(QString(), folder);
    }
    if (files)
        cmd.AddList(QString(), *files);
    cmd.Add(options.UserFileList);
    return command + cmd.Text;
}

bool TarArchiver::MakeSfx(QObject*, const QString&, const ArchiverOptions&, int& result, ArchiverError&)
{
    result = archiver::kResultNotSupported;
    return true;
}

void TgzArchiver::AddCompression(CommandOptions& cmd, const ArchiverOptions& options) const
{
    if (options.z < 1)
        cmd.Add(QStringLiteral("-z6"));
}
