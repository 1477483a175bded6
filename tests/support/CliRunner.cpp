#include "support/CliRunner.h"

#include <QProcess>

#include <grp.h>
#include <unistd.h>

namespace testsupport {

namespace {

CliResult run(QProcess& process, const QStringList& args, const QByteArray& input)
{
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

} // namespace

CliResult runCli(const QStringList& args, const QByteArray& input)
{
    QProcess process;
    return run(process, args, input);
}

CliResult runCliAsOrdinaryUser(const QStringList& args)
{
    QProcess process;
    process.setChildProcessModifier([] {
        constexpr uid_t kNobody = 65534;
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(127);
    });
    return run(process, args, {});
}

} // namespace testsupport
