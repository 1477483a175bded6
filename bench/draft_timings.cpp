// The cost of keeping the draft of a registration being edited, in the main window offscreen on a
// program folder: the part on the thread the user types on (taking the rows with their pending
// changes and what the pages hold), the part on the writer thread (serialising and the atomic,
// durable write), and how long a keystroke takes with drafts being written all along beside
// without. Prints "name value" lines (milliseconds, medians; p99 of the keystrokes).
//
//   QT_QPA_PLATFORM=offscreen build/bench/draft_timings HOME [NUMBER] [ROUNDS]
#include "app/DraftKeeper.h"
#include "app/MainWindow.h"
#include "store/Draft.h"
#include "store/Table.h"
#include "widgets/WebEngineSetup.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class YesInteraction : public UserInteraction
{
public:
    Button message(Icon, const QString&, const QString& text, Buttons buttons) override
    {
        std::fprintf(stderr, "box: %s\n", qPrintable(text));
        return buttons.testFlag(Yes) ? Yes : Ok;
    }
    FileAnswer fileDialog(FileKind, const FileRequest&) override { return {}; }
    QString desktopFolder() override { return QDir::tempPath(); }
};

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(std::min(values.size() - 1, size_t(p * double(values.size()))));
}

// Milliseconds of `keys` keystrokes typed into `box`, one by one, events handled after each.
std::vector<double> typeKeys(QLineEdit* box, int keys)
{
    std::vector<double> times;
    for (int i = 0; i < keys; ++i) {
        QElapsedTimer key;
        key.start();
        QTest::keyClick(box, Qt::Key_A);
        QCoreApplication::processEvents();
        times.push_back(key.nsecsElapsed() / 1e6);
        // A steady typist: about 8 keys a second, so that the pauses between them let drafts go.
        QTest::qWait(120);
    }
    return times;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    widgets::prepareWebEngine();
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: draft_timings HOME [NUMBER] [ROUNDS]\n");
        return 2;
    }
    const QString home = QString::fromLocal8Bit(argv[1]);
    const QString number = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("XXK-000500");
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 200;
    YesInteraction interaction;
    UserInteraction::setCurrent(&interaction);

    app::MainWindow window(home);
    if (!window.start())
        return 1;
    window.show();
    store::Table* main = window.dm().table(QStringLiteral("NT_TBL_MAIN"));
    bool found = false;
    for (main->first(); !main->eof() && !found; main->next())
        found = main->field(QStringLiteral("REG_NO")).asString().trimmed() == number;
    if (!found) {
        std::fprintf(stderr, "no registration %s\n", qPrintable(number));
        return 1;
    }
    main->prior();
    window.cycle().openRegistration();
    auto* title = window.control<QLineEdit>(QStringLiteral("TECH_TITLE"));
    title->setFocus();
    QTest::keyClick(title, Qt::Key_A);
    if (!window.cycle().isModified()) {
        std::fprintf(stderr, "the registration did not count as changed\n");
        return 1;
    }

    // The thread the user types on: the draft taken.
    std::vector<double> capture;
    store::Draft draft;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        draft = window.cycle().draft();
        capture.push_back(timer.nsecsElapsed() / 1e6);
    }
    // The writer thread: serialised and written atomically and durably.
    std::vector<double> serialise, write;
    const QString path = store::drafts::pathFor(window.dm().folder(), QStringLiteral("bench"));
    qint64 bytes = 0;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        const QByteArray serialised = store::drafts::serialise(draft);
        serialise.push_back(timer.nsecsElapsed() / 1e6);
        bytes = serialised.size();
        timer.restart();
        if (!store::drafts::write(path, serialised, nullptr))
            return 1;
        write.push_back(timer.nsecsElapsed() / 1e6);
    }
    store::drafts::remove(path);
    int rows = 0;
    for (const store::TableRows& table : draft.tables)
        rows += int(table.rows.size());
    std::printf("draft_rows %d\n", rows);
    std::printf("draft_bytes %lld\n", bytes);
    std::printf("capture_ms %.3f\n", percentile(capture, 0.5));
    std::printf("serialise_ms %.3f\n", percentile(serialise, 0.5));
    std::printf("write_ms %.3f\n", percentile(write, 0.5));
    std::printf("draft_total_ms %.3f\n", percentile(capture, 0.5) + percentile(serialise, 0.5) + percentile(write, 0.5));

    // Keystrokes while the keeper writes a draft at each pause, then with the keeper cut off.
    const int keys = std::max(40, rounds / 2);
    const std::vector<double> withDrafts = typeKeys(title, keys);
    window.drafts().waitForWrites();
    QObject::disconnect(&window.cycle(), nullptr, &window.drafts(), nullptr);
    QCoreApplication::instance()->removeEventFilter(&window.drafts());
    const std::vector<double> without = typeKeys(title, keys);
    std::printf("key_with_drafts_ms %.3f\n", percentile(withDrafts, 0.5));
    std::printf("key_with_drafts_p99_ms %.3f\n", percentile(withDrafts, 0.99));
    std::printf("key_without_drafts_ms %.3f\n", percentile(without, 0.5));
    std::printf("key_without_drafts_p99_ms %.3f\n", percentile(without, 0.99));
    store::drafts::remove(store::drafts::pathFor(window.dm().folder(), number));
    std::_Exit(0); // the registration stays unsaved; nothing is written at the end
}
