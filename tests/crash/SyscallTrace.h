#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The system calls of an `strace -f -y -xx -s <large>` log, one per finished call, with their
// arguments split at the top level. Calls a thread interrupted ("<unfinished ...>") are joined
// with their resumption and take its place in the order.
struct Syscall
{
    QString name;
    QStringList args; // as printed: numbers with their "<path>" decoration, quoted strings, lists
    QString result;   // as printed after " = "
    qint64 returned() const;
};

QList<Syscall> readSyscallTrace(const QString& path, QString* error);

// The bytes of a quoted strace string ("\x3c\x3f..."), escapes decoded.
QByteArray unquote(const QString& quoted);
// The number of an argument or result ("5</path>" → 5, "AT_FDCWD</cwd>" → -100).
qint64 numberOf(const QString& arg);
// The path decoration of an argument ("5</tmp/x>" → "/tmp/x"); empty when none.
QString decoration(const QString& arg);
