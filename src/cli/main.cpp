#include "cli/CliCommand.h"
#include "store/ProgramFolderLocation.h"
#include "util/UserInteraction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>

namespace cli {

std::vector<CliCommand>& commandRegistry()
{
    static std::vector<CliCommand> commands;
    return commands;
}

void printOut(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void printErr(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

QByteArray readAllStdin()
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return {};
    return in.readAll();
}

} // namespace cli

namespace {

void printUsage()
{
    auto commands = cli::commandRegistry();
    std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    QString text = QStringLiteral("usage: vordell-cli [--home DIR] [--restore-backup] COMMAND [ARGS...]\n\ncommands:\n");
    for (const auto& command : commands)
        text += QStringLiteral("  ") + command.usage + QLatin1Char('\n');
    cli::printErr(text);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(kProgramTitle); // names the user's data folder, as the program does
    cli::CliContext context;
    QString home;

    QStringList args = QCoreApplication::arguments().mid(1);
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--home") && !args.isEmpty()) {
            home = QDir(args.takeFirst()).absolutePath();
        } else if (option == QLatin1String("--restore-backup")) {
            context.restoreBackup = true;
        } else {
            cli::printErr(QStringLiteral("vordell-cli: unknown option %1\n").arg(option));
            printUsage();
            return 2;
        }
    }
    if (args.isEmpty() || args.first() == QLatin1String("help")) {
        printUsage();
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const auto& command : cli::commandRegistry()) {
        if (command.name == name) {
            context.args = args;
            context.home = store::locateProgramFolder(home, &context.homeError);
            return command.run(context);
        }
    }
    cli::printErr(QStringLiteral("vordell-cli: unknown command %1\n").arg(name));
    printUsage();
    return 2;
}
