// The checker of scripts/power-cut-test: replays the system calls that an operation made (recorded
// with strace) on a model of its folder and, after every call that changed the folder or synced a
// part of it, builds the folders a power cut at that moment could leave and starts the program on
// each of them. Every folder must start and hold each registration as it was before the operation
// or as it was after, whole; what a sync had made durable before the cut must still be there; and
// once the operation's command has returned, all of its change must be durable.
//
//   power_cut OPERATION SNAPSHOT ROOT TRACE [--states N] [--every K] [--seed S]
//
// OPERATION is save, import, export, start or restore; SNAPSHOT a copy of ROOT taken before the
// traced run, in which ROOT/home is the program folder (and ROOT/out the export's folder); N the
// most states tried at one cut point (all of them when there are fewer), K checks every K-th cut
// point only. Prints the counts; exit 1 when there was a violation.

#include "crash/FileSystemModel.h"
#include "store/DataModule.h"
#include "store/Schema.h"
#include "util/UserInteraction.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>

// The folders started here are scratch copies that nothing needs after the check: their syncs
// would only cost time (these definitions take the place of the system's in this program).
extern "C" int fsync(int)
{
    return 0;
}
extern "C" int fdatasync(int)
{
    return 0;
}

namespace {

class QuietInteraction : public UserInteraction
{
public:
    Button message(Icon, const QString&, const QString&, Buttons) override { return No; }
    FileAnswer fileDialog(FileKind, const FileRequest&) override { return {}; }
    QString desktopFolder() override { return {}; }
};

using Tree = QMap<QString, QByteArray>;
using Registrations = QMap<QString, QByteArray>; // number → fingerprint of all its rows

QByteArray hashOf(const Tree& tree)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        hash.addData(it.key().toUtf8());
        hash.addData(QByteArray(1, '\0'));
        hash.addData(QCryptographicHash::hash(it.value(), QCryptographicHash::Sha1));
    }
    return hash.result();
}

// Writes the tree to `folder`, every entry dated an hour back (a power cut is followed by a reboot).
void materialize(const Tree& tree, const QString& folder)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QStringList entries;
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        const QString path = folder + QLatin1Char('/') + it.key();
        if (it.key().endsWith(QLatin1Char('/'))) {
            QDir().mkpath(path);
        } else {
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write(it.value());
        }
        entries.prepend(path);
    }
    const qint64 past = QDateTime::currentSecsSinceEpoch() - 3600;
    const struct timespec times[2] = {{past, 0}, {past, 0}};
    for (const QString& path : std::as_const(entries)) // deepest first, folders after their files
        ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

struct Outcome
{
    bool started = false;
    bool restored = false; // started only after restoring the backup
    QString error;
    Registrations registrations;
};

Registrations registrationsOf(store::DataModule& dm)
{
    QMap<QString, QStringList> rows;
    QHash<QString, QString> sheetOwner; // REC_ID of a comparison head → its registration
    store::Table* heads = dm.table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    for (const store::Table::RowValues& row : heads->allRows())
        sheetOwner.insert(row.value(heads->fieldIndex(QStringLiteral("REC_ID"))).toString(),
                          row.value(heads->fieldIndex(QStringLiteral("REG_NO"))).toString().trimmed());
    for (const store::schema::TableDef& def : store::schema::registrationTables()) {
        store::Table* t = dm.table(def.name);
        const bool bySheet = def.detailFields == QLatin1String("REC_ID");
        const int key = t->fieldIndex(bySheet ? QStringLiteral("REC_ID") : QStringLiteral("REG_NO"));
        for (const store::Table::RowValues& row : t->allRows()) {
            QStringList values;
            for (const QVariant& value : row)
                values.append(value.toString());
            const QString owner = bySheet ? sheetOwner.value(row.value(key).toString(), QStringLiteral("?")) : row.value(key).toString().trimmed();
            rows[owner].append(def.name + QLatin1Char('\t') + values.join(QChar(0x1e)));
        }
    }
    Registrations result;
    for (auto it = rows.begin(); it != rows.end(); ++it) {
        QStringList sorted = it.value();
        sorted.sort();
        result.insert(it.key(), QCryptographicHash::hash(sorted.join(QLatin1Char('\n')).toUtf8(), QCryptographicHash::Sha1));
    }
    return result;
}

Outcome startOn(const QString& home, bool restore)
{
    QuietInteraction ui;
    Outcome outcome;
    store::DataModule dm(home, &ui);
    dm.setAnswerForBrokenData(restore);
    outcome.started = dm.start();
    outcome.error = dm.startError();
    if (outcome.started)
        outcome.registrations = registrationsOf(dm);
    return outcome;
}

// Starts as the user would: without restoring, and when the data is broken, with the backup.
Outcome inspect(const Tree& tree, const QString& scratch, bool allowRestore)
{
    materialize(tree, scratch);
    Outcome outcome = startOn(scratch + QStringLiteral("/home"), false);
    if (!outcome.started && allowRestore) {
        materialize(tree, scratch);
        outcome = startOn(scratch + QStringLiteral("/home"), true);
        outcome.restored = true;
    }
    return outcome;
}

QString describe(const Registrations& r)
{
    return QStringList(r.keys()).join(QLatin1Char(' '));
}

struct Options
{
    QString operation;
    QString snapshot;
    QString root;
    QString trace;
    int states = 16;
    int every = 1;
    quint32 seed = 1;
};

class Checker
{
public:
    explicit Checker(const Options& options)
        : m_options(options)
        , m_random(options.seed)
    {
    }

    int run()
    {
        QString error;
        const QList<Syscall> calls = readSyscallTrace(m_options.trace, &error);
        if (!error.isEmpty() || calls.isEmpty()) {
            std::fprintf(stderr, "cannot read the trace %s: %s\n", qPrintable(m_options.trace), qPrintable(error));
            return 2;
        }
        FileSystemModel model(m_options.snapshot, m_options.root);
        m_initial = model.everythingKept();
        {
            FileSystemModel final(m_options.snapshot, m_options.root);
            for (const Syscall& call : calls) {
                if (!final.apply(call, &error)) {
                    std::fprintf(stderr, "%s\n", qPrintable(error));
                    return 2;
                }
            }
            m_final = final.everythingKept();
        }
        const bool restore = m_options.operation == QLatin1String("restore");
        m_before = inspect(m_initial, m_scratch.path(), restore);
        m_after = inspect(m_final, m_scratch.path(), restore);
        if (!m_after.started) {
            std::fprintf(stderr, "the folder after the operation does not start: %s\n", qPrintable(m_after.error));
            return 2;
        }
        if (m_options.operation == QLatin1String("start")) {
            m_backupBefore = restoreFromBackup(m_initial).registrations;
            m_backupAfter = restoreFromBackup(m_final).registrations;
        }

        int cuts = 0;
        int version = model.version();
        for (int i = 0; i <= calls.size(); ++i) {
            if (i < calls.size()) {
                model.apply(calls.at(i), &error);
                if (model.version() == version)
                    continue;
                version = model.version();
                if (++cuts % m_options.every != 0)
                    continue;
                checkCut(model, QStringLiteral("after call %1 (%2)").arg(i + 1).arg(calls.at(i).name), false);
            } else {
                checkCut(model, QStringLiteral("after the command returned"), true);
            }
        }
        std::printf("%s: %d calls, %d cut points, %d states (%d distinct) checked, %d violations\n", qPrintable(m_options.operation),
                    int(calls.size()), cuts / m_options.every + 1, m_states, int(m_seen.size()), m_violations);
        return m_violations == 0 ? 0 : 1;
    }

private:
    Outcome restoreFromBackup(Tree tree)
    {
        tree.remove(QStringLiteral("home/FLATT_FILES/NT_TBL_MAIN.cds"));
        materialize(tree, m_scratch.path());
        return startOn(m_scratch.path() + QStringLiteral("/home"), true);
    }

    void violation(const QString& where, const QString& what)
    {
        ++m_violations;
        if (m_violations <= 20)
            std::fprintf(stderr, "VIOLATION %s %s: %s\n", qPrintable(m_options.operation), qPrintable(where), qPrintable(what));
    }

    void checkCut(const FileSystemModel& model, const QString& where, bool ended)
    {
        std::vector<FileSystemModel::Cut> cuts;
        const int changes = model.unsyncedChanges();
        const int files = model.unsyncedFiles();
        FileSystemModel::Cut lost;
        lost.changesKept.assign(changes, false);
        lost.data.assign(files, 1);
        cuts.push_back(lost); // first: what is durable for certain
        cuts.push_back(FileSystemModel::Cut{});
        double total = std::pow(2.0, changes) * std::pow(3.0, files);
        if (total <= m_options.states) {
            for (qint64 k = 0; k < qint64(total); ++k) {
                FileSystemModel::Cut cut;
                qint64 rest = k;
                for (int c = 0; c < changes; ++c, rest /= 2)
                    cut.changesKept.push_back(rest % 2);
                for (int f = 0; f < files; ++f, rest /= 3)
                    cut.data.push_back(int(rest % 3));
                cut.cutSeed = m_random();
                cuts.push_back(cut);
            }
        } else {
            for (int k = 2; k < m_options.states; ++k) {
                FileSystemModel::Cut cut;
                for (int c = 0; c < changes; ++c)
                    cut.changesKept.push_back(m_random() % 2);
                for (int f = 0; f < files; ++f)
                    cut.data.push_back(int(m_random() % 3));
                cut.cutSeed = m_random();
                cuts.push_back(cut);
            }
        }
        bool first = true;
        for (const FileSystemModel::Cut& cut : cuts) {
            checkState(model.state(cut), where, first, ended && first);
            first = false;
        }
    }

    void checkState(const Tree& tree, const QString& where, bool durable, bool ended)
    {
        ++m_states;
        const QByteArray hash = hashOf(tree);
        const bool restore = m_options.operation == QLatin1String("restore");
        Outcome outcome;
        if (m_seen.contains(hash)) {
            outcome = m_seen.value(hash);
        } else {
            outcome = inspect(tree, m_scratch.path(), restore);
            m_seen.insert(hash, outcome);
            checkOutcome(tree, outcome, where);
        }
        if (!outcome.started)
            return;
        if (restore) {
            if (durable && !outcome.restored)
                m_restoreDurable = true;
            if (m_restoreDurable && outcome.restored)
                violation(where, QStringLiteral("the restore had reached the disk, and the folder needs it again"));
            if (ended && outcome.restored)
                violation(where, QStringLiteral("the restore is not on the disk when the command has returned"));
        }
        for (auto it = m_after.registrations.begin(); it != m_after.registrations.end(); ++it) {
            const QByteArray now = outcome.registrations.value(it.key());
            const bool changed = m_before.registrations.value(it.key()) != it.value();
            if (durable && changed && now == it.value())
                m_durable.insert(it.key());
            if (m_durable.contains(it.key()) && now != it.value())
                violation(where, QStringLiteral("%1 had reached the disk and was lost").arg(it.key()));
            if (ended && durable && now != it.value())
                violation(where, QStringLiteral("%1 is not on the disk as the command left it").arg(it.key()));
        }
        if (ended && durable)
            checkEnded(tree, where);
    }

    void checkOutcome(const Tree& tree, const Outcome& outcome, const QString& where)
    {
        if (!outcome.started) {
            violation(where, QStringLiteral("the folder does not start: %1").arg(outcome.error));
            return;
        }
        for (auto it = outcome.registrations.begin(); it != outcome.registrations.end(); ++it) {
            const bool asBefore = m_before.started && m_before.registrations.value(it.key()) == it.value();
            const bool asAfter = m_after.registrations.value(it.key()) == it.value();
            if (!asBefore && !asAfter)
                violation(where, QStringLiteral("%1 is neither as before nor as after").arg(it.key()));
        }
        for (auto it = m_before.registrations.begin(); it != m_before.registrations.end(); ++it) {
            if (m_after.registrations.contains(it.key()) && !outcome.registrations.contains(it.key()))
                violation(where, QStringLiteral("%1 is missing").arg(it.key()));
        }
        if (m_options.operation == QLatin1String("export")) {
            const QString target = QStringLiteral("out/submission.lzh");
            const QByteArray now = tree.value(target);
            if (tree.contains(target) != m_initial.contains(target) && now != m_final.value(target))
                violation(where, QStringLiteral("the submission file is neither the old one nor the new one, whole"));
            else if (tree.contains(target) && now != m_initial.value(target) && now != m_final.value(target))
                violation(where, QStringLiteral("the submission file is cut short"));
        }
        if (m_options.operation == QLatin1String("start")) {
            const Registrations backup = restoreFromBackup(tree).registrations;
            if (backup != m_backupBefore && backup != m_backupAfter)
                violation(where, QStringLiteral("the backup restores neither the old backup nor the new one: %1").arg(describe(backup)));
        }
    }

    // Once the command has returned, what it wrote outside the tables is on the disk too.
    void checkEnded(const Tree& tree, const QString& where)
    {
        if (m_options.operation == QLatin1String("export")
            && tree.value(QStringLiteral("out/submission.lzh")) != m_final.value(QStringLiteral("out/submission.lzh")))
            violation(where, QStringLiteral("the submission file is not on the disk when the command has returned"));
        if (m_options.operation == QLatin1String("start")) {
            const QString backup = QStringLiteral("home/FLATT_FILES/CdsBK/");
            for (auto it = m_final.begin(); it != m_final.end(); ++it) {
                if (it.key().startsWith(backup) && tree.value(it.key()) != it.value())
                    violation(where, QStringLiteral("%1 is not on the disk when the command has returned").arg(it.key()));
            }
        }
    }

    Options m_options;
    std::mt19937 m_random;
    QTemporaryDir m_scratch;
    Tree m_initial;
    Tree m_final;
    Outcome m_before;
    Outcome m_after;
    Registrations m_backupBefore;
    Registrations m_backupAfter;
    QHash<QByteArray, Outcome> m_seen;
    QSet<QString> m_durable;
    bool m_restoreDurable = false;
    int m_states = 0;
    int m_violations = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    Options options;
    for (int i = 0; i + 1 < args.size(); ++i) {
        const QString option = args.at(i);
        if (option == QLatin1String("--states") || option == QLatin1String("--every") || option == QLatin1String("--seed")) {
            const int value = args.takeAt(i + 1).toInt();
            args.removeAt(i--);
            if (option == QLatin1String("--states"))
                options.states = std::max(2, value);
            else if (option == QLatin1String("--every"))
                options.every = std::max(1, value);
            else
                options.seed = quint32(value);
        }
    }
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: power_cut save|import|export|start|restore SNAPSHOT ROOT TRACE [--states N] [--every K] [--seed S]\n");
        return 2;
    }
    options.operation = args.at(0);
    options.snapshot = args.at(1);
    options.root = QDir(args.at(2)).absolutePath();
    options.trace = args.at(3);
    return Checker(options).run();
}
