#include "crash/FileSystemModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>

FileSystemModel::FileSystemModel(const QString& snapshot, const QString& root)
    : m_root(QDir::cleanPath(root))
{
    load(snapshot);
}

int FileSystemModel::load(const QString& path)
{
    Node node;
    const int index = int(m_nodes.size());
    m_nodes.push_back(node);
    if (QFileInfo(path).isDir()) {
        m_nodes[index].folder = true;
        for (const QFileInfo& entry : QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            const int child = load(entry.filePath());
            m_nodes[index].entries.insert(entry.fileName(), child);
        }
        m_nodes[index].initial = m_nodes[index].entries;
    } else {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        m_nodes[index].data = m_nodes[index].synced = file.readAll();
    }
    return index;
}

bool FileSystemModel::split(const QString& absolute, int* folder, QString* name) const
{
    const QString clean = QDir::cleanPath(absolute);
    if (!clean.startsWith(m_root + QLatin1Char('/')))
        return false;
    const QStringList parts = clean.mid(m_root.size() + 1).split(QLatin1Char('/'));
    int node = 0;
    for (int i = 0; i + 1 < parts.size(); ++i) {
        node = m_nodes[node].entries.value(parts.at(i), -1);
        if (node < 0 || !m_nodes[node].folder)
            return false;
    }
    *folder = node;
    *name = parts.last();
    return true;
}

int FileSystemModel::lookup(const QString& absolute) const
{
    if (QDir::cleanPath(absolute) == m_root)
        return 0;
    int folder;
    QString name;
    return split(absolute, &folder, &name) ? m_nodes[folder].entries.value(name, -1) : -1;
}

QString FileSystemModel::resolve(const QString& dirArg, const QString& pathArg) const
{
    const QString path = QString::fromUtf8(unquote(pathArg));
    if (path.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(path);
    QString base = decoration(dirArg);
    const qint64 fd = numberOf(dirArg);
    if (fd != -100 && m_descriptors.contains(fd) && !m_descriptors[fd].path.isEmpty())
        base = m_descriptors[fd].path;
    return QDir::cleanPath(base + QLatin1Char('/') + path);
}

void FileSystemModel::change(QList<Effect> effects)
{
    Change c;
    for (const Effect& effect : effects) {
        c.unsyncedFolders.insert(effect.folder);
        m_nodes[effect.folder].entries.remove(effect.name);
        if (effect.node >= 0)
            m_nodes[effect.folder].entries.insert(effect.name, effect.node);
    }
    c.effects = std::move(effects);
    m_changes.push_back(c);
    ++m_version;
}

void FileSystemModel::write(int node, qint64 offset, const QByteArray& bytes)
{
    QByteArray& data = m_nodes[node].data;
    if (data.size() < offset + bytes.size())
        data.resize(offset + bytes.size(), '\0');
    std::copy(bytes.begin(), bytes.end(), data.begin() + offset);
    ++m_version;
}

QByteArray FileSystemModel::sourceBytes(const Descriptor& d) const
{
    if (d.node >= 0)
        return m_nodes[d.node].data;
    QFile file(d.path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

bool FileSystemModel::apply(const Syscall& call, QString* error)
{
    const QString& n = call.name;
    const QStringList& a = call.args;
    const qint64 result = call.returned();
    if (n == QLatin1String("getcwd") && result > 0) {
        m_cwd = QString::fromUtf8(unquote(a.value(0)));
        return true;
    }
    if (result < 0 && n != QLatin1String("lseek"))
        return true; // a failed call changes nothing
    const auto fd = [&](int i) { return numberOf(a.value(i)); };
    const auto inside = [&](qint64 descriptor) { return m_descriptors.value(descriptor).node; };

    if (n == QLatin1String("open") || n == QLatin1String("openat") || n == QLatin1String("creat")) {
        const bool at = n == QLatin1String("openat");
        const QString path = at ? resolve(a.value(0), a.value(1)) : resolve(QStringLiteral("AT_FDCWD<%1>").arg(m_cwd), a.value(0));
        const QString flags = n == QLatin1String("creat") ? QStringLiteral("O_CREAT|O_TRUNC|O_WRONLY") : a.value(at ? 2 : 1);
        Descriptor d;
        d.path = path;
        if (flags.contains(QLatin1String("O_TMPFILE"))) {
            if (lookup(path) >= 0) {
                d.node = int(m_nodes.size());
                m_nodes.push_back(Node());
            }
        } else {
            d.node = lookup(path);
            int folder;
            QString name;
            if (d.node < 0 && flags.contains(QLatin1String("O_CREAT")) && split(path, &folder, &name)) {
                d.node = int(m_nodes.size());
                m_nodes.push_back(Node());
                change({{folder, name, d.node}});
            } else if (d.node >= 0 && flags.contains(QLatin1String("O_TRUNC")) && !m_nodes[d.node].folder) {
                m_nodes[d.node].data.clear();
                ++m_version;
            }
            if (d.node >= 0 && flags.contains(QLatin1String("O_APPEND")))
                d.position = m_nodes[d.node].data.size();
        }
        m_descriptors.insert(result, d);
        return true;
    }
    if (n == QLatin1String("close")) {
        m_descriptors.remove(fd(0));
        return true;
    }
    if (n == QLatin1String("dup") || n == QLatin1String("dup2") || n == QLatin1String("dup3")
        || (n == QLatin1String("fcntl") && a.value(1).startsWith(QLatin1String("F_DUPFD")))) {
        m_descriptors.insert(result, m_descriptors.value(fd(0)));
        return true;
    }
    if (n == QLatin1String("write") || n == QLatin1String("pwrite64") || n == QLatin1String("writev") || n == QLatin1String("pwritev")) {
        Descriptor& d = m_descriptors[fd(0)];
        QByteArray bytes;
        if (n.endsWith(QLatin1Char('v'))) {
            for (const QString& piece : a.value(1).split(QStringLiteral("iov_base=")).mid(1))
                bytes += unquote(piece.section(QStringLiteral(", iov_len="), 0, 0));
        } else {
            bytes = unquote(a.value(1));
        }
        bytes.truncate(result);
        const bool positioned = n.startsWith(QLatin1Char('p'));
        const qint64 offset = positioned ? numberOf(a.value(n == QLatin1String("pwrite64") ? 3 : 3)) : d.position;
        if (d.node >= 0)
            write(d.node, offset, bytes);
        if (!positioned)
            d.position += result;
        return true;
    }
    if (n == QLatin1String("read") || n == QLatin1String("readv")) {
        m_descriptors[fd(0)].position += result;
        return true;
    }
    if (n == QLatin1String("lseek")) {
        if (result >= 0)
            m_descriptors[fd(0)].position = result;
        return true;
    }
    if (n == QLatin1String("ftruncate")) {
        if (inside(fd(0)) >= 0) {
            m_nodes[inside(fd(0))].data.resize(numberOf(a.value(1)), '\0');
            ++m_version;
        }
        return true;
    }
    if (n == QLatin1String("sendfile") || n == QLatin1String("copy_file_range")) {
        const bool send = n == QLatin1String("sendfile");
        Descriptor& out = m_descriptors[fd(send ? 0 : 2)];
        Descriptor& in = m_descriptors[fd(send ? 1 : 0)];
        const QString inOffset = a.value(send ? 2 : 1);
        const QString outOffset = send ? QStringLiteral("NULL") : a.value(3);
        const qint64 from = inOffset == QLatin1String("NULL") ? in.position : numberOf(inOffset.mid(1));
        const qint64 to = outOffset == QLatin1String("NULL") ? out.position : numberOf(outOffset.mid(1));
        if (out.node >= 0)
            write(out.node, to, sourceBytes(in).mid(from, result));
        if (inOffset == QLatin1String("NULL"))
            in.position += result;
        if (outOffset == QLatin1String("NULL"))
            out.position += result;
        return true;
    }
    if (n == QLatin1String("fsync") || n == QLatin1String("fdatasync")) {
        const int node = inside(fd(0));
        if (node < 0)
            return true;
        if (m_nodes[node].folder) {
            for (Change& c : m_changes)
                c.unsyncedFolders.remove(node);
        } else {
            m_nodes[node].synced = m_nodes[node].data;
        }
        ++m_version;
        return true;
    }
    if (n == QLatin1String("sync") || n == QLatin1String("syncfs")) {
        for (Change& c : m_changes)
            c.unsyncedFolders.clear();
        for (Node& node : m_nodes)
            node.synced = node.data;
        ++m_version;
        return true;
    }
    if (n == QLatin1String("rename") || n == QLatin1String("renameat") || n == QLatin1String("renameat2")) {
        const bool at = n != QLatin1String("rename");
        const QString from = at ? resolve(a.value(0), a.value(1)) : resolve(QStringLiteral("AT_FDCWD<%1>").arg(m_cwd), a.value(0));
        const QString to = at ? resolve(a.value(2), a.value(3)) : resolve(QStringLiteral("AT_FDCWD<%1>").arg(m_cwd), a.value(1));
        int fromFolder, toFolder;
        QString fromName, toName;
        const bool fromInside = split(from, &fromFolder, &fromName);
        const bool toInside = split(to, &toFolder, &toName);
        if (!fromInside && !toInside)
            return true;
        if (!fromInside || !toInside) {
            *error = QStringLiteral("a rename across the modelled folder's edge: %1 → %2").arg(from, to);
            return false;
        }
        const int node = m_nodes[fromFolder].entries.value(fromName, -1);
        if (fromFolder == toFolder && fromName == toName)
            return true;
        change({{fromFolder, fromName, -1}, {toFolder, toName, node}});
        return true;
    }
    if (n == QLatin1String("link") || n == QLatin1String("linkat")) {
        const bool at = n == QLatin1String("linkat");
        const QString fromArg = a.value(at ? 1 : 0);
        const QString to = at ? resolve(a.value(2), a.value(3)) : resolve(QStringLiteral("AT_FDCWD<%1>").arg(m_cwd), a.value(1));
        int node;
        const QString fromPath = QString::fromUtf8(unquote(fromArg));
        if (fromPath.startsWith(QLatin1String("/proc/self/fd/")))
            node = inside(fromPath.mid(14).toLongLong());
        else if (at && a.value(4).contains(QLatin1String("AT_EMPTY_PATH")))
            node = inside(fd(0));
        else
            node = lookup(at ? resolve(a.value(0), fromArg) : resolve(QStringLiteral("AT_FDCWD<%1>").arg(m_cwd), fromArg));
        int folder;
        QString name;
        if (split(to, &folder, &name) && node >= 0)
            change({{folder, name, node}});
        return true;
    }
    if (n == QLatin1String("unlink") || n == QLatin1String("unlinkat") || n == QLatin1String("rmdir")) {
        const QString path = n == QLatin1String("unlinkat") ? resolve(a.value(0), a.value(1))
                                                           : resolve(QStringLiteral("AT_FDCWD<%1>").arg(m_cwd), a.value(0));
        int folder;
        QString name;
        if (split(path, &folder, &name) && m_nodes[folder].entries.contains(name))
            change({{folder, name, -1}});
        return true;
    }
    if (n == QLatin1String("mkdir") || n == QLatin1String("mkdirat")) {
        const QString path = n == QLatin1String("mkdirat") ? resolve(a.value(0), a.value(1))
                                                          : resolve(QStringLiteral("AT_FDCWD<%1>").arg(m_cwd), a.value(0));
        int folder;
        QString name;
        if (split(path, &folder, &name)) {
            Node node;
            node.folder = true;
            m_nodes.push_back(node);
            change({{folder, name, int(m_nodes.size()) - 1}});
        }
        return true;
    }
    if (n == QLatin1String("mmap") && a.value(2).contains(QLatin1String("PROT_WRITE")) && a.value(3).contains(QLatin1String("MAP_SHARED"))
        && inside(fd(4)) >= 0) {
        *error = QStringLiteral("a shared writable mapping of a modelled file");
        return false;
    }
    if ((n == QLatin1String("symlink") || n == QLatin1String("symlinkat") || n == QLatin1String("ioctl"))) {
        const QString text = a.join(QLatin1Char(' '));
        if (text.contains(m_root) && (n != QLatin1String("ioctl") || text.contains(QLatin1String("CLONE")))) {
            *error = QStringLiteral("an unmodelled call on the folder: %1").arg(n);
            return false;
        }
    }
    return true;
}

std::vector<int> FileSystemModel::dirtyFiles() const
{
    std::vector<int> dirty;
    for (int i = 0; i < int(m_nodes.size()); ++i) {
        if (!m_nodes[i].folder && m_nodes[i].data != m_nodes[i].synced)
            dirty.push_back(i);
    }
    return dirty;
}

std::vector<int> FileSystemModel::pendingChanges() const
{
    std::vector<int> pending;
    for (int i = 0; i < int(m_changes.size()); ++i) {
        if (!m_changes[i].unsyncedFolders.isEmpty())
            pending.push_back(i);
    }
    return pending;
}

int FileSystemModel::unsyncedChanges() const
{
    return int(pendingChanges().size());
}

int FileSystemModel::unsyncedFiles() const
{
    return int(dirtyFiles().size());
}

void FileSystemModel::walk(int folder, const QString& prefix, const std::vector<QMap<QString, int>>& entries,
                           const std::function<QByteArray(int)>& dataOf, QMap<QString, QByteArray>* out) const
{
    for (auto it = entries[folder].begin(); it != entries[folder].end(); ++it) {
        const QString path = prefix + it.key();
        if (m_nodes[it.value()].folder) {
            out->insert(path + QLatin1Char('/'), QByteArray());
            walk(it.value(), path + QLatin1Char('/'), entries, dataOf, out);
        } else {
            out->insert(path, dataOf(it.value()));
        }
    }
}

QMap<QString, QByteArray> FileSystemModel::state(const Cut& cut) const
{
    const std::vector<int> pending = pendingChanges();
    const std::vector<int> dirty = dirtyFiles();
    QSet<int> lost;
    for (size_t i = 0; i < pending.size(); ++i) {
        if (i < cut.changesKept.size() && !cut.changesKept[i])
            lost.insert(pending[i]);
    }
    std::vector<QMap<QString, int>> entries(m_nodes.size());
    for (size_t i = 0; i < m_nodes.size(); ++i)
        entries[i] = m_nodes[i].initial;
    for (int c = 0; c < int(m_changes.size()); ++c) {
        if (lost.contains(c))
            continue;
        for (const Effect& effect : m_changes[c].effects) {
            entries[effect.folder].remove(effect.name);
            if (effect.node >= 0)
                entries[effect.folder].insert(effect.name, effect.node);
        }
    }
    QHash<int, int> choice;
    for (size_t i = 0; i < dirty.size(); ++i)
        choice.insert(dirty[i], i < cut.data.size() ? cut.data[i] : 0);
    std::mt19937 random(cut.cutSeed);
    const auto dataOf = [&](int node) -> QByteArray {
        const Node& n = m_nodes[node];
        switch (choice.value(node, 0)) {
        case 1:
            return n.synced;
        case 2: {
            // Cut short: what was on the disk, then a part of the new data.
            const qint64 length = n.data.isEmpty() ? 0 : qint64(random() % quint32(n.data.size()));
            return n.data.left(length);
        }
        default:
            return n.data;
        }
    };
    QMap<QString, QByteArray> out;
    walk(0, QString(), entries, dataOf, &out);
    return out;
}

QMap<QString, QByteArray> FileSystemModel::everythingKept() const
{
    return state(Cut{});
}

QMap<QString, QByteArray> FileSystemModel::everythingLost() const
{
    Cut cut;
    cut.changesKept.assign(pendingChanges().size(), false);
    cut.data.assign(dirtyFiles().size(), 1);
    return state(cut);
}
