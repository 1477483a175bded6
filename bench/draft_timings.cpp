// The cost of keeping the draft of a registration being edited, in the main window offscreen on a
// program folder: the part on the thread the user types on (taking the rows with their pending
// changes and what the pages hold), the part on the writer thread (serialising and the atomic,
// durable write), and how long a keystroke waits with drafts being written all along beside
// without. Prints "name value" lines (milliseconds: medians, and p99 and maximum where named).
//
//   QT_QPA_PLATFORM=offscreen build/bench/draft_timings HOME [NUMBER] [ROUNDS]
#include "WindowBench.h"
#include "app/DraftKeeper.h"
#include "YesInteraction.h"
#include "app/MainWindow.h"
#include "store/Draft.h"
#include "store/Table.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(std::min(values.size() - 1, size_t(p * double(values.size()))));
}

// Keystrokes at a typist's pace, about 8 a second at uneven intervals so that they fall on every
// moment of the keeper's work: for each, the milliseconds from the moment it was due until it was
// handled (what the thread was busy with meanwhile, and the key itself).
std::vector<double> typeKeys(QLineEdit* box, int keys, QRandomGenerator& random)
{
    std::vector<double> times;
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    qint64 due = 0;
    const std::function<void()> next = [&] {
        if (int(times.size()) == keys) {
            loop.quit();
            return;
        }
        due += random.bounded(60, 190) * 1000000LL;
        QTimer::singleShot(std::max<qint64>(0, (due - clock.nsecsElapsed()) / 1000000), Qt::PreciseTimer, [&] {
            // The timer fires at the millisecond; a key is due at its nanosecond.
            while (clock.nsecsElapsed() < due) {
            }
            QTest::keyClick(box, Qt::Key_A);
            times.push_back((clock.nsecsElapsed() - due) / 1e6);
            next();
        });
    };
    next();
    loop.exec();
    return times;
}

} // namespace

int main(int argc, char** argv)
{
    benchdata::prepareOffscreenWindow();
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: draft_timings HOME [NUMBER] [ROUNDS]\n");
        return 2;
    }
    const QString home = QString::fromLocal8Bit(argv[1]);
    const QString number = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("XXK-000500");
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 200;
    benchdata::YesInteraction interaction;
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
    const int keys = std::max(40, rounds);
    QRandomGenerator random(7);
    const std::vector<double> withDrafts = typeKeys(title, keys, random);
    window.drafts().waitForWrites();
    QObject::disconnect(&window.cycle(), nullptr, &window.drafts(), nullptr);
    QCoreApplication::instance()->removeEventFilter(&window.drafts());
    const std::vector<double> without = typeKeys(title, keys, random);
    std::printf("key_with_drafts_ms %.3f\n", percentile(withDrafts, 0.5));
    std::printf("key_with_drafts_p99_ms %.3f\n", percentile(withDrafts, 0.99));
    std::printf("key_without_drafts_ms %.3f\n", percentile(without, 0.5));
    std::printf("key_without_drafts_p99_ms %.3f\n", percentile(without, 0.99));
    std::printf("key_with_drafts_max_ms %.3f\n", percentile(withDrafts, 1));
    std::printf("key_without_drafts_max_ms %.3f\n", percentile(without, 1));
    std::printf("capture_max_ms %.3f\n", percentile(capture, 1));
    store::drafts::remove(store::drafts::pathFor(window.dm().folder(), number));
    std::fflush(stdout);
    std::_Exit(0); // the registration stays unsaved; nothing is written at the end
}
