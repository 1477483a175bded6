#include "support/CliRunner.h"

#include <QProcess>

namespace testsupport {

CliResult runCli(const QStringList& args, const QByteArray& input)
{
    QProcess process;
    process.start(QStringLiteral(VORDELL_CLI), args);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace testsupport
