// Text conversion commands: the character-width normalisation of the entry boxes and the
// Shift_JIS byte length that every length limit uses.
#include "cli/CliCommand.h"
#include "util/SjisText.h"

#include <QStringDecoder>

#include <functional>

namespace {

// Runs a command whose only input is UTF-8 text on stdin (a trailing newline stays part of the
// text): refuses arguments and input that is not UTF-8, otherwise hands the text to the command.
int runOnStdinText(const cli::CliContext& context, const QString& command, const std::function<int(const QString&)>& run)
{
    if (!context.args.isEmpty()) {
        cli::printErr(QStringLiteral("vordell-cli %1: takes no arguments (the text comes on stdin)\n").arg(command));
        return 2;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(cli::readAllStdin());
    if (decoder.hasError()) {
        cli::printErr(QStringLiteral("vordell-cli %1: stdin is not valid UTF-8\n").arg(command));
        return 1;
    }
    return run(text);
}

int runNormalize(cli::CliContext& context)
{
    return runOnStdinText(context, QStringLiteral("normalize"), [](const QString& text) {
        cli::printOut(sjis::NormalizeCharWidth(text));
        return 0;
    });
}

int runSjisLength(cli::CliContext& context)
{
    return runOnStdinText(context, QStringLiteral("sjis-length"), [](const QString& text) {
        if (const auto character = sjis::findUnencodable(text)) {
            cli::printErr(sjis::unencodableMessage(*character) + QLatin1Char('\n'));
            return 1;
        }
        cli::printOut(QString::number(sjis::byteLength(text)) + QLatin1Char('\n'));
        return 0;
    });
}

const cli::CliRegistration normalizeCommand({
    QStringLiteral("normalize"),
    QStringLiteral("normalize < TEXT      UTF-8 text on stdin, written back with full-width ASCII made "
                   "half-width and half-width katakana made full-width (a trailing newline is part of the text)"),
    runNormalize,
});

const cli::CliRegistration sjisLengthCommand({
    QStringLiteral("sjis-length"),
    QStringLiteral("sjis-length < TEXT    Shift_JIS byte length of the UTF-8 text on stdin (a trailing newline "
                   "counts as part of the text); exit 1 on a character Shift_JIS cannot hold"),
    runSjisLength,
});

} // namespace
