// The technology list's find box on many registrations, offscreen: the time from a keystroke in the
// find box to the list narrowed, counted and painted, for every keystroke of typing a text and of
// taking it back again. Prints "name value" lines: the median and the largest per keystroke.
//
//   QT_QPA_PLATFORM=offscreen build/bench/list_find_timings [REGISTRATIONS]
#include "WindowBench.h"
#include "BenchData.h"
#include "YesInteraction.h"
#include "app/MainWindow.h"
#include "store/DataModule.h"
#include "store/Table.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

// Gives every registration a name of its own kind: one in ten a caisson breakwater (half of those
// in half-width katakana, as imported data may hold them), the rest harbour works.
void nameRegistrations(store::Table* main)
{
    int i = 0;
    for (main->first(); !main->eof(); main->next(), ++i) {
        main->edit();
        main->field(QStringLiteral("TECH_TITLE"))
            .setString(i % 10 == 0 ? QStringLiteral("ケーソン式防波堤の施工法 %1").arg(i)
                       : i % 20 == 5 ? QStringLiteral("ｹｰｿﾝ式防波堤の補修 %1").arg(i)
                                     : QStringLiteral("港湾工事の技術 %1").arg(i));
        main->field(QStringLiteral("TECH_DVLP_COMPANY")).setString(i % 2 ? QStringLiteral("ＡＢＣ建設") : QStringLiteral("港湾建設"));
        main->post();
    }
}

} // namespace

int main(int argc, char** argv)
{
    benchdata::prepareOffscreenWindow();
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int registrations = argc > 1 ? std::atoi(argv[1]) : 1000;
    QTemporaryDir home;
    if (!benchdata::makeProgramFolder(home.path(), registrations, benchdata::Shape::Full))
        return 1;
    benchdata::YesInteraction interaction;
    UserInteraction::setCurrent(&interaction);
    {
        store::DataModule dm(home.path(), &interaction);
        if (!dm.start())
            return 1;
        nameRegistrations(dm.table(QStringLiteral("NT_TBL_MAIN")));
        if (!dm.CloseAllTables())
            return 1;
    }
    app::MainWindow window(home.path());
    if (!window.start())
        return 1;
    window.show();
    QCoreApplication::processEvents();

    auto* find = window.control<QLineEdit>(QStringLiteral("edtFind"));
    auto* list = window.control<QTableView>(QStringLiteral("DBGrid1"));
    std::printf("registrations %d\n", list->model()->rowCount());
    QList<double> times;
    // Typed one character at a time, then taken back one at a time, for three texts: one that keeps
    // many lines for long, one typed in half-width katakana, one that soon keeps none.
    for (const QString& text : {QStringLiteral("港湾工事の技術 1"), QStringLiteral("ｹｰｿﾝ式防波堤"), QStringLiteral("ABC建設x")}) {
        QStringList steps;
        for (int n = 1; n <= text.size(); ++n)
            steps << text.left(n);
        for (int n = text.size() - 1; n >= 0; --n)
            steps << text.left(n);
        for (const QString& step : std::as_const(steps)) {
            QElapsedTimer timer;
            timer.start();
            find->setText(step);
            QCoreApplication::processEvents();
            list->viewport()->repaint();
            times.append(timer.nsecsElapsed() / 1e6);
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("keystrokes %lld\n", qint64(times.size()));
    std::printf("keystroke_median_ms %.2f\n", times.at(times.size() / 2));
    std::printf("keystroke_max_ms %.2f\n", times.last());
    return times.last() <= 50 ? 0 : 3;
}
