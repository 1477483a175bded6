#include "store/SaveTimes.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace store {

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-ddThh:mm:ss");

} // namespace

QString SaveTimes::path() const
{
    return m_folder.path(QStringLiteral("FLATT_FILES\\SaveTimes.txt"));
}

QHash<QString, QDateTime> SaveTimes::read() const
{
    QHash<QString, QDateTime> times;
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return times;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const int tab = line.indexOf('\t');
        if (tab <= 0)
            continue;
        const QString number = QString::fromUtf8(line.left(tab)).trimmed();
        const QDateTime when = QDateTime::fromString(QString::fromUtf8(line.mid(tab + 1)).trimmed(), kTimeFormat);
        if (!number.isEmpty() && when.isValid())
            times.insert(number, when);
    }
    return times;
}

bool SaveTimes::write(const QHash<QString, QDateTime>& times, QString* error) const
{
    QStringList numbers = times.keys();
    std::sort(numbers.begin(), numbers.end());
    QByteArray bytes;
    for (const QString& number : std::as_const(numbers))
        bytes += number.toUtf8() + '\t' + times.value(number).toString(kTimeFormat).toUtf8() + '\n';
    QDir().mkpath(m_folder.dataFolder());
    QSaveFile file(path());
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path()), file.errorString());
    return false;
}

bool SaveTimes::record(const QString& number, const QDateTime& when, QString* error)
{
    QHash<QString, QDateTime> times = read();
    times.insert(number.trimmed(), when);
    return write(times, error);
}

bool SaveTimes::forget(const QString& number, QString* error)
{
    QHash<QString, QDateTime> times = read();
    if (!times.remove(number.trimmed()))
        return true;
    return write(times, error);
}

} // namespace store
