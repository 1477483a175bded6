#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace testsupport {

struct CliResult
{
    int exitCode = -1; // -1 when the tool did not start or did not end normally
    QString out;
    QString err;
};

// Runs the built vordell-cli with the arguments, feeding `input` on stdin.
CliResult runCli(const QStringList& args, const QByteArray& input = {});
// The same as an ordinary user, to whom the permissions of folders apply: when the tests run as
// the superuser, the tool runs as "nobody".
CliResult runCliAsOrdinaryUser(const QStringList& args);

} // namespace testsupport
