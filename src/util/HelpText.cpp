#include "util/HelpText.h"

#include "util/SjisText.h"

#include <QDir>
#include <QFile>

namespace helptext {

namespace {

QString findCaseInsensitive(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    if (dir.exists(name))
        return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return dir.filePath(name);
}

QString shownLine(QByteArray bytes)
{
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    return sjis::decode(bytes).replace(QLatin1Char('%'), QChar(0xFF05));
}

} // namespace

bool readHelpLines(const QString& programFolder, QStringList* lines)
{
    QFile file(findCaseInsensitive(programFolder, kFileName));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Lines end with CR LF or LF; a last line without an end is a line too.
    QByteArray pending;
    char buffer[4096];
    for (;;) {
        const qint64 got = file.read(buffer, sizeof buffer);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        pending.append(buffer, got);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            lines->append(shownLine(pending.left(end)));
            pending.remove(0, end + 1);
        }
    }
    if (!pending.isEmpty())
        lines->append(shownLine(pending));
    return true;
}

} // namespace helptext
