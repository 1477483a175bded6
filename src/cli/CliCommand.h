#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace cli {

// What every command gets: its arguments and the program folder (--home, a writable data folder
// beside the executable, or the user's own folder). Commands print results on stdout and messages
// on stderr, and return the exit code.
struct CliContext
{
    QString home;
    QString homeError; // why no program folder could be found; set when `home` is empty
    bool restoreBackup = false;
    QStringList args;
};

struct CliCommand
{
    QString name;    // first word, for example "normalize" or "lzh"
    QString usage;   // one line shown by "vordell-cli help"
    std::function<int(CliContext&)> run;
};

std::vector<CliCommand>& commandRegistry();

// Registers a command at start-up; each command file holds one static instance.
struct CliRegistration
{
    explicit CliRegistration(CliCommand command) { commandRegistry().push_back(std::move(command)); }
};

// Output helpers: UTF-8 text to stdout and stderr.
void printOut(const QString& text);
void printErr(const QString& text);
QByteArray readAllStdin();

} // namespace cli
