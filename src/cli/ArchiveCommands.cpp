// vordell-cli lzh pack|extract|list|test: the LZH codec from the command line.

#include "archive/LzhArchive.h"
#include "cli/CliCommand.h"

#include <QDir>

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

int report(bool ok, const QString& error)
{
    if (ok)
        return kExitOk;
    cli::printErr(QStringLiteral("vordell-cli lzh: %1\n").arg(error));
    return kExitFailed;
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
        text += QStringLiteral("%1\t%2\t%3\t%4\n")
                    .arg(QString::fromLatin1(entry.header.method.data(), qsizetype(entry.header.method.size())))
                    .arg(entry.header.originalSize)
                    .arg(entry.header.compressedSize)
                    .arg(entry.name);
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

} // namespace
