// The program as scripts/draft-kill-test kills it: the real main window, offscreen, driven through
// random typing and page changes on a saved registration until the script kills it with SIGKILL.
// Every change is written to a journal (time, box, the box's whole text) before the next one.
// Started again, the worker first checks what the previous run left: the draft offered back holds,
// for every box, its value at one second before the kill or a later one; nothing else of the
// registration differs from its saved rows; the table files are those of the start.
//
//   draft_kill_worker prepare HOME
//   draft_kill_worker run HOME JOURNAL SEED KILLED_AT_MS
//
// "run" prints "checked N" (N box values compared) or "FAIL why" on stdout, then "ready", then
// drives the window until killed.
#include "app/DraftKeeper.h"
#include "app/MainWindow.h"
#include "entry/ChangedItems.h"
#include "entry/ItemCaptions.h"
#include "store/Draft.h"
#include "store/Table.h"
#include "util/ChoiceQuestion.h"
#include "widgets/WebEngineSetup.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSet>
#include <QTabWidget>
#include <QTest>

#include <cstdio>
#include <map>

namespace {

// The boxes the worker types into: control, table, field.
struct Box
{
    const char* control;
    const char* table;
    const char* field;
};
const Box kBoxes[] = {
    {"TECH_TITLE", "NT_TBL_MAIN", "TECH_TITLE"},
    {"TECH_SUBTITLE", "NT_TBL_MAIN", "TECH_SUBTITLE"},
    {"TECH_DVLP_COMPANY", "NT_TBL_MAIN", "TECH_DVLP_COMPANY"},
    {"SALES_SECTION", "NT_TBL_DETAIL", "SALES_SECTION"},
    {"SALES_STUFF", "NT_TBL_DETAIL", "SALES_STUFF"},
};

class Answers : public UserInteraction, public ChoiceQuestion
{
public:
    bool restore = true;
    QStringList unexpected;
    Button message(Icon, const QString&, const QString& text, Buttons buttons) override
    {
        unexpected << text;
        return buttons.testFlag(Cancel) ? Cancel : buttons.testFlag(No) ? No : Ok;
    }
    Button choose(Icon, const QString&, const QString& text, const QString&, const QString&) override
    {
        offered = text;
        return restore ? Yes : No;
    }
    FileAnswer fileDialog(FileKind, const FileRequest&) override { return {}; }
    QString desktopFolder() override { return QDir::tempPath(); }
    QString offered;
};

// One key event a character, as a keyboard (or an input method's commit) delivers them.
void typeText(QWidget* box, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(box, &release);
    }
}

QByteArray tableFilesDigest(const QString& home)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const QDir data(QDir(home).filePath(QStringLiteral("FLATT_FILES")));
    for (const QString& name : data.entryList({QStringLiteral("*.cds")}, QDir::Files, QDir::Name)) {
        QFile file(data.filePath(name));
        file.open(QIODevice::ReadOnly);
        hash.addData(name.toUtf8());
        hash.addData(file.readAll());
    }
    return hash.result().toHex();
}

QString valueIn(const QList<store::TableRows>& tables, const Box& box)
{
    for (const store::TableRows& rows : tables) {
        if (rows.table == QLatin1String(box.table))
            return rows.value(0, QLatin1String(box.field)).toString().trimmed();
    }
    return {};
}

// The journal of the runs so far: the registration being edited, the digest of the table files
// and each box's changes in time order.
struct Journal
{
    QString number;
    QByteArray digest;
    std::map<QString, QList<std::pair<qint64, QString>>> changes;
    QSet<QString> opening; // "caption\tvalue" the opening itself sets (defaults written when empty)

    static Journal read(const QString& path)
    {
        Journal journal;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return journal;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QList<QByteArray> parts = line.split('\t');
            if (parts.size() == 2 && parts.at(0) == "open") {
                journal.number = QString::fromUtf8(parts.at(1));
                journal.changes.clear();
                journal.opening.clear();
            } else if (parts.size() == 3 && parts.at(0) == "opening") {
                journal.opening.insert(QString::fromUtf8(parts.at(1) + '\t' + parts.at(2)));
            } else if (parts.size() == 2 && parts.at(0) == "digest") {
                journal.digest = parts.at(1);
            } else if (parts.size() == 4 && parts.at(0) == "change") {
                journal.changes[QString::fromUtf8(parts.at(2))].append({parts.at(1).toLongLong(), QString::fromUtf8(parts.at(3))});
            }
        }
        return journal;
    }
};

class Worker
{
public:
    Worker(const QString& home, const QString& journalPath, quint32 seed)
        : m_home(home)
        , m_rng(seed)
        , m_journal(journalPath)
    {
        m_journal.open(QIODevice::Append);
    }

    // Checks what the killed run left, against the journal; the failure, if any.
    QString check(const Journal& journal, qint64 killedAt, int* compared)
    {
        if (!journal.digest.isEmpty() && tableFilesDigest(m_home) != journal.digest)
            return QStringLiteral("a table file changed");
        const store::ProgramFolder folder(m_home);
        const QStringList drafts = store::drafts::list(folder);
        if (drafts.size() > 1)
            return QStringLiteral("%1 drafts").arg(drafts.size());
        const QList<store::TableRows> saved = store::drafts::savedRows(folder, journal.number);
        QList<store::TableRows> kept = saved;
        if (!drafts.isEmpty()) {
            store::Draft draft;
            QString error;
            if (!store::drafts::read(drafts.first(), &draft, &error))
                return error;
            if (draft.number != journal.number)
                return QStringLiteral("the draft is of %1, not %2").arg(draft.number, journal.number);
            kept = draft.tables;
            // Nothing but the boxes typed into differs from the saved rows.
            QStringList typed;
            for (const Box& box : kBoxes)
                typed << captions::fieldItem(QLatin1String(box.table), QLatin1String(box.field)).caption;
            for (const changeditems::ChangedItem& item : changeditems::compare(saved, draft.tables)) {
                if (!typed.contains(item.caption) && !journal.opening.contains(item.caption + QLatin1Char('\t') + item.after))
                    return QStringLiteral("%1 changed from \"%2\" to \"%3\"").arg(item.caption, item.before, item.after);
            }
        }
        // Each box holds its value as of a second before the kill, or a later one.
        const qint64 cutoff = killedAt - 1000;
        for (const Box& box : kBoxes) {
            const auto found = journal.changes.find(QLatin1String(box.control));
            if (found == journal.changes.end())
                continue;
            QString atCutoff = valueIn(saved, box);
            QStringList allowed;
            for (const auto& [time, value] : found->second) {
                if (time <= cutoff)
                    atCutoff = value;
                else
                    allowed << value;
            }
            allowed << atCutoff;
            const QString now = valueIn(kept, box);
            ++*compared;
            if (!allowed.contains(now))
                return QStringLiteral("%1 holds \"%2\"; expected \"%3\" or a later value").arg(QLatin1String(box.control), now, atCutoff);
        }
        return {};
    }

    void write(const QByteArray& line)
    {
        m_journal.write(line + '\n');
        m_journal.flush();
    }

    void recordBoxes()
    {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        for (const Box& box : kBoxes)
            recordBox(box.control, now);
    }
    void recordBox(const QString& control, qint64 time)
    {
        const QString text = m_window->control<QLineEdit>(control)->text();
        write("change\t" + QByteArray::number(time) + '\t' + control.toUtf8() + '\t' + text.toUtf8());
    }

    bool start()
    {
        m_window = std::make_unique<app::MainWindow>(m_home);
        if (!m_window->start())
            return false;
        m_window->show();
        return true;
    }

    // A registration to edit: the one restored, or one of the list opened.
    void openOne(const Journal& journal)
    {
        if (m_window->cycle().mode() != app::EditingCycle::None) {
            write("open\t" + journal.number.toUtf8());
            write("digest\t" + journal.digest);
            for (const QString& opened : journal.opening)
                write("opening\t" + opened.toUtf8());
            recordBoxes();
            return;
        }
        store::Table* main = m_window->dm().table(QStringLiteral("NT_TBL_MAIN"));
        const int count = main->recordCount();
        main->first();
        const int target = journal.number.isEmpty() || m_rng.bounded(4) == 0 ? int(m_rng.bounded(count)) : -1;
        for (int row = 0; !main->eof(); main->next(), ++row) {
            if (target >= 0 ? row == target : main->field(QStringLiteral("REG_NO")).asString().trimmed() == journal.number)
                break;
        }
        m_window->cycle().openRegistration();
        const QString number = m_window->dm().table(QStringLiteral("NT_TBL_MAIN"))->field(QStringLiteral("REG_NO")).asString().trimmed();
        write("open\t" + number.toUtf8());
        write("digest\t" + tableFilesDigest(m_home));
        // What opening the registration sets itself (defaults of empty fields), as a save would keep.
        const QList<changeditems::ChangedItem> opened =
            changeditems::compare(store::drafts::savedRows(store::ProgramFolder(m_home), number), m_window->cycle().draft().tables);
        for (const changeditems::ChangedItem& item : opened)
            write("opening\t" + item.caption.toUtf8() + '\t' + item.after.toUtf8());
        recordBoxes();
    }

    [[noreturn]] void drive()
    {
        static const QStringList words = {QStringLiteral("防波堤"), QStringLiteral("岸壁"), QStringLiteral("abc"), QStringLiteral("工法"),
                                          QStringLiteral("1"), QStringLiteral("ブロック")};
        while (true) {
            const quint32 action = m_rng.bounded(10);
            if (action == 0) {
                m_window->pages()->setCurrentIndex(1 + int(m_rng.bounded(4)));
            } else {
                const Box& box = kBoxes[m_rng.bounded(int(std::size(kBoxes)))];
                auto* edit = m_window->control<QLineEdit>(QLatin1String(box.control));
                edit->setFocus();
                if (action == 1 && !edit->text().isEmpty())
                    QTest::keyClick(edit, Qt::Key_Backspace);
                else if (edit->text().size() < 40)
                    typeText(edit, words.at(int(m_rng.bounded(int(words.size())))));
                QCoreApplication::processEvents();
                recordBox(QLatin1String(box.control), QDateTime::currentMSecsSinceEpoch());
            }
            QTest::qWait(int(m_rng.bounded(40, 400)));
        }
    }

private:
    QString m_home;
    QRandomGenerator m_rng;
    QFile m_journal;
    std::unique_ptr<app::MainWindow> m_window;
};

int prepare(const QString& home)
{
    Answers answers;
    UserInteraction::setCurrent(&answers);
    app::MainWindow window(home);
    if (!window.start())
        return 1;
    for (int i = 1; i <= 3; ++i) {
        window.cycle().newRegistration();
        window.control<QLineEdit>(QStringLiteral("TECH_TITLE"))->setText(QStringLiteral("技術%1").arg(i));
        window.control<QLineEdit>(QStringLiteral("COMPARE_TECH_TITLE"))->setText(QStringLiteral("従来の工法"));
        struct SaysYes : Answers
        {
            Button message(Icon, const QString&, const QString&, Buttons buttons) override
            {
                return buttons.testFlag(UserInteraction::Yes) ? UserInteraction::Yes : UserInteraction::Ok;
            }
        } yes;
        UserInteraction::setCurrent(&yes);
        window.cycle().save();
        window.cycle().backToList();
        UserInteraction::setCurrent(&answers);
    }
    return window.close() && answers.unexpected.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    widgets::prepareWebEngine();
    QApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("prepare"))
        return prepare(args.at(2));
    if (args.size() != 6 || args.at(1) != QLatin1String("run")) {
        std::fprintf(stderr, "usage: draft_kill_worker prepare HOME | run HOME JOURNAL SEED KILLED_AT_MS\n");
        return 2;
    }
    const QString home = args.at(2);
    const Journal journal = Journal::read(args.at(3));
    Worker worker(home, args.at(3), args.at(4).toUInt());
    int compared = 0;
    const QString failure = journal.number.isEmpty() ? QString() : worker.check(journal, args.at(5).toLongLong(), &compared);
    if (failure.isEmpty())
        std::printf("checked %d\n", compared);
    else
        std::printf("FAIL %s\n", qPrintable(failure));
    Answers answers;
    // Now and then the user gives the draft up instead: the edit starts again from the saved rows.
    answers.restore = args.at(4).toUInt() % 8 != 0;
    UserInteraction::setCurrent(&answers);
    if (!worker.start())
        return 1;
    worker.openOne(journal);
    std::printf("ready\n");
    std::fflush(stdout);
    worker.drive();
}
