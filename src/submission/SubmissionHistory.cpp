#include "submission/SubmissionHistory.h"

#include "store/DurableFiles.h"
#include "store/ProgramFolder.h"
#include "store/WriteSet.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace submission {

namespace {

const QByteArray kIndexHeader = "VORDELL-SUBMITTED 1";
const QString kTimeFormat = QStringLiteral("yyyy-MM-ddThh:mm:ss.zzz");
const QString kDeleted = QStringLiteral("Deleted");
constexpr qint64 kMaxIndexBytes = 64 * 1024 * 1024;

// A rename is durable once the folder that holds the name is on disk.
void syncFolder(const QString& folder)
{
    store::syncFolder(folder, nullptr);
}

QString kindText(KeptSubmission::Kind kind)
{
    return kind == KeptSubmission::Kind::Imported ? QStringLiteral("取り込み") : QStringLiteral("提出");
}

QByteArray lineOf(const KeptSubmission& kept)
{
    const QStringList fields = {kept.time.toString(kTimeFormat), kindText(kept.kind), kept.regNo, kept.keptPath,
                                QString::number(kept.size), QString::fromLatin1(kept.sha256), QString::fromLatin1(kept.fingerprint),
                                QString::fromLatin1(QUrl::toPercentEncoding(kept.userName))};
    return fields.join(QLatin1Char('\t')).toUtf8() + '\n';
}

bool parseLine(const QByteArray& line, KeptSubmission* kept)
{
    const QStringList fields = QString::fromUtf8(line).split(QLatin1Char('\t'));
    if (fields.size() != 8)
        return false;
    kept->time = QDateTime::fromString(fields.at(0), kTimeFormat);
    kept->kind = fields.at(1) == kindText(KeptSubmission::Kind::Imported) ? KeptSubmission::Kind::Imported : KeptSubmission::Kind::Submitted;
    kept->regNo = fields.at(2);
    kept->keptPath = fields.at(3);
    bool sized = false;
    kept->size = fields.at(4).toLongLong(&sized);
    kept->sha256 = fields.at(5).toLatin1();
    kept->fingerprint = fields.at(6).toLatin1();
    kept->userName = QUrl::fromPercentEncoding(fields.at(7).toLatin1());
    // A kept path never leaves the Submitted folder.
    const bool inside = !kept->keptPath.isEmpty() && !kept->keptPath.startsWith(QLatin1Char('/')) && !kept->keptPath.contains(QLatin1String(".."));
    return kept->time.isValid() && sized && inside && (fields.at(1) == kindText(KeptSubmission::Kind::Imported) || fields.at(1) == kindText(KeptSubmission::Kind::Submitted));
}

// The kept files of a registration are those still in its own folder (not set aside).
bool belongsTo(const KeptSubmission& kept, const QString& regNo)
{
    return kept.regNo == regNo && !kept.keptPath.startsWith(kDeleted + QLatin1Char('/'));
}

} // namespace

QByteArray fileSha256(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}

QString KeptSubmission::kindName() const
{
    return kindText(kind);
}

SubmissionHistory::SubmissionHistory(const store::ProgramFolder& folder)
    : m_root(folder.root())
    , m_data(folder.dataFolder())
    , m_submitted(QDir(folder.dataFolder()).filePath(QStringLiteral("Submitted")))
    , m_clock([] { return QDateTime::currentDateTime(); })
{
}

QString SubmissionHistory::indexPath(const store::ProgramFolder& folder)
{
    return QDir(folder.dataFolder()).filePath(QStringLiteral("Submitted.idx"));
}

bool SubmissionHistory::load(QString* error)
{
    setEntries({});
    const QString path = QDir(m_data).filePath(QStringLiteral("Submitted.idx"));
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    QFile file(path);
    if (!info.isFile() || info.size() > kMaxIndexBytes || !file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: 提出ファイルの一覧を読めません。").arg(QDir::toNativeSeparators(path));
        return false;
    }
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.isEmpty() || lines.first().trimmed() != kIndexHeader) {
        *error = QStringLiteral("%1: 提出ファイルの一覧ではありません。").arg(QDir::toNativeSeparators(path));
        return false;
    }
    QList<KeptSubmission> entries;
    for (int n = 1; n < lines.size(); ++n) {
        if (lines.at(n).isEmpty())
            continue;
        KeptSubmission kept;
        if (!parseLine(lines.at(n), &kept)) {
            *error = QStringLiteral("%1: %2 行目が壊れています。").arg(QDir::toNativeSeparators(path)).arg(n + 1);
            return false;
        }
        entries.append(kept);
    }
    setEntries(entries);
    return true;
}

QList<KeptSubmission> SubmissionHistory::entries(const QString& regNo) const
{
    QList<KeptSubmission> list;
    for (const KeptSubmission& kept : m_entries) {
        if (belongsTo(kept, regNo))
            list.append(kept);
    }
    std::stable_sort(list.begin(), list.end(), [](const KeptSubmission& a, const KeptSubmission& b) { return a.time > b.time; });
    return list;
}

void SubmissionHistory::setEntries(const QList<KeptSubmission>& entries)
{
    m_entries = entries;
    m_newest.clear();
    for (int n = 0; n < m_entries.size(); ++n) {
        const KeptSubmission& kept = m_entries.at(n);
        if (!belongsTo(kept, kept.regNo))
            continue;
        const auto found = m_newest.constFind(kept.regNo);
        if (found == m_newest.cend() || kept.time >= m_entries.at(*found).time)
            m_newest.insert(kept.regNo, n);
    }
}

const KeptSubmission* SubmissionHistory::newest(const QString& regNo) const
{
    const auto found = m_newest.constFind(regNo);
    return found == m_newest.cend() ? nullptr : &m_entries.at(*found);
}

std::optional<QDateTime> SubmissionHistory::lastSubmission(const QString& regNo) const
{
    const KeptSubmission* kept = newest(regNo);
    return kept ? std::optional<QDateTime>(kept->time) : std::nullopt;
}

bool SubmissionHistory::changedSinceLastSubmission(const QString& regNo, const QByteArray& fingerprintNow) const
{
    const KeptSubmission* kept = newest(regNo);
    return kept && kept->fingerprint != fingerprintNow;
}

QString SubmissionHistory::pathOf(const KeptSubmission& kept) const
{
    return QDir(m_submitted).filePath(kept.keptPath);
}

QString SubmissionHistory::problemOf(const KeptSubmission& kept) const
{
    const QString path = pathOf(kept);
    const QFileInfo info(path);
    if (!info.isFile())
        return QStringLiteral("%1: 保管した提出ファイルがありません。").arg(QDir::toNativeSeparators(path));
    if (info.size() != kept.size || fileSha256(path) != kept.sha256)
        return QStringLiteral("%1: 保管した提出ファイルが壊れています。").arg(QDir::toNativeSeparators(path));
    return QString();
}

bool SubmissionHistory::keep(const QString& regNo, const QString& file, KeptSubmission::Kind kind, const QString& userName,
                             const QByteArray& fingerprint, QString* error)
{
    KeptSubmission kept;
    kept.time = m_clock();
    kept.kind = kind;
    kept.regNo = regNo;
    kept.userName = userName;
    kept.fingerprint = fingerprint;
    kept.size = QFileInfo(file).size();
    kept.sha256 = fileSha256(file);
    const QString folder = QDir(m_submitted).filePath(regNo);
    const QString stamp = kept.time.toString(QStringLiteral("yyyyMMdd-hhmmsszzz"));
    QString name = stamp + QStringLiteral(".lzh");
    for (int n = 2; QFileInfo::exists(QDir(folder).filePath(name)); ++n)
        name = stamp + QStringLiteral("_%1.lzh").arg(n);
    kept.keptPath = regNo + QLatin1Char('/') + name;
    if (!store::makeFolderDurably(folder, error))
        return false;
    QList<KeptSubmission> entries = m_entries;
    entries.append(kept);
    // The copy and the index line go in one set: the index never names a file that is not there.
    store::WriteSet set(m_root);
    if (!set.stageCopy(file, pathOf(kept), error) || !stageIndex(set, entries, error) || !set.commit(error))
        return false;
    syncFolder(folder);
    syncFolder(m_data);
    setEntries(entries);
    return true;
}

bool SubmissionHistory::stageIndex(store::WriteSet& set, const QList<KeptSubmission>& entries, QString* error) const
{
    QByteArray text = kIndexHeader + '\n';
    for (const KeptSubmission& kept : entries)
        text += lineOf(kept);
    return set.stage(QDir(m_data).filePath(QStringLiteral("Submitted.idx")),
                     [&](QIODevice* device, QString* why) {
                         if (device->write(text) == text.size())
                             return true;
                         *why = device->errorString();
                         return false;
                     },
                     error);
}

bool SubmissionHistory::setAside(const QString& regNo, QString* error)
{
    const QString folder = QDir(m_submitted).filePath(regNo);
    if (regNo.isEmpty() || !QFileInfo(folder).isDir())
        return true;
    const QString deleted = QDir(m_submitted).filePath(kDeleted);
    const QString base = regNo + QLatin1Char('-') + m_clock().toString(QStringLiteral("yyyyMMddhhmmss"));
    QString aside = base;
    for (int n = 2; QFileInfo::exists(QDir(deleted).filePath(aside)); ++n)
        aside = base + QStringLiteral("_%1").arg(n);
    if (!store::makeFolderDurably(deleted, nullptr) || !QDir().rename(folder, QDir(deleted).filePath(aside))) {
        *error = QStringLiteral("%1: 保管した提出ファイルを移せません。").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    syncFolder(deleted);
    syncFolder(m_submitted);
    QList<KeptSubmission> entries = m_entries;
    for (KeptSubmission& kept : entries) {
        if (belongsTo(kept, regNo))
            kept.keptPath = kDeleted + QLatin1Char('/') + aside + kept.keptPath.mid(regNo.size());
    }
    store::WriteSet set(m_root);
    if (!stageIndex(set, entries, error) || !set.commit(error))
        return false;
    syncFolder(m_data);
    setEntries(entries);
    return true;
}

} // namespace submission
