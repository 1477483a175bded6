#include "crash/SyscallTrace.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

namespace {

// Splits "a, "b,c", [x, y], {z}" at the commas outside quotes and brackets.
QStringList splitArgs(const QString& text)
{
    QStringList args;
    QString current;
    int depth = 0;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            current += c;
            if (c == QLatin1Char('\\') && i + 1 < text.size())
                current += text.at(++i);
            else if (c == QLatin1Char('"'))
                quoted = false;
            continue;
        }
        if (c == QLatin1Char('"'))
            quoted = true;
        else if (c == QLatin1Char('[') || c == QLatin1Char('{') || c == QLatin1Char('(') || c == QLatin1Char('<'))
            ++depth;
        else if (c == QLatin1Char(']') || c == QLatin1Char('}') || c == QLatin1Char(')')
                 || (c == QLatin1Char('>') && !current.endsWith(QLatin1Char('=')) && !current.endsWith(QLatin1Char('-'))))
            --depth;
        if (c == QLatin1Char(',') && depth == 0) {
            args.append(current.trimmed());
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty())
        args.append(current.trimmed());
    return args;
}

// "name(args) = result" → the call; false for lines that are no finished call.
bool parseCall(const QString& text, Syscall* call)
{
    const int open = text.indexOf(QLatin1Char('('));
    if (open <= 0)
        return false;
    // The result follows the last " = " outside the quoted strings.
    int close = -1;
    bool quoted = false;
    int depth = 0;
    for (int i = open; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('\\'))
                ++i;
            else if (c == QLatin1Char('"'))
                quoted = false;
            continue;
        }
        if (c == QLatin1Char('"'))
            quoted = true;
        else if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && --depth == 0) {
            close = i;
            break;
        }
    }
    if (close < 0)
        return false;
    const int equals = text.indexOf(QStringLiteral(" = "), close);
    if (equals < 0)
        return false;
    call->name = text.left(open).trimmed();
    call->args = splitArgs(text.mid(open + 1, close - open - 1));
    call->result = text.mid(equals + 3).trimmed();
    return true;
}

} // namespace

qint64 Syscall::returned() const
{
    return numberOf(result.section(QLatin1Char(' '), 0, 0));
}

qint64 numberOf(const QString& arg)
{
    if (arg.startsWith(QLatin1String("AT_FDCWD")))
        return -100;
    const int end = arg.indexOf(QLatin1Char('<'));
    const QString number = end < 0 ? arg : arg.left(end);
    bool ok = false;
    const qint64 value = number.toLongLong(&ok, 0);
    return ok ? value : -1;
}

QString decoration(const QString& arg)
{
    const int start = arg.indexOf(QLatin1Char('<'));
    const int end = arg.lastIndexOf(QLatin1Char('>'));
    return start < 0 || end <= start ? QString() : arg.mid(start + 1, end - start - 1);
}

QByteArray unquote(const QString& quoted)
{
    QByteArray bytes;
    const int first = quoted.indexOf(QLatin1Char('"'));
    const int last = quoted.lastIndexOf(QLatin1Char('"'));
    if (first < 0 || last <= first)
        return bytes;
    const QByteArray text = quoted.mid(first + 1, last - first - 1).toUtf8();
    bytes.reserve(text.size() / 4 + 1);
    for (int i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c != '\\' || i + 1 >= text.size()) {
            bytes.append(c);
            continue;
        }
        const char e = text.at(++i);
        switch (e) {
        case 'x':
            bytes.append(char(text.mid(i + 1, 2).toInt(nullptr, 16)));
            i += 2;
            break;
        case 'n': bytes.append('\n'); break;
        case 't': bytes.append('\t'); break;
        case 'r': bytes.append('\r'); break;
        case 'v': bytes.append('\v'); break;
        case 'f': bytes.append('\f'); break;
        default:
            if (e >= '0' && e <= '7') {
                int value = e - '0';
                for (int k = 0; k < 2 && i + 1 < text.size() && text.at(i + 1) >= '0' && text.at(i + 1) <= '7'; ++k)
                    value = value * 8 + (text.at(++i) - '0');
                bytes.append(char(value));
            } else {
                bytes.append(e);
            }
        }
    }
    return bytes;
}

QList<Syscall> readSyscallTrace(const QString& path, QString* error)
{
    QList<Syscall> calls;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return calls;
    }
    static const QRegularExpression pidPrefix(QStringLiteral("^(\\d+)\\s+"));
    static const QRegularExpression resumed(QStringLiteral("^<\\.\\.\\. [a-z0-9_]+ resumed>"));
    QHash<QString, QString> unfinished; // pid → the call's text so far
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine()).trimmed();
        QString pid;
        const QRegularExpressionMatch match = pidPrefix.match(line);
        if (match.hasMatch()) {
            pid = match.captured(1);
            line = line.mid(match.capturedLength());
        }
        if (line.startsWith(QLatin1String("---")) || line.startsWith(QLatin1String("+++")))
            continue;
        if (line.endsWith(QLatin1String("<unfinished ...>"))) {
            unfinished.insert(pid, line.chopped(int(qstrlen("<unfinished ...>"))));
            continue;
        }
        const QRegularExpressionMatch resumption = resumed.match(line);
        if (resumption.hasMatch())
            line = unfinished.take(pid) + line.mid(resumption.capturedLength());
        Syscall call;
        if (parseCall(line, &call))
            calls.append(call);
    }
    return calls;
}
